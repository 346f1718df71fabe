#include "soundlib/fx/reverb.h"

#include <algorithm>
#include <cmath>

#include "soundlib/fx/denormal_guard.h"
#include "soundlib/fx/parameter_range.h"

namespace soundlib::fx {
namespace {

constexpr std::size_t kBlock = 32;
constexpr double kGlideSeconds = 0.02;
// Mutually prime lengths of 25 to 52 ms at 44.1 kHz. They stay the same number of
// samples at any rate, so a change of rate does not disturb the tail.
constexpr std::array<std::size_t, Reverb::kLines> kLengths{1123, 1289, 1451, 1613,
                                                           1777, 1949, 2111, 2293};
// Level of the network's output against its input.
constexpr float kOutputScale = 0.25f;

// In-place fast Walsh-Hadamard transform scaled to keep energy: a lossless mix.
void hadamard(std::array<float, Reverb::kLines>& v) {
    for (std::size_t h = 1; h < Reverb::kLines; h <<= 1) {
        for (std::size_t i = 0; i < Reverb::kLines; i += 2 * h) {
            for (std::size_t j = i; j < i + h; ++j) {
                const float a = v[j];
                const float b = v[j + h];
                v[j] = a + b;
                v[j + h] = a - b;
            }
        }
    }
    constexpr float kScale = 0.35355339f;  // 1 / sqrt(8)
    for (float& x : v) x *= kScale;
}

}  // namespace

Reverb::Reverb() : RecordEffect({0.0f, 0.0f, 1000.0f, 0.001f}) {
    for (std::size_t i = 0; i < kLines; ++i) lines_[i].ensureCapacity(kLengths[i]);
    gate_.setMemory(kLengths.back());
    setSampleRate(sampleRate_);
}

bool Reverb::valid(const SoundFxReverb& p) const {
    return inRange(p.inputGain, -96.0f, 0.0f) && inRange(p.reverbMix, -96.0f, 0.0f) &&
           inRange(p.reverbTime, 0.001f, 3000.0f) && inRange(p.highFreqRtRatio, 0.001f, 0.999f);
}

void Reverb::setSampleRate(double hz) {
    sampleRate_ = hz;
    inputGain_.configure(hz, kGlideSeconds);
    wet_.configure(hz, kGlideSeconds);
    time_.configure(hz / kBlock, kGlideSeconds);
    ratio_.configure(hz / kBlock, kGlideSeconds);
    updateTargets();
    updateLoops();
}

void Reverb::updateTargets() {
    inputGain_.set(std::pow(10.0f, params_.inputGain / 20.0f), !running_);
    wet_.set(std::pow(10.0f, params_.reverbMix / 20.0f), !running_);
    time_.set(std::log2(params_.reverbTime / 1000.0f), !running_);
    ratio_.set(params_.highFreqRtRatio, !running_);
    if (!running_) updateLoops();
}

void Reverb::updateLoops() {
    const double seconds = std::exp2(static_cast<double>(time_.value()));
    for (std::size_t i = 0; i < kLines; ++i) {
        // A loop of n samples with gain g falls by 60 dB in 3 n / (-log10 g) samples.
        const double samples = seconds * sampleRate_;
        const double low = std::pow(10.0, -3.0 * kLengths[i] / samples);
        const double high = std::pow(10.0, -3.0 * kLengths[i] / (samples * ratio_.value()));
        // One pole g (1 - b) / (1 - b z^-1): gain `low` at DC, `high` at half the rate.
        const double b = low + high > 1e-30 ? (low - high) / (low + high) : 0.0;
        loopGain_[i] = static_cast<float>(low * (1.0 - b));
        damping_[i] = static_cast<float>(b);
    }
}

void Reverb::process(float* samples, std::size_t frames) {
    running_ = true;
    const DenormalGuard guard;
    std::array<float, kLines> v;
    float level = 0.0f;
    for (std::size_t start = 0; start < frames; start += kBlock) {
        if (!time_.settled() || !ratio_.settled()) {
            time_.next();
            ratio_.next();
            updateLoops();
        }
        const std::size_t end = std::min(frames, start + kBlock);
        for (std::size_t n = start; n < end; ++n) {
            float* frame = samples + 2 * n;
            const float in = inputGain_.next();
            const float wet = wet_.next();
            const float left = frame[0] * in;
            const float right = frame[1] * in;
            level = std::max(level, loudest(left, right, 0.0f, 0.0f));
            float outLeft = 0.0f, outRight = 0.0f;
            for (std::size_t i = 0; i < kLines; ++i) {
                const float out = lines_[i].tap(kLengths[i] - 1);
                level = std::max(level, std::fabs(out));
                lowState_[i] = flushTiny(loopGain_[i] * out + damping_[i] * lowState_[i]);
                v[i] = lowState_[i];
                // Alternate signs decorrelate the two outputs.
                const float signed_ = (i & 2) ? -out : out;
                (i & 1 ? outRight : outLeft) += signed_;
            }
            hadamard(v);
            for (std::size_t i = 0; i < kLines; ++i) {
                lines_[i].write(v[i] + ((i & 1) ? right : left));
            }
            frame[0] = left + (outLeft * kOutputScale - left) * wet;
            frame[1] = right + (outRight * kOutputScale - right) * wet;
        }
    }
    if (gate_.died(level, frames)) {
        for (DelayLine& line : lines_) line.clear();
        lowState_.fill(0.0f);
    }
}

void Reverb::reset() {
    for (DelayLine& line : lines_) line.clear();
    lowState_.fill(0.0f);
    gate_.reset();
    running_ = false;
    updateTargets();
}

}  // namespace soundlib::fx
