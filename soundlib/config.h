#pragma once
// The options of BASS_SetConfig / BASS_GetConfig: process-wide, readable from any thread.
#include <cstdint>

namespace soundlib {

// Sets an option; returns the value now in force, or -1 for an unknown option or a value
// outside its range.
std::int32_t setConfig(std::uint32_t option, std::uint32_t value);
// The option's value, or -1 for an unknown option.
std::int32_t getConfig(std::uint32_t option);

}  // namespace soundlib
