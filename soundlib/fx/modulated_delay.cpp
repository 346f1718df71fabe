#include "soundlib/fx/modulated_delay.h"

#include <algorithm>
#include <cmath>

#include "soundlib/fx/denormal_guard.h"
#include "soundlib/fx/parameter_range.h"

namespace soundlib::fx {
namespace {

constexpr double kGlideSeconds = 0.02;
constexpr float kMaxLfoHz = 10.0f;

float lfoValue(int waveform, float phase) {
    return waveform == 0 ? lfoTriangle(phase) : lfoSine(phase);
}

float slew(float current, float target, float limit) {
    return current + std::clamp(target - current, -limit, limit);
}

}  // namespace

ModulatedDelay::ModulatedDelay(const SoundFxChorus& defaults, float maxDelayMs)
    : RecordEffect(defaults), maxDelayMs_(maxDelayMs) {
    setSampleRate(sampleRate_);
}

bool ModulatedDelay::valid(const SoundFxChorus& p) const {
    return inRange(p.wetDryMix, 0.0f, 100.0f) && inRange(p.depth, 0.0f, 100.0f) &&
           inRange(p.feedback, -99.0f, 99.0f) && inRange(p.frequency, 0.0f, kMaxLfoHz) &&
           inRange(p.waveform, 0, 1) && inRange(p.delay, 0.0f, maxDelayMs_) &&
           inRange(p.phase, 0, 4);
}

void ModulatedDelay::setSampleRate(double hz) {
    sampleRate_ = hz;
    for (SmoothedValue* s : {&mix_, &depth_, &feedback_, &delay_}) s->configure(hz, kGlideSeconds);
    // Twice the centre delay at full depth, plus room for interpolation.
    const auto maxDelay = static_cast<std::size_t>(std::ceil(2.0 * maxDelayMs_ * hz / 1000.0)) + 2;
    left_.ensureCapacity(maxDelay);
    right_.ensureCapacity(maxDelay);
    gate_.setMemory(maxDelay);
    // Three times the steepest slope of a sine at the highest rate.
    lfoSlew_ = static_cast<float>(3.0 * 6.2831853 * kMaxLfoHz / hz);
    updateTargets();
}

void ModulatedDelay::updateTargets() {
    mix_.set(params_.wetDryMix / 100.0f, !running_);
    depth_.set(params_.depth / 100.0f, !running_);
    feedback_.set(params_.feedback / 100.0f, !running_);
    delay_.set(static_cast<float>(params_.delay * sampleRate_ / 1000.0), !running_);
    phase_.setStep(params_.frequency, sampleRate_);
    if (!running_) {
        lfoLeft_ = lfoValue(params_.waveform, phase_.value());
        lfoRight_ = lfoValue(params_.waveform, phase_.value() + 0.25f * (params_.phase - 2));
    }
}

void ModulatedDelay::process(float* samples, std::size_t frames) {
    running_ = true;
    const DenormalGuard guard;
    const float offset = 0.25f * static_cast<float>(params_.phase - 2);
    const float maxDelay = static_cast<float>(2.0 * maxDelayMs_ * sampleRate_ / 1000.0);
    float level = 0.0f;
    for (std::size_t i = 0; i < frames; ++i) {
        const float mix = mix_.next();
        const float depth = depth_.next();
        const float feedback = feedback_.next();
        const float delay = delay_.next();
        const float phase = phase_.value();
        lfoLeft_ = slew(lfoLeft_, lfoValue(params_.waveform, phase), lfoSlew_);
        lfoRight_ = slew(lfoRight_, lfoValue(params_.waveform, phase + offset), lfoSlew_);
        phase_.advance();
        // The lines hold only past input, so the shortest delay is one sample.
        const float dl = std::clamp(delay * (1.0f + depth * lfoLeft_), 1.0f, maxDelay);
        const float dr = std::clamp(delay * (1.0f + depth * lfoRight_), 1.0f, maxDelay);
        float* frame = samples + 2 * i;
        const float wetLeft = left_.tap(dl - 1.0f);
        const float wetRight = right_.tap(dr - 1.0f);
        level = std::max(level, loudest(frame[0], frame[1], wetLeft, wetRight));
        left_.write(flushTiny(frame[0] + feedback * wetLeft));
        right_.write(flushTiny(frame[1] + feedback * wetRight));
        frame[0] += (wetLeft - frame[0]) * mix;
        frame[1] += (wetRight - frame[1]) * mix;
    }
    if (gate_.died(level, frames)) {
        left_.clear();
        right_.clear();
    }
}

void ModulatedDelay::reset() {
    left_.clear();
    right_.clear();
    gate_.reset();
    phase_.reset();
    running_ = false;
    updateTargets();
}

}  // namespace soundlib::fx
