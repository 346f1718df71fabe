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
    // Called once the decoder has recognised the data. Until then a source may bound all
    // of its reads together by one deadline, since the caller waits for the whole open.
    virtual void endOpening() {}
    // Why the last read gave -1, as a library error code (SOUND_ERROR_TIMEOUT, ...); 0 when
    // no read failed or the source cannot tell.
    virtual int failure() const { return 0; }
};

}  // namespace soundlib
