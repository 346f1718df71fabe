#pragma once
// Second-order filter sections in transposed direct form II, with designs after the
// well-known audio-EQ formulas.
namespace soundlib::fx {

struct BiquadCoefficients {
    float b0 = 1, b1 = 0, b2 = 0, a1 = 0, a2 = 0;

    // Peaking band: `gainDb` at `centre`, bandwidth in octaves between the half-gain points.
    static BiquadCoefficients peaking(double sampleRate, double centre, double octaves,
                                      double gainDb);
    static BiquadCoefficients lowPass(double sampleRate, double cutoff, double q);
    // Band pass with 0 dB at `centre`.
    static BiquadCoefficients bandPass(double sampleRate, double centre, double q);
};

// One channel's filter state.
class Biquad {
public:
    float process(const BiquadCoefficients& c, float x) {
        const float y = c.b0 * x + s1_;
        s1_ = c.b1 * x - c.a1 * y + s2_;
        s2_ = c.b2 * x - c.a2 * y;
        return y;
    }
    void reset() { s1_ = s2_ = 0.0f; }
    // Drops state too small to matter so that silence settles on exact zeros.
    void flushTiny();

private:
    float s1_ = 0.0f;
    float s2_ = 0.0f;
};

}  // namespace soundlib::fx
