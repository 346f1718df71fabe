#include "testing/wav_fixture.h"

#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

#include "testing/temp_dir.h"

namespace {

void put(std::string& out, std::uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) out.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
}

}  // namespace

std::string wavHeader(std::uint16_t channels, std::uint32_t rate, std::uint16_t bits,
                      std::uint32_t dataBytes, std::uint32_t riffSize) {
    const std::uint32_t frameBytes = channels * (bits / 8u);
    std::string out = "RIFF";
    put(out, riffSize, 4);
    out += "WAVEfmt ";
    put(out, 16, 4);
    put(out, 1, 2);
    put(out, channels, 2);
    put(out, rate, 4);
    put(out, rate * frameBytes, 4);
    put(out, frameBytes, 2);
    put(out, bits, 2);
    out += "data";
    put(out, dataBytes, 4);
    return out;
}

void writeWav(const std::filesystem::path& file, int rate, int channels,
              const std::vector<std::int16_t>& samples) {
    const auto dataBytes = static_cast<std::uint32_t>(samples.size() * 2);
    std::string out = wavHeader(static_cast<std::uint16_t>(channels),
                                static_cast<std::uint32_t>(rate), 16, dataBytes, 36 + dataBytes);
    out.reserve(out.size() + dataBytes);
    for (std::int16_t v : samples) put(out, static_cast<std::uint16_t>(v), 2);
    testing_support::writeFile(file, out);
}

void writeSineWav(const std::filesystem::path& file, double seconds, double frequency,
                  unsigned rate) {
    const auto frames = static_cast<std::size_t>(seconds * rate);
    std::vector<std::int16_t> samples(2 * frames);
    for (std::size_t i = 0; i < frames; ++i) {
        const auto v = static_cast<std::int16_t>(12000 * std::sin(2 * M_PI * frequency * i / rate));
        samples[2 * i] = samples[2 * i + 1] = v;
    }
    writeWav(file, static_cast<int>(rate), 2, samples);
}

bool hasSound(const std::string& raw) {
    for (std::size_t i = 0; i + 1 < raw.size(); i += 2) {
        const auto v = static_cast<std::int16_t>(static_cast<unsigned char>(raw[i]) |
                                                 (static_cast<unsigned char>(raw[i + 1]) << 8));
        if (v > 1000 || v < -1000) return true;
    }
    return false;
}
