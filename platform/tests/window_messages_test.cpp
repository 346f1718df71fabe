#include <gtest/gtest.h>
#include <poll.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <string>
#include <thread>

#include "platform/message_window.h"
#include "platform/named_lock.h"
#include "platform/remote_window.h"
#include "platform/runtime_dir.h"
#include "testing/child_process.h"
#include "testing/temp_dir.h"

using platform::RemoteWindow;
using testing_support::ChildProcess;

namespace {

const std::string kPeer = std::string(ZORVAN_BINARY_DIR) + "/bin/window_peer";

// Starts a peer window and waits until it is registered.
std::unique_ptr<ChildProcess> startWindow(const std::string& cls, const std::string& caption,
                                          bool visible) {
    auto child = std::make_unique<ChildProcess>(
        std::vector<std::string>{kPeer, "serve", cls, caption, visible ? "1" : "0"});
    EXPECT_EQ(child->readLine(), "ready");
    return child;
}

class Recorder : public platform::WindowMessageHandler {
public:
    std::vector<std::string> events;
    std::int64_t copyData(std::uint64_t, std::string_view data) override {
        events.push_back("copydata " + std::string(data));
        return 7;
    }
    void posted(std::uint32_t message, std::uint64_t, std::uint64_t) override {
        events.push_back("posted " + std::to_string(message));
    }
    void foregroundRequested() override { events.push_back("foreground"); }
};

// A raw connection to a window socket, for peers that do not follow the protocol.
int rawConnect(const std::filesystem::path& socket) {
    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un addr{};
    addr.sun_family = AF_UNIX;
    std::strcpy(addr.sun_path, socket.c_str());
    EXPECT_EQ(::connect(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr), 0);
    return fd;
}

}  // namespace

TEST(NamedLock, OneHolderAcrossProcessesAndFreedWhenTheHolderDies) {
    ChildProcess first({kPeer, "lock", "OneCopyMutex"});
    ASSERT_EQ(first.readLine(), "held");

    platform::NamedLock mine("OneCopyMutex");
    EXPECT_FALSE(mine.tryAcquire());
    ChildProcess second({kPeer, "lock", "OneCopyMutex"});
    EXPECT_EQ(second.readLine(), "busy");

    first.kill(SIGKILL);  // a crash must not leave the lock taken
    ASSERT_TRUE(first.wait());
    EXPECT_TRUE(mine.tryAcquire());
    EXPECT_TRUE(mine.held());
    ChildProcess third({kPeer, "lock", "OneCopyMutex"});
    EXPECT_EQ(third.readLine(), "busy");
}

TEST(RuntimeDir, UnsafeXdgRuntimeDirIsNotUsedAndForeignSubfoldersAreRefused) {
    const char* saved = std::getenv("XDG_RUNTIME_DIR");
    const std::string original = saved ? saved : "";
    testing_support::TempDir tmp;
    const auto open = tmp / "open";
    std::filesystem::create_directory(open);
    ::chmod(open.c_str(), 0755);
    ::setenv("XDG_RUNTIME_DIR", open.c_str(), 1);
    const auto fallback = platform::userRuntimeDir();
    EXPECT_NE(fallback, open);
    struct stat st {};
    ASSERT_EQ(::lstat(fallback.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0700u);
    EXPECT_EQ(st.st_uid, ::getuid());

    const auto safe = tmp / "safe";
    std::filesystem::create_directory(safe);
    ::chmod(safe.c_str(), 0700);
    ::setenv("XDG_RUNTIME_DIR", safe.c_str(), 1);
    EXPECT_EQ(platform::userRuntimeDir(), safe);
    std::filesystem::create_directory(safe / "shared");
    ::chmod((safe / "shared").c_str(), 0777);
    EXPECT_THROW(platform::userRuntimeSubdir("shared"), std::runtime_error);
    std::filesystem::create_symlink(open, safe / "link");
    EXPECT_THROW(platform::userRuntimeSubdir("link"), std::runtime_error);
    ::setenv("XDG_RUNTIME_DIR", original.c_str(), 1);
}

TEST(WindowMessages, AnotherProcessFindsTheWindowAndTalksToIt) {
    auto other = startWindow("TOther", "Something", true);
    auto peer = startWindow("TForm1", "Tavrel", false);

    EXPECT_FALSE(RemoteWindow::find("TForm1", "Something"));
    EXPECT_FALSE(RemoteWindow::find(std::nullopt, "tavrel")) << "captions compare exactly";
    const auto byCaption = RemoteWindow::find(std::nullopt, "Tavrel");
    ASSERT_TRUE(byCaption);
    const auto w = RemoteWindow::find("TForm1", std::nullopt);
    ASSERT_TRUE(w);
    EXPECT_EQ(w->socketPath(), byCaption->socketPath());
    EXPECT_EQ(w->identity().caption, "Tavrel");
    EXPECT_EQ(w->identity().programPath, std::filesystem::canonical(kPeer).string());
    EXPECT_FALSE(w->identity().visible);
    EXPECT_EQ(w->visibleNow(), false);
    EXPECT_EQ(RemoteWindow::all().size(), 2u);

    // The data block arrives as sent: no terminator expected, none added.
    EXPECT_EQ(w->sendCopyData(0, "/music/a.mp3"), 1012);
    EXPECT_EQ(peer->readLine(), "copydata 0 12 /music/a.mp3");
    const std::string biggest(platform::kMaxCopyDataBytes, 'x');
    EXPECT_EQ(w->sendCopyData(5, biggest), 1000 + static_cast<std::int64_t>(biggest.size()));
    EXPECT_EQ(peer->readLine()->substr(0, 16), "copydata 5 65536");
    EXPECT_FALSE(w->sendCopyData(5, biggest + "x"));

    EXPECT_TRUE(w->post(platform::WM_USER));
    EXPECT_EQ(peer->readLine(), "posted 1024 0 0");
    EXPECT_TRUE(w->bringToForeground());
    EXPECT_EQ(peer->readLine(), "foreground");
    EXPECT_TRUE(w->post(platform::WM_CLOSE, 1, 2));
    EXPECT_EQ(peer->readLine(), "posted 16 1 2");
    ASSERT_TRUE(peer->wait());

    // The window that ended answers nothing and is no longer found.
    EXPECT_FALSE(w->sendCopyData(0, "late", std::chrono::milliseconds(500)));
    EXPECT_FALSE(w->post(platform::WM_USER));
    EXPECT_FALSE(RemoteWindow::find("TForm1", std::nullopt));
}

TEST(WindowMessages, SocketOfACrashedWindowIsCleanedAway) {
    auto peer = startWindow("TForm1", "Tavrel", true);
    const auto w = RemoteWindow::find("TForm1", std::nullopt);
    ASSERT_TRUE(w);
    peer->kill(SIGKILL);
    ASSERT_TRUE(peer->wait());
    ASSERT_TRUE(std::filesystem::exists(w->socketPath()));
    EXPECT_TRUE(RemoteWindow::all().empty());
    EXPECT_FALSE(std::filesystem::exists(w->socketPath()));
}

TEST(WindowMessages, BadOrSilentPeersNeverHoldTheWindowThread) {
    Recorder recorder;
    platform::MessageWindow window({"TForm1", "Tavrel", "/bin/x", true}, recorder);
    struct Case {
        const char* what;
        std::string bytes;
    };
    std::string hugeLength(32, '\0');
    const std::uint32_t magic = 0x314D575A, kind = 2, message = 0x4A, length = 0xFFFFFFF0;
    std::memcpy(hugeLength.data(), &magic, 4);
    std::memcpy(hugeLength.data() + 4, &kind, 4);
    std::memcpy(hugeLength.data() + 8, &message, 4);
    std::memcpy(hugeLength.data() + 12, &length, 4);
    const Case cases[] = {
        {"silent", ""},
        {"half a header", std::string(10, '\1')},
        {"wrong magic", std::string(32, '\7')},
        {"length beyond the bound", hugeLength},
        {"cut data block",
         hugeLength.substr(0, 12) + std::string("\5\0\0\0", 4) + std::string(16, '\0') + "ab"},
    };
    for (const auto& c : cases) {
        const int fd = rawConnect(window.socketPath());
        ASSERT_EQ(::write(fd, c.bytes.data(), c.bytes.size()),
                  static_cast<ssize_t>(c.bytes.size()));
        const auto start = std::chrono::steady_clock::now();
        window.processPending();
        EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(2)) << c.what;
        ::close(fd);
    }
    EXPECT_TRUE(recorder.events.empty());

    // A well-behaved sender is still served afterwards.
    std::thread sender([] {
        const auto w = RemoteWindow::find("TForm1", std::nullopt);
        ASSERT_TRUE(w);
        EXPECT_EQ(w->sendCopyData(0, "ok"), 7);
    });
    const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (recorder.events.empty() && std::chrono::steady_clock::now() < until) {
        window.processPending();
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    // The answer is written before the sender thread can check it.
    for (int i = 0; i < 20; ++i) window.processPending();
    sender.join();
    EXPECT_EQ(recorder.events, std::vector<std::string>{"copydata ok"});
}

TEST(WindowMessages, IdlePeersHoldNeitherTheWindowThreadNorOtherPeers) {
    Recorder recorder;
    platform::MessageWindow window({"TForm1", "Tavrel", "/bin/x", true}, recorder);
    std::vector<int> idle;
    for (int i = 0; i < 16; ++i) idle.push_back(rawConnect(window.socketPath()));
    const auto start = std::chrono::steady_clock::now();
    window.processPending();
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(100));

    // A second copy handing over its file is answered while the idle peers stay.
    std::atomic<bool> done = false;
    std::thread sender([&done] {
        const auto w = RemoteWindow::find("TForm1", std::nullopt);
        EXPECT_TRUE(w);
        if (w) {
            EXPECT_EQ(w->sendCopyData(0, "ok", std::chrono::seconds(1)), 7);
        }
        done = true;
    });
    while (!done) {
        pollfd p{window.fd(), POLLIN, 0};
        if (::poll(&p, 1, 10) > 0) window.processPending();
    }
    sender.join();
    EXPECT_EQ(recorder.events, std::vector<std::string>{"copydata ok"});
    for (const int fd : idle) ::close(fd);
}
