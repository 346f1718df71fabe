#pragma once
// The per-user folder for the single-copy lock and the window sockets.
#include <filesystem>

namespace platform {

// $XDG_RUNTIME_DIR when it is set and safe, else /tmp/zorvan-<uid>, created with mode
// 0700. "Safe" means a real directory (not a link) owned by this user that no one else
// may enter. Throws std::runtime_error when no such folder can be had.
std::filesystem::path userRuntimeDir();

// A subfolder of userRuntimeDir(), created with mode 0700 and checked the same way.
std::filesystem::path userRuntimeSubdir(const char* name);

}  // namespace platform
