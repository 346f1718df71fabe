#include "soundlib/fx/tests/fx_signals.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <random>

namespace fx_test {

std::vector<float> Stereo::channel(int c) const {
    std::vector<float> out(frames());
    for (std::size_t i = 0; i < out.size(); ++i) out[i] = samples[2 * i + c];
    return out;
}

Stereo sine(double hz, double amplitude, std::size_t frames, double rate) {
    Stereo s(frames);
    for (std::size_t i = 0; i < frames; ++i) {
        const auto v =
            static_cast<float>(amplitude * std::sin(2 * std::numbers::pi * hz * i / rate));
        s.left(i) = s.right(i) = v;
    }
    return s;
}

Stereo impulse(std::size_t frames, float left, float right) {
    Stereo s(frames);
    s.left(0) = left;
    s.right(0) = right;
    return s;
}

Stereo noise(std::size_t frames, float amplitude, unsigned seed) {
    std::mt19937 gen(seed);
    std::uniform_real_distribution<float> dist(-amplitude, amplitude);
    Stereo s(frames);
    for (float& v : s.samples) v = dist(gen);
    return s;
}

std::unique_ptr<soundlib::ChannelEffect> makeEffect(int type, const void* record, double rate) {
    auto effect = soundlib::createChannelEffect(type);
    if (!effect) return effect;
    effect->setSampleRate(rate);
    if (record && !effect->setParameters(record)) return nullptr;
    return effect;
}

void run(soundlib::ChannelEffect& effect, Stereo& buffer, std::size_t block) {
    for (std::size_t start = 0; start < buffer.frames(); start += block) {
        effect.process(buffer.samples.data() + 2 * start, std::min(block, buffer.frames() - start));
    }
}

double toneAmplitude(const std::vector<float>& x, double hz, std::size_t from, std::size_t count,
                     double rate) {
    double re = 0, im = 0;
    for (std::size_t i = from; i < from + count; ++i) {
        const double w = 2 * std::numbers::pi * hz * static_cast<double>(i) / rate;
        re += x[i] * std::cos(w);
        im += x[i] * std::sin(w);
    }
    return 2.0 * std::hypot(re, im) / static_cast<double>(count);
}

double peak(const std::vector<float>& x, std::size_t from, std::size_t count) {
    double p = 0;
    for (std::size_t i = from; i < from + count; ++i) p = std::max(p, std::fabs(double(x[i])));
    return p;
}

double rms(const std::vector<float>& x, std::size_t from, std::size_t count) {
    double sum = 0;
    for (std::size_t i = from; i < from + count; ++i) sum += double(x[i]) * x[i];
    return std::sqrt(sum / static_cast<double>(count));
}

double dB(double ratio) {
    return 20.0 * std::log10(ratio);
}

double maxSecondDifference(const std::vector<float>& x, std::size_t from, std::size_t count) {
    double worst = 0;
    for (std::size_t i = std::max<std::size_t>(from, 1); i + 1 < from + count; ++i) {
        worst = std::max(worst, std::fabs(double(x[i + 1]) - 2.0 * x[i] + x[i - 1]));
    }
    return worst;
}

double decayTime60(const std::vector<float>& x, double rate) {
    std::vector<double> energy(x.size() + 1, 0.0);
    for (std::size_t i = x.size(); i-- > 0;) energy[i] = energy[i + 1] + double(x[i]) * x[i];
    const double total = energy[0];
    auto when = [&](double db) {
        const double level = total * std::pow(10.0, db / 10.0);
        std::size_t i = 0;
        while (i < x.size() && energy[i] > level) ++i;
        return static_cast<double>(i) / rate;
    };
    return (when(-35.0) - when(-5.0)) * 2.0;
}

}  // namespace fx_test
