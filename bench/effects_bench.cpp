// The whole channel-effect chain the player can switch on: nine equalizer bands and all
// seven effects, on one second of stereo 44.1 kHz audio per iteration. The input is a
// fixed mix of tones and noise; with ZORVAN_BENCH_FIXTURES set it is also written there
// as raw 32-bit float stereo (input.f32), so bench/run.sh can time sox on the same audio.
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <numbers>
#include <random>
#include <vector>

#include "soundlib/channel_effect.h"
#include "soundlib/soundlib_fx.h"

namespace {

constexpr int kRate = 44100;
constexpr int kSeconds = 30;

std::vector<float> makeInput() {
    std::vector<float> samples(2 * kRate * kSeconds);
    std::mt19937 gen(5);
    std::uniform_real_distribution<float> noise(-0.05f, 0.05f);
    for (std::size_t i = 0; i < samples.size() / 2; ++i) {
        const double t = static_cast<double>(i) / kRate;
        // A chord whose level swells, so the compressor and gates have work to do.
        const double swell = 0.5 + 0.4 * std::sin(2 * std::numbers::pi * 0.3 * t);
        const double chord = std::sin(2 * std::numbers::pi * 220 * t) +
                             0.5 * std::sin(2 * std::numbers::pi * 277.2 * t) +
                             0.3 * std::sin(2 * std::numbers::pi * 329.6 * t);
        samples[2 * i] = static_cast<float>(0.3 * swell * chord) + noise(gen);
        samples[2 * i + 1] = static_cast<float>(0.3 * swell * chord) + noise(gen);
    }
    if (const char* dir = std::getenv("ZORVAN_BENCH_FIXTURES")) {
        std::ofstream out(std::filesystem::path(dir) / "input.f32", std::ios::binary);
        out.write(reinterpret_cast<const char*>(samples.data()),
                  static_cast<std::streamsize>(samples.size() * sizeof(float)));
    }
    return samples;
}

std::vector<std::unique_ptr<soundlib::ChannelEffect>> makeChain() {
    std::vector<std::unique_ptr<soundlib::ChannelEffect>> chain;
    auto add = [&](int type, const void* record) {
        auto effect = soundlib::createChannelEffect(type);
        effect->setSampleRate(kRate);
        effect->setParameters(record);
        chain.push_back(std::move(effect));
    };
    // The bands of a typical preset, so that none takes the flat shortcut.
    const float centres[] = {80, 125, 250, 500, 1000, 2000, 4000, 8000, 16000};
    const float gains[] = {2, 5, 1, -1, -1, 1, 2, 4, 4};
    for (int b = 0; b < 9; ++b) {
        const SoundFxParamEq band{centres[b], 18, gains[b]};
        add(SOUND_FX_PARAMEQ, &band);
    }
    const SoundFxChorus chorus{50, 10, 25, 1.1f, 1, 16, 3};
    const SoundFxCompressor compressor{0, 10, 200, -20, 3, 4};
    const SoundFxDistortion distortion{-18, 15, 2400, 2400, 8000};
    const SoundFxEcho echo{50, 50, 500, 500, 0};
    const SoundFxFlanger flanger{50, 100, -50, 0.25f, 1, 2, 2};
    const SoundFxGargle gargle{20, 0};
    const SoundFxReverb reverb{0, -6, 1000, 0.5f};
    add(SOUND_FX_CHORUS, &chorus);
    add(SOUND_FX_COMPRESSOR, &compressor);
    add(SOUND_FX_DISTORTION, &distortion);
    add(SOUND_FX_ECHO, &echo);
    add(SOUND_FX_FLANGER, &flanger);
    add(SOUND_FX_GARGLE, &gargle);
    add(SOUND_FX_REVERB, &reverb);
    return chain;
}

// One iteration: one second of audio through the chain in blocks of 1024 frames, as the
// mixer hands them over.
void BM_FullChainPerSecond(benchmark::State& state) {
    static const std::vector<float> input = makeInput();
    auto chain = makeChain();
    std::vector<float> block(2 * 1024);
    std::size_t second = 0;
    for (auto _ : state) {
        const float* from = input.data() + 2 * kRate * (second++ % kSeconds);
        for (int done = 0; done < kRate; done += 1024) {
            const int frames = std::min(1024, kRate - done);
            std::copy(from + 2 * done, from + 2 * (done + frames), block.begin());
            for (auto& effect : chain) effect->process(block.data(), frames);
            benchmark::DoNotOptimize(block.data());
        }
    }
    state.counters["x_realtime"] =
        benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_FullChainPerSecond)->Unit(benchmark::kMillisecond);

}  // namespace
