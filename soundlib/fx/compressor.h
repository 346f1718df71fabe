#pragma once
// Feed-forward compressor with look-ahead. A peak detector on the louder channel of the
// undelayed input drives the gain reduction, (level - threshold) * (1 - 1/ratio) dB,
// which moves towards its target with the attack time constant when rising and the
// release time constant when falling; the reduction is applied to the input delayed by
// the predelay, so that the gain is already down when a peak arrives.
#include "delay_line.h"
#include "smoothed_value.h"
#include "soundlib/channel_effect.h"
#include "soundlib/soundlib_fx.h"

namespace soundlib::fx {

class Compressor : public ChannelEffect {
public:
    Compressor();
    bool setParameters(const void* record) override;
    void getParameters(void* record) const override;
    void setSampleRate(double hz) override;
    void process(float* samples, std::size_t frames) override;
    void reset() override;

private:
    void updateTargets();

    BASS_FXCOMPRESSOR params_{0.0f, 10.0f, 200.0f, -20.0f, 3.0f, 4.0f};
    double sampleRate_ = 44100.0;
    bool running_ = false;
    SmoothedValue outputGain_, predelay_;
    float attack_ = 0.0f, release_ = 0.0f;  // one-pole coefficients per sample
    float peak_ = 0.0f;
    int holdLeft_ = 0, holdFrames_ = 0;
    float peakDecay_ = 0.0f;
    float reductionDb_ = 0.0f;
    DelayLine left_, right_;
};

}  // namespace soundlib::fx
