#pragma once
// A window registered by some process of this user (see MessageWindow), as found by
// another process. Every call is bounded in time; a window that has gone away answers
// nothing and its calls return false or nullopt.
#include <chrono>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string_view>
#include <vector>

#include "platform/window_messages.h"

namespace platform {

class RemoteWindow {
public:
    // Every live window, oldest registration first, with its identity as read now.
    static std::vector<RemoteWindow> all();
    // The first window whose class name and/or caption equal the given ones exactly (an
    // absent filter matches any).
    static std::optional<RemoteWindow> find(std::optional<std::string_view> className,
                                            std::optional<std::string_view> caption);

    // The identity read when the window was found.
    const WindowIdentity& identity() const { return identity_; }
    const std::filesystem::path& socketPath() const { return socket_; }
    // Reads the visibility again; nullopt when the window is gone.
    std::optional<bool> visibleNow() const;

    // WM_COPYDATA, synchronous: the receiver's answer, or nullopt when the block is larger
    // than kMaxCopyDataBytes, the window is gone or it does not answer within `timeout`.
    std::optional<std::int64_t> sendCopyData(
        std::uint64_t identifier, std::string_view data,
        std::chrono::milliseconds timeout = std::chrono::seconds(10)) const;
    // Queues a message for the window; true when it was handed over.
    bool post(std::uint32_t message, std::uint64_t wParam = 0, std::uint64_t lParam = 0) const;
    // Asks the window to come to the foreground; true when the request was handed over.
    bool bringToForeground() const;

private:
    RemoteWindow(std::filesystem::path socket, WindowIdentity identity)
        : socket_(std::move(socket)), identity_(std::move(identity)) {}
    static std::optional<WindowIdentity> describe(const std::filesystem::path& socket);

    std::filesystem::path socket_;
    WindowIdentity identity_;
};

}  // namespace platform
