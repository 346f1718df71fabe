#pragma once
// A top-level window as other processes of this user see it: registered with its class
// name, caption, program path and visibility, reachable for WM_COPYDATA (sent, with an
// answer), posted messages and requests to come to the foreground.
//
// The owner watches fd() for reading on its window thread and calls processPending()
// when it is readable; the handler runs there, on that thread. Each connection is served
// within a short deadline and with bounded sizes, so a silent, slow or hostile peer
// never holds the window thread. Peers of other users are refused.
#include <cstdint>
#include <filesystem>
#include <string_view>

#include "platform/unique_fd.h"
#include "platform/window_messages.h"

namespace platform {

class WindowMessageHandler {
public:
    virtual ~WindowMessageHandler() = default;
    // WM_COPYDATA: the sender's identifier and data block; the result is its answer.
    virtual std::int64_t copyData(std::uint64_t identifier, std::string_view data) = 0;
    // A posted message such as WM_USER or WM_CLOSE.
    virtual void posted(std::uint32_t message, std::uint64_t wParam, std::uint64_t lParam) = 0;
    // Another process asks this window to come to the foreground.
    virtual void foregroundRequested() = 0;
};

class MessageWindow {
public:
    // Registers the window; throws std::runtime_error when its socket cannot be made.
    // Texts longer than kMaxIdentityText are cut.
    MessageWindow(WindowIdentity identity, WindowMessageHandler& handler);
    ~MessageWindow();
    MessageWindow(const MessageWindow&) = delete;
    MessageWindow& operator=(const MessageWindow&) = delete;

    int fd() const { return listener_.get(); }
    const std::filesystem::path& socketPath() const { return path_; }
    const WindowIdentity& identity() const { return identity_; }
    void setVisible(bool visible) { identity_.visible = visible; }
    void setCaption(std::string caption);

    // Serves the connections that wait on the socket now (a bounded number per call).
    void processPending();

private:
    void serve(int connection);

    WindowIdentity identity_;
    WindowMessageHandler& handler_;
    std::filesystem::path path_;
    UniqueFd listener_;
};

// This process's program file (the target of /proc/self/exe), or "" when unknown.
std::string currentProgramPath();

}  // namespace platform
