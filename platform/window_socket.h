#pragma once
// Where window sockets live and how a process reaches one. Every registered window
// listens on "<pid>-<n>.sock" in the user's private window folder.
#include <filesystem>
#include <vector>

#include "platform/unique_fd.h"
#include "platform/window_wire.h"

namespace platform::window_socket {

std::filesystem::path folder();

// Sockets in the folder, oldest first. Sockets whose process has ended are removed on
// the way, so a crashed window never lingers.
std::vector<std::filesystem::path> list();

// A non-blocking connection to the socket, or an invalid fd when no window listens
// there by the deadline or the listener belongs to another user.
UniqueFd connect(const std::filesystem::path& socket, wire::Clock::time_point deadline);

// A new non-blocking listening socket at a fresh name for this process; throws
// std::runtime_error on failure.
UniqueFd listen(std::filesystem::path& boundPath);

}  // namespace platform::window_socket
