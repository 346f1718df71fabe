#include "songmeta/file_rebuild.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <system_error>
#include <utility>

#include "platform/unique_fd.h"
#include "songmeta/song_file.h"

namespace songmeta {

namespace {

constexpr std::size_t kChunk = 1 << 16;

// The temporary file, removed unless it was renamed into place.
class TemporaryFile {
public:
    TemporaryFile(std::string path, mode_t mode) : path_(std::move(path)) {
        // O_NOFOLLOW: a link planted under the temporary name is never written through.
        fd_.reset(
            ::open(path_.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_NOFOLLOW | O_CLOEXEC, mode));
        if (fd_ && ::fchmod(fd_.get(), mode) != 0) fail();
    }
    ~TemporaryFile() { fail(); }
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;

    bool isOpen() const { return fd_.valid(); }

    bool write(const char* data, std::size_t size) {
        while (size > 0) {
            const ssize_t n = ::write(fd_.get(), data, size);
            if (n < 0 && errno == EINTR) continue;
            if (n <= 0) return false;
            data += n;
            size -= static_cast<std::size_t>(n);
        }
        return true;
    }

    bool renameOver(const std::string& target) {
        const int fd = fd_.release();
        const bool flushed = ::fsync(fd) == 0;
        if (::close(fd) != 0 || !flushed || ::rename(path_.c_str(), target.c_str()) != 0) {
            ::unlink(path_.c_str());
            return false;
        }
        path_.clear();
        return true;
    }

private:
    void fail() {
        if (!fd_) return;
        fd_.reset();
        ::unlink(path_.c_str());
    }

    std::string path_;
    platform::UniqueFd fd_;
};

}  // namespace

bool replaceFileHead(const std::string& path, const std::string& head, std::int64_t keepFrom) {
    std::error_code ec;
    const std::string target = std::filesystem::canonical(path, ec).string();
    if (ec) return false;
    const SongFile source(target, SongFile::Mode::Read);
    struct stat st {};
    if (!source.isOpen() || ::fstat(source.fd(), &st) != 0) return false;
    TemporaryFile temp(target + "~", (st.st_mode & 07777) | S_IWUSR);
    if (!temp.isOpen() || !temp.write(head.data(), head.size())) return false;
    std::string chunk;
    for (std::int64_t pos = keepFrom; pos < source.size();) {
        if (!source.readUpTo(pos, kChunk, chunk) || chunk.empty()) return false;
        if (!temp.write(chunk.data(), chunk.size())) return false;
        pos += static_cast<std::int64_t>(chunk.size());
    }
    return temp.renameOver(target);
}

}  // namespace songmeta
