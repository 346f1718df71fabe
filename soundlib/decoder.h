#pragma once
// A source of decoded audio for one channel: 16-bit stereo frames at the source's rate.
// Used by one thread at a time (the mixer thread, or the window thread while it seeks
// under the channel's lock).
#include <cstddef>
#include <cstdint>

#include "soundlib/byte_source.h"

namespace soundlib {

struct SourceFormat {
    int rate = 0;           // frames per second of what read() returns
    int channels = 0;       // the source's own channel count (1 is made stereo)
    bool eightBit = false;  // the source has 8-bit samples
};

class Decoder {
public:
    virtual ~Decoder() = default;

    virtual SourceFormat format() const = 0;
    // Exact length in frames, or -1 when the source cannot tell (a live stream).
    virtual std::int64_t lengthFrames() const = 0;
    // Writes up to `frames` stereo frames (interleaved left, right). Fewer than asked, or
    // 0, with ended() false means nothing more is ready yet (the channel stalls); with
    // ended() true the source is exhausted, or failed and will give nothing more.
    virtual std::size_t read(std::int16_t* out, std::size_t frames) = 0;
    virtual bool ended() const = 0;
    // Moves so that the next read() starts at `frame`; false when the source cannot seek
    // or the frame lies beyond the end.
    virtual bool seek(std::int64_t frame) = 0;
    // The byte offset of the input that produced the last frames read, or -1.
    virtual std::int64_t inputOffset() const { return -1; }
    // The source of the encoded bytes, when the decoder reads from one it owns.
    virtual ByteSource* byteSource() { return nullptr; }
};

}  // namespace soundlib
