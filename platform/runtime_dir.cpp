#include "platform/runtime_dir.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <stdexcept>
#include <string>

namespace platform {
namespace {

bool isPrivateDir(const std::filesystem::path& dir) {
    struct stat st {};
    if (::lstat(dir.c_str(), &st) != 0) return false;
    return S_ISDIR(st.st_mode) && st.st_uid == ::getuid() && (st.st_mode & 077) == 0;
}

// Creates the folder when it is missing; an existing one must already be private, so a
// folder planted by another user is refused rather than taken over.
std::filesystem::path ensurePrivateDir(const std::filesystem::path& dir) {
    if (::mkdir(dir.c_str(), 0700) != 0 && errno != EEXIST)
        throw std::runtime_error("cannot create " + dir.string());
    if (!isPrivateDir(dir))
        throw std::runtime_error(dir.string() + " is not a private folder of this user");
    return dir;
}

}  // namespace

std::filesystem::path userRuntimeDir() {
    if (const char* xdg = std::getenv("XDG_RUNTIME_DIR"); xdg && *xdg && isPrivateDir(xdg))
        return xdg;
    return ensurePrivateDir(std::filesystem::path("/tmp") /
                            ("zorvan-" + std::to_string(::getuid())));
}

std::filesystem::path userRuntimeSubdir(const char* name) {
    return ensurePrivateDir(userRuntimeDir() / name);
}

}  // namespace platform
