#pragma once
// Owning handles for the FFmpeg objects the decoders use.
#include <memory>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/tx.h>
#include <libswresample/swresample.h>
}

namespace soundlib {

struct FormatContextDeleter {
    void operator()(AVFormatContext* p) const { avformat_close_input(&p); }
};
struct CodecContextDeleter {
    void operator()(AVCodecContext* p) const { avcodec_free_context(&p); }
};
struct PacketDeleter {
    void operator()(AVPacket* p) const { av_packet_free(&p); }
};
struct FrameDeleter {
    void operator()(AVFrame* p) const { av_frame_free(&p); }
};
struct SwrDeleter {
    void operator()(SwrContext* p) const { swr_free(&p); }
};
struct TxDeleter {
    void operator()(AVTXContext* p) const { av_tx_uninit(&p); }
};
// A custom I/O context together with the buffer FFmpeg may have replaced.
struct IoContextDeleter {
    void operator()(AVIOContext* p) const {
        if (p) av_freep(&p->buffer);
        avio_context_free(&p);
    }
};

using FormatContextPtr = std::unique_ptr<AVFormatContext, FormatContextDeleter>;
using CodecContextPtr = std::unique_ptr<AVCodecContext, CodecContextDeleter>;
using PacketPtr = std::unique_ptr<AVPacket, PacketDeleter>;
using FramePtr = std::unique_ptr<AVFrame, FrameDeleter>;
using SwrPtr = std::unique_ptr<SwrContext, SwrDeleter>;
using TxPtr = std::unique_ptr<AVTXContext, TxDeleter>;
using IoContextPtr = std::unique_ptr<AVIOContext, IoContextDeleter>;

}  // namespace soundlib
