#include "platform/window_socket.h"

#include <signal.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstring>
#include <stdexcept>
#include <string>
#include <thread>

#include "platform/runtime_dir.h"

namespace platform::window_socket {
namespace {

bool makeAddress(const std::filesystem::path& path, sockaddr_un& addr) {
    const std::string& s = path.native();
    if (s.size() >= sizeof addr.sun_path) return false;
    std::memset(&addr, 0, sizeof addr);
    addr.sun_family = AF_UNIX;
    std::memcpy(addr.sun_path, s.c_str(), s.size() + 1);
    return true;
}

// The pid in "<pid>-<n>.sock", or 0 when the name has another form.
pid_t ownerPid(const std::filesystem::path& socket) {
    const std::string name = socket.filename().string();
    const auto dash = name.find('-');
    if (dash == std::string::npos || dash == 0) return 0;
    pid_t pid = 0;
    for (std::size_t i = 0; i < dash; ++i) {
        if (name[i] < '0' || name[i] > '9' || pid > 100000000) return 0;
        pid = pid * 10 + (name[i] - '0');
    }
    return pid;
}

bool processGone(pid_t pid) {
    return pid > 0 && ::kill(pid, 0) != 0 && errno == ESRCH;
}

}  // namespace

std::filesystem::path folder() {
    return userRuntimeSubdir(kWindowSocketFolder);
}

std::vector<std::filesystem::path> list() {
    struct Entry {
        std::filesystem::path path;
        std::filesystem::file_time_type time;
    };
    std::vector<Entry> entries;
    std::error_code ec;
    for (const auto& e : std::filesystem::directory_iterator(folder(), ec)) {
        if (!e.is_socket(ec) || e.path().extension() != ".sock") continue;
        if (processGone(ownerPid(e.path()))) {
            std::filesystem::remove(e.path(), ec);
            continue;
        }
        entries.push_back({e.path(), e.last_write_time(ec)});
    }
    std::sort(entries.begin(), entries.end(), [](const Entry& a, const Entry& b) {
        return a.time != b.time ? a.time < b.time : a.path < b.path;
    });
    std::vector<std::filesystem::path> out;
    for (auto& e : entries) out.push_back(std::move(e.path));
    return out;
}

UniqueFd connect(const std::filesystem::path& socket, wire::Clock::time_point deadline) {
    sockaddr_un addr;
    if (!makeAddress(socket, addr)) return {};
    UniqueFd fd(::socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0));
    if (!fd) return {};
    for (;;) {
        if (::connect(fd.get(), reinterpret_cast<sockaddr*>(&addr), sizeof addr) == 0) break;
        // A full backlog: the window is busy; try again until the deadline.
        if ((errno != EAGAIN && errno != EINTR) || wire::Clock::now() >= deadline) return {};
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    const auto uid = wire::peerUid(fd.get());
    if (!uid || *uid != ::getuid()) return {};
    return fd;
}

UniqueFd listen(std::filesystem::path& boundPath) {
    static std::atomic<unsigned> counter{0};
    const auto dir = folder();
    for (;;) {
        boundPath = dir / (std::to_string(::getpid()) + "-" + std::to_string(counter++) + ".sock");
        sockaddr_un addr;
        if (!makeAddress(boundPath, addr))
            throw std::runtime_error("socket path too long: " + boundPath.string());
        UniqueFd fd(::socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0));
        if (!fd) throw std::runtime_error("cannot create a window socket");
        if (::bind(fd.get(), reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0) {
            // A name left by an earlier process with our pid: it cannot be live.
            if (errno == EADDRINUSE) {
                ::unlink(boundPath.c_str());
                continue;
            }
            throw std::runtime_error("cannot bind " + boundPath.string());
        }
        if (::chmod(boundPath.c_str(), 0600) != 0 || ::listen(fd.get(), 16) != 0) {
            ::unlink(boundPath.c_str());
            throw std::runtime_error("cannot listen on " + boundPath.string());
        }
        return fd;
    }
}

}  // namespace platform::window_socket
