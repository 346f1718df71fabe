#pragma once
// A delay swept by a low-frequency oscillator, with feedback and a wet/dry mix: the
// common core of chorus and flanger, which differ in their delay range and defaults.
// The delay in ms is delay * (1 + depth/100 * lfo), lfo within -1..1; the right
// channel's oscillator runs phase quarter cycles (minus two) ahead of the left one.
#include "soundlib/fx/delay_line.h"
#include "soundlib/fx/lfo.h"
#include "soundlib/fx/record_effect.h"
#include "soundlib/fx/smoothed_value.h"
#include "soundlib/fx/tail_gate.h"
#include "soundlib/soundlib_fx.h"

namespace soundlib::fx {

class ModulatedDelay : public RecordEffect<SoundFxChorus> {
public:
    ModulatedDelay(const SoundFxChorus& defaults, float maxDelayMs);
    void setSampleRate(double hz) override;
    void process(float* samples, std::size_t frames) override;
    void reset() override;

private:
    bool valid(const SoundFxChorus& p) const override;
    void updateTargets() override;

    const float maxDelayMs_;
    SmoothedValue mix_, depth_, feedback_, delay_;
    Phase phase_;
    // The oscillator outputs move at a bounded rate, so that a change of waveform or
    // phase does not make the delay jump.
    float lfoLeft_ = 0.0f, lfoRight_ = 0.0f, lfoSlew_ = 0.0f;
    DelayLine left_, right_;
    TailGate gate_;
};

}  // namespace soundlib::fx
