#pragma once
// A channel's chain of channel effects. Each channel owns one; it is freed with the
// channel. The mixer thread runs it on every block after the sample callbacks, on
// interleaved float stereo at the channel's own rate, before resampling, volume and pan.
// All members are thread-safe: the window thread may add, remove and change effects while
// the mixer runs the chain; calls into one effect are serialised by the chain's lock.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <vector>

#include "soundlib/channel_effect.h"

namespace soundlib {

class EffectChain {
public:
    // Appends an effect (it runs after those already attached) and returns its id: nonzero
    // and unique in the process, so it can serve as the public effect handle. The effect
    // gets setSampleRate() before it first processes, when the rate is known.
    std::uint32_t add(std::unique_ptr<ChannelEffect> effect);
    // Detaches and destroys the effect; false when the id is not in this chain.
    bool remove(std::uint32_t id);
    // Runs fn on the effect under the chain's lock; false when the id is not in this chain.
    bool withEffect(std::uint32_t id, const std::function<void(ChannelEffect&)>& fn);
    bool empty() const;

    // Mixer side. setSampleRate passes a changed rate on to every effect (and to effects
    // added later); reset clears their state (after a seek); process runs them in order.
    void setSampleRate(double hz);
    void reset();
    void process(float* samples, std::size_t frames);

private:
    struct Entry {
        std::uint32_t id;
        std::unique_ptr<ChannelEffect> effect;
    };
    mutable std::mutex mutex_;
    std::vector<Entry> entries_;
    double rate_ = 0;
};

// Runs fn on the effect chain of a live stream or music. Returns false, without calling
// fn, for 0, a freed or unknown handle, or before BASS_Init. fn runs with the library's
// channel table locked: it must not call the public BASS_ functions.
bool withChannelEffects(std::uint32_t handle, const std::function<void(EffectChain&)>& fn);

}  // namespace soundlib
