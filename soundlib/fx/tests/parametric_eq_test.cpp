// The equalizer band measured on tones: gain at the centre, at the band edges, far away,
// the clamp near the Nyquist limit, and nine 0 dB bands passing the signal untouched.
#include <gtest/gtest.h>

#include <cmath>

#include "soundlib/fx/tests/fx_signals.h"
#include "soundlib/soundlib_fx.h"

namespace {

using namespace fx_test;

// Gain in dB that one band gives a tone of `hz`.
double bandGain(const SoundFxParamEq& band, double hz, double rate = kRate) {
    auto eq = makeEffect(SOUND_FX_PARAMEQ, &band, rate);
    const auto frames = static_cast<std::size_t>(rate);
    Stereo s = sine(hz, 0.1, frames, rate);
    run(*eq, s);
    // Skip the first half second while the filter settles; measure whole cycles' worth.
    const std::size_t from = frames / 2;
    return dB(toneAmplitude(s.channel(0), hz, from, frames - from, rate) / 0.1);
}

struct BandCase {
    float centre, semitones, gain;
};

void PrintTo(const BandCase& c, std::ostream* os) {
    *os << c.centre << " Hz, " << c.semitones << " semitones, " << c.gain << " dB";
}

class EqBand : public ::testing::TestWithParam<BandCase> {};

TEST_P(EqBand, GainAtCentreEdgesAndFarAway) {
    const BandCase c = GetParam();
    const SoundFxParamEq band{c.centre, c.semitones, c.gain};
    EXPECT_NEAR(bandGain(band, c.centre), c.gain, 0.5);
    // The band edges lie half the bandwidth either side, where the gain is half.
    const double half = std::exp2(c.semitones / 24.0);
    EXPECT_NEAR(bandGain(band, c.centre / half), c.gain / 2, 0.75);
    if (c.centre * half < kRate / 3) {
        EXPECT_NEAR(bandGain(band, c.centre * half), c.gain / 2, 0.75);
    }
    // Five bandwidths below the centre the band does nearly nothing.
    const double far = c.centre / std::exp2(5.0 * c.semitones / 12.0);
    if (far > 20) {
        EXPECT_NEAR(bandGain(band, far), 0.0, 0.3);
    }
}

INSTANTIATE_TEST_SUITE_P(Bands, EqBand,
                         ::testing::Values(BandCase{1000, 12, 15}, BandCase{1000, 12, -15},
                                           BandCase{250, 6, 8}, BandCase{4000, 18, -6},
                                           BandCase{8000, 3, 12}, BandCase{2000, 1, 10}));

TEST(EqBandTest, CentreAboveAThirdOfTheRateIsTakenDown) {
    const SoundFxParamEq band{16000, 6, 12};
    EXPECT_NEAR(bandGain(band, kRate / 3), 12.0, 0.5);
    EXPECT_NEAR(bandGain(band, 16000, 48000), 12.0, 0.5);  // a third of 48 kHz is 16 kHz
}

TEST(EqBandTest, NineFlatBandsPassTheSignalUntouched) {
    const float centres[] = {80, 125, 250, 500, 1000, 2000, 4000, 8000, 16000};
    Stereo in = noise(44100, 0.9f);
    Stereo out = in;
    for (float centre : centres) {
        const SoundFxParamEq band{centre, 18, 0};
        auto eq = makeEffect(SOUND_FX_PARAMEQ, &band);
        run(*eq, out);
    }
    double worst = 0;
    for (std::size_t i = 0; i < in.samples.size(); ++i) {
        worst = std::max(worst, std::fabs(double(in.samples[i]) - out.samples[i]));
    }
    EXPECT_LE(worst, 1.0 / 32768);
}

TEST(EqBandTest, BandBackAtZeroDbIsTransparentAgain) {
    auto eq = makeEffect(SOUND_FX_PARAMEQ, nullptr);
    Stereo s = noise(22050, 0.5f);
    SoundFxParamEq band{1000, 12, 9};
    ASSERT_TRUE(eq->setParameters(&band));
    run(*eq, s);
    band.gain = 0;
    ASSERT_TRUE(eq->setParameters(&band));
    run(*eq, s);
    Stereo in = noise(22050, 0.5f, 7);
    Stereo out = in;
    run(*eq, out);
    EXPECT_EQ(in.samples, out.samples);
}

}  // namespace
