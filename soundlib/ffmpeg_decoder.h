#pragma once
// Any audio format FFmpeg demuxes and decodes, read through a custom I/O context from a
// ByteSource. Nested resources (playlists pointing at other files or addresses) are never
// opened, and only the demuxers of the chosen family are allowed.
#include <memory>

#include "soundlib/byte_source.h"
#include "soundlib/decoded_frames.h"
#include "soundlib/decoder.h"
#include "soundlib/ffmpeg_handles.h"
#include "soundlib/stereo_converter.h"

namespace soundlib {

class FfmpegDecoder : public Decoder {
public:
    enum class Family {
        Files,  // local files: audio container formats, no tracker modules
        Wma,    // ASF files only
        Live    // what an internet stream may carry; the format is probed from the data
    };
    // nullptr, with `error` set to a SOUND_ERROR_ code, when the data is not audio of the
    // family, announces impossible parameters, or its first packet does not decode.
    static std::unique_ptr<FfmpegDecoder> open(std::unique_ptr<ByteSource> source, Family family,
                                               int& error);
    ~FfmpegDecoder() override;

    SourceFormat format() const override { return format_; }
    std::int64_t lengthFrames() const override { return length_; }
    std::size_t read(std::int16_t* out, std::size_t frames) override;
    bool ended() const override { return ended_ && pending_.empty(); }
    bool seek(std::int64_t frame) override;
    std::int64_t inputOffset() const override { return pending_.lastOffset(); }
    ByteSource* byteSource() override { return source_.get(); }

private:
    explicit FfmpegDecoder(std::unique_ptr<ByteSource> source) : source_(std::move(source)) {}
    static int readPacket(void* opaque, std::uint8_t* buffer, int size);
    static std::int64_t seekPacket(void* opaque, std::int64_t offset, int whence);
    bool setUp(Family family, int& error);
    bool openFormat(Family family, int& error);
    std::int64_t measureLength();
    void decodeNext();
    void takeFrames();
    std::int64_t toFrames(std::int64_t ts) const;

    std::unique_ptr<ByteSource> source_;
    IoContextPtr io_;
    FormatContextPtr context_;
    CodecContextPtr codec_;
    PacketPtr packet_;
    FramePtr frame_;
    StereoConverter converter_;
    int stream_ = -1;
    AVRational timeBase_{1, 1};
    std::int64_t startTs_ = 0;
    // Timestamp and size of the first decoded frame: the decoder's output starts there
    // (a decoder with a delay stamps its first output later than the first packet).
    std::int64_t originTs_ = AV_NOPTS_VALUE;
    int firstFrameSamples_ = 0;
    SourceFormat format_;
    std::int64_t length_ = -1;

    DecodedFrames pending_;
    std::int64_t nextFrame_ = 0;  // stream frame number of the next decoded sample
    std::int64_t dropBefore_ = 0;
    bool resync_ = false;   // after a seek: place the next decoded frame by its timestamp
    bool restart_ = false;  // after a seek to the start: count from 0 again
    int unplaced_ = 0;
    std::int64_t packetOffset_ = -1;
    // Formats of fixed-size blocks whose timestamps do not place a seek exactly (ADPCM in
    // WAV) seek by byte: frames per block, bytes per block, and where the first one lies.
    int blockFrames_ = 0;
    int blockBytes_ = 0;
    std::int64_t firstPacketOffset_ = -1;
    bool flushed_ = false;
    bool ended_ = false;
};

}  // namespace soundlib
