#include "platform/file_io.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
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
    struct stat info {};
    const UniqueFd fd = openRegularFile(file, O_RDONLY, &info);
    if (!fd) {
        error.assign(errno, std::generic_category());
        return std::nullopt;
    }
    // Read straight into room for the whole file (and one byte more, to meet its end
    // without growing): grown in steps, a large file took up to twice its size meanwhile.
    std::string bytes(static_cast<std::size_t>(std::max<off_t>(info.st_size, 0)) + 1, '\0');
    std::size_t size = 0;
    for (;;) {
        if (size == bytes.size()) bytes.resize(bytes.size() * 2);  // it grew while read
        const ssize_t n = ::read(fd.get(), bytes.data() + size, bytes.size() - size);
        if (n < 0) {
            if (errno == EINTR) continue;
            error.assign(errno, std::generic_category());
            return std::nullopt;
        }
        if (n == 0) {
            bytes.resize(size);
            return bytes;
        }
        size += static_cast<std::size_t>(n);
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
