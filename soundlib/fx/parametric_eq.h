#pragma once
// One peaking band of the equalizer. At 0 dB the band passes the signal untouched.
#include "biquad.h"
#include "soundlib/channel_effect.h"
#include "smoothed_value.h"
#include "soundlib/soundlib_fx.h"

namespace soundlib::fx {

class ParametricEq : public ChannelEffect {
public:
    ParametricEq();
    bool setParameters(const void* record) override;
    void getParameters(void* record) const override;
    void setSampleRate(double hz) override;
    void process(float* samples, std::size_t frames) override;
    void reset() override;

private:
    void updateTargets();
    void updateCoefficients();

    BASS_FXPARAMEQ params_{8000.0f, 12.0f, 0.0f};
    double sampleRate_ = 44100.0;
    bool running_ = false;
    // Centre as log2 Hz, so that a glide moves evenly through the octaves.
    SmoothedValue centre_, bandwidth_, gain_;
    BiquadCoefficients coefficients_;
    Biquad left_, right_;
};

}  // namespace soundlib::fx
