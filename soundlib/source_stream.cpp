#include "soundlib/source_stream.h"

#include "soundlib/config.h"
#include "soundlib/device_session.h"
#include "soundlib/error.h"
#include "soundlib/ffmpeg_decoder.h"
#include "soundlib/prefetch_decoder.h"
#include "soundlib/soundlib.h"

namespace soundlib {

std::uint32_t createSourceStream(std::unique_ptr<ByteSource> source, std::uint32_t) {
    const auto session = DeviceSession::current();
    if (!session) return fail(SOUND_ERROR_INIT, 0u);
    if (!source) return fail(SOUND_ERROR_PARAM, 0u);
    int error = SOUND_OK;
    auto decoder = FfmpegDecoder::open(std::move(source), FfmpegDecoder::Family::Live, error);
    if (!decoder) return fail(error, 0u);
    const auto ahead = static_cast<std::size_t>(decoder->format().rate) *
                       static_cast<std::size_t>(getConfig(SOUND_CONFIG_NET_BUFFER)) / 1000;
    setError(SOUND_OK);
    return session->add(SOUND_KIND_URL,
                        std::make_unique<PrefetchDecoder>(std::move(decoder), ahead));
}

std::int64_t heardSourceOffset(std::uint32_t handle) {
    const auto session = DeviceSession::current();
    const auto channel = session ? session->find(handle) : nullptr;
    if (!channel || channel->kind() != SOUND_KIND_URL) return -1;
    std::lock_guard lock(channel->mutex);
    return channel->heardInputOffset(session->heard());
}

bool withStreamSource(std::uint32_t handle, const std::function<void(ByteSource&)>& fn) {
    const auto session = DeviceSession::current();
    const auto channel = session ? session->find(handle) : nullptr;
    if (!channel || channel->kind() != SOUND_KIND_URL) return false;
    ByteSource* source = channel->decoder().byteSource();
    if (!source) return false;
    fn(*source);
    return true;
}

}  // namespace soundlib
