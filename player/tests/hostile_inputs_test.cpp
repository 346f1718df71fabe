// Hostile files and faults met by the real program: each case starts it, checks that its
// window goes on answering other processes, ends it as the system does and checks that
// the close saved its files.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/wait.h>

#include <chrono>
#include <cstdio>
#include <string>
#include <thread>

#include "platform/remote_window.h"
#include "platform/unique_fd.h"
#include "platform/window_socket.h"
#include "player/app/program_folder.h"
#include "player/app/settings_store.h"
#include "soundlib/net/tests/stream_server.h"
#include "testing/child_process.h"
#include "testing/player_window.h"
#include "testing/sanitizer.h"
#include "testing/temp_dir.h"
#include "testing/wav_fixture.h"

using testing_support::ChildProcess;
using testing_support::readFile;
using testing_support::writeFile;
using Clock = std::chrono::steady_clock;

namespace {

const std::string kZorvan = std::string(ZORVAN_BINARY_DIR) + "/bin/zorvan";

double secondsSince(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
}

// The player started with `arguments`, its window found.
struct Player {
    explicit Player(std::vector<std::string> arguments = {}) : process(command(arguments)) {
        window = testing_support::waitForPlayerWindow();
    }
    static std::vector<std::string> command(std::vector<std::string> arguments) {
        arguments.insert(arguments.begin(), kZorvan);
        return arguments;
    }

    // The window answers another process at once: its thread is not held.
    void expectAnswering() const {
        ASSERT_TRUE(window);
        const auto start = Clock::now();
        EXPECT_EQ(window->visibleNow(), true);
        EXPECT_LT(secondsSince(start), 1.0) << "the window thread was held";
    }

    // Ends the player as the end of the session does: the window closes and saves.
    void endAndExpectSaved() {
        process.kill(SIGTERM);
        const auto status = process.wait(std::chrono::seconds(60));
        ASSERT_TRUE(status) << "the player did not end";
        EXPECT_TRUE(WIFEXITED(*status) && WEXITSTATUS(*status) == 0)
            << (WIFSIGNALED(*status) ? "killed by signal " + std::to_string(WTERMSIG(*status))
                                     : "exit status " + std::to_string(WEXITSTATUS(*status)));
        SettingsStore store;
        EXPECT_EQ(store.readInteger("Main", "FirstRun", 1), 0) << "the settings were saved";
    }

    ChildProcess process;
    std::optional<platform::RemoteWindow> window;
};

}  // namespace

TEST(HostileInputs, CrashPlaylistsAndIndexesStartAndCloseNormally) {
    struct Case {
        const char* file;
        const char* text;
    };
    const Case cases[] = {
        {"Default.pls", "[playlist]\nNumberOfEntries=2147483647\nFile2147483647=x.mp3\n"},
        {"Default.pls", "[playlist]\nNumberOfEntries=1000000\nFile1=x.mp3\n"},
        {"AllMusik.aml", "[AllMusik]\nTotalArtist=2000000000\nTotalGenre=0x7fffffff\n"},
        {"AllMusik.aml", "[AllMusik]\nTotalAlbum=2\nAlbum1=x\n[Ax]\nNumberx=0x7fffffff\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        const auto file = programDataFolder() / c.file;
        writeFile(file, c.text);
        const auto start = Clock::now();
        Player player;
        ASSERT_TRUE(player.window);
        std::printf("started in %.2f s\n", secondsSince(start));
        player.expectAnswering();
        player.endAndExpectSaved();
        EXPECT_LT(std::filesystem::file_size(programDataFolder() / "Default.pls"), 100'000'000u);
        std::filesystem::remove(file);
    }
}

TEST(HostileInputs, AHundredThousandArtistsStartAtOnce) {
    std::string index = "[AllMusik]\nTotalArtist=100000\n";
    for (int n = 1; n <= 100000; ++n)
        index +=
            "Artist" + std::to_string(n) + "=Artist " + std::to_string(n * 7919 % 100003) + "\n";
    writeFile(programDataFolder() / "AllMusik.aml", index);
    const auto start = Clock::now();
    Player player;
    ASSERT_TRUE(player.window);
    const double seconds = secondsSince(start);
    std::printf("started with 100,000 artists in %.2f s\n", seconds);
    // Building the menus took over 5 s when it was quadratic.
    EXPECT_LT(seconds, 4.0 * testing_support::kSanitizerSlowdown);
    player.expectAnswering();
    player.endAndExpectSaved();
}

TEST(HostileInputs, NamedPipesGivenAsSongsAreNoSongs) {
    testing_support::TempDir dir;
    for (const char* name : {"x.mp3", "x.ogg", "x.wma", "x.mod"})
        ASSERT_EQ(::mkfifo((dir / name).c_str(), 0600), 0) << name;
    writeFile(programDataFolder() / "Default.pls",
              "[playlist]\nNumberOfEntries=2\nFile1=" + (dir / "x.ogg").string() +
                  "\nFile2=" + (dir / "x.wma").string() + "\n");
    Player player({(dir / "x.mp3").string()});
    ASSERT_TRUE(player.window);
    player.expectAnswering();
    // From another process, as the file manager's menu sends a file.
    EXPECT_EQ(player.window->sendCopyData(0, (dir / "x.mod").string(), std::chrono::seconds(5)), 1);
    player.expectAnswering();
    player.endAndExpectSaved();
    const std::string pls = readFile(programDataFolder() / "Default.pls");
    EXPECT_NE(pls.find((dir / "x.mod").string()), std::string::npos) << pls;
}

TEST(HostileInputs, IdleAndGarbagePeersNeitherHoldTheWindowNorAFileSentMeanwhile) {
    testing_support::TempDir dir;
    const auto song = dir / "sent.wav";
    writeSineWav(song, 0.5);
    Player player;
    ASSERT_TRUE(player.window);
    // Local processes that connect to the window and then say nothing, or send what is no
    // message, and stay connected.
    std::vector<platform::UniqueFd> peers;
    const std::string garbage(4096, '\xff');
    for (int i = 0; i < 32; ++i) {
        auto peer = platform::window_socket::connect(player.window->socketPath(),
                                                     Clock::now() + std::chrono::seconds(2));
        ASSERT_TRUE(peer.valid());
        if (i % 2 == 1) ::send(peer.get(), garbage.data(), garbage.size(), MSG_NOSIGNAL);
        peers.push_back(std::move(peer));
    }
    player.expectAnswering();
    EXPECT_EQ(player.window->sendCopyData(0, song.string(), std::chrono::seconds(5)), 1);
    player.expectAnswering();
    player.endAndExpectSaved();
    EXPECT_NE(readFile(programDataFolder() / "Default.pls").find(song.string()), std::string::npos);
}

TEST(HostileInputs, TricklingAndFloodingServersNeitherHoldTheWindowNorTheClose) {
    // One byte every 2 s: each comes within the stall timeout, so only a deadline for the
    // whole open ends it. A metadata block of 4080 bytes after every audio byte.
    const std::string flood = std::string(4060, 'x');
    const char* configs[] = {
        R"({"mode": "trickle", "every": 2, "timeout": 60})",
        R"({"mode": "icy", "metaint": 1, "loop": true, "repeat_titles": true, "timeout": 60,
            "titles": [{"at": 0, "text": "StreamTitle='x';"}]})",
    };
    for (std::string config : configs) {
        SCOPED_TRACE(config);
        const auto title = config.find("'x'");
        if (title != std::string::npos) config.replace(title + 1, 1, flood);
        const soundlib::net::testing::StreamServer server(config);
        Player player({server.url("/live.mp3")});
        ASSERT_TRUE(player.window);
        for (int i = 0; i < 4; ++i) {
            player.expectAnswering();
            std::this_thread::sleep_for(std::chrono::milliseconds(500));
        }
        // The close waits for an open under way, which its deadline (5 s) bounds.
        const auto start = Clock::now();
        player.endAndExpectSaved();
        std::printf("closed in %.2f s\n", secondsSince(start));
        EXPECT_LT(secondsSince(start), 8.0);
    }
}

TEST(HostileInputs, AFileSizeLimitFailsTheSavesWithoutKillingThePlayer) {
    Player player;
    ASSERT_TRUE(player.window);
    // As a full disk would, but with the signal the system sends for a file too large.
    const rlimit limit{16, 16};
    ASSERT_EQ(::prlimit(player.process.pid(), RLIMIT_FSIZE, &limit, nullptr), 0);
    const auto start = Clock::now();
    player.process.kill(SIGTERM);
    const auto status = player.process.wait(std::chrono::seconds(60));
    ASSERT_TRUE(status);
    // The box that names the unsaved files closes itself: the end of a session is not held.
    std::printf("ended in %.2f s\n", secondsSince(start));
    EXPECT_LT(secondsSince(start), 20.0);
    EXPECT_TRUE(WIFEXITED(*status) && WEXITSTATUS(*status) == 0)
        << (WIFSIGNALED(*status) ? "killed by signal " + std::to_string(WTERMSIG(*status))
                                 : "exit status " + std::to_string(WEXITSTATUS(*status)));
}
