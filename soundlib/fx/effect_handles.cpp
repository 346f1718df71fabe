#include "soundlib/fx/effect_handles.h"

#include <algorithm>
#include <vector>

#include "soundlib/effect_chain.h"

namespace soundlib::fx {
namespace {

bool alive(std::uint32_t fx, std::uint32_t channel) {
    bool found = false;
    withChannelEffects(
        channel, [&](EffectChain& chain) { found = chain.withEffect(fx, [](ChannelEffect&) {}); });
    return found;
}

}  // namespace

void EffectHandles::add(std::uint32_t fx, std::uint32_t channel) {
    std::size_t size;
    {
        std::lock_guard lock(mutex_);
        channels_[fx] = channel;
        size = channels_.size();
    }
    if (size >= sweepAt_) sweep();
}

void EffectHandles::remove(std::uint32_t fx) {
    std::lock_guard lock(mutex_);
    channels_.erase(fx);
}

std::optional<std::uint32_t> EffectHandles::channelOf(std::uint32_t fx) const {
    std::lock_guard lock(mutex_);
    const auto it = channels_.find(fx);
    if (it == channels_.end()) return std::nullopt;
    return it->second;
}

void EffectHandles::sweep() {
    // The library's channel table is asked without our lock held: its lock comes first.
    std::vector<std::pair<std::uint32_t, std::uint32_t>> entries;
    {
        std::lock_guard lock(mutex_);
        entries.assign(channels_.begin(), channels_.end());
    }
    std::vector<std::uint32_t> gone;
    for (const auto& [fx, channel] : entries) {
        if (!alive(fx, channel)) gone.push_back(fx);
    }
    std::lock_guard lock(mutex_);
    for (std::uint32_t fx : gone) channels_.erase(fx);
    sweepAt_ = std::max<std::size_t>(64, 2 * channels_.size());
}

}  // namespace soundlib::fx
