#include "testing/child_process.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <stdexcept>
#include <thread>

namespace testing_support {

ChildProcess::ChildProcess(const std::vector<std::string>& argv,
                           const std::vector<std::string>& environment) {
    int toChild[2], fromChild[2];
    if (::pipe2(toChild, O_CLOEXEC) != 0 || ::pipe2(fromChild, O_CLOEXEC) != 0)
        throw std::runtime_error("pipe failed");
    std::vector<char*> args;
    for (const auto& a : argv) args.push_back(const_cast<char*>(a.c_str()));
    args.push_back(nullptr);
    // Built before the fork: the child of a threaded test may not allocate.
    std::vector<std::string> settings;
    for (char** e = environ; *e; ++e) {
        const std::string setting = *e;
        const std::string name = setting.substr(0, setting.find('=') + 1);
        bool replaced = false;
        for (const auto& s : environment) replaced = replaced || s.rfind(name, 0) == 0;
        if (!replaced) settings.push_back(setting);
    }
    settings.insert(settings.end(), environment.begin(), environment.end());
    std::vector<char*> envp;
    for (auto& s : settings) envp.push_back(s.data());
    envp.push_back(nullptr);
    pid_ = ::fork();
    if (pid_ < 0) throw std::runtime_error("fork failed");
    if (pid_ == 0) {
        ::dup2(toChild[0], 0);
        ::dup2(fromChild[1], 1);
        ::dup2(fromChild[1], 2);
        ::execve(args[0], args.data(), envp.data());
        ::_exit(127);
    }
    ::close(toChild[0]);
    ::close(fromChild[1]);
    in_ = toChild[1];
    out_ = fromChild[0];
}

ChildProcess::~ChildProcess() {
    if (!reaped_) {
        ::kill(pid_, SIGKILL);
        ::waitpid(pid_, nullptr, 0);
    }
    if (in_ >= 0) ::close(in_);
    ::close(out_);
}

std::optional<std::string> ChildProcess::readLine(std::chrono::milliseconds timeout) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    for (;;) {
        if (const auto nl = buffer_.find('\n'); nl != std::string::npos) {
            std::string line = buffer_.substr(0, nl);
            buffer_.erase(0, nl + 1);
            return line;
        }
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        pollfd p{out_, POLLIN, 0};
        if (left.count() <= 0 || ::poll(&p, 1, static_cast<int>(left.count())) <= 0)
            return std::nullopt;
        char chunk[4096];
        const ssize_t n = ::read(out_, chunk, sizeof chunk);
        if (n <= 0) return std::nullopt;
        buffer_.append(chunk, static_cast<std::size_t>(n));
    }
}

void ChildProcess::closeInput() {
    if (in_ >= 0) ::close(in_);
    in_ = -1;
}

void ChildProcess::kill(int signal) {
    ::kill(pid_, signal);
}

std::optional<int> ChildProcess::wait(std::chrono::milliseconds timeout) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    for (;;) {
        int status = 0;
        const pid_t rc = ::waitpid(pid_, &status, WNOHANG);
        if (rc == pid_) {
            reaped_ = true;
            return status;
        }
        if (rc < 0 || std::chrono::steady_clock::now() >= deadline) return std::nullopt;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
}

}  // namespace testing_support
