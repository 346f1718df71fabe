#include "soundlib/stream_opener.h"

#include "soundlib/ffmpeg_decoder.h"
#include "soundlib/file_byte_source.h"
#include "soundlib/mpeg_decoder.h"
#include "soundlib/soundlib.h"

namespace soundlib {

std::unique_ptr<Decoder> openStreamDecoder(int mem, const void* file, std::int64_t offset,
                                           std::int64_t length, bool wma, int& error,
                                           bool lengthOnly) {
    error = SOUND_ERROR_FILEOPEN;
    auto source = openByteSource(mem, file, offset, length);
    if (!source) return nullptr;
    error = SOUND_ERROR_FORMAT;
    if (source->size() == 0) return nullptr;
    if (!wma) {
        if (auto decoder = MpegDecoder::open(std::move(source), error, lengthOnly)) return decoder;
        source = openByteSource(mem, file, offset, length);
        if (!source) return nullptr;
    }
    return FfmpegDecoder::open(
        std::move(source), wma ? FfmpegDecoder::Family::Wma : FfmpegDecoder::Family::Files, error);
}

}  // namespace soundlib
