// Library-wide calls: version, errors, options.
#include "soundlib/config.h"
#include "soundlib/error.h"
#include "soundlib/soundlib.h"

using namespace soundlib;

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

}  // extern "C"
