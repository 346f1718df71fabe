#include "platform/window_wire.h"

#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace platform::wire {
namespace {

constexpr std::uint32_t kMagic = 0x314D575A;  // "ZWM1"

struct Header {
    std::uint32_t magic;
    std::uint32_t kind;
    std::uint32_t message;
    std::uint32_t length;
    std::uint64_t wParam;
    std::uint64_t lParam;
};

bool waitFor(int fd, short events, Clock::time_point deadline) {
    for (;;) {
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
        if (left.count() <= 0) return false;
        pollfd p{fd, events, 0};
        const int rc = ::poll(&p, 1, static_cast<int>(left.count()));
        if (rc > 0) return true;
        if (rc < 0 && errno != EINTR) return false;
    }
}

bool readExactly(int fd, void* buffer, std::size_t size, Clock::time_point deadline) {
    auto* out = static_cast<char*>(buffer);
    while (size > 0) {
        const ssize_t n = ::recv(fd, out, size, 0);
        if (n > 0) {
            out += n;
            size -= static_cast<std::size_t>(n);
        } else if (n == 0) {
            return false;
        } else if (errno == EAGAIN || errno == EWOULDBLOCK) {
            if (!waitFor(fd, POLLIN, deadline)) return false;
        } else if (errno != EINTR) {
            return false;
        }
    }
    return true;
}

bool writeAll(int fd, const void* buffer, std::size_t size, Clock::time_point deadline) {
    const auto* in = static_cast<const char*>(buffer);
    while (size > 0) {
        const ssize_t n = ::send(fd, in, size, MSG_NOSIGNAL);
        if (n >= 0) {
            in += n;
            size -= static_cast<std::size_t>(n);
        } else if (errno == EAGAIN || errno == EWOULDBLOCK) {
            if (!waitFor(fd, POLLOUT, deadline)) return false;
        } else if (errno != EINTR) {
            return false;
        }
    }
    return true;
}

bool readText(int fd, std::uint32_t length, std::string& out, Clock::time_point deadline) {
    if (length > kMaxIdentityText) return false;
    out.resize(length);
    return readExactly(fd, out.data(), length, deadline);
}

}  // namespace

bool writeRequest(int fd, const Request& request, Clock::time_point deadline) {
    if (request.data.size() > kMaxCopyDataBytes) return false;
    const Header h{kMagic,          static_cast<std::uint32_t>(request.kind),
                   request.message, static_cast<std::uint32_t>(request.data.size()),
                   request.wParam,  request.lParam};
    return writeAll(fd, &h, sizeof h, deadline) &&
           writeAll(fd, request.data.data(), request.data.size(), deadline);
}

std::optional<Request> decodeRequest(std::string_view bytes, bool& invalid) {
    invalid = false;
    Header h{};
    if (bytes.size() < sizeof h) return std::nullopt;
    std::memcpy(&h, bytes.data(), sizeof h);
    if (h.magic != kMagic || h.length > kMaxCopyDataBytes ||
        h.kind < static_cast<std::uint32_t>(Kind::Describe) ||
        h.kind > static_cast<std::uint32_t>(Kind::Foreground) ||
        bytes.size() > sizeof h + h.length) {
        invalid = true;
        return std::nullopt;
    }
    if (bytes.size() < sizeof h + h.length) return std::nullopt;
    Request r;
    r.kind = static_cast<Kind>(h.kind);
    r.message = h.message;
    r.wParam = h.wParam;
    r.lParam = h.lParam;
    r.data.assign(bytes.substr(sizeof h));
    return r;
}

bool writeIdentity(int fd, const WindowIdentity& identity, Clock::time_point deadline) {
    const std::uint32_t head[4] = {identity.visible ? 1u : 0u,
                                   static_cast<std::uint32_t>(identity.className.size()),
                                   static_cast<std::uint32_t>(identity.caption.size()),
                                   static_cast<std::uint32_t>(identity.programPath.size())};
    return writeAll(fd, head, sizeof head, deadline) &&
           writeAll(fd, identity.className.data(), identity.className.size(), deadline) &&
           writeAll(fd, identity.caption.data(), identity.caption.size(), deadline) &&
           writeAll(fd, identity.programPath.data(), identity.programPath.size(), deadline);
}

std::optional<WindowIdentity> readIdentity(int fd, Clock::time_point deadline) {
    std::uint32_t head[4];
    if (!readExactly(fd, head, sizeof head, deadline)) return std::nullopt;
    WindowIdentity id;
    id.visible = head[0] != 0;
    if (!readText(fd, head[1], id.className, deadline) ||
        !readText(fd, head[2], id.caption, deadline) ||
        !readText(fd, head[3], id.programPath, deadline))
        return std::nullopt;
    return id;
}

bool writeAnswer(int fd, std::int64_t answer, Clock::time_point deadline) {
    return writeAll(fd, &answer, sizeof answer, deadline);
}

std::optional<std::int64_t> readAnswer(int fd, Clock::time_point deadline) {
    std::int64_t answer = 0;
    if (!readExactly(fd, &answer, sizeof answer, deadline)) return std::nullopt;
    return answer;
}

std::optional<unsigned> peerUid(int fd) {
    ucred cred{};
    socklen_t len = sizeof cred;
    if (::getsockopt(fd, SOL_SOCKET, SO_PEERCRED, &cred, &len) != 0) return std::nullopt;
    return cred.uid;
}

}  // namespace platform::wire
