// The public channel-effect calls: effects attach to a channel's effect chain, which
// the channel owns, so they are freed with it; afterwards their handles fail harmlessly.
#include "soundlib/channel_effect.h"
#include "soundlib/effect_chain.h"
#include "soundlib/error.h"
#include "soundlib/fx/effect_handles.h"
#include "soundlib/soundlib.h"

using namespace soundlib;

namespace {

fx::EffectHandles& handles() {
    static fx::EffectHandles table;
    return table;
}

// Runs fn on the effect `fx` wherever it lives. Records the error and returns false when
// the handle is 0, unknown, removed or gone with its channel.
template <typename Fn>
bool withEffect(std::uint32_t fx, Fn&& fn) {
    const auto channel = handles().channelOf(fx);
    bool found = false;
    if (channel) {
        withChannelEffects(*channel, [&](EffectChain& chain) { found = chain.withEffect(fx, fn); });
    }
    if (!found) {
        if (channel) handles().remove(fx);
        setError(SOUND_ERROR_EFFECT);
    }
    return found;
}

}  // namespace

extern "C" {

uint32_t BASS_ChannelSetFX(uint32_t handle, uint32_t type) {
    auto effect = createChannelEffect(static_cast<int>(type));
    if (!effect) return fail(SOUND_ERROR_EFFECT, 0u);
    std::uint32_t fx = 0;
    if (!withChannelEffects(handle,
                            [&](EffectChain& chain) { fx = chain.add(std::move(effect)); })) {
        return fail(SOUND_ERROR_HANDLE, 0u);
    }
    handles().add(fx, handle);
    setError(SOUND_OK);
    return fx;
}

int BASS_ChannelRemoveFX(uint32_t handle, uint32_t fx) {
    bool removed = false;
    if (!withChannelEffects(handle, [&](EffectChain& chain) { removed = chain.remove(fx); })) {
        return fail(SOUND_ERROR_HANDLE, 0);
    }
    if (!removed) return fail(SOUND_ERROR_EFFECT, 0);
    handles().remove(fx);
    setError(SOUND_OK);
    return 1;
}

int BASS_FXSetParameters(uint32_t fx, const void* params) {
    if (!params) return fail(SOUND_ERROR_PARAM, 0);
    bool taken = false;
    if (!withEffect(fx, [&](ChannelEffect& effect) { taken = effect.setParameters(params); })) {
        return 0;
    }
    if (!taken) return fail(SOUND_ERROR_PARAM, 0);
    setError(SOUND_OK);
    return 1;
}

int BASS_FXGetParameters(uint32_t fx, void* params) {
    if (!params) return fail(SOUND_ERROR_PARAM, 0);
    if (!withEffect(fx, [&](ChannelEffect& effect) { effect.getParameters(params); })) return 0;
    setError(SOUND_OK);
    return 1;
}

}  // extern "C"
