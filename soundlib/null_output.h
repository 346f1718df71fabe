#pragma once
// No sound: pulls frames at the pace of real time and drops them, so that channels play
// and end as they would on a device.
#include <atomic>
#include <condition_variable>
#include <mutex>
#include <thread>

#include "soundlib/audio_output.h"

namespace soundlib {

class NullOutput : public AudioOutput {
public:
    NullOutput(int rate, PullFrames pull);
    ~NullOutput() override;
    NullOutput(const NullOutput&) = delete;
    NullOutput& operator=(const NullOutput&) = delete;

    std::size_t latencyFrames() const override { return 0; }

private:
    void run();

    int rate_;
    PullFrames pull_;
    std::mutex mutex_;
    std::condition_variable wake_;
    bool stop_ = false;
    std::thread thread_;
};

}  // namespace soundlib
