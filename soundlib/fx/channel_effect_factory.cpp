// createChannelEffect: the effect object behind each type code of BASS_ChannelSetFX.
#include "chorus.h"
#include "compressor.h"
#include "distortion.h"
#include "echo.h"
#include "flanger.h"
#include "gargle.h"
#include "parametric_eq.h"
#include "reverb.h"
#include "soundlib/channel_effect.h"
#include "soundlib/soundlib_fx.h"

namespace soundlib {

std::unique_ptr<ChannelEffect> createChannelEffect(int type) {
    switch (type) {
        case SOUND_FX_CHORUS:
            return fx::makeChorus();
        case SOUND_FX_COMPRESSOR:
            return std::make_unique<fx::Compressor>();
        case SOUND_FX_DISTORTION:
            return std::make_unique<fx::Distortion>();
        case SOUND_FX_ECHO:
            return std::make_unique<fx::Echo>();
        case SOUND_FX_FLANGER:
            return fx::makeFlanger();
        case SOUND_FX_GARGLE:
            return std::make_unique<fx::Gargle>();
        case SOUND_FX_PARAMEQ:
            return std::make_unique<fx::ParametricEq>();
        case SOUND_FX_REVERB:
            return std::make_unique<fx::Reverb>();
        default:
            return nullptr;
    }
}

}  // namespace soundlib
