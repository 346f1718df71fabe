#pragma once
// Streams decoded from a ByteSource (an internet transfer) rather than a local file.
#include <cstdint>
#include <functional>
#include <memory>

#include "soundlib/byte_source.h"

namespace soundlib {

// Creates a stream channel of kind SOUND_KIND_URL that decodes `source` with FFmpeg
// through a custom I/O context. The format is probed from the data (bounded: at most
// 256 KiB and 2 s of audio are examined); a source whose size() is -1 is not seekable.
// Decoding runs on a thread of its own that reads ahead about SOUND_CONFIG_NET_BUFFER ms,
// so a slow source stalls the channel (BASS_ChannelIsActive 2) instead of the mixer.
// Returns the handle, or 0 with the error code set (SOUND_ERROR_INIT, SOUND_ERROR_FORMAT).
std::uint32_t createSourceStream(std::unique_ptr<ByteSource> source, std::uint32_t flags);

// The offset in the source's byte stream (as ByteSource::position counts it) of the
// packet that produced the audio now heard on the channel; -1 for a handle that is not a
// source stream or before its first block is heard. The internet part times in-stream
// titles with it.
std::int64_t heardSourceOffset(std::uint32_t handle);

// Runs fn on the ByteSource of a source stream, for reading the state it keeps (tags);
// false for any other handle. fn runs while the decoder thread may be reading from the
// source, so what it reads must be guarded by the source itself. fn must not call the
// public BASS_ functions.
bool withStreamSource(std::uint32_t handle, const std::function<void(ByteSource&)>& fn);

}  // namespace soundlib
