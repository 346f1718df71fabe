#include "soundlib/fx/distortion.h"

#include <algorithm>
#include <cmath>

#include "soundlib/fx/denormal_guard.h"
#include "soundlib/fx/parameter_range.h"

namespace soundlib::fx {
namespace {

constexpr std::size_t kBlock = 32;
constexpr double kGlideSeconds = 0.02;

// Drive of the clipper (1 + k) x / (1 + k |x|): none at edge 0, nearly hard clipping at 100.
float driveForEdge(float edge) {
    const float e = std::min(edge / 100.0f, 0.99f);
    return 2.0f * e / (1.0f - e);
}

float clip(float x, float k) {
    return (1.0f + k) * x / (1.0f + k * std::fabs(x));
}

}  // namespace

Distortion::Distortion() : RecordEffect({-18.0f, 15.0f, 2400.0f, 2400.0f, 8000.0f}) {
    setSampleRate(sampleRate_);
}

bool Distortion::valid(const SoundFxDistortion& p) const {
    return inRange(p.gain, -60.0f, 0.0f) && inRange(p.edge, 0.0f, 100.0f) &&
           inRange(p.postEqCentre, 100.0f, 8000.0f) &&
           inRange(p.postEqBandwidth, 100.0f, 8000.0f) &&
           inRange(p.preLowpassCutoff, 100.0f, 8000.0f);
}

void Distortion::setSampleRate(double hz) {
    sampleRate_ = hz;
    gain_.configure(hz, kGlideSeconds);
    drive_.configure(hz, kGlideSeconds);
    for (SmoothedValue* s : {&centre_, &bandwidth_, &cutoff_})
        s->configure(hz / kBlock, kGlideSeconds);
    updateTargets();
}

void Distortion::updateTargets() {
    const auto limit = static_cast<float>(sampleRate_ / 3.0);
    gain_.set(std::pow(10.0f, params_.gain / 20.0f), !running_);
    drive_.set(driveForEdge(params_.edge), !running_);
    centre_.set(std::log2(std::min(params_.postEqCentre, limit)), !running_);
    bandwidth_.set(std::log2(params_.postEqBandwidth), !running_);
    cutoff_.set(std::log2(std::min(params_.preLowpassCutoff, limit)), !running_);
    if (!running_) updateFilters();
}

void Distortion::updateFilters() {
    const double centre = std::exp2(centre_.value());
    lowPass_ = BiquadCoefficients::lowPass(sampleRate_, std::exp2(cutoff_.value()), 0.7071);
    bandPass_ =
        BiquadCoefficients::bandPass(sampleRate_, centre, centre / std::exp2(bandwidth_.value()));
}

void Distortion::process(float* samples, std::size_t frames) {
    running_ = true;
    const DenormalGuard guard;
    for (std::size_t start = 0; start < frames; start += kBlock) {
        if (!centre_.settled() || !bandwidth_.settled() || !cutoff_.settled()) {
            centre_.next();
            bandwidth_.next();
            cutoff_.next();
            updateFilters();
        }
        const std::size_t end = std::min(frames, start + kBlock);
        for (std::size_t i = start; i < end; ++i) {
            float* frame = samples + 2 * i;
            const float k = drive_.next();
            const float gain = gain_.next();
            const float l = lowLeft_.process(lowPass_, frame[0]);
            const float r = lowRight_.process(lowPass_, frame[1]);
            frame[0] = gain * (l + bandLeft_.process(bandPass_, clip(l, k) - l));
            frame[1] = gain * (r + bandRight_.process(bandPass_, clip(r, k) - r));
        }
    }
    for (Biquad* b : {&lowLeft_, &lowRight_, &bandLeft_, &bandRight_}) b->flushTiny();
}

void Distortion::reset() {
    for (Biquad* b : {&lowLeft_, &lowRight_, &bandLeft_, &bandRight_}) b->reset();
    running_ = false;
    updateTargets();
}

}  // namespace soundlib::fx
