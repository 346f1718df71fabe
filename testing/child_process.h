#pragma once
// A program started by a test, with its standard input and output on pipes; lines of its
// output are read with a deadline so a stuck child fails the test instead of hanging it.
#include <sys/types.h>

#include <chrono>
#include <optional>
#include <string>
#include <vector>

namespace testing_support {

class ChildProcess {
public:
    explicit ChildProcess(const std::vector<std::string>& argv);
    ~ChildProcess();  // kills the child if it still runs
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    pid_t pid() const { return pid_; }
    std::optional<std::string> readLine(
        std::chrono::milliseconds timeout = std::chrono::seconds(10));
    void closeInput();
    void kill(int signal);
    // The exit status (as from waitpid), or nullopt when it does not end in time.
    std::optional<int> wait(std::chrono::milliseconds timeout = std::chrono::seconds(10));

private:
    pid_t pid_ = -1;
    int in_ = -1;
    int out_ = -1;
    std::string buffer_;
    bool reaped_ = false;
};

}  // namespace testing_support
