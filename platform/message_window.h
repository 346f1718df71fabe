#pragma once
// A top-level window as other processes of this user see it: registered with its class
// name, caption, program path and visibility, reachable for WM_COPYDATA (sent, with an
// answer), posted messages and requests to come to the foreground.
//
// The owner watches fd() for reading on its window thread and calls processPending()
// when it is readable; the handler runs there, on that thread, once a request has
// arrived whole. A thread of the window's own accepts the connections and reads their
// requests, many at a time, each within a deadline and a bounded size, so silent, slow
// or hostile peers hold neither the window thread nor the peers that behave. Peers of
// other users are refused.
#include <cstdint>
#include <deque>
#include <filesystem>
#include <mutex>
#include <string_view>
#include <thread>

#include "platform/unique_fd.h"
#include "platform/window_messages.h"
#include "platform/window_wire.h"

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
    // Registers the window and starts reading; throws std::runtime_error when its socket
    // cannot be made. Texts longer than kMaxIdentityText are cut.
    MessageWindow(WindowIdentity identity, WindowMessageHandler& handler);
    // Stops reading and removes the registration.
    ~MessageWindow();
    MessageWindow(const MessageWindow&) = delete;
    MessageWindow& operator=(const MessageWindow&) = delete;

    // Readable while requests wait to be served.
    int fd() const { return ready_.get(); }
    const std::filesystem::path& socketPath() const { return path_; }
    const WindowIdentity& identity() const { return identity_; }
    void setVisible(bool visible) { identity_.visible = visible; }
    void setCaption(std::string caption);

    // Serves the requests that have arrived whole; never waits for a peer.
    void processPending();

private:
    struct Arrived {
        UniqueFd connection;
        wire::Request request;
    };

    // The reader thread: accepts, reads and hands over requests until stop_ is signalled.
    void read();
    void serve(int connection, const wire::Request& request);

    WindowIdentity identity_;
    WindowMessageHandler& handler_;
    std::filesystem::path path_;
    UniqueFd listener_;
    UniqueFd ready_;  // an eventfd, signalled for each request handed over
    UniqueFd stop_;   // an eventfd that ends the reader
    std::mutex mutex_;
    std::deque<Arrived> arrived_;  // guarded by mutex_
    std::thread reader_;
};

// This process's program file (the target of /proc/self/exe), or "" when unknown.
std::string currentProgramPath();

}  // namespace platform
