// One frame of each display at the window's drawing size (537 x 290), drawn and copied
// onto the drawing surface, from a chord with noise whose level swells, so the bars rise
// and sink from frame to frame. With ZORVAN_BENCH_FIXTURES set, the audio is also written
// there as raw 32-bit float stereo (input.f32), so bench/run.sh can time ffmpeg's own
// spectrum, waveform and vector displays on it.
#include <benchmark/benchmark.h>

#include <array>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <numbers>
#include <random>
#include <vector>

#include "player/vis/circle_scope.h"
#include "player/vis/ocillo_scope.h"
#include "player/vis/spectrum.h"
#include "soundlib/spectrum.h"

namespace {

constexpr int kRate = 44100;
constexpr int kFramesPerSecond = 20;  // the window's timer
constexpr int kTicks = 200;           // ten seconds of display
constexpr int kHop = kRate / kFramesPerSecond;
const QSize kSize(537, 290);

struct Ticks {
    std::vector<std::array<float, TSpectrum::kBins>> fft;
    std::vector<std::array<std::int16_t, 2 * TOcilloScope::kFrames>> samples;
};

const Ticks& ticks() {
    static const Ticks made = [] {
        std::vector<float> stereo(2 * static_cast<std::size_t>(kHop * kTicks + 1024));
        std::mt19937 gen(7);
        std::uniform_real_distribution<float> noise(-0.05f, 0.05f);
        for (std::size_t i = 0; i < stereo.size() / 2; ++i) {
            const double t = static_cast<double>(i) / kRate;
            const double swell = 0.5 + 0.4 * std::sin(2 * std::numbers::pi * 0.7 * t);
            const double chord = std::sin(2 * std::numbers::pi * 220 * t) +
                                 0.5 * std::sin(2 * std::numbers::pi * 554.4 * t) +
                                 0.3 * std::sin(2 * std::numbers::pi * 1318.5 * t);
            stereo[2 * i] = static_cast<float>(0.3 * swell * chord) + noise(gen);
            stereo[2 * i + 1] = static_cast<float>(0.3 * swell * chord) + noise(gen);
        }
        if (const char* dir = std::getenv("ZORVAN_BENCH_FIXTURES")) {
            std::ofstream out(std::filesystem::path(dir) / "input.f32", std::ios::binary);
            out.write(reinterpret_cast<const char*>(stereo.data()),
                      static_cast<std::streamsize>(stereo.size() * sizeof(float)));
        }
        Ticks ticks;
        soundlib::Spectrum transform;
        std::array<float, soundlib::Spectrum::kSize> mono;
        for (int tick = 0; tick < kTicks; ++tick) {
            const std::size_t start = static_cast<std::size_t>(tick) * kHop;
            for (std::size_t n = 0; n < mono.size(); ++n)
                mono[n] = (stereo[2 * (start + n)] + stereo[2 * (start + n) + 1]) / 2;
            transform.magnitudes(mono.data(), ticks.fft.emplace_back().data());
            auto& block = ticks.samples.emplace_back();
            for (std::size_t n = 0; n < block.size(); ++n)
                block[n] = static_cast<std::int16_t>(stereo[2 * start + n] * 32767);
        }
        return ticks;
    }();
    return made;
}

template <class Renderer, class Data>
void drawFrames(benchmark::State& state, Renderer& renderer, const std::vector<Data>& data, int x,
                int y) {
    QImage surface(kSize, QImage::Format_RGB32);
    std::size_t tick = 0;
    for (auto _ : state) {
        renderer.Draw(surface, data[tick++ % data.size()].data(), x, y);
        benchmark::DoNotOptimize(surface.constBits());
    }
}

void BM_SpectrumBarsFrame(benchmark::State& state) {
    TSpectrum spectrum(kSize.width(), kSize.height());
    drawFrames(state, spectrum, ticks().fft, 20, -10);
}
BENCHMARK(BM_SpectrumBarsFrame)->Unit(benchmark::kMicrosecond);

void BM_SpectrumLinesFrame(benchmark::State& state) {
    TSpectrum spectrum(kSize.width(), kSize.height());
    spectrum.Style = 0;
    drawFrames(state, spectrum, ticks().fft, 20, -10);
}
BENCHMARK(BM_SpectrumLinesFrame)->Unit(benchmark::kMicrosecond);

void BM_OcilloScopeFrame(benchmark::State& state) {
    TOcilloScope scope(kSize.width(), kSize.height());
    scope.Style = static_cast<int>(state.range(0));
    drawFrames(state, scope, ticks().samples, 20, 145);
}
BENCHMARK(BM_OcilloScopeFrame)->Arg(0)->Arg(1)->Arg(3)->Unit(benchmark::kMicrosecond);

void BM_CircleScopeFrame(benchmark::State& state) {
    TCircleScope scope(kSize.width(), kSize.height());
    scope.Style = static_cast<int>(state.range(0));
    drawFrames(state, scope, ticks().samples, 250, 145);
}
BENCHMARK(BM_CircleScopeFrame)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

}  // namespace
