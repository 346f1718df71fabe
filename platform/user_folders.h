#pragma once
// The user's base folders for settings and data, as the desktop's base-directory rules
// give them: the environment's absolute setting, else the usual folder under $HOME.
#include <filesystem>

namespace platform {

// ${XDG_CONFIG_HOME:-~/.config}
std::filesystem::path userConfigHome();
// ${XDG_DATA_HOME:-~/.local/share}
std::filesystem::path userDataHome();

}  // namespace platform
