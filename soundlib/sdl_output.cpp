#include "soundlib/sdl_output.h"

#include <SDL.h>

#include "soundlib/soundlib.h"

namespace soundlib {

std::unique_ptr<SdlOutput> SdlOutput::open(int device, int rate, PullFrames pull, int& error) {
    error = SOUND_ERROR_OUTPUT;
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) return nullptr;
    std::unique_ptr<SdlOutput> output(new SdlOutput(std::move(pull)));
    std::string name;
    if (device >= 2) {
        const char* found = SDL_GetAudioDeviceName(device - 2, 0);
        if (!found) {
            error = SOUND_ERROR_DEVICE;
            SDL_QuitSubSystem(SDL_INIT_AUDIO);
            return nullptr;
        }
        name = found;
    }
    SDL_AudioSpec want{};
    want.freq = rate;
    want.format = AUDIO_S16SYS;
    want.channels = 2;
    want.samples = 2048;
    want.callback = &SdlOutput::callback;
    want.userdata = output.get();
    SDL_AudioSpec have{};
    output->device_ =
        SDL_OpenAudioDevice(name.empty() ? nullptr : name.c_str(), 0, &want, &have, 0);
    if (output->device_ == 0) {
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        return nullptr;
    }
    output->latency_ = have.samples;
    SDL_PauseAudioDevice(output->device_, 0);
    error = SOUND_OK;
    return output;
}

SdlOutput::~SdlOutput() {
    if (device_ != 0) {
        SDL_CloseAudioDevice(device_);  // waits for a running callback
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
    }
}

void SdlOutput::callback(void* self, unsigned char* stream, int bytes) {
    static_cast<SdlOutput*>(self)->pull_(reinterpret_cast<std::int16_t*>(stream),
                                         static_cast<std::size_t>(bytes) / 4);
}

std::vector<std::string> SdlOutput::deviceNames() {
    std::vector<std::string> names;
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) return names;
    const int count = SDL_GetNumAudioDevices(0);
    for (int i = 0; i < count; ++i) {
        const char* name = SDL_GetAudioDeviceName(i, 0);
        names.emplace_back(name ? name : "");
    }
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
    return names;
}

}  // namespace soundlib
