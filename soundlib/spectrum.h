#pragma once
// Magnitudes of a 1024-point real FFT (libavutil's transform) over a Hann window.
#include <array>
#include <vector>

#include "soundlib/ffmpeg_handles.h"

namespace soundlib {

class Spectrum {
public:
    static constexpr int kSize = 1024;
    Spectrum();

    // `mono` holds kSize samples; `out` receives kSize / 2 magnitudes, bin k for
    // k * rate / kSize Hz, scaled by 2 / kSize so that a full-scale sine centred on a bin
    // reads 0.5 there (the window's coherent gain is one half).
    bool magnitudes(const float* mono, float* out);

private:
    TxPtr tx_;
    av_tx_fn transform_ = nullptr;
    std::array<float, kSize> window_{};
    std::vector<float> input_;
    std::vector<AVComplexFloat> output_;
};

}  // namespace soundlib
