#include "soundlib/spectrum.h"

#include <cmath>
#include <numbers>

namespace soundlib {

Spectrum::Spectrum() : input_(kSize), output_(kSize / 2 + 1) {
    AVTXContext* tx = nullptr;
    const float scale = 1.0f;
    if (av_tx_init(&tx, &transform_, AV_TX_FLOAT_RDFT, 0, kSize, &scale, AV_TX_UNALIGNED) == 0) {
        tx_.reset(tx);
    }
    for (int i = 0; i < kSize; ++i) {
        window_[i] = 0.5f - 0.5f * std::cos(2.0f * std::numbers::pi_v<float> * i / kSize);
    }
}

bool Spectrum::magnitudes(const float* mono, float* out) {
    if (!tx_) return false;
    for (int i = 0; i < kSize; ++i) input_[i] = mono[i] * window_[i];
    transform_(tx_.get(), output_.data(), input_.data(), sizeof(float));
    for (int k = 0; k < kSize / 2; ++k) {
        out[k] = std::hypot(output_[k].re, output_[k].im) * (2.0f / kSize);
    }
    return true;
}

}  // namespace soundlib
