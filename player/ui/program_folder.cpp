#include "player/ui/program_folder.h"

#include <cstdlib>
#include <system_error>

std::filesystem::path programDataFolder() {
    std::filesystem::path base;
    if (const char* xdg = std::getenv("XDG_DATA_HOME"); xdg && xdg[0] == '/') {
        base = xdg;
    } else {
        const char* home = std::getenv("HOME");
        base = std::filesystem::path(home ? home : "") / ".local" / "share";
    }
    const auto folder = base / "Zorvan";
    std::error_code ec;
    std::filesystem::create_directories(folder, ec);
    return folder;
}
