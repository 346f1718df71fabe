#pragma once
// ByteSources over a local file (or a part of it) and over a block of memory.
#include <cstdint>
#include <memory>
#include <string>

#include "soundlib/byte_source.h"

namespace soundlib {

class FileByteSource : public ByteSource {
public:
    // Opens `path` read-only and exposes `length` bytes from `offset` (length 0: to the
    // end). Returns nullptr when the file cannot be opened or the part lies outside it.
    static std::unique_ptr<FileByteSource> open(const char* path, std::int64_t offset,
                                                std::int64_t length);
    ~FileByteSource() override;
    FileByteSource(const FileByteSource&) = delete;
    FileByteSource& operator=(const FileByteSource&) = delete;

    long read(std::uint8_t* buffer, std::size_t size) override;
    std::int64_t size() const override { return length_; }
    bool seek(std::int64_t offset) override;
    std::int64_t position() const override { return position_; }

private:
    FileByteSource(int fd, std::int64_t start, std::int64_t length)
        : fd_(fd), start_(start), length_(length) {}
    int fd_;
    std::int64_t start_;
    std::int64_t length_;
    std::int64_t position_ = 0;
};

class MemoryByteSource : public ByteSource {
public:
    // The bytes are not copied: they must outlive the source.
    MemoryByteSource(const void* data, std::int64_t length)
        : data_(static_cast<const std::uint8_t*>(data)), length_(length) {}

    long read(std::uint8_t* buffer, std::size_t size) override;
    std::int64_t size() const override { return length_; }
    bool seek(std::int64_t offset) override;
    std::int64_t position() const override { return position_; }

private:
    const std::uint8_t* data_;
    std::int64_t length_;
    std::int64_t position_ = 0;
};

// Opens what the create calls describe: a path (mem 0) or a memory block (mem nonzero).
// nullptr when it cannot be opened; sets no error code.
std::unique_ptr<ByteSource> openByteSource(int mem, const void* file, std::int64_t offset,
                                           std::int64_t length);

}  // namespace soundlib
