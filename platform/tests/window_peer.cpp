// A small program that tests start as another process:
//   window_peer serve CLASS CAPTION VISIBLE  registers a window, prints "ready", then one
//                                            line per message received; ends on WM_CLOSE
//   window_peer lock NAME                    prints "held" or "busy", then waits for stdin
//                                            to close
//   window_peer send CAPTION DATA            sends DATA in a WM_COPYDATA to the window with
//                                            that caption and prints the answer or "none"
//   window_peer post CAPTION MESSAGE         posts MESSAGE (decimal), prints "ok" or "none"
#include <poll.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "platform/message_window.h"
#include "platform/named_lock.h"
#include "platform/remote_window.h"

namespace {

class Printer : public platform::WindowMessageHandler {
public:
    bool closed = false;
    std::int64_t copyData(std::uint64_t identifier, std::string_view data) override {
        std::printf("copydata %llu %zu %.*s\n", static_cast<unsigned long long>(identifier),
                    data.size(), static_cast<int>(std::min<std::size_t>(data.size(), 200)),
                    data.data());
        std::fflush(stdout);
        return static_cast<std::int64_t>(data.size()) + 1000;
    }
    void posted(std::uint32_t message, std::uint64_t wParam, std::uint64_t lParam) override {
        std::printf("posted %u %llu %llu\n", message, static_cast<unsigned long long>(wParam),
                    static_cast<unsigned long long>(lParam));
        std::fflush(stdout);
        if (message == platform::WM_CLOSE) closed = true;
    }
    void foregroundRequested() override {
        std::printf("foreground\n");
        std::fflush(stdout);
    }
};

int serve(const char* className, const char* caption, bool visible) {
    Printer printer;
    platform::MessageWindow window({className, caption, platform::currentProgramPath(), visible},
                                   printer);
    std::printf("ready\n");
    std::fflush(stdout);
    while (!printer.closed) {
        pollfd p{window.fd(), POLLIN, 0};
        if (::poll(&p, 1, -1) > 0) window.processPending();
    }
    return 0;
}

int lock(const char* name) {
    platform::NamedLock lock(name);
    std::printf(lock.tryAcquire() ? "held\n" : "busy\n");
    std::fflush(stdout);
    char c;
    while (::read(0, &c, 1) > 0) {
    }
    return 0;
}

int send(const char* caption, const char* data) {
    const auto window = platform::RemoteWindow::find(std::nullopt, caption);
    const auto answer = window ? window->sendCopyData(0, data) : std::nullopt;
    if (answer)
        std::printf("%lld\n", static_cast<long long>(*answer));
    else
        std::printf("none\n");
    return 0;
}

int post(const char* caption, const char* message) {
    const auto window = platform::RemoteWindow::find(std::nullopt, caption);
    const bool ok = window && window->post(static_cast<std::uint32_t>(std::atoi(message)));
    std::printf(ok ? "ok\n" : "none\n");
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 5 && std::strcmp(argv[1], "serve") == 0)
        return serve(argv[2], argv[3], std::strcmp(argv[4], "1") == 0);
    if (argc == 3 && std::strcmp(argv[1], "lock") == 0) return lock(argv[2]);
    if (argc == 4 && std::strcmp(argv[1], "send") == 0) return send(argv[2], argv[3]);
    if (argc == 4 && std::strcmp(argv[1], "post") == 0) return post(argv[2], argv[3]);
    std::fprintf(stderr,
                 "usage: window_peer serve CLASS CAPTION VISIBLE | lock NAME | "
                 "send CAPTION DATA | post CAPTION MESSAGE\n");
    return 2;
}
