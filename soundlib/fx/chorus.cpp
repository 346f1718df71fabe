#include "soundlib/fx/chorus.h"

#include "soundlib/fx/modulated_delay.h"

namespace soundlib::fx {

std::unique_ptr<ChannelEffect> makeChorus() {
    const SoundFxChorus defaults{50.0f, 10.0f, 25.0f, 1.1f, 1, 16.0f, 3};
    return std::make_unique<ModulatedDelay>(defaults, 20.0f);
}

}  // namespace soundlib::fx
