#pragma once
// MPEG audio layers 1-3 from a seekable ByteSource: frames are found by our own header
// parser, decoded by FFmpeg's decoders. The length comes from the Xing/Info or VBRI tag
// when there is one (a header scan otherwise), with the LAME encoder delay and padding
// trimmed; seeks are exact to the frame (decoding starts a few frames early, for the bit
// reservoir and the filter bank, and what lies before the target is dropped).
#include <memory>
#include <vector>

#include "soundlib/byte_source.h"
#include "soundlib/decoded_frames.h"
#include "soundlib/decoder.h"
#include "soundlib/ffmpeg_handles.h"
#include "soundlib/mpeg_frame.h"
#include "soundlib/stereo_converter.h"

namespace soundlib {

class MpegDecoder : public Decoder {
public:
    // nullptr, with `error` set to a SOUND_ERROR_ code, when the data does not start (after
    // ID3v2 tags) with a run of consistent MPEG audio frames that decode. With
    // `lengthOnly`, the decoder gives the format and length a full one would, from the
    // frame headers alone, and plays nothing: no frame is decoded, so a file whose first
    // frame would not decode is not refused.
    static std::unique_ptr<MpegDecoder> open(std::unique_ptr<ByteSource> source, int& error,
                                             bool lengthOnly = false);

    SourceFormat format() const override { return {first_.rate, first_.channels, false}; }
    std::int64_t lengthFrames() const override { return keepEnd_ - skipStart_; }
    std::size_t read(std::int16_t* out, std::size_t frames) override;
    bool ended() const override { return ended_ && pending_.empty(); }
    bool seek(std::int64_t frame) override;
    std::int64_t inputOffset() const override { return pending_.lastOffset(); }

private:
    explicit MpegDecoder(std::unique_ptr<ByteSource> source) : source_(std::move(source)) {}
    bool readAt(std::int64_t offset, std::uint8_t* out, std::size_t size);
    // Keeps the source's last `count` bytes apart from the cache (unless it holds them),
    // so that looking at the tags at the end does not drop the start from the cache.
    void keepLastBytes(std::size_t count);
    bool headerAt(std::int64_t offset, MpegHeader& header);
    bool consistentAt(std::int64_t offset, int run, MpegHeader& header);
    bool findSync(std::int64_t from, std::int64_t limit, int run, std::int64_t& found);
    bool extendIndex(std::size_t frame);
    bool openCodec(const AVCodec* codec);
    void decodeNext();
    void endStream() { ended_ = true; }

    std::unique_ptr<ByteSource> source_;
    std::vector<std::uint8_t> cache_;
    std::int64_t cacheStart_ = -1;
    static constexpr std::size_t kCacheBytes = 64 * 1024;
    std::size_t cacheBytes_ = kCacheBytes;  // read at a time
    std::vector<std::uint8_t> last_;        // see keepLastBytes
    std::int64_t lastStart_ = -1;
    std::int64_t dataEnd_ = 0;
    MpegHeader first_;

    // Offsets and sizes of the audio frames found so far.
    std::vector<std::int64_t> offsets_;
    std::vector<std::uint16_t> sizes_;
    bool indexComplete_ = false;

    // Sample numbers count decoded output from the first audio frame.
    std::int64_t skipStart_ = 0;  // encoder and decoder delay
    std::int64_t keepEnd_ = 0;    // end of the audio, padding excluded
    std::size_t nextFrame_ = 0;
    std::size_t prerollEnd_ = 0;  // frames before this one only prime the decoder
    std::int64_t dropBefore_ = 0;

    CodecContextPtr codec_;
    PacketPtr packet_;
    FramePtr frame_;
    StereoConverter converter_;
    DecodedFrames pending_;
    bool ended_ = false;
};

}  // namespace soundlib
