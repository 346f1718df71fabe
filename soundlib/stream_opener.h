#pragma once
// Picks the decoder for a file stream: MPEG audio by our own frame parser when the data
// starts with MPEG frames, anything else FFmpeg opens among the audio formats of the
// family (ASF only for WMA streams).
#include <cstdint>
#include <memory>

#include "soundlib/decoder.h"

namespace soundlib {

// mem, file, offset, length as BASS_StreamCreateFile takes them. nullptr, with `error` set
// to a SOUND_ERROR_ code, when the file cannot be opened or holds nothing playable.
// `lengthOnly` (SOUND_STREAM_PROBE) may give an MPEG decoder that answers for format and
// length only.
std::unique_ptr<Decoder> openStreamDecoder(int mem, const void* file, std::int64_t offset,
                                           std::int64_t length, bool wma, int& error,
                                           bool lengthOnly = false);

}  // namespace soundlib
