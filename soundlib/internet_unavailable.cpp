// Built only when the internet-stream part is absent: its calls exist and refuse.
#include "soundlib/error.h"
#include "soundlib/soundlib.h"

extern "C" {

uint32_t BASS_StreamCreateURL(const char*, uint32_t, uint32_t, SoundDownloadProc*, void*) {
    return soundlib::fail(SOUND_ERROR_NOTAVAIL, 0u);
}

const char* BASS_StreamGetTags(uint32_t, uint32_t) {
    return soundlib::fail(SOUND_ERROR_NOTAVAIL, static_cast<const char*>(nullptr));
}

}  // extern "C"
