// The library calls for internet streams: opening an address as a stream channel and
// reading its header lines and in-stream metadata.
#include "soundlib/config.h"
#include "soundlib/error.h"
#include "soundlib/net/url_source.h"
#include "soundlib/soundlib.h"
#include "soundlib/source_stream.h"

#include <chrono>

using namespace soundlib;
using soundlib::net::NetError;
using soundlib::net::soundErrorOf;
using soundlib::net::UrlOptions;
using soundlib::net::UrlSource;

namespace {

UrlOptions optionsFor(std::uint32_t flags, SoundDownloadProc* proc, void* user) {
    UrlOptions options;
    options.requestMetadata = (flags & SOUND_STREAM_META) != 0;
    const std::chrono::milliseconds timeout(getConfig(SOUND_CONFIG_NET_TIMEOUT));
    options.openTimeout = timeout;
    options.stallTimeout = timeout;
    if (proc != nullptr) {
        options.onData = [proc, user](const std::uint8_t* bytes, std::size_t size) {
            proc(bytes, static_cast<std::uint32_t>(size), user);
        };
    }
    return options;
}

}  // namespace

extern "C" {

uint32_t BASS_StreamCreateURL(const char* url, uint32_t offset, uint32_t flags,
                              SoundDownloadProc* proc, void* user) {
    if (url == nullptr) return fail(SOUND_ERROR_PARAM, 0u);
    NetError error = NetError::None;
    std::unique_ptr<UrlSource> source =
        UrlSource::open(url, offset, optionsFor(flags, proc, user), error);
    if (!source) return fail(soundErrorOf(error), 0u);
    return createSourceStream(std::move(source), flags & ~SOUND_STREAM_META);
}

const char* BASS_StreamGetTags(uint32_t handle, uint32_t tags) {
    // The title that goes with what is being heard, not with what was downloaded last.
    const std::int64_t heard = heardSourceOffset(handle);
    const char* block = nullptr;
    withStreamSource(handle, [&](ByteSource& source) {
        auto* url = dynamic_cast<UrlSource*>(&source);
        if (url == nullptr) return;
        if (tags == SOUND_TAG_HEADERS) block = url->headerTag();
        if (tags == SOUND_TAG_META) block = url->metadataTag(heard);
    });
    if (block == nullptr) return fail(SOUND_ERROR_NOTAVAIL, static_cast<const char*>(nullptr));
    setError(SOUND_OK);
    return block;
}

}  // extern "C"
