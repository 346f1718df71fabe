#include "soundlib/mpeg_frame.h"

#include <cstring>

#include "platform/byte_order.h"

namespace soundlib {
namespace {

// kbit/s by [MPEG-1 ? 0 : 1][layer - 1][index]
constexpr int kBitrates[2][3][15] = {
    {{0, 32, 64, 96, 128, 160, 192, 224, 256, 288, 320, 352, 384, 416, 448},
     {0, 32, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320, 384},
     {0, 32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320}},
    {{0, 32, 48, 56, 64, 80, 96, 112, 128, 144, 160, 176, 192, 224, 256},
     {0, 8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160},
     {0, 8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160}},
};
constexpr int kRates[3] = {44100, 48000, 32000};

std::uint32_t bigEndian32(const std::uint8_t* p) {
    return static_cast<std::uint32_t>(platform::readBigEndian(p, 4));
}

}  // namespace

bool parseMpegHeader(const std::uint8_t* b, MpegHeader& h) {
    if (b[0] != 0xFF || (b[1] & 0xE0) != 0xE0) return false;
    const int versionBits = (b[1] >> 3) & 3;
    const int layerBits = (b[1] >> 1) & 3;
    const int bitrateIndex = b[2] >> 4;
    const int rateIndex = (b[2] >> 2) & 3;
    if (versionBits == 1 || layerBits == 0 || bitrateIndex == 0 || bitrateIndex == 15 ||
        rateIndex == 3 || (b[3] & 3) == 2) {
        return false;
    }
    h.version = versionBits == 3 ? 10 : versionBits == 2 ? 20 : 25;
    h.layer = 4 - layerBits;
    const bool mpeg1 = h.version == 10;
    h.bitrate = kBitrates[mpeg1 ? 0 : 1][h.layer - 1][bitrateIndex];
    h.rate = kRates[rateIndex] / (mpeg1 ? 1 : h.version == 20 ? 2 : 4);
    h.channels = (b[3] >> 6) == 3 ? 1 : 2;
    const int padding = (b[2] >> 1) & 1;
    if (h.layer == 1) {
        h.samplesPerFrame = 384;
        h.frameBytes = (12 * h.bitrate * 1000 / h.rate + padding) * 4;
    } else {
        h.samplesPerFrame = (h.layer == 3 && !mpeg1) ? 576 : 1152;
        const int factor = (h.layer == 3 && !mpeg1) ? 72 : 144;
        h.frameBytes = factor * h.bitrate * 1000 / h.rate + padding;
    }
    // Sync, version, layer and sample rate.
    h.fixedBits = bigEndian32(b) & 0xFFFE0C00u;
    return true;
}

bool parseVbrTag(const std::uint8_t* frame, std::size_t size, const MpegHeader& h, VbrTag& tag) {
    const bool mpeg1 = h.version == 10;
    const std::size_t sideInfo = mpeg1 ? (h.channels == 1 ? 17 : 32) : (h.channels == 1 ? 9 : 17);
    std::size_t at = 4 + sideInfo;
    if (h.layer == 3 && at + 8 <= size &&
        (std::memcmp(frame + at, "Xing", 4) == 0 || std::memcmp(frame + at, "Info", 4) == 0)) {
        const std::uint32_t flags = bigEndian32(frame + at + 4);
        std::size_t p = at + 8;
        if (flags & 1) {
            if (p + 4 > size) return false;
            tag.frames = bigEndian32(frame + p);
            p += 4;
        }
        if (flags & 2) {
            if (p + 4 > size) return false;
            tag.bytes = bigEndian32(frame + p);
            p += 4;
        }
        if (flags & 4) p += 100;
        if (flags & 8) p += 4;
        // The LAME extension: encoder name, then delay and padding at +21 as 12-bit values.
        if (p + 24 <= size &&
            (std::memcmp(frame + p, "LAME", 4) == 0 || std::memcmp(frame + p, "Lavf", 4) == 0 ||
             std::memcmp(frame + p, "Lavc", 4) == 0)) {
            const std::uint8_t* d = frame + p + 21;
            tag.encoderDelay = (d[0] << 4) | (d[1] >> 4);
            tag.encoderPadding = ((d[1] & 0x0F) << 8) | d[2];
        }
        return true;
    }
    at = 4 + 32;
    if (h.layer == 3 && at + 18 <= size && std::memcmp(frame + at, "VBRI", 4) == 0) {
        tag.bytes = bigEndian32(frame + at + 10);
        tag.frames = bigEndian32(frame + at + 14);
        return true;
    }
    return false;
}

}  // namespace soundlib
