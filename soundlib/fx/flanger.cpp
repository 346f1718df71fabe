#include "soundlib/fx/flanger.h"

#include "soundlib/fx/modulated_delay.h"

namespace soundlib::fx {

std::unique_ptr<ChannelEffect> makeFlanger() {
    const SoundFxChorus defaults{50.0f, 100.0f, -50.0f, 0.25f, 1, 2.0f, 2};
    return std::make_unique<ModulatedDelay>(defaults, 4.0f);
}

}  // namespace soundlib::fx
