// The four priority levels applied to a process of its own (a forked child with a second
// thread), and read back from the kernel for both threads.
#include <gtest/gtest.h>
#include <sched.h>
#include <sys/resource.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <functional>
#include <sstream>
#include <string>
#include <thread>

#include "platform/process_priority.h"

namespace {

struct Seen {
    int policy;
    int nice;
    int rtPriority;
    bool operator==(const Seen&) const = default;
};

Seen seen(pid_t tid) {
    sched_param param{};
    ::sched_getparam(tid, &param);
    errno = 0;
    return {::sched_getscheduler(tid), ::getpriority(PRIO_PROCESS, static_cast<id_t>(tid)),
            param.sched_priority};
}

std::string describe(const Seen& s) {
    std::ostringstream out;
    out << "policy " << s.policy << " nice " << s.nice << " rt " << s.rtPriority;
    return out.str();
}

// Runs `body` in a forked child that has a second, idle thread; `body` gets that thread's
// id and returns what went wrong, which the parent returns.
std::string inChild(const std::function<std::string(pid_t)>& body) {
    int pipeFds[2];
    if (::pipe(pipeFds) != 0) return "no pipe";
    const pid_t child = ::fork();
    if (child == 0) {
        ::close(pipeFds[0]);
        std::atomic<pid_t> other{0};
        std::atomic<bool> done{false};
        std::thread worker([&] {
            other = static_cast<pid_t>(::syscall(SYS_gettid));
            while (!done) std::this_thread::sleep_for(std::chrono::milliseconds(5));
        });
        while (other == 0) std::this_thread::yield();
        const std::string failures = body(other);
        done = true;
        worker.join();
        (void)!::write(pipeFds[1], failures.data(), failures.size());
        ::_exit(0);
    }
    ::close(pipeFds[1]);
    std::string failures;
    char buffer[512];
    for (ssize_t n; (n = ::read(pipeFds[0], buffer, sizeof buffer)) > 0;)
        failures.append(buffer, static_cast<std::size_t>(n));
    ::close(pipeFds[0]);
    int status = 0;
    ::waitpid(child, &status, 0);
    if (!WIFEXITED(status)) return "child did not end normally";
    return failures;
}

struct Step {
    int level;
    bool granted;
    Seen window;
    Seen other;
};

std::string runSteps(const std::vector<Step>& steps, pid_t other) {
    const auto self = static_cast<pid_t>(::syscall(SYS_gettid));
    std::string failures;
    for (const Step& step : steps) {
        const bool granted = platform::setProcessPriority(step.level);
        const std::string at = "level " + std::to_string(step.level) + ": ";
        if (granted != step.granted) failures += at + "granted " + std::to_string(granted) + "\n";
        if (!(seen(self) == step.window))
            failures += at + "window thread " + describe(seen(self)) + "\n";
        if (!(seen(other) == step.other))
            failures += at + "other thread " + describe(seen(other)) + "\n";
    }
    return failures;
}

constexpr Seen kNormal{SCHED_OTHER, 0, 0};
constexpr Seen kIdle{SCHED_IDLE, 0, 0};

}  // namespace

TEST(ProcessPriority, EveryLevelReachesEveryThreadAndNormalUndoesEach) {
    if (::geteuid() != 0) GTEST_SKIP() << "raising priority needs CAP_SYS_NICE";
    const std::string failures = inChild([](pid_t other) {
        return runSteps({{3, true, {SCHED_RR, 0, 31}, {SCHED_RR, 0, 24}},
                         {1, true, kNormal, kNormal},
                         {2, true, {SCHED_OTHER, -12, 0}, {SCHED_OTHER, -10, 0}},
                         {1, true, kNormal, kNormal},
                         {0, true, kIdle, kIdle},
                         {1, true, kNormal, kNormal},
                         {7, true, kNormal, kNormal}},
                        other);
    });
    EXPECT_EQ(failures, "");
}

TEST(ProcessPriority, WithoutTheRightToRaiseItRefusalsLeaveThePriorityAsItWas) {
    const std::string failures = inChild([](pid_t other) -> std::string {
        // An ordinary user with no room to raise priority.
        if (::geteuid() == 0 && ::setuid(65534) != 0) return "cannot drop root";
        const rlimit none{0, 0};
        ::setrlimit(RLIMIT_RTPRIO, &none);
        ::setrlimit(RLIMIT_NICE, &none);
        return runSteps({{3, false, kNormal, kNormal},
                         {2, false, kNormal, kNormal},
                         {1, true, kNormal, kNormal},
                         // Idle is allowed, and then leaving it is not.
                         {0, true, kIdle, kIdle},
                         {1, false, kIdle, kIdle}},
                        other);
    });
    EXPECT_EQ(failures, "");
}
