#pragma once
// Signals and measurements for the effect tests: stereo buffers, runs through an effect
// in blocks, tone amplitudes and decay times.
#include <cstddef>
#include <memory>
#include <vector>

#include "soundlib/channel_effect.h"

namespace fx_test {

constexpr double kRate = 44100.0;

// Interleaved stereo frames.
struct Stereo {
    std::vector<float> samples;

    explicit Stereo(std::size_t frames = 0) : samples(2 * frames, 0.0f) {}
    std::size_t frames() const { return samples.size() / 2; }
    float& left(std::size_t i) { return samples[2 * i]; }
    float& right(std::size_t i) { return samples[2 * i + 1]; }
    float left(std::size_t i) const { return samples[2 * i]; }
    float right(std::size_t i) const { return samples[2 * i + 1]; }
    std::vector<float> channel(int c) const;
};

Stereo sine(double hz, double amplitude, std::size_t frames, double rate = kRate);
Stereo impulse(std::size_t frames, float left = 1.0f, float right = 1.0f);
Stereo noise(std::size_t frames, float amplitude, unsigned seed = 1);

// The effect of `type` with `record` applied (nullptr keeps the defaults), at `rate`.
std::unique_ptr<soundlib::ChannelEffect> makeEffect(int type, const void* record,
                                                    double rate = kRate);
// Processes the whole buffer in place in blocks of `block` frames.
void run(soundlib::ChannelEffect& effect, Stereo& buffer, std::size_t block = 441);

// Amplitude of the `hz` component of x[from .. from+count) (one-bin Fourier sum).
double toneAmplitude(const std::vector<float>& x, double hz, std::size_t from, std::size_t count,
                     double rate = kRate);
double peak(const std::vector<float>& x, std::size_t from, std::size_t count);
double rms(const std::vector<float>& x, std::size_t from, std::size_t count);
double dB(double ratio);
// Largest |x[n+1] - 2 x[n] + x[n-1]|: a step or spike shows up far above a smooth tone's.
double maxSecondDifference(const std::vector<float>& x, std::size_t from, std::size_t count);
// Time in seconds for the energy decay (backward-integrated) of x to fall by 60 dB,
// extrapolated from its fall between -5 and -35 dB.
double decayTime60(const std::vector<float>& x, double rate = kRate);

}  // namespace fx_test
