#include "platform/user_folders.h"

#include <cstdlib>

namespace platform {

namespace {

std::filesystem::path baseFolder(const char* variable, const char* underHome) {
    if (const char* set = std::getenv(variable); set && set[0] == '/') return set;
    const char* home = std::getenv("HOME");
    return std::filesystem::path(home ? home : "") / underHome;
}

}  // namespace

std::filesystem::path userConfigHome() {
    return baseFolder("XDG_CONFIG_HOME", ".config");
}

std::filesystem::path userDataHome() {
    return baseFolder("XDG_DATA_HOME", ".local/share");
}

}  // namespace platform
