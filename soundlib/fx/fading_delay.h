#pragma once
// A fixed delay on a DelayLine whose length changes by crossfading from the old tap to
// the new one, so that a new delay time neither clicks nor sweeps the pitch.
#include "soundlib/fx/delay_line.h"

namespace soundlib::fx {

class FadingDelay {
public:
    // Delay in samples (at least 1: the line holds past input only). `immediate` skips
    // the crossfade.
    void set(float delay, bool immediate) {
        if (immediate) {
            from_ = to_ = delay;
            fade_ = 1.0f;
        } else if (delay != to_) {
            // From the tap that dominates when a fade is interrupted.
            from_ = fade_ < 0.5f ? from_ : to_;
            to_ = delay;
            fade_ = 0.0f;
        }
    }
    // `step`: the fade's progress per sample.
    float read(const DelayLine& line, float step) {
        const float target = line.tap(to_ - 1.0f);
        if (fade_ >= 1.0f) return target;
        const float old = line.tap(from_ - 1.0f);
        const float out = old + (target - old) * fade_;
        fade_ += step;
        return out;
    }

private:
    float from_ = 1.0f, to_ = 1.0f, fade_ = 1.0f;
};

}  // namespace soundlib::fx
