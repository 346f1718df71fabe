#pragma once
// Distortion: the input passes a low-pass at the pre-low-pass cut-off and then a soft
// clipper whose drive grows with the edge. The harmonics the clipper adds (its output
// minus its input) are band-passed around the post-EQ centre with the post-EQ bandwidth
// and added to the filtered input; the sum is scaled by the gain. At edge 0 nothing is
// added.
#include "biquad.h"
#include "smoothed_value.h"
#include "soundlib/channel_effect.h"
#include "soundlib/soundlib_fx.h"

namespace soundlib::fx {

class Distortion : public ChannelEffect {
public:
    Distortion();
    bool setParameters(const void* record) override;
    void getParameters(void* record) const override;
    void setSampleRate(double hz) override;
    void process(float* samples, std::size_t frames) override;
    void reset() override;

private:
    void updateTargets();
    void updateFilters();

    BASS_FXDISTORTION params_{-18.0f, 15.0f, 2400.0f, 2400.0f, 8000.0f};
    double sampleRate_ = 44100.0;
    bool running_ = false;
    SmoothedValue gain_, drive_;
    // Frequencies as log2 Hz, recomputed per block while they glide.
    SmoothedValue centre_, bandwidth_, cutoff_;
    BiquadCoefficients lowPass_, bandPass_;
    Biquad lowLeft_, lowRight_, bandLeft_, bandRight_;
};

}  // namespace soundlib::fx
