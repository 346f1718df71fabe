// createChannelEffect: the effect object behind each type code of BASS_ChannelSetFX.
#include "soundlib/channel_effect.h"
#include "soundlib/fx/chorus.h"
#include "soundlib/fx/compressor.h"
#include "soundlib/fx/distortion.h"
#include "soundlib/fx/echo.h"
#include "soundlib/fx/flanger.h"
#include "soundlib/fx/gargle.h"
#include "soundlib/fx/parametric_eq.h"
#include "soundlib/fx/reverb.h"
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
