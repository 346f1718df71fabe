#pragma once
// The 148 genre names of ID3v1 blocks, indices 0 to 147; 255 stands for no genre.
#include <cstdint>
#include <string_view>

namespace songmeta::genres {

constexpr std::uint8_t kNone = 255;

// The name for `index`, or empty when the index is outside the table.
std::string_view name(unsigned index);
// The index of the first name equal to `genre` with ASCII letters compared without case;
// kNone for an empty or unknown name.
std::uint8_t indexOf(std::string_view genre);

}  // namespace songmeta::genres
