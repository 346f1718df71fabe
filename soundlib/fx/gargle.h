#pragma once
// Gargle: amplitude modulation of both channels at the rate, between full level and
// silence, by a triangle or a square wave.
#include "lfo.h"
#include "smoothed_value.h"
#include "soundlib/channel_effect.h"
#include "soundlib/soundlib_fx.h"

namespace soundlib::fx {

class Gargle : public ChannelEffect {
public:
    Gargle();
    bool setParameters(const void* record) override;
    void getParameters(void* record) const override;
    void setSampleRate(double hz) override;
    void process(float* samples, std::size_t frames) override;
    void reset() override;

private:
    void updateTargets();

    BASS_FXGARGLE params_{20, 0};
    double sampleRate_ = 44100.0;
    bool running_ = false;
    Phase phase_;
    // Blend of triangle (0) and square (1), so that a change of shape does not click.
    SmoothedValue square_;
};

}  // namespace soundlib::fx
