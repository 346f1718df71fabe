#pragma once
// Chorus: a 0..20 ms delay swept by the oscillator, mixed with the dry signal.
#include <memory>

#include "soundlib/channel_effect.h"

namespace soundlib::fx {

std::unique_ptr<ChannelEffect> makeChorus();

}  // namespace soundlib::fx
