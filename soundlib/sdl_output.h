#pragma once
// Output through an SDL2 audio device (16-bit stereo at the requested rate; SDL converts
// when the device wants something else).
#include <memory>
#include <string>
#include <vector>

#include "soundlib/audio_output.h"

namespace soundlib {

class SdlOutput : public AudioOutput {
public:
    // device 1: the default output; 2, 3, ...: the system's outputs in SDL's order.
    // nullptr, with `error` set (SOUND_ERROR_DEVICE or SOUND_ERROR_OUTPUT), on failure.
    static std::unique_ptr<SdlOutput> open(int device, int rate, PullFrames pull, int& error);
    ~SdlOutput() override;
    SdlOutput(const SdlOutput&) = delete;
    SdlOutput& operator=(const SdlOutput&) = delete;

    std::size_t latencyFrames() const override { return latency_; }

    // Names of the system's outputs (opens SDL's audio part for the moment if needed).
    static std::vector<std::string> deviceNames();

private:
    explicit SdlOutput(PullFrames pull) : pull_(std::move(pull)) {}
    static void callback(void* self, unsigned char* stream, int bytes);

    PullFrames pull_;
    unsigned device_ = 0;
    std::size_t latency_ = 0;
};

}  // namespace soundlib
