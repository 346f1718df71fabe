#pragma once
// A channel effect: one stage of a channel's effect chain. The chain runs on the mixer
// thread after the sample callbacks, on the channel's data at the channel's own sample
// rate, as interleaved float stereo nominally within -1..1. The chain serialises calls:
// an effect is never called from two threads at once, so it needs no locking itself.
#include <cstddef>
#include <memory>

namespace soundlib {

class ChannelEffect {
public:
    virtual ~ChannelEffect() = default;

    // Takes a parameter record of this effect's type. Returns false, keeping the current
    // values, when a value lies outside its published range. A change while playing is
    // smoothed so that it does not click.
    virtual bool setParameters(const void* record) = 0;
    // Copies the current values into a record of this effect's type.
    virtual void getParameters(void* record) const = 0;
    // Called before the first block and whenever the channel's rate changes.
    virtual void setSampleRate(double hz) = 0;
    // Processes `frames` stereo frames in place.
    virtual void process(float* samples, std::size_t frames) = 0;
    // Clears delay lines and envelopes (after a seek, for instance).
    virtual void reset() = 0;
};

// The effect for a type code of BASS_ChannelSetFX, with its default parameters; nullptr
// for an unknown type.
std::unique_ptr<ChannelEffect> createChannelEffect(int type);

}  // namespace soundlib
