// Feeds arbitrary bytes, as a peer process would send them, to the decoders of the window
// messages: a request (whole and cut at every length a read may end at), an identity and
// an answer.
#include <fcntl.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "platform/unique_fd.h"
#include "platform/window_wire.h"

namespace {

// A connected socket whose peer sent `data` and then closed its side for writing.
platform::UniqueFd socketHolding(const std::uint8_t* data, std::size_t size) {
    int ends[2];
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0, ends) != 0) return {};
    platform::UniqueFd reader(ends[0]);
    const platform::UniqueFd writer(ends[1]);
    for (std::size_t done = 0; done < size;) {
        const ssize_t n = ::send(writer.get(), data + done, size - done, MSG_NOSIGNAL);
        if (n <= 0) break;  // what does not fit in the socket's buffer is left out
        done += static_cast<std::size_t>(n);
    }
    ::shutdown(writer.get(), SHUT_WR);
    return reader;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using platform::wire::Clock;
    const auto deadline = Clock::now() + std::chrono::milliseconds(100);
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    bool invalid = false;
    for (std::size_t cut = 0; cut <= size && !invalid; cut += 1 + cut / 4)
        platform::wire::decodeRequest(bytes.substr(0, cut), invalid);
    platform::wire::decodeRequest(bytes, invalid);
    if (const auto fd = socketHolding(data, size)) platform::wire::readIdentity(fd.get(), deadline);
    if (const auto fd = socketHolding(data, size)) platform::wire::readAnswer(fd.get(), deadline);
    return 0;
}
