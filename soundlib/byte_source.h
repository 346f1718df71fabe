#pragma once
// A source of encoded bytes for the decoder when they do not come from a local file
// (an HTTP or FTP transfer). The decoder calls it from one thread at a time.
#include <cstddef>
#include <cstdint>

namespace soundlib {

class ByteSource {
public:
    virtual ~ByteSource() = default;

    // Reads up to `size` bytes into `buffer`. Returns the count read, 0 at the end of the
    // data, or -1 on an error. May block, but never longer than the source's own timeout.
    virtual long read(std::uint8_t* buffer, std::size_t size) = 0;
    // The total size in bytes when known, else -1 (a live stream).
    virtual std::int64_t size() const = 0;
    // Moves to an absolute offset; false when the source cannot seek.
    virtual bool seek(std::int64_t offset) = 0;
    // The offset of the next byte that read() returns.
    virtual std::int64_t position() const = 0;
    // Callable from any thread: makes a read() that is blocked, and every later call,
    // fail at once, so that the reader's thread can be stopped without waiting out the
    // source's timeout.
    virtual void cancel() {}
};

}  // namespace soundlib
