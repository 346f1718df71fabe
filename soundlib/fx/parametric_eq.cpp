#include "soundlib/fx/parametric_eq.h"

#include <algorithm>
#include <cmath>

#include "soundlib/fx/denormal_guard.h"
#include "soundlib/fx/parameter_range.h"

namespace soundlib::fx {
namespace {

// Coefficients are recomputed once per block of this many frames while a change glides.
constexpr std::size_t kBlock = 32;
constexpr double kGlideSeconds = 0.02;

}  // namespace

ParametricEq::ParametricEq() : RecordEffect({8000.0f, 12.0f, 0.0f}) {
    setSampleRate(sampleRate_);
}

bool ParametricEq::valid(const SoundFxParamEq& p) const {
    return inRange(p.centre, 80.0f, 16000.0f) && inRange(p.bandwidth, 1.0f, 36.0f) &&
           inRange(p.gain, -15.0f, 15.0f);
}

void ParametricEq::setSampleRate(double hz) {
    sampleRate_ = hz;
    for (SmoothedValue* s : {&centre_, &bandwidth_, &gain_})
        s->configure(hz / kBlock, kGlideSeconds);
    updateTargets();
}

void ParametricEq::updateTargets() {
    // Above a third of the rate the band would fold against the Nyquist limit.
    const double centre = std::min<double>(params_.centre, sampleRate_ / 3.0);
    centre_.set(static_cast<float>(std::log2(centre)), !running_);
    bandwidth_.set(params_.bandwidth, !running_);
    gain_.set(params_.gain, !running_);
    if (!running_) updateCoefficients();
}

void ParametricEq::updateCoefficients() {
    coefficients_ = BiquadCoefficients::peaking(sampleRate_, std::exp2(centre_.value()),
                                                bandwidth_.value() / 12.0, gain_.value());
}

void ParametricEq::process(float* samples, std::size_t frames) {
    running_ = true;
    const DenormalGuard guard;
    for (std::size_t start = 0; start < frames; start += kBlock) {
        const std::size_t count = std::min(kBlock, frames - start);
        const bool gliding = !centre_.settled() || !bandwidth_.settled() || !gain_.settled();
        if (gliding) {
            centre_.next();
            bandwidth_.next();
            gain_.next();
            updateCoefficients();
        } else if (gain_.value() == 0.0f) {
            // An identity filter's state is zero, so skipping keeps it exact.
            left_.reset();
            right_.reset();
            continue;
        }
        float* s = samples + 2 * start;
        for (std::size_t i = 0; i < count; ++i) {
            s[2 * i] = left_.process(coefficients_, s[2 * i]);
            s[2 * i + 1] = right_.process(coefficients_, s[2 * i + 1]);
        }
    }
    left_.flushTiny();
    right_.flushTiny();
}

void ParametricEq::reset() {
    left_.reset();
    right_.reset();
    running_ = false;
    updateTargets();
}

}  // namespace soundlib::fx
