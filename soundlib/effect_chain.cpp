#include "soundlib/effect_chain.h"

#include <algorithm>
#include <atomic>

namespace soundlib {
namespace {
std::atomic<std::uint32_t> nextEffectId{1};
}

std::uint32_t EffectChain::add(std::unique_ptr<ChannelEffect> effect) {
    if (!effect) return 0;
    std::uint32_t id = nextEffectId++;
    if (id == 0) id = nextEffectId++;
    std::lock_guard lock(mutex_);
    if (rate_ > 0) effect->setSampleRate(rate_);
    entries_.push_back({id, std::move(effect)});
    return id;
}

bool EffectChain::remove(std::uint32_t id) {
    std::unique_ptr<ChannelEffect> removed;
    std::lock_guard lock(mutex_);
    auto it = std::find_if(entries_.begin(), entries_.end(),
                           [id](const Entry& entry) { return entry.id == id; });
    if (it == entries_.end()) return false;
    removed = std::move(it->effect);
    entries_.erase(it);
    return true;
}

bool EffectChain::withEffect(std::uint32_t id, const std::function<void(ChannelEffect&)>& fn) {
    std::lock_guard lock(mutex_);
    for (auto& entry : entries_) {
        if (entry.id == id) {
            fn(*entry.effect);
            return true;
        }
    }
    return false;
}

bool EffectChain::empty() const {
    std::lock_guard lock(mutex_);
    return entries_.empty();
}

void EffectChain::setSampleRate(double hz) {
    std::lock_guard lock(mutex_);
    if (hz == rate_) return;
    rate_ = hz;
    for (auto& entry : entries_) entry.effect->setSampleRate(hz);
}

void EffectChain::reset() {
    std::lock_guard lock(mutex_);
    for (auto& entry : entries_) entry.effect->reset();
}

void EffectChain::process(float* samples, std::size_t frames) {
    std::lock_guard lock(mutex_);
    for (auto& entry : entries_) entry.effect->process(samples, frames);
}

}  // namespace soundlib
