#include "platform/message_window.h"

#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>

#include "platform/window_socket.h"
#include "platform/window_wire.h"

namespace platform {
namespace {

// Long enough for any peer that writes its request at once, short enough that the
// window thread never stalls noticeably.
constexpr auto kServeTime = std::chrono::milliseconds(500);
constexpr int kConnectionsPerCall = 4;

void cut(std::string& s) {
    if (s.size() > kMaxIdentityText) s.resize(kMaxIdentityText);
}

}  // namespace

MessageWindow::MessageWindow(WindowIdentity identity, WindowMessageHandler& handler)
    : identity_(std::move(identity)), handler_(handler) {
    cut(identity_.className);
    cut(identity_.caption);
    cut(identity_.programPath);
    listener_ = window_socket::listen(path_);
}

MessageWindow::~MessageWindow() {
    ::unlink(path_.c_str());
}

void MessageWindow::setCaption(std::string caption) {
    identity_.caption = std::move(caption);
    cut(identity_.caption);
}

void MessageWindow::processPending() {
    for (int i = 0; i < kConnectionsPerCall; ++i) {
        UniqueFd connection(
            ::accept4(listener_.get(), nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC));
        if (!connection) {
            if (errno == EINTR || errno == ECONNABORTED) continue;
            return;
        }
        const auto uid = wire::peerUid(connection.get());
        if (uid && *uid == ::getuid()) serve(connection.get());
    }
}

void MessageWindow::serve(int connection) {
    const auto deadline = wire::Clock::now() + kServeTime;
    const auto request = wire::readRequest(connection, deadline);
    if (!request) return;
    switch (request->kind) {
        case wire::Kind::Describe:
            wire::writeIdentity(connection, identity_, deadline);
            break;
        case wire::Kind::CopyData: {
            const std::int64_t answer = handler_.copyData(request->lParam, request->data);
            // The handler may have taken a while; the answer gets its own short time.
            wire::writeAnswer(connection, answer, wire::Clock::now() + kServeTime);
            break;
        }
        case wire::Kind::Post:
            handler_.posted(request->message, request->wParam, request->lParam);
            break;
        case wire::Kind::Foreground:
            handler_.foregroundRequested();
            break;
    }
}

std::string currentProgramPath() {
    std::error_code ec;
    auto path = std::filesystem::read_symlink("/proc/self/exe", ec);
    return ec ? std::string() : path.string();
}

}  // namespace platform
