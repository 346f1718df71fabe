#include "platform/message_window.h"

#include <poll.h>
#include <sys/eventfd.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/window_socket.h"

namespace platform {
namespace {

// How long a peer has to send its whole request after connecting.
constexpr auto kRequestTime = std::chrono::seconds(2);
// How long an answer may take to write; a fresh socket takes it at once.
constexpr auto kAnswerTime = std::chrono::milliseconds(100);
// Connections read at once; when more come, the oldest is dropped.
constexpr std::size_t kMaxReading = 64;
// Requests waiting for the window thread; more are not accepted meanwhile.
constexpr std::size_t kMaxArrived = 64;

void cut(std::string& s) {
    if (s.size() > kMaxIdentityText) s.resize(kMaxIdentityText);
}

UniqueFd makeEventFd() {
    UniqueFd fd(::eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC));
    if (!fd) throw std::runtime_error("cannot make an event descriptor");
    return fd;
}

void signal(const UniqueFd& event) {
    const std::uint64_t one = 1;
    [[maybe_unused]] const ssize_t n = ::write(event.get(), &one, sizeof one);
}

void drain(const UniqueFd& event) {
    std::uint64_t count = 0;
    [[maybe_unused]] const ssize_t n = ::read(event.get(), &count, sizeof count);
}

// A connection whose request is still being read.
struct Reading {
    UniqueFd fd;
    std::string bytes;
    wire::Clock::time_point deadline;
};

}  // namespace

MessageWindow::MessageWindow(WindowIdentity identity, WindowMessageHandler& handler)
    : identity_(std::move(identity)),
      handler_(handler),
      ready_(makeEventFd()),
      stop_(makeEventFd()) {
    cut(identity_.className);
    cut(identity_.caption);
    cut(identity_.programPath);
    listener_ = window_socket::listen(path_);
    reader_ = std::thread([this] { read(); });
}

MessageWindow::~MessageWindow() {
    signal(stop_);
    reader_.join();
    ::unlink(path_.c_str());
}

void MessageWindow::setCaption(std::string caption) {
    identity_.caption = std::move(caption);
    cut(identity_.caption);
}

void MessageWindow::processPending() {
    drain(ready_);
    std::deque<Arrived> arrived;
    {
        const std::lock_guard lock(mutex_);
        arrived.swap(arrived_);
    }
    for (const Arrived& a : arrived) serve(a.connection.get(), a.request);
}

void MessageWindow::read() {
    std::vector<Reading> reading;
    std::vector<pollfd> polled;
    for (;;) {
        bool full = false;
        {
            const std::lock_guard lock(mutex_);
            full = arrived_.size() >= kMaxArrived;
        }
        polled.assign({{stop_.get(), POLLIN, 0}, {full ? -1 : listener_.get(), POLLIN, 0}});
        auto wait = std::chrono::milliseconds(-1);
        const auto now = wire::Clock::now();
        for (const Reading& r : reading) {
            polled.push_back({r.fd.get(), POLLIN, 0});
            const auto left = std::chrono::ceil<std::chrono::milliseconds>(r.deadline - now);
            wait = wait.count() < 0 ? left : std::min(wait, left);
        }
        // A full queue is looked at again shortly, as the window thread empties it.
        if (full && (wait.count() < 0 || wait > std::chrono::milliseconds(50)))
            wait = std::chrono::milliseconds(50);
        const int waitMs =
            wait.count() < 0 ? -1 : static_cast<int>(std::max<long>(0, wait.count()));
        if (::poll(polled.data(), polled.size(), waitMs) < 0 && errno != EINTR) return;
        if (polled[0].revents) return;

        for (std::size_t i = 0; i < reading.size(); ++i) {
            Reading& r = reading[i];
            if (!polled[i + 2].revents) continue;
            char buffer[16384];
            const ssize_t n = ::recv(r.fd.get(), buffer, sizeof buffer, 0);
            if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR)) continue;
            if (n <= 0) {
                r.fd.reset();  // the peer went away before its request was whole
                continue;
            }
            r.bytes.append(buffer, static_cast<std::size_t>(n));
            bool invalid = false;
            if (auto request = wire::decodeRequest(r.bytes, invalid)) {
                {
                    const std::lock_guard lock(mutex_);
                    arrived_.push_back({std::move(r.fd), std::move(*request)});
                }
                signal(ready_);
            }
            if (invalid) r.fd.reset();
        }
        const auto later = wire::Clock::now();
        std::erase_if(reading, [later](const Reading& r) { return !r.fd || r.deadline <= later; });

        if (!polled[1].revents) continue;
        for (;;) {
            UniqueFd connection(
                ::accept4(listener_.get(), nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC));
            if (!connection) {
                if (errno == EINTR || errno == ECONNABORTED) continue;
                break;
            }
            const auto uid = wire::peerUid(connection.get());
            if (!uid || *uid != ::getuid()) continue;
            if (reading.size() >= kMaxReading) reading.erase(reading.begin());
            reading.push_back({std::move(connection), {}, later + kRequestTime});
        }
    }
}

void MessageWindow::serve(int connection, const wire::Request& request) {
    const auto deadline = wire::Clock::now() + kAnswerTime;
    switch (request.kind) {
        case wire::Kind::Describe:
            wire::writeIdentity(connection, identity_, deadline);
            break;
        case wire::Kind::CopyData: {
            const std::int64_t answer = handler_.copyData(request.lParam, request.data);
            // The handler may have taken a while; the answer gets its own short time.
            wire::writeAnswer(connection, answer, wire::Clock::now() + kAnswerTime);
            break;
        }
        case wire::Kind::Post:
            handler_.posted(request.message, request.wParam, request.lParam);
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
