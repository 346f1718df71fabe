#include "player/app/program_folder.h"

#include <system_error>

#include "platform/user_folders.h"

std::filesystem::path programDataFolder() {
    const auto folder = platform::userDataHome() / "Zorvan";
    std::error_code ec;
    std::filesystem::create_directories(folder, ec);
    return folder;
}
