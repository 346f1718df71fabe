#include "soundlib/fx/biquad.h"

#include <cmath>
#include <numbers>

#include "soundlib/fx/denormal_guard.h"

namespace soundlib::fx {
namespace {

BiquadCoefficients normalised(double b0, double b1, double b2, double a0, double a1, double a2) {
    BiquadCoefficients c;
    c.b0 = static_cast<float>(b0 / a0);
    c.b1 = static_cast<float>(b1 / a0);
    c.b2 = static_cast<float>(b2 / a0);
    c.a1 = static_cast<float>(a1 / a0);
    c.a2 = static_cast<float>(a2 / a0);
    return c;
}

}  // namespace

BiquadCoefficients BiquadCoefficients::peaking(double sampleRate, double centre, double octaves,
                                               double gainDb) {
    const double a = std::pow(10.0, gainDb / 40.0);
    const double w0 = 2.0 * std::numbers::pi * centre / sampleRate;
    const double sn = std::sin(w0);
    const double alpha = sn * std::sinh(std::numbers::ln2 / 2.0 * octaves * w0 / sn);
    const double cs = std::cos(w0);
    return normalised(1 + alpha * a, -2 * cs, 1 - alpha * a, 1 + alpha / a, -2 * cs, 1 - alpha / a);
}

BiquadCoefficients BiquadCoefficients::lowPass(double sampleRate, double cutoff, double q) {
    const double w0 = 2.0 * std::numbers::pi * cutoff / sampleRate;
    const double alpha = std::sin(w0) / (2.0 * q);
    const double cs = std::cos(w0);
    return normalised((1 - cs) / 2, 1 - cs, (1 - cs) / 2, 1 + alpha, -2 * cs, 1 - alpha);
}

BiquadCoefficients BiquadCoefficients::bandPass(double sampleRate, double centre, double q) {
    const double w0 = 2.0 * std::numbers::pi * centre / sampleRate;
    const double alpha = std::sin(w0) / (2.0 * q);
    const double cs = std::cos(w0);
    return normalised(alpha, 0, -alpha, 1 + alpha, -2 * cs, 1 - alpha);
}

void Biquad::flushTiny() {
    s1_ = fx::flushTiny(s1_);
    s2_ = fx::flushTiny(s2_);
}

}  // namespace soundlib::fx
