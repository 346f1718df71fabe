#pragma once
// Waiting for a player process started by a test to show its main window.
#include <chrono>
#include <optional>
#include <thread>

#include "platform/remote_window.h"

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

}  // namespace testing_support
