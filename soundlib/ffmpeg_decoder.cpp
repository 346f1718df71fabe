#include "soundlib/ffmpeg_decoder.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "soundlib/soundlib.h"

namespace soundlib {
namespace {

constexpr int kIoBufferBytes = 32 * 1024;
constexpr std::int64_t kProbeBytes = 256 * 1024;
constexpr std::int64_t kAnalyzeMicroseconds = 2 * AV_TIME_BASE;
// Frames decoded after a seek without a timestamp before the position is taken as is.
constexpr int kMaxUnplacedFrames = 8;
constexpr int kWarmUpFrames = 2;

const char* whitelist(FfmpegDecoder::Family family) {
    switch (family) {
        case FfmpegDecoder::Family::Wma:
            return "asf";
        case FfmpegDecoder::Family::Live:
            return "mp3,aac,ogg,asf,flac,wav,adts,loas,mov,matroska";
        case FfmpegDecoder::Family::Files:
            break;
    }
    return "mp3,wav,ogg,asf,flac,aiff,au,w64,caf,mov,matroska,aac,ac3,eac3,dts,mpc,mpc8,wv,"
           "ape,tta,tak,amr,voc,xwma,rm,dsf,shn,mlp,truehd,loas";
}

int refuseNestedOpen(AVFormatContext*, AVIOContext**, const char*, int, AVDictionary**) {
    return AVERROR(EPERM);
}

}  // namespace

FfmpegDecoder::~FfmpegDecoder() {
    // The demuxer goes before the I/O context it reads from.
    codec_.reset();
    context_.reset();
}

int FfmpegDecoder::readPacket(void* opaque, std::uint8_t* buffer, int size) {
    auto* self = static_cast<FfmpegDecoder*>(opaque);
    const long got = self->source_->read(buffer, static_cast<std::size_t>(size));
    if (got < 0) return AVERROR(EIO);
    return got == 0 ? AVERROR_EOF : static_cast<int>(got);
}

std::int64_t FfmpegDecoder::seekPacket(void* opaque, std::int64_t offset, int whence) {
    auto* self = static_cast<FfmpegDecoder*>(opaque);
    ByteSource& source = *self->source_;
    switch (whence & ~AVSEEK_FORCE) {
        case AVSEEK_SIZE:
            return source.size();
        case SEEK_SET:
            break;
        case SEEK_CUR:
            offset += source.position();
            break;
        case SEEK_END:
            if (source.size() < 0) return -1;
            offset += source.size();
            break;
        default:
            return -1;
    }
    return source.seek(offset) ? offset : -1;
}

bool FfmpegDecoder::openFormat(Family family, int& error) {
    auto* buffer = static_cast<std::uint8_t*>(av_malloc(kIoBufferBytes));
    if (!buffer) return false;
    const bool seekable = source_->size() >= 0;
    io_.reset(avio_alloc_context(buffer, kIoBufferBytes, 0, this, &readPacket, nullptr,
                                 seekable ? &seekPacket : nullptr));
    if (!io_) {
        av_free(buffer);
        return false;
    }
    io_->seekable = seekable ? AVIO_SEEKABLE_NORMAL : 0;
    AVFormatContext* context = avformat_alloc_context();
    if (!context) return false;
    context->pb = io_.get();
    context->flags |= AVFMT_FLAG_CUSTOM_IO;
    context->io_open = &refuseNestedOpen;
    context->probesize = kProbeBytes;
    context->format_probesize = kProbeBytes;
    context->max_analyze_duration = kAnalyzeMicroseconds;
    context->format_whitelist = av_strdup(whitelist(family));
    context->protocol_whitelist = av_strdup("none");
    if (avformat_open_input(&context, nullptr, nullptr, nullptr) < 0) {
        error = SOUND_ERROR_FORMAT;
        return false;  // avformat_open_input freed the context
    }
    context_.reset(context);
    return true;
}

std::unique_ptr<FfmpegDecoder> FfmpegDecoder::open(std::unique_ptr<ByteSource> source,
                                                   Family family, int& error) {
    error = SOUND_ERROR_FORMAT;
    if (!source || source->size() == 0) return nullptr;
    std::unique_ptr<FfmpegDecoder> d(new FfmpegDecoder(std::move(source)));
    if (!d->setUp(family, error)) {
        // A source that failed (a timeout, a refused transfer) says so better than the
        // format check that ran out of data.
        if (const int failure = d->source_->failure(); failure != SOUND_OK) error = failure;
        return nullptr;
    }
    d->source_->endOpening();
    return d;
}

bool FfmpegDecoder::setUp(Family family, int& error) {
    if (!openFormat(family, error)) return false;
    AVFormatContext* context = context_.get();
    const AVCodec* codec = nullptr;
    int stream = av_find_best_stream(context, AVMEDIA_TYPE_AUDIO, -1, -1, &codec, 0);
    if (stream < 0 || context->streams[stream]->codecpar->sample_rate <= 0 ||
        context->streams[stream]->codecpar->ch_layout.nb_channels <= 0) {
        if (avformat_find_stream_info(context, nullptr) < 0) return false;
        stream = av_find_best_stream(context, AVMEDIA_TYPE_AUDIO, -1, -1, &codec, 0);
    }
    if (stream < 0 || !codec) return false;
    AVStream* st = context->streams[stream];
    const AVCodecParameters* par = st->codecpar;
    if (par->sample_rate < 1000 || par->sample_rate > 384000 || par->ch_layout.nb_channels < 1 ||
        par->ch_layout.nb_channels > 8 || st->time_base.num <= 0 || st->time_base.den <= 0) {
        return false;
    }
    if (family == Family::Wma && par->codec_id != AV_CODEC_ID_WMAV1 &&
        par->codec_id != AV_CODEC_ID_WMAV2 && par->codec_id != AV_CODEC_ID_WMAPRO &&
        par->codec_id != AV_CODEC_ID_WMALOSSLESS && par->codec_id != AV_CODEC_ID_WMAVOICE) {
        return false;
    }
    for (unsigned i = 0; i < context->nb_streams; ++i) {
        if (static_cast<int>(i) != stream) context->streams[i]->discard = AVDISCARD_ALL;
    }
    stream_ = stream;
    timeBase_ = st->time_base;
    startTs_ = st->start_time != AV_NOPTS_VALUE ? st->start_time : 0;
    format_.rate = par->sample_rate;
    format_.channels = par->ch_layout.nb_channels;
    format_.eightBit = av_get_bits_per_sample(par->codec_id) == 8 ||
                       par->bits_per_raw_sample == 8 || par->format == AV_SAMPLE_FMT_U8;

    error = SOUND_ERROR_MEMORY;
    codec_.reset(avcodec_alloc_context3(codec));
    packet_.reset(av_packet_alloc());
    frame_.reset(av_frame_alloc());
    if (!codec_ || !packet_ || !frame_) return false;
    error = SOUND_ERROR_FORMAT;
    if (avcodec_parameters_to_context(codec_.get(), par) < 0 ||
        avcodec_open2(codec_.get(), codec, nullptr) < 0) {
        return false;
    }
    const int channels = par->ch_layout.nb_channels;
    if (par->block_align > 7 * channels && par->codec_id == AV_CODEC_ID_ADPCM_MS) {
        blockFrames_ = (par->block_align - 7 * channels) * 2 / channels + 2;
    } else if (par->block_align > 4 * channels && par->codec_id == AV_CODEC_ID_ADPCM_IMA_WAV) {
        blockFrames_ = (par->block_align - 4 * channels) * 2 / channels + 1;
    }
    blockBytes_ = par->block_align;
    length_ = measureLength();
    error = SOUND_ERROR_DECODE;
    while (pending_.empty() && !ended_) decodeNext();
    if (pending_.empty()) return false;
    error = SOUND_OK;
    return true;
}

std::int64_t FfmpegDecoder::toFrames(std::int64_t ts) const {
    return av_rescale_q(ts, timeBase_, AVRational{1, format_.rate});
}

std::int64_t FfmpegDecoder::measureLength() {
    const AVStream* st = context_->streams[stream_];
    const std::int64_t size = source_->size();
    if (size < 0) return -1;
    std::int64_t frames = -1;
    if (st->duration != AV_NOPTS_VALUE && st->duration > 0) {
        frames = toFrames(st->duration);
    } else if (context_->duration != AV_NOPTS_VALUE && context_->duration > 0) {
        frames = av_rescale(context_->duration, format_.rate, AV_TIME_BASE);
    } else {
        // No header tells: add up the packet durations, then go back to the start.
        frames = 0;
        PacketPtr packet(av_packet_alloc());
        while (packet && av_read_frame(context_.get(), packet.get()) >= 0) {
            if (packet->stream_index == stream_) frames += toFrames(packet->duration);
            av_packet_unref(packet.get());
        }
        av_seek_frame(context_.get(), stream_, startTs_, AVSEEK_FLAG_BACKWARD);
    }
    // Uncompressed data cannot hold more frames than the file has bytes for.
    const int bits = av_get_bits_per_sample(st->codecpar->codec_id);
    if (bits > 0) {
        const std::int64_t most = size * 8 / (bits * format_.channels);
        frames = std::min(frames, most);
    }
    return frames;
}

void FfmpegDecoder::takeFrames() {
    int result = 0;
    while ((result = avcodec_receive_frame(codec_.get(), frame_.get())) >= 0) {
        if (originTs_ == AV_NOPTS_VALUE || restart_) {
            originTs_ = frame_->best_effort_timestamp;
            firstFrameSamples_ = frame_->nb_samples;
            restart_ = false;
        }
        if (resync_) {
            // The first frames after a seek may come from a packet the decoder could only
            // partly use; place the stream by a later one.
            const std::int64_t ts = frame_->best_effort_timestamp;
            if (ts != AV_NOPTS_VALUE && originTs_ != AV_NOPTS_VALUE && unplaced_ >= kWarmUpFrames) {
                nextFrame_ = toFrames(ts - originTs_);
                // Coarse timestamps (whole milliseconds) of a codec with frames of one size:
                // the frame boundary nearest to them is where the frame lies.
                const std::int64_t size = firstFrameSamples_;
                if (size > 0 && frame_->nb_samples == size) {
                    const std::int64_t snapped = (nextFrame_ + size / 2) / size * size;
                    if (std::abs(snapped - nextFrame_) <= format_.rate / 500) nextFrame_ = snapped;
                }
                resync_ = false;
            } else if (++unplaced_ >= kMaxUnplacedFrames) {
                nextFrame_ = dropBefore_;
                resync_ = false;
            } else {
                av_frame_unref(frame_.get());
                continue;
            }
        }
        const std::int64_t at = nextFrame_;
        nextFrame_ += frame_->nb_samples;
        const std::int64_t skip = std::max<std::int64_t>(0, dropBefore_ - at);
        if (skip < frame_->nb_samples) {
            if (packetOffset_ >= 0) pending_.markOffset(packetOffset_);
            if (!converter_.append(frame_.get(), static_cast<int>(skip), pending_.samples())) {
                ended_ = true;
            }
        }
        av_frame_unref(frame_.get());
    }
    if (result != AVERROR(EAGAIN)) ended_ = true;  // drained, or a decoding error
}

void FfmpegDecoder::decodeNext() {
    if (flushed_) {
        ended_ = true;
        return;
    }
    for (;;) {
        const int result = av_read_frame(context_.get(), packet_.get());
        if (result < 0) {
            // The end (or an unreadable rest): let the decoder give what it holds.
            flushed_ = true;
            packetOffset_ = -1;
            avcodec_send_packet(codec_.get(), nullptr);
            takeFrames();
            ended_ = true;
            return;
        }
        if (packet_->stream_index != stream_) {
            av_packet_unref(packet_.get());
            continue;
        }
        packetOffset_ = packet_->pos;
        if (firstPacketOffset_ < 0) firstPacketOffset_ = packet_->pos;
        const int sent = avcodec_send_packet(codec_.get(), packet_.get());
        av_packet_unref(packet_.get());
        if (sent < 0 && sent != AVERROR(EAGAIN)) {
            ended_ = true;  // a decoding error ends the stream
            return;
        }
        takeFrames();
        return;
    }
}

std::size_t FfmpegDecoder::read(std::int16_t* out, std::size_t frames) {
    return pending_.read(out, frames, [this] {
        if (ended_) return false;
        decodeNext();
        return true;
    });
}

bool FfmpegDecoder::seek(std::int64_t frame) {
    if (source_->size() < 0 || frame < 0 || (length_ >= 0 && frame > length_)) return false;
    avcodec_flush_buffers(codec_.get());
    pending_.clear();
    dropBefore_ = frame;
    unplaced_ = 0;
    flushed_ = false;
    ended_ = false;
    if (blockFrames_ > 0 && firstPacketOffset_ >= 0) {
        const std::int64_t block = frame / blockFrames_;
        nextFrame_ = block * blockFrames_;
        resync_ = false;
        return av_seek_frame(context_.get(), stream_, firstPacketOffset_ + block * blockBytes_,
                             AVSEEK_FLAG_BYTE) >= 0;
    }
    // Far enough back that the landing point is never on the last page or packet, whose
    // timestamps may be shifted by the trimming of the end.
    const std::int64_t preroll = format_.rate;
    if (frame > preroll) {
        resync_ = true;
        const std::int64_t ts =
            av_rescale_q(frame - preroll, AVRational{1, format_.rate}, timeBase_) + startTs_;
        if (av_seek_frame(context_.get(), stream_, ts, AVSEEK_FLAG_BACKWARD) >= 0) return true;
    }
    // Near the start: decode from the very beginning, counting from 0.
    resync_ = false;
    restart_ = true;
    nextFrame_ = 0;
    if (av_seek_frame(context_.get(), stream_, startTs_, AVSEEK_FLAG_BACKWARD) < 0 &&
        av_seek_frame(context_.get(), stream_, firstPacketOffset_, AVSEEK_FLAG_BYTE) < 0) {
        ended_ = true;
        return false;
    }
    return true;
}

}  // namespace soundlib
