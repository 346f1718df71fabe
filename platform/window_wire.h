#pragma once
// The byte format of one request between two processes over a window socket, and
// reading and writing it with a deadline, so that neither side ever waits for ever on a
// silent or slow peer. Every connection carries one request and at most one answer.
#include <chrono>
#include <cstdint>
#include <optional>
#include <string>

#include "platform/window_messages.h"

namespace platform::wire {

using Clock = std::chrono::steady_clock;

enum class Kind : std::uint32_t { Describe = 1, CopyData = 2, Post = 3, Foreground = 4 };

struct Request {
    Kind kind = Kind::Describe;
    std::uint32_t message = 0;
    std::uint64_t wParam = 0;
    std::uint64_t lParam = 0;
    std::string data;  // at most kMaxCopyDataBytes
};

// Both need a non-blocking socket. False when the peer went away, the deadline passed
// or the bytes do not form a request of bounded size.
bool writeRequest(int fd, const Request& request, Clock::time_point deadline);
std::optional<Request> readRequest(int fd, Clock::time_point deadline);

bool writeIdentity(int fd, const WindowIdentity& identity, Clock::time_point deadline);
std::optional<WindowIdentity> readIdentity(int fd, Clock::time_point deadline);

bool writeAnswer(int fd, std::int64_t answer, Clock::time_point deadline);
std::optional<std::int64_t> readAnswer(int fd, Clock::time_point deadline);

// The user id of the process at the other end of a connected local socket.
std::optional<unsigned> peerUid(int fd);

}  // namespace platform::wire
