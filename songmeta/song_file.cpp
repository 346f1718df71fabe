#include "songmeta/song_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <utility>

#include "platform/file_io.h"

namespace songmeta {

SongFile::SongFile(const std::string& path) {
    struct stat st {};
    platform::UniqueFd fd = platform::openRegularFile(path.c_str(), O_RDONLY, &st);
    if (!fd) return;
    fd_ = std::move(fd);
    size_ = st.st_size;
}

void SongFile::prefetch(std::size_t count) {
    if (count <= head_.size()) return;
    std::string head;
    if (readUpTo(0, count, head)) head_ = std::move(head);
}

bool SongFile::readUpTo(std::int64_t offset, std::size_t count, std::string& out) const {
    out.clear();
    if (!fd_ || offset < 0) return false;
    if (offset >= size_) return true;
    const auto available = static_cast<std::uint64_t>(size_ - offset);
    if (count > available) count = static_cast<std::size_t>(available);
    if (static_cast<std::uint64_t>(offset) + count <= head_.size()) {
        out.assign(head_, static_cast<std::size_t>(offset), count);
        return true;
    }
    out.resize(count);
    std::size_t done = 0;
    while (done < count) {
        const ssize_t n = ::pread(fd_.get(), out.data() + done, count - done,
                                  static_cast<off_t>(offset + static_cast<std::int64_t>(done)));
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) return false;
        if (n == 0) break;
        done += static_cast<std::size_t>(n);
    }
    out.resize(done);
    return true;
}

bool SongFile::readAt(std::int64_t offset, std::size_t count, std::string& out) const {
    return readUpTo(offset, count, out) && out.size() == count;
}

std::optional<mode_t> makeWritable(const std::string& path) {
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return std::nullopt;
    const mode_t mode = st.st_mode & 07777;
    if ((mode & S_IWUSR) == 0 && ::chmod(path.c_str(), mode | S_IWUSR) != 0) return std::nullopt;
    return mode;
}

}  // namespace songmeta
