#pragma once
// Low-frequency oscillator shapes over a phase in cycles, and a phase accumulator.
#include <cmath>

namespace soundlib::fx {

// The fractional part of a phase above -2 (truncation is cheaper than floor).
inline float wrapPhase(float phase) {
    const float shifted = phase + 2.0f;
    return shifted - static_cast<float>(static_cast<int>(shifted));
}

// Sine of 2*pi*phase, phase above -2, by a short polynomial (error below 1e-5): cheap
// enough per sample.
inline float lfoSine(float phase) {
    float t = wrapPhase(phase);
    if (t > 0.75f) {
        t -= 1.0f;
    } else if (t > 0.25f) {
        t = 0.5f - t;
    }
    const float x = t * 6.28318531f;
    const float x2 = x * x;
    return x * (1.0f + x2 * (-1.0f / 6 + x2 * (1.0f / 120 + x2 * (-1.0f / 5040 + x2 / 362880))));
}

// Triangle in step with lfoSine: 0 at phase 0, +1 at a quarter, -1 at three quarters.
inline float lfoTriangle(float phase) {
    const float t = wrapPhase(phase + 0.25f);
    return 1.0f - 4.0f * std::fabs(t - 0.5f);
}

class Phase {
public:
    void setStep(double frequency, double sampleRate) { step_ = frequency / sampleRate; }
    float value() const { return static_cast<float>(phase_); }
    void advance() {
        phase_ += step_;
        if (phase_ >= 1.0) phase_ -= 1.0;
    }
    void reset() { phase_ = 0.0; }

private:
    double phase_ = 0.0;
    double step_ = 0.0;
};

}  // namespace soundlib::fx
