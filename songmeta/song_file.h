#pragma once
// An open file descriptor of a song file, closed with the object. Reads are positional
// and never go past the end: a short read is a failure, so a size field in a tag that
// points beyond the file simply fails the read instead of allocating or seeking wildly.
#include <sys/types.h>

#include <cstdint>
#include <optional>
#include <string>

#include "platform/unique_fd.h"

namespace songmeta {

class SongFile {
public:
    SongFile() = default;
    // Opens a regular file for reading; anything else (a pipe, a folder) stays closed.
    explicit SongFile(const std::string& path);

    bool isOpen() const { return fd_.valid(); }
    int fd() const { return fd_.get(); }
    // The size at opening; -1 when the file is not open.
    std::int64_t size() const { return size_; }

    // Reads the first `count` bytes (fewer in a shorter file) with one call, so that the
    // many small reads of a tag header that follow are served from memory. Nothing is
    // read when as many bytes are held already.
    void prefetch(std::size_t count);

    // Exactly `count` bytes at `offset` into `out`; false on an error or a short read.
    bool readAt(std::int64_t offset, std::size_t count, std::string& out) const;
    // Up to `count` bytes at `offset`, fewer at the end of the file; false on an error.
    bool readUpTo(std::int64_t offset, std::size_t count, std::string& out) const;

private:
    platform::UniqueFd fd_;
    std::int64_t size_ = -1;
    std::string head_;
};

// Adds the owner's write permission when it is missing (a read-only song file is written
// after its read-only attribute is cleared). The permissions the file had, to put back
// when the write fails; nothing when the path is no regular file or cannot be changed.
std::optional<mode_t> makeWritable(const std::string& path);

}  // namespace songmeta
