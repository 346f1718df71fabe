#include "platform/file_io.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <random>
#include <string>

#include "platform/unique_fd.h"

namespace platform {
namespace {

// Closes a descriptor and, unless released, removes the temporary file it was made for.
class TempFile {
public:
    TempFile(int fd, std::string path) : fd_(fd), path_(std::move(path)) {}
    ~TempFile() {
        fd_.reset();
        if (!committed_) ::unlink(path_.c_str());
    }
    TempFile(const TempFile&) = delete;
    TempFile& operator=(const TempFile&) = delete;

    int fd() const { return fd_.get(); }
    const std::string& path() const { return path_; }
    // Closing is where some file systems report a failed write.
    bool close() { return ::close(fd_.release()) == 0; }
    void commit() { committed_ = true; }

private:
    UniqueFd fd_;
    std::string path_;
    bool committed_ = false;
};

bool writeAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t n = ::write(fd, bytes.data(), bytes.size());
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        bytes.remove_prefix(static_cast<std::size_t>(n));
    }
    return true;
}

// Creates a new file with a random name beside `target`; the umask applies to it as to
// any new file.
int createTempBeside(const std::filesystem::path& target, std::string& path) {
    const std::filesystem::path folder =
        target.has_parent_path() ? target.parent_path() : std::filesystem::path(".");
    thread_local std::mt19937_64 random{std::random_device{}()};
    for (int attempt = 0; attempt < 100; ++attempt) {
        char suffix[20];
        std::snprintf(suffix, sizeof suffix, ".%016llx", static_cast<unsigned long long>(random()));
        path = (folder / ("." + target.filename().string() + suffix)).string();
        const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0 || errno != EEXIST) return fd;
    }
    return -1;
}

}  // namespace

std::optional<std::string> readFileBytes(const std::filesystem::path& file,
                                         std::error_code& error) {
    error.clear();
    // Non-blocking, so that a named pipe given as a file cannot hold the caller.
    const UniqueFd fd(::open(file.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
    if (!fd) {
        error.assign(errno, std::generic_category());
        return std::nullopt;
    }
    struct stat st {};
    if (::fstat(fd.get(), &st) != 0 || !S_ISREG(st.st_mode)) {
        error = std::make_error_code(S_ISDIR(st.st_mode) ? std::errc::is_a_directory
                                                         : std::errc::invalid_argument);
        return std::nullopt;
    }
    std::string bytes;
    char buffer[65536];
    for (;;) {
        const ssize_t n = ::read(fd.get(), buffer, sizeof buffer);
        if (n < 0) {
            if (errno == EINTR) continue;
            error.assign(errno, std::generic_category());
            return std::nullopt;
        }
        if (n == 0) return bytes;
        bytes.append(buffer, static_cast<std::size_t>(n));
    }
}

bool writeFileAtomically(const std::filesystem::path& file, std::string_view bytes) {
    std::error_code ec;
    std::filesystem::path target = file;
    if (std::filesystem::is_symlink(target, ec)) {
        target = std::filesystem::weakly_canonical(target, ec);
        if (ec) return false;
    }
    std::string tempPath;
    const int fd = createTempBeside(target, tempPath);
    if (fd < 0) return false;
    TempFile temp(fd, tempPath);

    struct stat old {};
    if (::stat(target.c_str(), &old) == 0 && ::fchmod(temp.fd(), old.st_mode & 07777) != 0)
        return false;
    if (!writeAll(temp.fd(), bytes) || ::fsync(temp.fd()) != 0 || !temp.close()) return false;
    if (::rename(temp.path().c_str(), target.c_str()) != 0) return false;
    temp.commit();
    return true;
}

}  // namespace platform
