#pragma once
// Reads the unsigned numbers that file formats store byte by byte: little- and big-endian
// of one to eight bytes, and the 7-bit groups of "syncsafe" sizes. Callers check bounds.
#include <cstddef>
#include <cstdint>
#include <string_view>

namespace platform {

constexpr std::uint64_t readLittleEndian(const unsigned char* p, std::size_t bytes) {
    std::uint64_t value = 0;
    for (std::size_t i = bytes; i-- > 0;) value = value << 8 | p[i];
    return value;
}

constexpr std::uint64_t readBigEndian(const unsigned char* p, std::size_t bytes) {
    std::uint64_t value = 0;
    for (std::size_t i = 0; i < bytes; ++i) value = value << 8 | p[i];
    return value;
}

// Four bytes of seven bits each, most significant first; the top bit of each is ignored.
constexpr std::uint32_t readSyncsafe(const unsigned char* p) {
    std::uint32_t value = 0;
    for (std::size_t i = 0; i < 4; ++i) value = value << 7 | (p[i] & 0x7Fu);
    return value;
}

inline const unsigned char* bytesOf(std::string_view s) {
    return reinterpret_cast<const unsigned char*>(s.data());
}

}  // namespace platform
