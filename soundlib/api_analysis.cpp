// What is heard (levels, sample data, spectrum), and the callbacks on the mixer thread.
#include <cmath>
#include <vector>

#include "soundlib/device_session.h"
#include "soundlib/error.h"
#include "soundlib/soundlib.h"
#include "soundlib/spectrum.h"

using namespace soundlib;

namespace {

constexpr std::uint32_t kMaxDataBytes = 16384;

std::shared_ptr<Channel> findChannel(std::shared_ptr<DeviceSession>& session,
                                     std::uint32_t handle) {
    session = DeviceSession::current();
    if (!session) return fail(SOUND_ERROR_INIT, std::shared_ptr<Channel>());
    auto channel = session->find(handle);
    if (!channel) return fail(SOUND_ERROR_HANDLE, std::shared_ptr<Channel>());
    setError(SOUND_OK);
    return channel;
}

}  // namespace

extern "C" {

int32_t BASS_ChannelGetLevel(uint32_t handle) {
    std::shared_ptr<DeviceSession> session;
    const auto channel = findChannel(session, handle);
    if (!channel) return -1;
    std::lock_guard lock(channel->mutex);
    const int level = channel->level(session->heard());
    return level < 0 ? fail(SOUND_ERROR_NOTAVAIL, -1) : level;
}

int32_t BASS_ChannelGetData(uint32_t handle, void* buffer, uint32_t length) {
    std::shared_ptr<DeviceSession> session;
    const auto channel = findChannel(session, handle);
    if (!channel) return -1;
    if (!buffer) return fail(SOUND_ERROR_PARAM, -1);
    const bool fft = length == SOUND_DATA_FFT1024;
    if (!fft && ((length & 0x80000000u) || length > kMaxDataBytes)) {
        return fail(SOUND_ERROR_PARAM, -1);
    }
    const std::size_t frames = fft ? Spectrum::kSize : length / 4;
    std::vector<float> heard(frames * 2);
    {
        std::lock_guard lock(channel->mutex);
        if (!channel->history(session->heard(), heard.data(), frames)) {
            return fail(SOUND_ERROR_NOTAVAIL, -1);
        }
    }
    if (fft) {
        thread_local Spectrum spectrum;
        std::vector<float> mono(frames);
        for (std::size_t i = 0; i < frames; ++i) mono[i] = 0.5f * (heard[2 * i] + heard[2 * i + 1]);
        if (!spectrum.magnitudes(mono.data(), static_cast<float*>(buffer))) {
            return fail(SOUND_ERROR_UNKNOWN, -1);
        }
        return Spectrum::kSize / 2 * static_cast<int32_t>(sizeof(float));
    }
    auto* out = static_cast<std::int16_t*>(buffer);
    for (std::size_t i = 0; i < frames * 2; ++i) {
        const long v = std::lrintf(heard[i] * 32768.0f);
        out[i] = static_cast<std::int16_t>(v < -32768 ? -32768 : v > 32767 ? 32767 : v);
    }
    return static_cast<int32_t>(frames * 4);
}

uint32_t BASS_ChannelSetDSP(uint32_t handle, SoundDspProc* proc, void* user, int priority) {
    std::shared_ptr<DeviceSession> session;
    const auto channel = findChannel(session, handle);
    if (!channel) return 0;
    if (!proc) return fail(SOUND_ERROR_PARAM, 0u);
    std::lock_guard lock(channel->mutex);
    return channel->addDsp(proc, user, priority);
}

int BASS_ChannelRemoveDSP(uint32_t handle, uint32_t dsp) {
    std::shared_ptr<DeviceSession> session;
    const auto channel = findChannel(session, handle);
    if (!channel) return 0;
    std::lock_guard lock(channel->mutex);
    return channel->removeDsp(dsp) ? 1 : fail(SOUND_ERROR_HANDLE, 0);
}

uint32_t BASS_ChannelSetSync(uint32_t handle, uint32_t type, int64_t, SoundSyncProc* proc,
                             void* user) {
    std::shared_ptr<DeviceSession> session;
    const auto channel = findChannel(session, handle);
    if (!channel) return 0;
    if (!proc || type != SOUND_SYNC_END) return fail(SOUND_ERROR_PARAM, 0u);
    std::lock_guard lock(channel->mutex);
    return channel->addSync(type, proc, user);
}

int BASS_ChannelRemoveSync(uint32_t handle, uint32_t sync) {
    std::shared_ptr<DeviceSession> session;
    const auto channel = findChannel(session, handle);
    if (!channel) return 0;
    std::lock_guard lock(channel->mutex);
    return channel->removeSync(sync) ? 1 : fail(SOUND_ERROR_HANDLE, 0);
}

}  // extern "C"
