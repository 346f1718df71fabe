#pragma once
// A per-user named lock in place of a named mutex: an flock on a file in the user's
// runtime folder. The kernel drops the lock when the holder ends, also when it crashes,
// so a dead holder never blocks the next start.
#include <string>

#include "platform/unique_fd.h"

namespace platform {

class NamedLock {
public:
    // Opens (creating if needed) the lock called `name`; does not take it yet.
    // Throws std::runtime_error when the lock file cannot be opened.
    explicit NamedLock(const std::string& name);

    // Takes the lock without waiting. True when this object holds it now (also when
    // it already did); false when another holder has it.
    bool tryAcquire();
    bool held() const { return held_; }

private:
    UniqueFd fd_;
    bool held_ = false;
};

}  // namespace platform
