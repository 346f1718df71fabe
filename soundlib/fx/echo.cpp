#include "soundlib/fx/echo.h"

#include <algorithm>
#include <cmath>

#include "soundlib/fx/denormal_guard.h"
#include "soundlib/fx/parameter_range.h"

namespace soundlib::fx {
namespace {

constexpr double kGlideSeconds = 0.02;
constexpr float kMaxDelayMs = 2000.0f;

}  // namespace

Echo::Echo() : RecordEffect({50.0f, 50.0f, 500.0f, 500.0f, 0}) {
    setSampleRate(sampleRate_);
}

bool Echo::valid(const SoundFxEcho& p) const {
    return inRange(p.wetDryMix, 0.0f, 100.0f) && inRange(p.feedback, 0.0f, 100.0f) &&
           inRange(p.leftDelay, 1.0f, kMaxDelayMs) && inRange(p.rightDelay, 1.0f, kMaxDelayMs);
}

void Echo::setSampleRate(double hz) {
    sampleRate_ = hz;
    for (SmoothedValue* s : {&mix_, &feedback_, &cross_}) s->configure(hz, kGlideSeconds);
    fadeStep_ = static_cast<float>(1.0 / (kGlideSeconds * hz));
    const auto maxDelay = static_cast<std::size_t>(std::ceil(kMaxDelayMs * hz / 1000.0)) + 1;
    left_.ensureCapacity(maxDelay);
    right_.ensureCapacity(maxDelay);
    gate_.setMemory(maxDelay);
    updateTargets();
}

void Echo::updateTargets() {
    const auto perMs = static_cast<float>(sampleRate_ / 1000.0);
    mix_.set(params_.wetDryMix / 100.0f, !running_);
    feedback_.set(params_.feedback / 100.0f, !running_);
    leftDelay_.set(params_.leftDelay * perMs, !running_);
    rightDelay_.set(params_.rightDelay * perMs, !running_);
    cross_.set(params_.panDelay != 0 ? 1.0f : 0.0f, !running_);
}

void Echo::process(float* samples, std::size_t frames) {
    running_ = true;
    const DenormalGuard guard;
    float level = 0.0f;
    for (std::size_t i = 0; i < frames; ++i) {
        float* frame = samples + 2 * i;
        const float mix = mix_.next();
        const float feedback = feedback_.next();
        const float cross = cross_.next();
        const float wetLeft = leftDelay_.read(left_, fadeStep_);
        const float wetRight = rightDelay_.read(right_, fadeStep_);
        level = std::max(level, loudest(frame[0], frame[1], wetLeft, wetRight));
        const float backLeft = wetLeft + (wetRight - wetLeft) * cross;
        const float backRight = wetRight + (wetLeft - wetRight) * cross;
        left_.write(flushTiny(frame[0] + feedback * backLeft));
        right_.write(flushTiny(frame[1] + feedback * backRight));
        frame[0] += (wetLeft - frame[0]) * mix;
        frame[1] += (wetRight - frame[1]) * mix;
    }
    if (gate_.died(level, frames)) {
        left_.clear();
        right_.clear();
    }
}

void Echo::reset() {
    left_.clear();
    right_.clear();
    gate_.reset();
    running_ = false;
    updateTargets();
}

}  // namespace soundlib::fx
