#pragma once
// Where mixed frames go: a sound device, or nowhere at the pace of real time. The output
// pulls 16-bit stereo frames through the function it was opened with, on a thread of its
// own, until it is destroyed.
#include <cstddef>
#include <cstdint>
#include <functional>

namespace soundlib {

using PullFrames = std::function<void(std::int16_t* out, std::size_t frames)>;

class AudioOutput {
public:
    virtual ~AudioOutput() = default;
    // Frames pulled but not yet heard (the device's own buffer).
    virtual std::size_t latencyFrames() const = 0;
};

}  // namespace soundlib
