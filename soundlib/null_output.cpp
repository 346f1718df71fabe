#include "soundlib/null_output.h"

#include <chrono>
#include <vector>

namespace soundlib {

NullOutput::NullOutput(int rate, PullFrames pull)
    : rate_(rate), pull_(std::move(pull)), thread_([this] { run(); }) {}

NullOutput::~NullOutput() {
    {
        std::lock_guard lock(mutex_);
        stop_ = true;
    }
    wake_.notify_all();
    thread_.join();
}

void NullOutput::run() {
    using Clock = std::chrono::steady_clock;
    const auto start = Clock::now();
    std::int64_t done = 0;
    std::vector<std::int16_t> scratch;
    std::unique_lock lock(mutex_);
    while (!wake_.wait_for(lock, std::chrono::milliseconds(10), [this] { return stop_; })) {
        const auto elapsed =
            std::chrono::duration_cast<std::chrono::microseconds>(Clock::now() - start);
        const std::int64_t due = elapsed.count() * rate_ / 1000000;
        if (due <= done) continue;
        const auto frames = static_cast<std::size_t>(due - done);
        scratch.resize(frames * 2);
        lock.unlock();
        pull_(scratch.data(), frames);
        lock.lock();
        done = due;
    }
}

}  // namespace soundlib
