#pragma once
// Owns a sound-library handle of either kind and frees it as a stream and as a music
// when it goes out of scope (the call that does not fit the kind fails harmlessly).
#include <cstdint>
#include <utility>

#include "soundlib/soundlib.h"

class TScopedChannel {
public:
    explicit TScopedChannel(std::uint32_t handle = 0) : handle_(handle) {}
    ~TScopedChannel() { Free(handle_); }
    TScopedChannel(const TScopedChannel&) = delete;
    TScopedChannel& operator=(const TScopedChannel&) = delete;

    std::uint32_t get() const { return handle_; }
    explicit operator bool() const { return handle_ != 0; }

    static void Free(std::uint32_t handle) {
        if (handle == 0) return;
        BASS_StreamFree(handle);
        BASS_MusicFree(handle);
    }

private:
    std::uint32_t handle_;
};
