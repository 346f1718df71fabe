#pragma once
// Track numbers are kept in one byte, 0 meaning none.
#include <cstdint>
#include <string_view>

namespace songmeta {

// The decimal integer of `text` (blanks at both ends ignored, an optional sign), taken
// modulo 256; 0 when the text is not an integer or not greater than 0. "300" gives 44.
std::uint8_t parseTrackNumber(std::string_view text);
// As parseTrackNumber, of the part before the first "/" ("3/12" gives 3).
std::uint8_t parseTrackOfTotal(std::string_view text);

}  // namespace songmeta
