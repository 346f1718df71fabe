#pragma once
// Gargle: amplitude modulation of both channels at the rate, between full level and
// silence, by a triangle or a square wave.
#include "soundlib/fx/lfo.h"
#include "soundlib/fx/record_effect.h"
#include "soundlib/fx/smoothed_value.h"
#include "soundlib/soundlib_fx.h"

namespace soundlib::fx {

class Gargle : public RecordEffect<SoundFxGargle> {
public:
    Gargle();
    void setSampleRate(double hz) override;
    void process(float* samples, std::size_t frames) override;
    void reset() override;

private:
    bool valid(const SoundFxGargle& p) const override;
    void updateTargets() override;

    Phase phase_;
    // Blend of triangle (0) and square (1), so that a change of shape does not click.
    SmoothedValue square_;
};

}  // namespace soundlib::fx
