#pragma once
// Which channel each live effect handle belongs to, so that BASS_FXSetParameters and
// BASS_FXGetParameters, which get only the effect handle, find the chain that holds it.
// Entries of effects that went with their channel are dropped when met, and swept out
// now and then as new effects are added, so the table stays as small as the live set.
#include <cstddef>
#include <cstdint>
#include <mutex>
#include <optional>
#include <unordered_map>

namespace soundlib::fx {

class EffectHandles {
public:
    void add(std::uint32_t fx, std::uint32_t channel);
    void remove(std::uint32_t fx);
    std::optional<std::uint32_t> channelOf(std::uint32_t fx) const;

private:
    // Drops every entry whose channel no longer holds the effect.
    void sweep();

    mutable std::mutex mutex_;
    std::unordered_map<std::uint32_t, std::uint32_t> channels_;
    std::size_t sweepAt_ = 64;
};

}  // namespace soundlib::fx
