#pragma once
// Echo: one feedback delay line per channel. Each repeat comes after the channel's delay
// and is scaled by the feedback; with pan delay the lines feed each other, so the
// repeats change sides each time (left delay, then right delay, and so on).
#include "soundlib/fx/delay_line.h"
#include "soundlib/fx/fading_delay.h"
#include "soundlib/fx/record_effect.h"
#include "soundlib/fx/smoothed_value.h"
#include "soundlib/fx/tail_gate.h"
#include "soundlib/soundlib_fx.h"

namespace soundlib::fx {

class Echo : public RecordEffect<SoundFxEcho> {
public:
    Echo();
    void setSampleRate(double hz) override;
    void process(float* samples, std::size_t frames) override;
    void reset() override;

private:
    bool valid(const SoundFxEcho& p) const override;
    void updateTargets() override;

    SmoothedValue mix_, feedback_;
    FadingDelay leftDelay_, rightDelay_;
    float fadeStep_ = 0.0f;
    TailGate gate_;
    // Blend of straight (0) and crossed (1) feedback, so that switching is smooth.
    SmoothedValue cross_;
    DelayLine left_, right_;
};

}  // namespace soundlib::fx
