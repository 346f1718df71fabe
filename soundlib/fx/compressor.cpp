#include "soundlib/fx/compressor.h"

#include <algorithm>
#include <cmath>

#include "soundlib/fx/denormal_guard.h"
#include "soundlib/fx/parameter_range.h"

namespace soundlib::fx {
namespace {

constexpr double kGlideSeconds = 0.02;
constexpr float kMaxPredelayMs = 4.0f;
// The detector holds a peak for one cycle of a low tone before letting it decay, so
// that a steady tone reads as its peak level and not as a ripple.
constexpr double kHoldSeconds = 0.005;
constexpr double kPeakDecaySeconds = 0.01;
constexpr float kDbPerOctave = 6.0205999f;  // 20 log10(2)

float coefficient(double seconds, double rate) {
    return static_cast<float>(1.0 - std::exp(-1.0 / (seconds * rate)));
}

}  // namespace

Compressor::Compressor() : RecordEffect({0.0f, 10.0f, 200.0f, -20.0f, 3.0f, 4.0f}) {
    setSampleRate(sampleRate_);
}

bool Compressor::valid(const SoundFxCompressor& p) const {
    return inRange(p.gain, -60.0f, 60.0f) && inRange(p.attack, 0.01f, 500.0f) &&
           inRange(p.release, 50.0f, 3000.0f) && inRange(p.threshold, -60.0f, 0.0f) &&
           inRange(p.ratio, 1.0f, 100.0f) && inRange(p.predelay, 0.0f, kMaxPredelayMs);
}

void Compressor::setSampleRate(double hz) {
    sampleRate_ = hz;
    outputGain_.configure(hz, kGlideSeconds);
    predelay_.configure(hz, kGlideSeconds);
    const auto maxDelay = static_cast<std::size_t>(std::ceil(kMaxPredelayMs * hz / 1000.0)) + 1;
    left_.ensureCapacity(maxDelay);
    right_.ensureCapacity(maxDelay);
    holdFrames_ = static_cast<int>(kHoldSeconds * hz);
    peakDecay_ = 1.0f - coefficient(kPeakDecaySeconds, hz);
    updateTargets();
}

void Compressor::updateTargets() {
    outputGain_.set(std::pow(10.0f, params_.gain / 20.0f), !running_);
    predelay_.set(static_cast<float>(params_.predelay * sampleRate_ / 1000.0), !running_);
    attack_ = coefficient(params_.attack / 1000.0, sampleRate_);
    release_ = coefficient(params_.release / 1000.0, sampleRate_);
}

void Compressor::process(float* samples, std::size_t frames) {
    running_ = true;
    const DenormalGuard guard;
    const float threshold = params_.threshold;
    const float thresholdLevel = std::exp2(threshold / kDbPerOctave);
    const float slope = 1.0f - 1.0f / params_.ratio;
    for (std::size_t i = 0; i < frames; ++i) {
        float* frame = samples + 2 * i;
        const float level = std::max(std::fabs(frame[0]), std::fabs(frame[1]));
        if (level >= peak_) {
            peak_ = level;
            holdLeft_ = holdFrames_;
        } else if (holdLeft_ > 0) {
            --holdLeft_;
        } else {
            peak_ = flushTiny(peak_ * peakDecay_);
        }
        // Logarithms only where they matter: above the threshold, and while reducing.
        const float target =
            peak_ > thresholdLevel ? (kDbPerOctave * std::log2(peak_) - threshold) * slope : 0.0f;
        reductionDb_ += (target - reductionDb_) * (target > reductionDb_ ? attack_ : release_);
        reductionDb_ = flushTiny(reductionDb_);
        const float reduction =
            reductionDb_ > 0.0f ? std::exp2(-reductionDb_ / kDbPerOctave) : 1.0f;
        const float gain = outputGain_.next() * reduction;
        left_.write(frame[0]);
        right_.write(frame[1]);
        const float delay = predelay_.next();
        frame[0] = left_.tap(delay) * gain;
        frame[1] = right_.tap(delay) * gain;
    }
}

void Compressor::reset() {
    left_.clear();
    right_.clear();
    peak_ = 0.0f;
    holdLeft_ = 0;
    reductionDb_ = 0.0f;
    running_ = false;
    updateTargets();
}

}  // namespace soundlib::fx
