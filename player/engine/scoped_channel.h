#pragma once
// Owns a sound-library handle of either kind and frees it as a stream and as a music
// when it goes out of scope (the call that does not fit the kind fails harmlessly).
#include <cstdint>
#include <utility>

#include "soundlib/soundlib.h"

class ScopedChannel {
public:
    explicit ScopedChannel(std::uint32_t handle = 0) : handle_(handle) {}
    ~ScopedChannel() { Free(handle_); }
    ScopedChannel(const ScopedChannel&) = delete;
    ScopedChannel& operator=(const ScopedChannel&) = delete;

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
