#include "soundlib/stereo_converter.h"

#include <algorithm>
#include <cmath>

namespace soundlib {
namespace {

std::int16_t clip16(long v) {
    return static_cast<std::int16_t>(v < -32768 ? -32768 : v > 32767 ? 32767 : v);
}

// Writes samples [first, frame->nb_samples) of the first two channels (the one channel twice)
// as interleaved 16-bit, each converted by `convert`; the format is looked at once per frame,
// not per sample.
template <class Sample, class Convert>
void convertFrame(const AVFrame* f, int first, bool planar, int channels, std::int16_t* dst,
                  Convert convert) {
    const auto* left = reinterpret_cast<const Sample*>(f->extended_data[0]);
    const Sample* right = left;
    int step = 1;
    if (planar) {
        if (channels == 2) right = reinterpret_cast<const Sample*>(f->extended_data[1]);
    } else {
        step = channels;
        if (channels == 2) ++right;
    }
    for (int i = first; i < f->nb_samples; ++i) {
        const std::size_t at = static_cast<std::size_t>(i) * step;
        const std::int16_t l = convert(left[at]);
        *dst++ = l;
        *dst++ = channels == 2 ? convert(right[at]) : l;
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
    const bool planar = av_sample_fmt_is_planar(fmt);
    switch (packed) {
        case AV_SAMPLE_FMT_U8:
            convertFrame<std::uint8_t>(frame, first, planar, channels, dst, [](std::uint8_t v) {
                return static_cast<std::int16_t>((v - 128) * 256);
            });
            break;
        case AV_SAMPLE_FMT_S16:
            convertFrame<std::int16_t>(frame, first, planar, channels, dst,
                                       [](std::int16_t v) { return v; });
            break;
        case AV_SAMPLE_FMT_S32:
            convertFrame<std::int32_t>(frame, first, planar, channels, dst, [](std::int32_t v) {
                return static_cast<std::int16_t>(v >> 16);
            });
            break;
        case AV_SAMPLE_FMT_FLT:
            convertFrame<float>(frame, first, planar, channels, dst,
                                [](float v) { return clip16(std::lrintf(v * 32768.0f)); });
            break;
        case AV_SAMPLE_FMT_DBL:
            convertFrame<double>(frame, first, planar, channels, dst,
                                 [](double v) { return clip16(std::lrint(v * 32768.0)); });
            break;
        default:
            std::fill(dst, dst + 2 * static_cast<std::size_t>(count), std::int16_t{0});
            break;
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
