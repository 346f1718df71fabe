// The sound library's own costs: decoding through the mixer, unpaced, per format (one
// minute of audio per iteration); measuring the length of a 5-minute MP3 with a LAME
// header; and the load BASS_GetCPU reports while an MP3 plays in real time. The files are
// made with the ffmpeg tool in ZORVAN_BENCH_FIXTURES (or a temporary folder), where
// bench/peers/soundlib_peer.py times `ffmpeg -i FILE -f null -` on the same files.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "soundlib/soundlib.h"

namespace {

namespace fs = std::filesystem;

fs::path folder() {
    static const fs::path dir = [] {
        if (const char* set = std::getenv("ZORVAN_BENCH_FIXTURES")) return fs::path(set);
        fs::path made = fs::temp_directory_path() / "zorvan-soundlib-bench";
        fs::create_directories(made);
        return made;
    }();
    return dir;
}

// A noise file of the format, made once: name "decode.<ext>" (one minute) or "long.mp3".
fs::path make(const std::string& name, const std::string& codec, int seconds) {
    const fs::path path = folder() / name;
    if (!fs::exists(path)) {
        const std::string command =
            "ffmpeg -nostdin -loglevel error -y -f lavfi -i "
            "anoisesrc=sample_rate=44100:duration=" +
            std::to_string(seconds) + ":seed=1:amplitude=0.3 -ac 2 " + codec + " '" +
            path.string() + "'";
        if (std::system(command.c_str()) != 0) return {};
    }
    return path;
}

uint32_t openAny(const char* path) {
    uint32_t handle = BASS_StreamCreateFile(0, path, 0, 0, 0);
    if (!handle) handle = BASS_WMA_StreamCreateFile(0, path, 0, 0, 0);
    return handle;
}

void decodeThroughMixer(benchmark::State& state, const std::string& ext, const std::string& codec) {
    const fs::path path = make("decode." + ext, codec, 60);
    if (path.empty() || !BASS_Init(0, 44100, SOUND_INIT_OFFLINE, nullptr, nullptr)) {
        state.SkipWithError("no fixture or no library");
        return;
    }
    std::vector<std::int16_t> block(2 * 65536);
    for (auto _ : state) {
        const uint32_t handle = openAny(path.c_str());
        BASS_StreamPlay(handle, 0, 0);
        while (BASS_ChannelIsActive(handle) != SOUND_ACTIVE_STOPPED) {
            BASS_Render(block.data(), 65536);
        }
        BASS_StreamFree(handle);
    }
    BASS_Free();
}

void BM_LengthOfLameMp3(benchmark::State& state) {
    const fs::path path = make("long.mp3", "-c:a libmp3lame -b:a 128k", 300);
    if (path.empty() || !BASS_Init(0, 44100, SOUND_INIT_OFFLINE, nullptr, nullptr)) {
        state.SkipWithError("no fixture or no library");
        return;
    }
    for (auto _ : state) {
        const uint32_t handle = BASS_StreamCreateFile(0, path.c_str(), 0, 0, 0);
        benchmark::DoNotOptimize(BASS_StreamGetLength(handle));
        BASS_StreamFree(handle);
    }
    BASS_Free();
}
BENCHMARK(BM_LengthOfLameMp3)->Unit(benchmark::kMicrosecond);

// Five seconds of real-time playback on the default output (SDL's dummy driver unless
// SDL_AUDIODRIVER says otherwise); the counter is BASS_GetCPU's mean, in percent.
void BM_PlayMp3RealTime(benchmark::State& state) {
    const fs::path path = make("long.mp3", "-c:a libmp3lame -b:a 128k", 300);
    setenv("SDL_AUDIODRIVER",
           std::getenv("SDL_AUDIODRIVER") ? std::getenv("SDL_AUDIODRIVER") : "dummy", 1);
    if (path.empty() || !BASS_Init(1, 44100, 0, nullptr, nullptr)) {
        state.SkipWithError("no fixture or no output");
        return;
    }
    double load = 0;
    for (auto _ : state) {
        const uint32_t handle = BASS_StreamCreateFile(0, path.c_str(), 0, 0, 0);
        BASS_StreamPlay(handle, 0, 0);
        std::this_thread::sleep_for(std::chrono::seconds(1));
        for (int i = 0; i < 5; ++i) {
            std::this_thread::sleep_for(std::chrono::seconds(1));
            load += BASS_GetCPU() / 5;
        }
        BASS_StreamFree(handle);
    }
    state.counters["cpu_percent"] = benchmark::Counter(load, benchmark::Counter::kAvgIterations);
    BASS_Free();
}
BENCHMARK(BM_PlayMp3RealTime)->Iterations(1)->Unit(benchmark::kMillisecond);

const bool registered = [] {
    const std::pair<const char*, const char*> formats[] = {
        {"mp3", "-c:a libmp3lame -b:a 192k"},
        {"mp2", "-c:a mp2 -b:a 192k"},
        {"ogg", "-c:a libvorbis -q:a 5"},
        {"wma", "-c:a wmav2 -b:a 128k"},
        {"wav", "-c:a pcm_s16le"},
    };
    for (const auto& [ext, codec] : formats) {
        benchmark::RegisterBenchmark(
            (std::string("BM_DecodeThroughMixer/") + ext).c_str(),
            [ext = std::string(ext), codec = std::string(codec)](benchmark::State& state) {
                decodeThroughMixer(state, ext, codec);
            })
            ->Unit(benchmark::kMillisecond);
    }
    return true;
}();

}  // namespace
