#include "platform/remote_window.h"

#include "platform/window_socket.h"
#include "platform/window_wire.h"

namespace platform {
namespace {

constexpr auto kQuickTime = std::chrono::seconds(2);

bool deliver(const std::filesystem::path& socket, const wire::Request& request) {
    const auto deadline = wire::Clock::now() + kQuickTime;
    const auto fd = window_socket::connect(socket, deadline);
    return fd && wire::writeRequest(fd.get(), request, deadline);
}

}  // namespace

std::optional<WindowIdentity> RemoteWindow::describe(const std::filesystem::path& socket) {
    const auto deadline = wire::Clock::now() + kQuickTime;
    const auto fd = window_socket::connect(socket, deadline);
    if (!fd || !wire::writeRequest(fd.get(), {wire::Kind::Describe, 0, 0, 0, {}}, deadline))
        return std::nullopt;
    return wire::readIdentity(fd.get(), deadline);
}

std::vector<RemoteWindow> RemoteWindow::all() {
    std::vector<RemoteWindow> out;
    for (auto& socket : window_socket::list()) {
        if (auto id = describe(socket)) out.push_back(RemoteWindow(std::move(socket), *id));
    }
    return out;
}

std::optional<RemoteWindow> RemoteWindow::find(std::optional<std::string_view> className,
                                               std::optional<std::string_view> caption) {
    for (auto& w : all()) {
        if ((!className || w.identity_.className == *className) &&
            (!caption || w.identity_.caption == *caption))
            return std::move(w);
    }
    return std::nullopt;
}

std::optional<bool> RemoteWindow::visibleNow() const {
    const auto id = describe(socket_);
    if (!id) return std::nullopt;
    return id->visible;
}

std::optional<std::int64_t> RemoteWindow::sendCopyData(std::uint64_t identifier,
                                                       std::string_view data,
                                                       std::chrono::milliseconds timeout) const {
    if (data.size() > kMaxCopyDataBytes) return std::nullopt;
    const auto deadline = wire::Clock::now() + timeout;
    const auto fd = window_socket::connect(socket_, deadline);
    if (!fd || !wire::writeRequest(
                   fd.get(), {wire::Kind::CopyData, WM_COPYDATA, 0, identifier, std::string(data)},
                   deadline))
        return std::nullopt;
    return wire::readAnswer(fd.get(), deadline);
}

bool RemoteWindow::post(std::uint32_t message, std::uint64_t wParam, std::uint64_t lParam) const {
    return deliver(socket_, {wire::Kind::Post, message, wParam, lParam, {}});
}

bool RemoteWindow::bringToForeground() const {
    return deliver(socket_, {wire::Kind::Foreground, 0, 0, 0, {}});
}

}  // namespace platform
