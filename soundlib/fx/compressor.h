#pragma once
// Feed-forward compressor with look-ahead. A peak detector on the louder channel of the
// undelayed input drives the gain reduction, (level - threshold) * (1 - 1/ratio) dB,
// which moves towards its target with the attack time constant when rising and the
// release time constant when falling; the reduction is applied to the input delayed by
// the predelay, so that the gain is already down when a peak arrives.
#include "soundlib/fx/delay_line.h"
#include "soundlib/fx/record_effect.h"
#include "soundlib/fx/smoothed_value.h"
#include "soundlib/soundlib_fx.h"

namespace soundlib::fx {

class Compressor : public RecordEffect<SoundFxCompressor> {
public:
    Compressor();
    void setSampleRate(double hz) override;
    void process(float* samples, std::size_t frames) override;
    void reset() override;

private:
    bool valid(const SoundFxCompressor& p) const override;
    void updateTargets() override;

    SmoothedValue outputGain_, predelay_;
    float attack_ = 0.0f, release_ = 0.0f;  // one-pole coefficients per sample
    float peak_ = 0.0f;
    int holdLeft_ = 0, holdFrames_ = 0;
    float peakDecay_ = 0.0f;
    float reductionDb_ = 0.0f;
    DelayLine left_, right_;
};

}  // namespace soundlib::fx
