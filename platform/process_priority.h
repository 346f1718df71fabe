#pragma once
// The process's scheduling, set from four levels: idle, normal, high and real-time. Linux
// schedules threads, not processes, so a level is applied to every thread the process has
// now; the calling thread (the window thread) gets its own, slightly stronger setting.
//
//   level      every thread                   calling thread
//   0 idle     SCHED_IDLE                     SCHED_IDLE
//   1 normal   SCHED_OTHER, nice 0            SCHED_OTHER, nice 0
//   2 high     SCHED_OTHER, nice -10          SCHED_OTHER, nice -12
//   3 real     SCHED_RR, priority 24          SCHED_RR, priority 31
//
// Raising priority needs CAP_SYS_NICE or room in RLIMIT_NICE / RLIMIT_RTPRIO; leaving
// SCHED_IDLE counts as raising it. Whatever the system refuses stays as it was.

namespace platform {

struct ThreadSchedule {
    int policy;      // SCHED_OTHER, SCHED_IDLE or SCHED_RR
    int nice;        // for SCHED_OTHER
    int rtPriority;  // for SCHED_RR
};

struct ProcessPriority {
    ThreadSchedule everyThread;
    ThreadSchedule callingThread;
};

// The table above; levels outside 0..3 are taken as normal.
ProcessPriority processPriorityFor(int level);

// Applies a level. True when every request was granted; false when the system refused
// some, which then left those threads as they were.
bool setProcessPriority(int level);

}  // namespace platform
