#include "player/engine/sample_effects.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "soundlib/soundlib.h"

int ClampSample(int value) {
    return std::clamp(value, -32768, 32767);
}

SampleEffect::~SampleEffect() {
    Stop();
}

void SampleEffect::Start(std::uint32_t channel) {
    Stop();
    Reset();
    Attach(channel);
}

void SampleEffect::Follow(std::uint32_t channel) {
    Stop();
    Attach(channel);
}

void SampleEffect::Stop() {
    // The channel may be gone already, which took the routine with it.
    if (handle_ != 0) BASS_ChannelRemoveDSP(channel_, handle_);
    channel_ = 0;
    handle_ = 0;
}

void SampleEffect::Attach(std::uint32_t channel) {
    channel_ = channel;
    handle_ = BASS_ChannelSetDSP(channel, &SampleEffect::Routine, this, 2);
}

void SampleEffect::Routine(std::uint32_t, std::uint32_t, void* buffer, std::uint32_t length,
                           void* user) {
    static_cast<SampleEffect*>(user)->Process(static_cast<std::int16_t*>(buffer), length / 4);
}

void RotateDSP::Reset() {
    phase_ = 0.7853981f;
}

void RotateDSP::Process(std::int16_t* frames, std::size_t count) {
    constexpr float kTwoPi = 2 * std::numbers::pi_v<float>;
    for (std::size_t i = 0; i < count; ++i) {
        const long double left = std::sin(double{phase_}), right = std::cos(double{phase_});
        frames[2 * i] = static_cast<std::int16_t>(left * frames[2 * i]);
        frames[2 * i + 1] = static_cast<std::int16_t>(right * frames[2 * i + 1]);
        // Kept within one turn: a large float phase would stop growing by so small a step.
        phase_ += 0.00003f;
        if (phase_ >= kTwoPi) phase_ -= kTwoPi;
    }
}

void EchoDSP::Reset() {
    ClearRing();
}

void EchoDSP::Process(std::int16_t* frames, std::size_t count) {
    for (std::size_t i = 0; i < count; ++i) {
        const int left = frames[2 * i], right = frames[2 * i + 1];
        std::int16_t* echo = Oldest();
        const int outLeft = left + echo[1] / 2;
        const int outRight = right + echo[0] / 2;
        echo[0] = static_cast<std::int16_t>(left);
        echo[1] = static_cast<std::int16_t>(right);
        frames[2 * i] = static_cast<std::int16_t>(ClampSample(outLeft));
        frames[2 * i + 1] = static_cast<std::int16_t>(ClampSample(outRight));
        Advance();
    }
}

void FlangerDSP::Reset() {
    ClearRing();
    sweep_ = 175.0f;
    step_ = 0.002f;
}

void FlangerDSP::Process(std::int16_t* frames, std::size_t count) {
    for (std::size_t i = 0; i < count; ++i) {
        // The sweep may step just below 0 before it turns; truncated, it reads as 0 there.
        const std::size_t ahead = static_cast<std::size_t>(static_cast<int>(sweep_)) + index_;
        const std::int16_t* near = At(ahead);
        const std::int16_t* far = At(ahead + 1);
        const float f = sweep_ - std::trunc(sweep_);
        std::int16_t* oldest = Oldest();
        for (std::size_t side = 0; side < 2; ++side) {
            const int dry = frames[2 * i + side];
            const int delayed = static_cast<int>((1 - f) * near[side] + f * far[side]);
            oldest[side] = static_cast<std::int16_t>(dry);
            frames[2 * i + side] = static_cast<std::int16_t>(ClampSample(delayed + dry));
        }
        Advance();
        sweep_ += step_;
        if (sweep_ < 0 || sweep_ > static_cast<float>(kFrames)) step_ = -step_;
    }
}
