// Timings of the sound library for bench/soundlib_vs_ffmpeg.py, which runs the peer
// (the ffmpeg tool) on the same files in the same run and prints the ratios.
//
//   soundlib_bench decode FILE     decodes FILE through the mixer, unpaced; prints seconds
//   soundlib_bench length FILE N   opens FILE, takes its length, frees it, N times; prints
//                                  microseconds per round
//   soundlib_bench cpu FILE S      plays FILE in real time on the default output for S
//                                  seconds; prints BASS_GetCPU's mean over that time
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

#include "soundlib/soundlib.h"

namespace {

using Clock = std::chrono::steady_clock;

uint32_t openAny(const char* path) {
    uint32_t handle = BASS_StreamCreateFile(0, path, 0, 0, 0);
    if (!handle) handle = BASS_WMA_StreamCreateFile(0, path, 0, 0, 0);
    if (!handle) handle = BASS_MusicLoad(0, path, 0, 0, 0, 0);
    return handle;
}

int decode(const char* path) {
    if (!BASS_Init(0, 44100, SOUND_INIT_OFFLINE, nullptr, nullptr)) return 1;
    const auto start = Clock::now();
    const uint32_t handle = openAny(path);
    if (!handle) return 2;
    BASS_StreamPlay(handle, 0, 0);
    BASS_MusicPlay(handle);
    std::vector<std::int16_t> block(2 * 65536);
    while (BASS_ChannelIsActive(handle) != SOUND_ACTIVE_STOPPED) BASS_Render(block.data(), 65536);
    std::printf("%.6f\n", std::chrono::duration<double>(Clock::now() - start).count());
    BASS_Free();
    return 0;
}

int length(const char* path, int rounds) {
    if (!BASS_Init(0, 44100, SOUND_INIT_OFFLINE, nullptr, nullptr)) return 1;
    const auto start = Clock::now();
    for (int i = 0; i < rounds; ++i) {
        const uint32_t handle = openAny(path);
        if (!handle || BASS_StreamGetLength(handle) < 0) return 2;
        BASS_StreamFree(handle);
    }
    std::printf("%.3f\n",
                std::chrono::duration<double, std::micro>(Clock::now() - start).count() / rounds);
    BASS_Free();
    return 0;
}

int cpu(const char* path, int seconds) {
    if (!BASS_Init(1, 44100, 0, nullptr, nullptr)) return 1;
    const uint32_t handle = openAny(path);
    if (!handle || !BASS_StreamPlay(handle, 0, 0)) return 2;
    std::this_thread::sleep_for(std::chrono::seconds(1));
    double sum = 0;
    for (int i = 0; i < seconds; ++i) {
        std::this_thread::sleep_for(std::chrono::seconds(1));
        sum += BASS_GetCPU();
    }
    std::printf("%.4f\n", sum / seconds);
    BASS_Free();
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    const std::string mode = argc > 2 ? argv[1] : "";
    if (mode == "decode") return decode(argv[2]);
    if (mode == "length" && argc > 3) return length(argv[2], std::atoi(argv[3]));
    if (mode == "cpu" && argc > 3) return cpu(argv[2], std::atoi(argv[3]));
    std::fprintf(stderr, "usage: soundlib_bench decode FILE | length FILE N | cpu FILE S\n");
    return 64;
}
