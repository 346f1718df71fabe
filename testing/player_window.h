#pragma once
// Waiting for a player process started by a test to show its main window, and ending one
// that was handed a song to play.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>
#include <thread>

#include "platform/remote_window.h"
#include "testing/child_process.h"
#include "testing/temp_dir.h"
#include "testing/wav_fixture.h"

namespace testing_support {

// The running player's main window, found by its class and caption within 20 seconds.
inline std::optional<platform::RemoteWindow> waitForPlayerWindow() {
    const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (std::chrono::steady_clock::now() < until) {
        if (auto w = platform::RemoteWindow::find("TForm1", "Tavrel")) return w;
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return std::nullopt;
}

// Lets a player that was handed `song` play it for a moment, then ends it: it must end
// cleanly, have written sound into its disk capture `output` and hold the song in its
// saved playlist.
inline void expectSongPlayedAndEnd(ChildProcess& player, const std::filesystem::path& output,
                                   const std::filesystem::path& song) {
    std::this_thread::sleep_for(std::chrono::milliseconds(1500));
    player.kill(SIGTERM);
    const auto end = player.wait(std::chrono::seconds(20));
    ASSERT_TRUE(end && WIFEXITED(*end) && WEXITSTATUS(*end) == 0);
    EXPECT_TRUE(hasSound(readFile(output))) << "the file was played";
    const auto data = std::filesystem::path(std::getenv("XDG_DATA_HOME")) / "Zorvan";
    EXPECT_NE(readFile(data / "Default.pls").find("=" + song.string() + "\n"), std::string::npos);
}

}  // namespace testing_support
