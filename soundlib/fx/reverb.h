#pragma once
// Reverb: a feedback delay network of eight lines mixed by an orthogonal matrix. Each
// line's loop gain makes every path fall by 60 dB in the reverb time; a one-pole filter
// in each loop shortens the time of the highs to the high-frequency ratio of it (exact
// at DC and at half the sample rate). The mix in dB sets the reverb's level, and the dry
// signal makes up the rest: 0 dB is reverb only.
#include <array>

#include "soundlib/fx/delay_line.h"
#include "soundlib/fx/record_effect.h"
#include "soundlib/fx/smoothed_value.h"
#include "soundlib/fx/tail_gate.h"
#include "soundlib/soundlib_fx.h"

namespace soundlib::fx {

class Reverb : public RecordEffect<SoundFxReverb> {
public:
    static constexpr std::size_t kLines = 8;

    Reverb();
    void setSampleRate(double hz) override;
    void process(float* samples, std::size_t frames) override;
    void reset() override;

private:
    bool valid(const SoundFxReverb& p) const override;
    void updateTargets() override;
    void updateLoops();

    SmoothedValue inputGain_, wet_;
    // Reverb time in log2 seconds and the ratio, per block while they glide.
    SmoothedValue time_, ratio_;
    std::array<DelayLine, kLines> lines_;
    std::array<float, kLines> loopGain_{}, damping_{}, lowState_{};
    TailGate gate_;
};

}  // namespace soundlib::fx
