#pragma once
// The byte format of one request between two processes over a window socket, and
// reading and writing it with a deadline, so that neither side ever waits for ever on a
// silent or slow peer. Every connection carries one request and at most one answer.
#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

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

// Needs a non-blocking socket. False when the peer went away, the deadline passed or
// the request is larger than the bound.
bool writeRequest(int fd, const Request& request, Clock::time_point deadline);

// A request from the bytes a peer has sent so far, once they hold all of it. While they
// do not, nothing, with `invalid` telling whether more bytes could still make one (false)
// or never can (true: a wrong header or a block beyond the bound).
std::optional<Request> decodeRequest(std::string_view bytes, bool& invalid);

bool writeIdentity(int fd, const WindowIdentity& identity, Clock::time_point deadline);
std::optional<WindowIdentity> readIdentity(int fd, Clock::time_point deadline);

bool writeAnswer(int fd, std::int64_t answer, Clock::time_point deadline);
std::optional<std::int64_t> readAnswer(int fd, Clock::time_point deadline);

// The user id of the process at the other end of a connected local socket.
std::optional<unsigned> peerUid(int fd);

}  // namespace platform::wire
