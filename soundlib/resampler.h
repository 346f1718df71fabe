#pragma once
// Changes the rate of interleaved float stereo with libswresample. The input rate may
// change between calls (the channel's speed); the filter then starts afresh.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "soundlib/ffmpeg_handles.h"

namespace soundlib {

class Resampler {
public:
    // quality 0..3 picks the filter length (SOUND_CONFIG_RESAMPLE).
    Resampler(int outputRate, int quality) : outputRate_(outputRate), quality_(quality) {}

    // Produces up to `frames` output frames into `out`, pulling input through `pull`, which
    // fills a float stereo buffer and returns the frames it gave: 0 at the end of the input
    // (the filter is then emptied), -1 when nothing is ready yet. Returns the frames
    // produced; fewer than asked only when `pull` ran dry.
    template <typename Pull>
    std::size_t produce(float* out, std::size_t frames, int inputRate, Pull&& pull);
    // Input frames taken in but not yet given out (filter delay and output kept back).
    double pendingInputFrames() const;
    void reset();

private:
    bool prepare(int inputRate);
    std::size_t convert(const float* in, std::size_t frames);

    int outputRate_;
    int quality_;
    int inputRate_ = 0;
    SwrPtr swr_;
    std::vector<float> input_;
    std::vector<float> output_;  // converted frames not yet given out
    std::size_t outputRead_ = 0;
    bool flushed_ = false;
};

template <typename Pull>
std::size_t Resampler::produce(float* out, std::size_t frames, int inputRate, Pull&& pull) {
    if (!prepare(inputRate)) return 0;
    std::size_t done = 0;
    while (done < frames) {
        const std::size_t ready = (output_.size() - outputRead_) / 2;
        if (ready > 0) {
            const std::size_t take = ready < frames - done ? ready : frames - done;
            for (std::size_t i = 0; i < take * 2; ++i) out[2 * done + i] = output_[outputRead_ + i];
            outputRead_ += take * 2;
            done += take;
            continue;
        }
        output_.clear();
        outputRead_ = 0;
        if (flushed_) break;
        const std::size_t want =
            static_cast<std::size_t>((frames - done) * static_cast<double>(inputRate_) /
                                     outputRate_) +
            16;
        input_.resize(want * 2);
        const std::ptrdiff_t got = pull(input_.data(), want);
        if (got < 0) break;
        if (got == 0) flushed_ = true;
        convert(got ? input_.data() : nullptr, static_cast<std::size_t>(got));
    }
    return done;
}

}  // namespace soundlib
