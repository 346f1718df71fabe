#pragma once
// One peaking band of the equalizer. At 0 dB the band passes the signal untouched.
#include "soundlib/fx/biquad.h"
#include "soundlib/fx/record_effect.h"
#include "soundlib/fx/smoothed_value.h"
#include "soundlib/soundlib_fx.h"

namespace soundlib::fx {

class ParametricEq : public RecordEffect<SoundFxParamEq> {
public:
    ParametricEq();
    void setSampleRate(double hz) override;
    void process(float* samples, std::size_t frames) override;
    void reset() override;

private:
    bool valid(const SoundFxParamEq& p) const override;
    void updateTargets() override;
    void updateCoefficients();

    // Centre as log2 Hz, so that a glide moves evenly through the octaves.
    SmoothedValue centre_, bandwidth_, gain_;
    BiquadCoefficients coefficients_;
    Biquad left_, right_;
};

}  // namespace soundlib::fx
