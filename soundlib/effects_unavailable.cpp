// Built only when the channel-effects part is absent: its calls exist and refuse.
#include "soundlib/error.h"
#include "soundlib/soundlib.h"

extern "C" {

uint32_t BASS_ChannelSetFX(uint32_t, uint32_t) {
    return soundlib::fail(SOUND_ERROR_NOTAVAIL, 0u);
}
int BASS_ChannelRemoveFX(uint32_t, uint32_t) {
    return soundlib::fail(SOUND_ERROR_NOTAVAIL, 0);
}
int BASS_FXSetParameters(uint32_t, const void*) {
    return soundlib::fail(SOUND_ERROR_NOTAVAIL, 0);
}
int BASS_FXGetParameters(uint32_t, void*) {
    return soundlib::fail(SOUND_ERROR_NOTAVAIL, 0);
}

}  // extern "C"
