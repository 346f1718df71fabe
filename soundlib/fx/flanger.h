#pragma once
// Flanger: a short 0..4 ms delay swept deeply by the oscillator, with strong feedback.
#include <memory>

#include "soundlib/channel_effect.h"

namespace soundlib::fx {

std::unique_ptr<ChannelEffect> makeFlanger();

}  // namespace soundlib::fx
