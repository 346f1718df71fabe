#pragma once
// Range checks for parameter records: NaN and values outside lo..hi are refused.
#include <cstdint>

namespace soundlib::fx {

inline bool inRange(float v, float lo, float hi) {
    return v >= lo && v <= hi;
}
inline bool inRange(std::int32_t v, std::int32_t lo, std::int32_t hi) {
    return v >= lo && v <= hi;
}

}  // namespace soundlib::fx
