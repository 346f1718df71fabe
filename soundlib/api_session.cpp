// DeviceSession-wide calls: version, errors, options, output, master volume, load, devices.
#include <algorithm>
#include <cstring>
#include <deque>
#include <mutex>
#include <string>

#include "soundlib/config.h"
#include "soundlib/device_session.h"
#include "soundlib/error.h"
#include "soundlib/sdl_output.h"
#include "soundlib/soundlib.h"

using namespace soundlib;

namespace {

// Device names handed out stay valid for the life of the process.
const char* keepName(const std::string& name) {
    static std::mutex mutex;
    static std::deque<std::string> names;
    std::lock_guard lock(mutex);
    auto it = std::find(names.begin(), names.end(), name);
    if (it == names.end()) it = names.insert(names.end(), name);
    return it->c_str();
}

}  // namespace

extern "C" {

uint32_t BASS_GetVersion(void) {
    return 2;
}

int BASS_ErrorGetCode(void) {
    return lastError();
}

int32_t BASS_SetConfig(uint32_t option, uint32_t value) {
    const std::int32_t result = setConfig(option, value);
    setError(result < 0 ? SOUND_ERROR_PARAM : SOUND_OK);
    return result;
}

int32_t BASS_GetConfig(uint32_t option) {
    const std::int32_t result = getConfig(option);
    setError(result < 0 ? SOUND_ERROR_PARAM : SOUND_OK);
    return result;
}

int BASS_Init(int device, uint32_t freq, uint32_t flags, void*, const void*) {
    const int error =
        DeviceSession::init(device, freq == 0 ? 44100 : static_cast<int>(freq), flags);
    setError(error);
    return error == SOUND_OK;
}

int BASS_Start(void) {
    if (!DeviceSession::current()) return fail(SOUND_ERROR_INIT, 0);
    setError(SOUND_OK);
    return 1;
}

int BASS_Free(void) {
    const int error = DeviceSession::free();
    setError(error);
    return error == SOUND_OK;
}

int32_t BASS_Render(void* buffer, uint32_t frames) {
    const auto session = DeviceSession::current();
    if (!session) return fail(SOUND_ERROR_INIT, -1);
    if (!buffer || frames > 0x7FFFFFFF) return fail(SOUND_ERROR_PARAM, -1);
    if (!session->render(static_cast<std::int16_t*>(buffer), frames)) {
        return fail(SOUND_ERROR_NOTAVAIL, -1);
    }
    setError(SOUND_OK);
    return static_cast<int32_t>(frames);
}

int BASS_SetVolume(uint32_t volume) {
    const auto session = DeviceSession::current();
    if (!session) return fail(SOUND_ERROR_INIT, 0);
    if (volume > 100) return fail(SOUND_ERROR_PARAM, 0);
    session->setVolume(static_cast<int>(volume));
    setError(SOUND_OK);
    return 1;
}

int32_t BASS_GetVolume(void) {
    const auto session = DeviceSession::current();
    if (!session) return fail(SOUND_ERROR_INIT, -1);
    setError(SOUND_OK);
    return session->volume();
}

float BASS_GetCPU(void) {
    const auto session = DeviceSession::current();
    if (!session) return fail(SOUND_ERROR_INIT, 0.0f);
    setError(SOUND_OK);
    return session->cpu();
}

int BASS_GetInfo(SoundDeviceInfo* info) {
    const auto session = DeviceSession::current();
    if (!session) return fail(SOUND_ERROR_INIT, 0);
    if (!info || info->size < sizeof(info->size)) return fail(SOUND_ERROR_PARAM, 0);
    SoundDeviceInfo full{};
    full.size = info->size;
    full.minrate = 8000;
    full.maxrate = 192000;
    full.dsver = 9;
    full.speakers = 2;
    full.freq = static_cast<uint32_t>(session->rate());
    full.latency = static_cast<uint32_t>(session->latencyFrames() * 1000 / session->rate());
    full.device = static_cast<uint32_t>(session->device());
    std::memcpy(info, &full, std::min<std::size_t>(info->size, sizeof full));
    setError(SOUND_OK);
    return 1;
}

const char* BASS_GetDeviceDescription(int device) {
    if (device == 0) return keepName("No sound");
    if (device == 1) return keepName("Default output");
    if (device >= 2) {
        const auto names = SdlOutput::deviceNames();
        if (static_cast<std::size_t>(device - 2) < names.size()) {
            setError(SOUND_OK);
            return keepName(names[static_cast<std::size_t>(device - 2)]);
        }
    }
    return fail(SOUND_ERROR_DEVICE, static_cast<const char*>(nullptr));
}

}  // extern "C"
