#pragma once
// The signals by which the system asks a program to end (SIGTERM at logout or shutdown,
// SIGINT, SIGHUP), turned into a file descriptor that an event loop watches, so that the
// program ends through its normal close steps instead of being cut off.
//
// Construct it first thing in main(), before any thread starts: the signals are blocked
// for the calling thread, and threads started later inherit that.
#include "platform/unique_fd.h"

namespace platform {

class StopSignals {
public:
    // Throws std::runtime_error when the descriptor cannot be made.
    StopSignals();
    ~StopSignals();
    StopSignals(const StopSignals&) = delete;
    StopSignals& operator=(const StopSignals&) = delete;

    // Readable when a stop signal is pending.
    int fd() const { return fd_.get(); }
    // The pending signal's number, taken off the queue; 0 when none is pending.
    int take();

private:
    UniqueFd fd_;
};

}  // namespace platform
