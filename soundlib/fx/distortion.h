#pragma once
// Distortion: the input passes a low-pass at the pre-low-pass cut-off and then a soft
// clipper whose drive grows with the edge. The harmonics the clipper adds (its output
// minus its input) are band-passed around the post-EQ centre with the post-EQ bandwidth
// and added to the filtered input; the sum is scaled by the gain. At edge 0 nothing is
// added.
#include "soundlib/fx/biquad.h"
#include "soundlib/fx/record_effect.h"
#include "soundlib/fx/smoothed_value.h"
#include "soundlib/soundlib_fx.h"

namespace soundlib::fx {

class Distortion : public RecordEffect<SoundFxDistortion> {
public:
    Distortion();
    void setSampleRate(double hz) override;
    void process(float* samples, std::size_t frames) override;
    void reset() override;

private:
    bool valid(const SoundFxDistortion& p) const override;
    void updateTargets() override;
    void updateFilters();

    SmoothedValue gain_, drive_;
    // Frequencies as log2 Hz, recomputed per block while they glide.
    SmoothedValue centre_, bandwidth_, cutoff_;
    BiquadCoefficients lowPass_, bandPass_;
    Biquad lowLeft_, lowRight_, bandLeft_, bandRight_;
};

}  // namespace soundlib::fx
