#include "soundlib/net/tests/stream_server.h"

#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <stdexcept>

extern char** environ;

namespace soundlib::net::testing {

StreamServer::StreamServer(const std::string& configJson) {
    int out[2];
    if (pipe(out) != 0) throw std::runtime_error("pipe");
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, out[1], 1);
    posix_spawn_file_actions_addclose(&actions, out[0]);
    const std::string script = ZORVAN_SOURCE_DIR "/soundlib/net/tests/stream_server.py";
    std::string python = ZORVAN_PYTHON;
    char* argv[] = {python.data(), const_cast<char*>(script.c_str()),
                    const_cast<char*>(configJson.c_str()), nullptr};
    const int spawned = posix_spawn(&pid_, argv[0], &actions, nullptr, argv, environ);
    posix_spawn_file_actions_destroy(&actions);
    close(out[1]);
    if (spawned != 0) {
        close(out[0]);
        throw std::runtime_error("cannot start the test server");
    }
    std::string line;
    pollfd fd{out[0], POLLIN, 0};
    while (line.find('\n') == std::string::npos && poll(&fd, 1, 10000) > 0) {
        char chunk[64];
        const ssize_t n = ::read(out[0], chunk, sizeof chunk);
        if (n <= 0) break;
        line.append(chunk, static_cast<std::size_t>(n));
    }
    close(out[0]);
    if (line.rfind("PORT ", 0) != 0) {
        kill(pid_, SIGKILL);
        waitpid(pid_, nullptr, 0);
        throw std::runtime_error("the test server did not start: " + line);
    }
    port_ = std::stoi(line.substr(5));
}

StreamServer::~StreamServer() {
    kill(pid_, SIGKILL);
    waitpid(pid_, nullptr, 0);
}

std::string StreamServer::url(const std::string& path, const std::string& scheme) const {
    return scheme + "://127.0.0.1:" + std::to_string(port_) + path;
}

}  // namespace soundlib::net::testing
