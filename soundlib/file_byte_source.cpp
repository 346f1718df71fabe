#include "soundlib/file_byte_source.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>

#include "platform/file_io.h"

namespace soundlib {

std::unique_ptr<FileByteSource> FileByteSource::open(const char* path, std::int64_t offset,
                                                     std::int64_t length) {
    if (offset < 0 || length < 0) return nullptr;
    // Only regular files are songs: a named pipe must not hold the caller.
    struct stat info {};
    platform::UniqueFd fd = platform::openRegularFile(path, O_RDONLY, &info);
    if (!fd || offset > info.st_size) return nullptr;
    const std::int64_t available = info.st_size - offset;
    const std::int64_t size = length == 0 ? available : std::min(length, available);
    return std::unique_ptr<FileByteSource>(new FileByteSource(fd.release(), offset, size));
}

FileByteSource::~FileByteSource() {
    ::close(fd_);
}

long FileByteSource::read(std::uint8_t* buffer, std::size_t size) {
    const std::int64_t left = length_ - position_;
    const std::size_t want =
        static_cast<std::size_t>(std::min<std::int64_t>(left, static_cast<std::int64_t>(size)));
    if (want == 0) return 0;
    const ssize_t got = ::pread(fd_, buffer, want, start_ + position_);
    if (got < 0) return -1;
    position_ += got;
    return static_cast<long>(got);
}

bool FileByteSource::seek(std::int64_t offset) {
    if (offset < 0 || offset > length_) return false;
    position_ = offset;
    return true;
}

long MemoryByteSource::read(std::uint8_t* buffer, std::size_t size) {
    const std::size_t want = static_cast<std::size_t>(
        std::min<std::int64_t>(length_ - position_, static_cast<std::int64_t>(size)));
    std::memcpy(buffer, data_ + position_, want);
    position_ += static_cast<std::int64_t>(want);
    return static_cast<long>(want);
}

bool MemoryByteSource::seek(std::int64_t offset) {
    if (offset < 0 || offset > length_) return false;
    position_ = offset;
    return true;
}

std::unique_ptr<ByteSource> openByteSource(int mem, const void* file, std::int64_t offset,
                                           std::int64_t length) {
    if (!file) return nullptr;
    if (mem) {
        if (length <= 0 || offset < 0) return nullptr;
        return std::make_unique<MemoryByteSource>(static_cast<const std::uint8_t*>(file) + offset,
                                                  length);
    }
    return FileByteSource::open(static_cast<const char*>(file), offset, length);
}

}  // namespace soundlib
