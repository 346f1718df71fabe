#include "soundlib/resampler.h"

extern "C" {
#include <libavutil/opt.h>
}

namespace soundlib {

bool Resampler::prepare(int inputRate) {
    if (swr_ && inputRate == inputRate_) return true;
    SwrContext* ctx = nullptr;
    AVChannelLayout stereo = AV_CHANNEL_LAYOUT_STEREO;
    if (swr_alloc_set_opts2(&ctx, &stereo, AV_SAMPLE_FMT_FLT, outputRate_, &stereo,
                            AV_SAMPLE_FMT_FLT, inputRate, 0, nullptr) < 0) {
        return false;
    }
    swr_.reset(ctx);
    static constexpr int kFilterSizes[4] = {4, 8, 16, 32};
    av_opt_set_int(ctx, "filter_size",
                   kFilterSizes[quality_ < 0   ? 0
                                : quality_ > 3 ? 3
                                               : quality_],
                   0);
    av_opt_set_int(ctx, "linear_interp", 1, 0);
    if (swr_init(ctx) < 0) {
        swr_.reset();
        return false;
    }
    inputRate_ = inputRate;
    flushed_ = false;
    return true;
}

std::size_t Resampler::convert(const float* in, std::size_t frames) {
    const int room = swr_get_out_samples(swr_.get(), static_cast<int>(frames));
    if (room <= 0) return 0;
    output_.resize(static_cast<std::size_t>(room) * 2);
    std::uint8_t* dst = reinterpret_cast<std::uint8_t*>(output_.data());
    const std::uint8_t* src = reinterpret_cast<const std::uint8_t*>(in);
    const int got =
        swr_convert(swr_.get(), &dst, room, in ? &src : nullptr, static_cast<int>(frames));
    output_.resize(got > 0 ? static_cast<std::size_t>(got) * 2 : 0);
    outputRead_ = 0;
    return output_.size() / 2;
}

double Resampler::pendingInputFrames() const {
    if (!swr_) return 0;
    const double kept =
        static_cast<double>((output_.size() - outputRead_) / 2) * inputRate_ / outputRate_;
    return static_cast<double>(swr_get_delay(swr_.get(), inputRate_)) + kept;
}

void Resampler::reset() {
    swr_.reset();
    output_.clear();
    outputRead_ = 0;
    flushed_ = false;
}

}  // namespace soundlib
