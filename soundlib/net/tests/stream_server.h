#pragma once
// A loopback server of stream_server.py, run for the life of the object. The script
// picks a free port on 127.0.0.1 and stops by itself after its configured timeout.
#include <sys/types.h>
#include <string>

namespace soundlib::net::testing {

class StreamServer {
public:
    // `configJson` is the script's configuration (see stream_server.py).
    explicit StreamServer(const std::string& configJson);
    ~StreamServer();
    StreamServer(const StreamServer&) = delete;
    StreamServer& operator=(const StreamServer&) = delete;

    int port() const { return port_; }
    // "http://127.0.0.1:<port><path>"; `scheme` replaces "http".
    std::string url(const std::string& path = "/", const std::string& scheme = "http") const;

private:
    pid_t pid_ = -1;
    int port_ = 0;
};

}  // namespace soundlib::net::testing
