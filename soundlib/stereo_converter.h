#pragma once
// Turns decoded FFmpeg frames of any sample format into interleaved 16-bit stereo:
// mono is doubled onto both sides, 8-bit is widened, float is rounded and clipped the
// way FFmpeg's own conversion does, more than two channels are mixed down by libswresample.
#include <cstdint>
#include <vector>

#include "soundlib/ffmpeg_handles.h"

namespace soundlib {

class StereoConverter {
public:
    StereoConverter() = default;
    ~StereoConverter() { av_channel_layout_uninit(&swrLayout_); }
    StereoConverter(const StereoConverter&) = delete;
    StereoConverter& operator=(const StereoConverter&) = delete;

    // Appends the frame's samples [first, frame->nb_samples) to `out`; false when the
    // format cannot be converted.
    bool append(const AVFrame* frame, int first, std::vector<std::int16_t>& out);

private:
    bool downmix(const AVFrame* frame, int first, std::vector<std::int16_t>& out);
    SwrPtr swr_;
    AVChannelLayout swrLayout_{};
    int swrFormat_ = -1;
    int swrRate_ = 0;
};

}  // namespace soundlib
