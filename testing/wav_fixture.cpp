#include "testing/wav_fixture.h"

#include <cmath>
#include <cstdint>
#include <string>

#include "testing/temp_dir.h"

namespace {

void put(std::string& out, std::uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) out.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
}

}  // namespace

void writeSineWav(const std::filesystem::path& file, double seconds, double frequency,
                  unsigned rate) {
    constexpr std::uint32_t channels = 2;
    const auto frames = static_cast<std::uint32_t>(seconds * rate);
    const std::uint32_t dataBytes = frames * channels * 2;
    std::string out = "RIFF";
    put(out, 36 + dataBytes, 4);
    out += "WAVEfmt ";
    put(out, 16, 4);
    put(out, 1, 2);
    put(out, channels, 2);
    put(out, rate, 4);
    put(out, rate * channels * 2, 4);
    put(out, channels * 2, 2);
    put(out, 16, 2);
    out += "data";
    put(out, dataBytes, 4);
    for (std::uint32_t i = 0; i < frames; ++i) {
        const auto v = static_cast<std::int16_t>(12000 * std::sin(2 * M_PI * frequency * i / rate));
        for (std::uint32_t c = 0; c < channels; ++c) put(out, static_cast<std::uint16_t>(v), 2);
    }
    testing_support::writeFile(file, out);
}

bool hasSound(const std::string& raw) {
    for (std::size_t i = 0; i + 1 < raw.size(); i += 2) {
        const auto v = static_cast<std::int16_t>(static_cast<unsigned char>(raw[i]) |
                                                 (static_cast<unsigned char>(raw[i + 1]) << 8));
        if (v > 1000 || v < -1000) return true;
    }
    return false;
}
