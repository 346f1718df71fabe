#include "platform/process_priority.h"

#include <dirent.h>
#include <sched.h>
#include <sys/resource.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <cstdlib>
#include <vector>

namespace platform {

namespace {

std::vector<pid_t> processThreads() {
    std::vector<pid_t> threads;
    DIR* dir = ::opendir("/proc/self/task");
    if (!dir) return {static_cast<pid_t>(::syscall(SYS_gettid))};
    while (const dirent* entry = ::readdir(dir)) {
        const int tid = std::atoi(entry->d_name);
        if (tid > 0) threads.push_back(tid);
    }
    ::closedir(dir);
    return threads;
}

bool applyTo(pid_t tid, const ThreadSchedule& schedule) {
    sched_param param{};
    param.sched_priority = schedule.policy == SCHED_RR ? schedule.rtPriority : 0;
    // The policy first: a thread leaving real time or idle takes its nice value with it.
    bool granted = ::sched_setscheduler(tid, schedule.policy, &param) == 0;
    if (schedule.policy == SCHED_OTHER)
        granted =
            ::setpriority(PRIO_PROCESS, static_cast<id_t>(tid), schedule.nice) == 0 && granted;
    return granted;
}

}  // namespace

ProcessPriority processPriorityFor(int level) {
    switch (level) {
        case 0:
            return {{SCHED_IDLE, 0, 0}, {SCHED_IDLE, 0, 0}};
        case 2:
            return {{SCHED_OTHER, -10, 0}, {SCHED_OTHER, -12, 0}};
        case 3:
            return {{SCHED_RR, 0, 24}, {SCHED_RR, 0, 31}};
        default:
            return {{SCHED_OTHER, 0, 0}, {SCHED_OTHER, 0, 0}};
    }
}

bool setProcessPriority(int level) {
    const ProcessPriority priority = processPriorityFor(level);
    const auto self = static_cast<pid_t>(::syscall(SYS_gettid));
    bool granted = true;
    for (const pid_t tid : processThreads())
        granted =
            applyTo(tid, tid == self ? priority.callingThread : priority.everyThread) && granted;
    return granted;
}

}  // namespace platform
