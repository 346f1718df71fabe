#include "platform/file_io.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <string>

#include "platform/replacement_file.h"

namespace platform {

UniqueFd openRegularFile(const char* file, int flags, struct stat* info) {
    // Non-blocking, so that opening a named pipe cannot wait for a writer; the type is
    // checked on the descriptor, so the file cannot be swapped between check and open.
    UniqueFd fd(::open(file, flags | O_CLOEXEC | O_NONBLOCK | O_NOCTTY));
    if (!fd) return fd;
    struct stat st {};
    if (::fstat(fd.get(), &st) != 0) return {};
    if (!S_ISREG(st.st_mode)) {
        fd.reset();
        errno = S_ISDIR(st.st_mode) ? EISDIR : EINVAL;
        return fd;
    }
    if (info) *info = st;
    return fd;
}

std::optional<std::string> readFileBytes(const std::filesystem::path& file,
                                         std::error_code& error) {
    error.clear();
    const UniqueFd fd = openRegularFile(file, O_RDONLY);
    if (!fd) {
        error.assign(errno, std::generic_category());
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
    ReplacementFile replacement(target);
    struct stat old {};
    if (::stat(target.c_str(), &old) == 0 && !replacement.setMode(old.st_mode & 07777))
        return false;
    return replacement.write(bytes) && replacement.commit();
}

}  // namespace platform
