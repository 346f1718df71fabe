// Creating, freeing and driving channels: transport, lengths, positions, attributes.
#include <cmath>

#include "soundlib/device_session.h"
#include "soundlib/error.h"
#include "soundlib/file_byte_source.h"
#include "soundlib/music_decoder.h"
#include "soundlib/soundlib.h"
#include "soundlib/stream_opener.h"

using namespace soundlib;

namespace {

// The device session and the channel behind a handle, with the channel locked; `ok` is false
// (and the error code set) when either is missing or the kind does not fit.
struct Target {
    enum class Want { Any, Stream, Music };
    Target(std::uint32_t handle, Want want) : session(DeviceSession::current()) {
        if (!session) {
            setError(SOUND_ERROR_INIT);
            return;
        }
        channel = session->find(handle);
        if (!channel) {
            setError(SOUND_ERROR_HANDLE);
            return;
        }
        if ((want == Want::Stream && channel->isMusic()) ||
            (want == Want::Music && !channel->isMusic())) {
            setError(SOUND_ERROR_KIND);
            return;
        }
        lock = std::unique_lock(channel->mutex);
        ok = true;
        setError(SOUND_OK);
    }
    explicit operator bool() const { return ok; }
    Channel* operator->() const { return channel.get(); }

    std::shared_ptr<DeviceSession> session;
    std::shared_ptr<Channel> channel;
    std::unique_lock<std::recursive_mutex> lock;
    bool ok = false;
};
using Want = Target::Want;

std::uint32_t createStream(int mem, const void* file, std::int64_t offset, std::int64_t length,
                           bool wma, std::uint32_t flags) {
    const auto session = DeviceSession::current();
    if (!session) return fail(SOUND_ERROR_INIT, 0u);
    if (!file || offset < 0 || length < 0) return fail(SOUND_ERROR_PARAM, 0u);
    int error = SOUND_OK;
    auto decoder =
        openStreamDecoder(mem, file, offset, length, wma, error, (flags & SOUND_STREAM_PROBE) != 0);
    if (!decoder) return fail(error, 0u);
    setError(SOUND_OK);
    return session->add(wma ? SOUND_KIND_WMA : SOUND_KIND_FILE, std::move(decoder));
}

int freeChannel(std::uint32_t handle, Want want) {
    Target target(handle, want);
    if (!target) return 0;
    target.lock.unlock();
    target.session->remove(handle);
    return 1;
}

}  // namespace

extern "C" {

uint32_t BASS_StreamCreateFile(int mem, const void* file, int64_t offset, int64_t length,
                               uint32_t flags) {
    return createStream(mem, file, offset, length, false, flags);
}

uint32_t BASS_WMA_StreamCreateFile(int mem, const void* file, int64_t offset, int64_t length,
                                   uint32_t flags) {
    return createStream(mem, file, offset, length, true, flags);
}

uint32_t BASS_MusicLoad(int mem, const void* file, int64_t offset, uint32_t length, uint32_t,
                        uint32_t freq) {
    const auto session = DeviceSession::current();
    if (!session) return fail(SOUND_ERROR_INIT, 0u);
    if (!file || offset < 0 || freq > 192000 || (freq != 0 && freq < 8000)) {
        return fail(SOUND_ERROR_PARAM, 0u);
    }
    auto source = openByteSource(mem, file, offset, length);
    if (!source) return fail(SOUND_ERROR_FILEOPEN, 0u);
    int error = SOUND_OK;
    auto decoder =
        MusicDecoder::open(*source, freq ? static_cast<int>(freq) : session->rate(), error);
    if (!decoder) return fail(error, 0u);
    setError(SOUND_OK);
    return session->add(SOUND_KIND_MUSIC, std::move(decoder));
}

int BASS_StreamFree(uint32_t handle) {
    return freeChannel(handle, Want::Stream);
}
int BASS_MusicFree(uint32_t handle) {
    return freeChannel(handle, Want::Music);
}

int BASS_StreamPlay(uint32_t handle, int flush, uint32_t) {
    Target target(handle, Want::Stream);
    if (!target) return 0;
    return target->play(flush != 0, target.session->heard()) ? 1 : fail(SOUND_ERROR_POSITION, 0);
}

int BASS_MusicPlay(uint32_t handle) {
    Target target(handle, Want::Music);
    if (!target) return 0;
    return target->play(false, target.session->heard()) ? 1 : fail(SOUND_ERROR_POSITION, 0);
}

int BASS_ChannelPause(uint32_t handle) {
    Target target(handle, Want::Any);
    if (!target) return 0;
    if (target->activity() == SOUND_ACTIVE_STOPPED) return fail(SOUND_ERROR_NOTAVAIL, 0);
    target->pause();
    return 1;
}

int BASS_ChannelResume(uint32_t handle) {
    Target target(handle, Want::Any);
    if (!target) return 0;
    return target->resume() ? 1 : fail(SOUND_ERROR_NOTAVAIL, 0);
}

int BASS_ChannelStop(uint32_t handle) {
    Target target(handle, Want::Any);
    if (!target) return 0;
    target->stop();
    return 1;
}

uint32_t BASS_ChannelIsActive(uint32_t handle) {
    Target target(handle, Want::Any);
    return target ? target->activity() : std::uint32_t{SOUND_ACTIVE_STOPPED};
}

int64_t BASS_StreamGetLength(uint32_t handle) {
    Target target(handle, Want::Stream);
    if (!target) return -1;
    const std::int64_t frames = target->decoder().lengthFrames();
    return frames < 0 ? fail(SOUND_ERROR_NOTAVAIL, std::int64_t{-1}) : frames * 4;
}

int64_t BASS_MusicGetLength(uint32_t handle, int playlen) {
    Target target(handle, Want::Music);
    if (!target) return -1;
    auto& music = static_cast<MusicDecoder&>(target->decoder());
    return playlen ? music.lengthFrames() * 4 : music.orders();
}

int64_t BASS_ChannelGetPosition(uint32_t handle) {
    Target target(handle, Want::Any);
    if (!target) return -1;
    return target->position(target.session->heard()) * 4;
}

int BASS_ChannelSetPosition(uint32_t handle, int64_t pos) {
    Target target(handle, Want::Any);
    if (!target) return 0;
    if (pos < 0) return fail(SOUND_ERROR_PARAM, 0);
    return target->seek(pos / 4) ? 1 : fail(SOUND_ERROR_POSITION, 0);
}

float BASS_ChannelBytes2Seconds(uint32_t handle, int64_t pos) {
    Target target(handle, Want::Any);
    if (!target) return -1.0f;
    if (pos < 0) return fail(SOUND_ERROR_PARAM, -1.0f);
    return static_cast<float>(static_cast<double>(pos / 4) / target->sourceRate());
}

int64_t BASS_ChannelSeconds2Bytes(uint32_t handle, float pos) {
    Target target(handle, Want::Any);
    if (!target) return -1;
    if (!(pos >= 0) || pos > 1e7f) return fail(SOUND_ERROR_PARAM, std::int64_t{-1});
    return std::llround(static_cast<double>(pos) * target->sourceRate()) * 4;
}

int BASS_ChannelGetInfo(uint32_t handle, SoundChannelInfo* info) {
    Target target(handle, Want::Any);
    if (!target) return 0;
    if (!info) return fail(SOUND_ERROR_PARAM, 0);
    const SourceFormat& format = target->sourceFormat();
    info->freq = static_cast<uint32_t>(format.rate);
    info->chans = static_cast<uint32_t>(format.channels);
    info->flags = format.eightBit ? SOUND_SAMPLE_8BITS : 0;
    info->kind = static_cast<uint32_t>(target->kind());
    return 1;
}

int BASS_ChannelSetAttributes(uint32_t handle, int freq, int volume, int pan) {
    Target target(handle, Want::Any);
    if (!target) return 0;
    return target->setAttributes(freq, volume, pan) ? 1 : fail(SOUND_ERROR_PARAM, 0);
}

int BASS_ChannelGetAttributes(uint32_t handle, uint32_t* freq, uint32_t* volume, int* pan) {
    Target target(handle, Want::Any);
    if (!target) return 0;
    if (freq) *freq = static_cast<uint32_t>(target->frequency());
    if (volume) *volume = static_cast<uint32_t>(target->volume());
    if (pan) *pan = target->pan();
    return 1;
}

}  // extern "C"

namespace soundlib {

bool withChannelEffects(std::uint32_t handle, const std::function<void(EffectChain&)>& fn) {
    const auto session = DeviceSession::current();
    const auto channel = session ? session->find(handle) : nullptr;
    if (!channel) return false;
    fn(channel->effects());
    return true;
}

}  // namespace soundlib
