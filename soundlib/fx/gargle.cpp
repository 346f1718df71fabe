#include "soundlib/fx/gargle.h"

#include "soundlib/fx/denormal_guard.h"
#include "soundlib/fx/parameter_range.h"

namespace soundlib::fx {

Gargle::Gargle() : RecordEffect({20, 0}) {
    setSampleRate(sampleRate_);
}

bool Gargle::valid(const SoundFxGargle& p) const {
    return inRange(p.rateHz, 1, 1000) && inRange(p.waveShape, 0, 1);
}

void Gargle::setSampleRate(double hz) {
    sampleRate_ = hz;
    square_.configure(hz, 0.02);
    updateTargets();
}

void Gargle::updateTargets() {
    phase_.setStep(params_.rateHz, sampleRate_);
    square_.set(static_cast<float>(params_.waveShape), !running_);
}

void Gargle::process(float* samples, std::size_t frames) {
    running_ = true;
    const DenormalGuard guard;
    for (std::size_t i = 0; i < frames; ++i) {
        // Both shapes start a cycle at full level and reach silence at its middle.
        const float phase = phase_.value();
        const float triangle = 0.5f + 0.5f * lfoTriangle(phase + 0.25f);
        const float square = phase < 0.5f ? 1.0f : 0.0f;
        const float blend = square_.next();
        const float level = triangle + (square - triangle) * blend;
        phase_.advance();
        samples[2 * i] *= level;
        samples[2 * i + 1] *= level;
    }
}

void Gargle::reset() {
    phase_.reset();
    running_ = false;
    updateTargets();
}

}  // namespace soundlib::fx
