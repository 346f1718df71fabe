#pragma once
// Tells an effect with a feedback memory when its tail has died away: once input and
// memory output stay below -160 dB for longer than the memory holds, the memory carries
// nothing audible and is cleared, so that silence in gives exact silence out instead of
// a tail that shrinks for minutes.
#include <cmath>
#include <cstddef>

namespace soundlib::fx {

class TailGate {
public:
    static constexpr float kFloor = 1e-8f;

    // `frames`: how long the memory remembers.
    void setMemory(std::size_t frames) { memory_ = frames; }
    // Feeds a block's largest magnitude; true once, when the memory should be cleared.
    bool died(float level, std::size_t frames) {
        if (level > kFloor) {
            quiet_ = 0;
            return false;
        }
        if (quiet_ > memory_) return false;
        quiet_ += frames;
        return quiet_ > memory_;
    }
    void reset() { quiet_ = 0; }

private:
    std::size_t memory_ = 0;
    std::size_t quiet_ = 0;
};

// The largest magnitude of four samples (without the slow initializer-list max).
inline float loudest(float a, float b, float c, float d) {
    const float ab = std::fabs(a) > std::fabs(b) ? std::fabs(a) : std::fabs(b);
    const float cd = std::fabs(c) > std::fabs(d) ? std::fabs(c) : std::fabs(d);
    return ab > cd ? ab : cd;
}

}  // namespace soundlib::fx
