#pragma once
// MPEG audio (layers 1-3) frame headers and the VBR tags an encoder leaves in the first
// frame (Xing/Info with the LAME extension, VBRI).
#include <cstddef>
#include <cstdint>

namespace soundlib {

struct MpegHeader {
    int version = 0;  // 10 for MPEG-1, 20 for MPEG-2, 25 for MPEG-2.5
    int layer = 0;    // 1, 2 or 3
    int bitrate = 0;  // kbit/s
    int rate = 0;     // Hz
    int channels = 0;
    int frameBytes = 0;
    int samplesPerFrame = 0;
    // The header bits that stay the same across the frames of one stream.
    std::uint32_t fixedBits = 0;
};

// Parses the four bytes at `bytes`; false for anything but a valid header with a fixed
// bitrate index (free-format frames are not accepted).
bool parseMpegHeader(const std::uint8_t* bytes, MpegHeader& header);

struct VbrTag {
    std::int64_t frames = -1;  // audio frames after the tag frame, -1 when not given
    std::int64_t bytes = -1;   // stream bytes including the tag frame, -1 when not given
    int encoderDelay = -1;     // from the LAME extension, -1 when absent
    int encoderPadding = -1;
};

// Looks for a Xing/Info or VBRI tag in the whole first frame `frame` (frameBytes long).
// The frame holding a tag carries no audio.
bool parseVbrTag(const std::uint8_t* frame, std::size_t size, const MpegHeader& header,
                 VbrTag& tag);

}  // namespace soundlib
