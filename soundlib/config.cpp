#include "soundlib/config.h"

#include <array>
#include <atomic>

#include "soundlib/soundlib.h"

namespace soundlib {
namespace {

struct Option {
    std::uint32_t id;
    std::uint32_t low;
    std::uint32_t high;
    std::atomic<std::uint32_t> value;
};

std::array<Option, 6> options{{
    {SOUND_CONFIG_BUFFER, 10, 1000, 100},
    {SOUND_CONFIG_UPDATEPERIOD, 1, 100, 10},
    {SOUND_CONFIG_MUSIC_STOP, 0, 1, 1},
    {SOUND_CONFIG_RESAMPLE, 0, 3, 3},
    {SOUND_CONFIG_NET_TIMEOUT, 100, 600000, 5000},
    {SOUND_CONFIG_NET_BUFFER, 100, 60000, 5000},
}};

Option* find(std::uint32_t id) {
    for (auto& option : options) {
        if (option.id == id) return &option;
    }
    return nullptr;
}

}  // namespace

std::int32_t setConfig(std::uint32_t id, std::uint32_t value) {
    Option* option = find(id);
    if (!option || value < option->low || value > option->high) return -1;
    option->value = value;
    return static_cast<std::int32_t>(value);
}

std::int32_t getConfig(std::uint32_t id) {
    const Option* option = find(id);
    return option ? static_cast<std::int32_t>(option->value.load()) : -1;
}

}  // namespace soundlib
