#include "soundlib/stereo_converter.h"

#include <cmath>

namespace soundlib {
namespace {

std::int16_t clip16(long v) {
    return static_cast<std::int16_t>(v < -32768 ? -32768 : v > 32767 ? 32767 : v);
}

// Sample i of channel c as 16-bit.
std::int16_t sampleAt(const AVFrame* f, AVSampleFormat fmt, int channels, int c, int i) {
    const bool planar = av_sample_fmt_is_planar(fmt);
    const int index = planar ? i : i * channels + c;
    const std::uint8_t* base = f->extended_data[planar ? c : 0];
    switch (av_get_packed_sample_fmt(fmt)) {
        case AV_SAMPLE_FMT_U8:
            return static_cast<std::int16_t>((base[index] - 128) * 256);
        case AV_SAMPLE_FMT_S16:
            return reinterpret_cast<const std::int16_t*>(base)[index];
        case AV_SAMPLE_FMT_S32:
            return static_cast<std::int16_t>(reinterpret_cast<const std::int32_t*>(base)[index] >>
                                             16);
        case AV_SAMPLE_FMT_FLT:
            return clip16(std::lrintf(reinterpret_cast<const float*>(base)[index] * 32768.0f));
        case AV_SAMPLE_FMT_DBL:
            return clip16(std::lrint(reinterpret_cast<const double*>(base)[index] * 32768.0));
        default:
            return 0;
    }
}

}  // namespace

bool StereoConverter::append(const AVFrame* frame, int first, std::vector<std::int16_t>& out) {
    const auto fmt = static_cast<AVSampleFormat>(frame->format);
    const int channels = frame->ch_layout.nb_channels;
    const int count = frame->nb_samples - first;
    if (count <= 0) return true;
    const AVSampleFormat packed = av_get_packed_sample_fmt(fmt);
    if (channels > 2 || packed == AV_SAMPLE_FMT_S64 || packed == AV_SAMPLE_FMT_NONE) {
        return downmix(frame, first, out);
    }
    if (channels < 1) return false;
    const std::size_t start = out.size();
    out.resize(start + 2 * static_cast<std::size_t>(count));
    std::int16_t* dst = out.data() + start;
    for (int i = first; i < frame->nb_samples; ++i) {
        const std::int16_t left = sampleAt(frame, fmt, channels, 0, i);
        *dst++ = left;
        *dst++ = channels == 2 ? sampleAt(frame, fmt, channels, 1, i) : left;
    }
    return true;
}

bool StereoConverter::downmix(const AVFrame* frame, int first, std::vector<std::int16_t>& out) {
    if (!swr_ || swrFormat_ != frame->format || swrRate_ != frame->sample_rate ||
        av_channel_layout_compare(&swrLayout_, &frame->ch_layout) != 0) {
        av_channel_layout_uninit(&swrLayout_);
        if (av_channel_layout_copy(&swrLayout_, &frame->ch_layout) < 0) return false;
        SwrContext* ctx = nullptr;
        AVChannelLayout stereo = AV_CHANNEL_LAYOUT_STEREO;
        if (swr_alloc_set_opts2(&ctx, &stereo, AV_SAMPLE_FMT_S16, frame->sample_rate, &swrLayout_,
                                static_cast<AVSampleFormat>(frame->format), frame->sample_rate, 0,
                                nullptr) < 0) {
            return false;
        }
        swr_.reset(ctx);
        if (swr_init(ctx) < 0) {
            swr_.reset();
            return false;
        }
        swrFormat_ = frame->format;
        swrRate_ = frame->sample_rate;
    }
    const int count = frame->nb_samples - first;
    const int bytesPerSample = av_get_bytes_per_sample(static_cast<AVSampleFormat>(frame->format));
    const int channels = frame->ch_layout.nb_channels;
    const bool planar = av_sample_fmt_is_planar(static_cast<AVSampleFormat>(frame->format));
    std::vector<const std::uint8_t*> in(planar ? channels : 1);
    for (std::size_t c = 0; c < in.size(); ++c) {
        in[c] = frame->extended_data[c] + first * bytesPerSample * (planar ? 1 : channels);
    }
    const std::size_t start = out.size();
    out.resize(start + 2 * static_cast<std::size_t>(count));
    std::uint8_t* dst = reinterpret_cast<std::uint8_t*>(out.data() + start);
    const int got = swr_convert(swr_.get(), &dst, count, in.data(), count);
    if (got < 0) {
        out.resize(start);
        return false;
    }
    out.resize(start + 2 * static_cast<std::size_t>(got));
    return true;
}

}  // namespace soundlib
