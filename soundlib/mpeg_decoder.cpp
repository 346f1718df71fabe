#include "soundlib/mpeg_decoder.h"

#include <algorithm>
#include <cstring>

#include "platform/byte_order.h"
#include "soundlib/soundlib.h"

namespace soundlib {
namespace {

// A length-only open reads the start in smaller pieces: the ID3v2 header, the first frames
// and their Xing/Info or VBRI tag usually lie within them.
constexpr std::size_t kMeasureCacheBytes = 16 * 1024;
// Frames decoded before a seek target: enough for the largest bit reservoir at the
// lowest bitrates, and the overlap of the filter bank.
constexpr std::size_t kPrerollFrames = 10;
// The first frame must lie this close to the start of the data (after ID3v2 tags);
// anything else is left to the general decoder.
constexpr std::int64_t kFirstFrameSearch = 4096;
constexpr std::int64_t kResyncSearch = 64 * 1024;
// No MPEG audio frame is shorter (8 kbit/s at 24 kHz).
constexpr std::int64_t kSmallestFrameBytes = 24;
// The decoder's own delay that the LAME encoder delay does not include.
constexpr int kDecoderDelay = 529;

// Whether `bytes`, read from `start` (negative: nothing read), hold `size` bytes at `offset`.
bool holds(const std::vector<std::uint8_t>& bytes, std::int64_t start, std::int64_t offset,
           std::size_t size) {
    return start >= 0 && offset >= start &&
           offset + static_cast<std::int64_t>(size) <=
               start + static_cast<std::int64_t>(bytes.size());
}

// Up to `size` bytes from `offset`: how many were read.
std::size_t readFrom(ByteSource& source, std::int64_t offset, std::uint8_t* out, std::size_t size) {
    if (!source.seek(offset)) return 0;
    std::size_t got = 0;
    while (got < size) {
        const long n = source.read(out + got, size - got);
        if (n <= 0) break;
        got += static_cast<std::size_t>(n);
    }
    return got;
}

}  // namespace

bool MpegDecoder::readAt(std::int64_t offset, std::uint8_t* out, std::size_t size) {
    if (offset < 0 || offset + static_cast<std::int64_t>(size) > source_->size()) return false;
    if (holds(last_, lastStart_, offset, size)) {
        std::memcpy(out, last_.data() + (offset - lastStart_), size);
        return true;
    }
    if (!holds(cache_, cacheStart_, offset, size)) {
        // No more than the source holds: a short file costs no untouched buffer.
        const auto left = static_cast<std::size_t>(source_->size() - offset);
        cache_.resize(std::max(size, std::min(cacheBytes_, left)));
        const std::size_t got = readFrom(*source_, offset, cache_.data(), cache_.size());
        cache_.resize(got);
        cacheStart_ = offset;
        if (got < size) return false;
    }
    std::memcpy(out, cache_.data() + (offset - cacheStart_), size);
    return true;
}

void MpegDecoder::keepLastBytes(std::size_t count) {
    const std::int64_t size = source_->size();
    const std::int64_t from = std::max<std::int64_t>(0, size - static_cast<std::int64_t>(count));
    if (holds(cache_, cacheStart_, from, static_cast<std::size_t>(size - from))) return;
    last_.resize(static_cast<std::size_t>(size - from));
    // Cut short: the bytes are read where they are asked for, as without this.
    if (readFrom(*source_, from, last_.data(), last_.size()) < last_.size()) {
        last_.clear();
        return;
    }
    lastStart_ = from;
}

bool MpegDecoder::headerAt(std::int64_t offset, MpegHeader& header) {
    std::uint8_t bytes[4];
    return readAt(offset, bytes, 4) && parseMpegHeader(bytes, header) &&
           offset + header.frameBytes <= dataEnd_;
}

// A run of `run` frames, each starting where the previous one ends, with the same fixed
// header bits as the first; `header` receives the first.
bool MpegDecoder::consistentAt(std::int64_t offset, int run, MpegHeader& header) {
    if (!headerAt(offset, header)) return false;
    std::int64_t at = offset + header.frameBytes;
    for (int i = 1; i < run && at < dataEnd_; ++i) {
        MpegHeader next;
        if (!headerAt(at, next) || next.fixedBits != header.fixedBits) return false;
        at += next.frameBytes;
    }
    return true;
}

bool MpegDecoder::findSync(std::int64_t from, std::int64_t limit, int run, std::int64_t& found) {
    const std::int64_t end = std::min(dataEnd_ - 4, from + limit);
    for (std::int64_t at = from; at <= end; ++at) {
        MpegHeader header;
        if (consistentAt(at, run, header) &&
            (offsets_.empty() || header.fixedBits == first_.fixedBits)) {
            found = at;
            return true;
        }
    }
    return false;
}

bool MpegDecoder::extendIndex(std::size_t frame) {
    while (offsets_.size() <= frame && !indexComplete_) {
        const std::int64_t at = offsets_.back() + sizes_.back();
        MpegHeader header;
        std::int64_t next = at;
        if (!(headerAt(at, header) && header.fixedBits == first_.fixedBits) &&
            !findSync(at + 1, kResyncSearch, 3, next)) {
            indexComplete_ = true;
            break;
        }
        headerAt(next, header);
        offsets_.push_back(next);
        sizes_.push_back(static_cast<std::uint16_t>(header.frameBytes));
    }
    return offsets_.size() > frame;
}

std::unique_ptr<MpegDecoder> MpegDecoder::open(std::unique_ptr<ByteSource> source, int& error,
                                               bool lengthOnly) {
    error = SOUND_ERROR_FORMAT;
    if (!source || source->size() < 8) return nullptr;
    std::unique_ptr<MpegDecoder> d(new MpegDecoder(std::move(source)));
    if (lengthOnly) d->cacheBytes_ = kMeasureCacheBytes;
    const std::int64_t size = d->source_->size();
    d->dataEnd_ = size;

    std::int64_t start = 0;
    std::uint8_t head[10];
    while (d->readAt(start, head, 10) && std::memcmp(head, "ID3", 3) == 0 && head[3] < 0xFF &&
           !((head[6] | head[7] | head[8] | head[9]) & 0x80)) {
        start += 10 + platform::readSyncsafe(head + 6) + ((head[5] & 0x10) ? 10 : 0);
    }
    // The ID3v1 block and the APE footer lie in the last 160 bytes: one read for both.
    if (size - 32 > start) d->keepLastBytes(160);
    std::uint8_t tail[32];
    if (size - 128 > start && d->readAt(size - 128, tail, 3) && std::memcmp(tail, "TAG", 3) == 0) {
        d->dataEnd_ = size - 128;
    }
    if (d->dataEnd_ - 32 > start && d->readAt(d->dataEnd_ - 32, tail, 32) &&
        std::memcmp(tail, "APETAGEX", 8) == 0) {
        const std::int64_t tagBytes =
            static_cast<std::int64_t>(platform::readLittleEndian(tail + 12, 4)) +
            ((tail[23] & 0x80) ? 32 : 0);
        if (tagBytes < d->dataEnd_ - start) d->dataEnd_ -= tagBytes;
    }

    std::int64_t firstAt = start;
    MpegHeader header;
    if (!d->consistentAt(start, 3, header)) {
        if (!d->findSync(start + 1, kFirstFrameSearch, 4, firstAt)) return nullptr;
        d->consistentAt(firstAt, 4, header);
    }
    d->first_ = header;

    std::vector<std::uint8_t> frame(static_cast<std::size_t>(header.frameBytes));
    VbrTag tag;
    const bool tagged = d->readAt(firstAt, frame.data(), frame.size()) &&
                        parseVbrTag(frame.data(), frame.size(), header, tag);
    const std::int64_t audioAt = tagged ? firstAt + header.frameBytes : firstAt;
    d->offsets_.push_back(audioAt);
    MpegHeader audioHeader;
    if (!d->headerAt(audioAt, audioHeader)) return nullptr;
    d->sizes_.push_back(static_cast<std::uint16_t>(audioHeader.frameBytes));

    const std::int64_t spf = header.samplesPerFrame;
    // A tag whose counts the file cannot hold (a cut file, or a lying tag): count frames.
    const std::int64_t audioBytes = d->dataEnd_ - audioAt;
    const bool tagFits = tag.frames > 0 && tag.frames <= audioBytes / kSmallestFrameBytes &&
                         (tag.bytes < 0 || tag.bytes <= d->dataEnd_ - firstAt);
    std::int64_t total = 0;
    if (tagFits) {
        total = tag.frames * spf;
    } else {
        d->cacheBytes_ = kCacheBytes;  // every frame header of the file
        d->extendIndex(SIZE_MAX - 1);
        total = static_cast<std::int64_t>(d->offsets_.size()) * spf;
    }
    d->keepEnd_ = total;
    if (tag.encoderDelay >= 0) {
        d->skipStart_ = tag.encoderDelay + kDecoderDelay;
        d->keepEnd_ = std::min(total, total - tag.encoderPadding + kDecoderDelay);
    }
    d->keepEnd_ = std::max(d->keepEnd_, d->skipStart_);
    d->dropBefore_ = d->skipStart_;

    if (lengthOnly) {
        // Format and length are known: nothing is decoded.
        d->ended_ = true;
        error = SOUND_OK;
        return d;
    }
    const AVCodecID id = header.layer == 3   ? AV_CODEC_ID_MP3
                         : header.layer == 2 ? AV_CODEC_ID_MP2
                                             : AV_CODEC_ID_MP1;
    const AVCodec* codec = avcodec_find_decoder(id);
    if (!codec) return nullptr;
    if (!d->openCodec(codec)) {
        error = SOUND_ERROR_MEMORY;
        return nullptr;
    }
    // The first audio frame must decode.
    error = SOUND_ERROR_DECODE;
    while (d->pending_.empty() && !d->ended_) d->decodeNext();
    if (d->pending_.empty() && d->lengthFrames() > 0) return nullptr;
    error = SOUND_OK;
    return d;
}

bool MpegDecoder::openCodec(const AVCodec* codec) {
    codec_.reset(avcodec_alloc_context3(codec));
    packet_.reset(av_packet_alloc());
    frame_.reset(av_frame_alloc());
    if (codec_ && packet_ && frame_ && avcodec_open2(codec_.get(), codec, nullptr) >= 0)
        return true;
    codec_.reset();  // a decoder without a codec plays nothing
    return false;
}

void MpegDecoder::decodeNext() {
    const std::int64_t spf = first_.samplesPerFrame;
    const std::int64_t frameStart = static_cast<std::int64_t>(nextFrame_) * spf;
    // A length-only decoder keeps no codec.
    if (!codec_ || frameStart >= keepEnd_ || !extendIndex(nextFrame_)) return endStream();
    const std::size_t index = nextFrame_++;
    const bool preroll = index < prerollEnd_;
    if (av_new_packet(packet_.get(), sizes_[index]) < 0 ||
        !readAt(offsets_[index], packet_->data, sizes_[index])) {
        av_packet_unref(packet_.get());
        return endStream();
    }
    pending_.markOffset(offsets_[index]);
    int result = avcodec_send_packet(codec_.get(), packet_.get());
    av_packet_unref(packet_.get());
    std::int64_t produced = 0;
    while (result >= 0) {
        result = avcodec_receive_frame(codec_.get(), frame_.get());
        if (result < 0) break;
        const std::int64_t at = frameStart + produced;
        produced += frame_->nb_samples;
        const std::int64_t from = std::max(at, dropBefore_);
        const std::int64_t to = std::min(at + frame_->nb_samples, keepEnd_);
        if (to > from) {
            // Only the part the frame holds: [from - at, to - at).
            std::vector<std::int16_t>& samples = pending_.samples();
            const std::size_t before = samples.size();
            if (!converter_.append(frame_.get(), static_cast<int>(from - at), samples)) {
                return endStream();
            }
            samples.resize(
                std::min(samples.size(), before + 2 * static_cast<std::size_t>(to - from)));
        }
        av_frame_unref(frame_.get());
    }
    if (result != AVERROR(EAGAIN) && result != AVERROR_EOF && !preroll) return endStream();
    if (produced == 0 && !preroll) return endStream();
}

std::size_t MpegDecoder::read(std::int16_t* out, std::size_t frames) {
    return pending_.read(out, frames, [this] {
        if (ended_) return false;
        decodeNext();
        return true;
    });
}

bool MpegDecoder::seek(std::int64_t frame) {
    if (!codec_ || frame < 0 || frame > lengthFrames()) return false;
    const std::int64_t target = frame + skipStart_;
    const std::size_t targetFrame = static_cast<std::size_t>(target / first_.samplesPerFrame);
    const std::size_t start = targetFrame > kPrerollFrames ? targetFrame - kPrerollFrames : 0;
    if (target < keepEnd_ && !extendIndex(targetFrame)) return false;
    avcodec_flush_buffers(codec_.get());
    nextFrame_ = start;
    prerollEnd_ = targetFrame;
    dropBefore_ = target;
    pending_.clear();
    ended_ = false;
    return true;
}

}  // namespace soundlib
