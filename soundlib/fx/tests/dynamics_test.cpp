// Compressor, distortion and gargle measured on tones and steps.
#include <gtest/gtest.h>

#include <cmath>

#include "soundlib/fx/tests/fx_signals.h"
#include "soundlib/soundlib_fx.h"

namespace {

using namespace fx_test;

struct CurveCase {
    float threshold, ratio, gain, inputDb;
};

void PrintTo(const CurveCase& c, std::ostream* os) {
    *os << "threshold " << c.threshold << ", ratio " << c.ratio << ", gain " << c.gain << ", in "
        << c.inputDb << " dB";
}

class CompressorCurve : public ::testing::TestWithParam<CurveCase> {};

TEST_P(CompressorCurve, SteadyToneFollowsThresholdAndRatio) {
    const CurveCase c = GetParam();
    const SoundFxCompressor p{c.gain, 10, 200, c.threshold, c.ratio, 4};
    auto comp = makeEffect(SOUND_FX_COMPRESSOR, &p);
    ASSERT_TRUE(comp);
    Stereo s = sine(1000, std::pow(10.0, c.inputDb / 20), 44100);
    run(*comp, s);
    const double over = std::max(0.0f, c.inputDb - c.threshold);
    const double expected = c.inputDb + c.gain - over * (1 - 1 / c.ratio);
    EXPECT_NEAR(dB(peak(s.channel(0), 35280, 8820)), expected, 0.5);
    EXPECT_NEAR(dB(peak(s.channel(1), 35280, 8820)), expected, 0.5);
}

INSTANTIATE_TEST_SUITE_P(Curve, CompressorCurve,
                         ::testing::Values(CurveCase{-20, 3, 0, -30}, CurveCase{-20, 3, 0, -6},
                                           CurveCase{-20, 3, 6, 0}, CurveCase{-40, 10, 0, -10},
                                           CurveCase{-10, 100, -6, -1}, CurveCase{0, 2, 12, -12},
                                           CurveCase{-30, 1, 0, -3}));

// Gain reduction in dB per frame of a compressor fed a 1 kHz tone that steps from -30 dB
// to 0 dB at `up` and back to -12 dB at `down`; measured near the tone's peaks.
std::vector<double> reductionAfterSteps(const SoundFxCompressor& p, std::size_t up,
                                        std::size_t down, std::size_t frames) {
    auto comp = makeEffect(SOUND_FX_COMPRESSOR, &p);
    Stereo s = sine(1000, 1.0, frames);
    for (std::size_t i = 0; i < frames; ++i) {
        const double level = i < up ? std::pow(10.0, -1.5) : i < down ? 1.0 : std::pow(10.0, -0.6);
        s.left(i) = s.right(i) = static_cast<float>(s.left(i) * level);
    }
    const Stereo in = s;
    run(*comp, s);
    std::vector<double> reduction(frames, NAN);
    double last = 0;
    for (std::size_t i = 0; i < frames; ++i) {
        const double level = i < up ? std::pow(10.0, -1.5) : i < down ? 1.0 : std::pow(10.0, -0.6);
        if (std::fabs(in.left(i)) > 0.7 * level) last = -dB(s.left(i) / in.left(i));
        reduction[i] = last;
    }
    return reduction;
}

// Frames from `from` until the reduction has covered 63% of its way to the value it
// holds at `end`.
double timeConstant(const std::vector<double>& r, std::size_t from, std::size_t end) {
    const double start = r[from - 1], final = r[end - 1];
    const double mark = start + (final - start) * (1 - std::exp(-1.0));
    for (std::size_t i = from; i < end; ++i) {
        if ((final - start) * (r[i] - mark) >= 0) return static_cast<double>(i - from);
    }
    return NAN;
}

class CompressorTimes : public ::testing::TestWithParam<std::pair<float, float>> {};

TEST_P(CompressorTimes, AttackAndReleaseHoldWithinAFifth) {
    const auto [attack, release] = GetParam();
    const SoundFxCompressor p{0, attack, release, -20, 100, 0};
    const auto up = static_cast<std::size_t>(0.5 * kRate);
    const auto down = up + static_cast<std::size_t>(8 * attack / 1000 * kRate) + 4410;
    const auto end = down + static_cast<std::size_t>(8 * release / 1000 * kRate);
    const auto r = reductionAfterSteps(p, up, down, end);
    EXPECT_NEAR(r[up - 1], 0.0, 0.1);
    EXPECT_NEAR(r[down - 1], 19.8, 0.6);
    EXPECT_NEAR(r[end - 1], 7.92, 0.6);
    EXPECT_NEAR(timeConstant(r, up, down) / kRate * 1000, attack, 0.2 * attack + 0.5);
    EXPECT_NEAR(timeConstant(r, down, end) / kRate * 1000, release, 0.2 * release);
}

INSTANTIATE_TEST_SUITE_P(Times, CompressorTimes,
                         ::testing::Values(std::pair{10.0f, 200.0f}, std::pair{50.0f, 500.0f},
                                           std::pair{2.0f, 1000.0f}, std::pair{200.0f, 100.0f}));

TEST(CompressorTest, PredelayLooksAhead) {
    const SoundFxCompressor p{0, 0.01f, 50, -20, 3, 4};
    auto comp = makeEffect(SOUND_FX_COMPRESSOR, &p, 48000);
    Stereo s = impulse(1000, 0.5f, -0.5f);
    run(*comp, s);
    // The click comes out 4 ms late, already reduced: 20 log 0.5 = -6 dB is 14 dB over.
    const std::size_t at = 192;
    EXPECT_NEAR(dB(std::fabs(s.left(at)) / 0.5), -14.0 * 2 / 3, 0.5);
    EXPECT_LT(s.right(at), 0.0f);
    EXPECT_NEAR(peak(s.channel(0), 0, at) + peak(s.channel(0), at + 2, 800), 0.0, 1e-6);
}

// Total level of the harmonics 2 .. 9 of `hz` against the fundamental.
double harmonicRatio(const std::vector<float>& x, double hz, std::size_t from, std::size_t count) {
    double sum = 0;
    for (int h = 2; h <= 9; ++h) sum += std::pow(toneAmplitude(x, h * hz, from, count), 2);
    return std::sqrt(sum) / toneAmplitude(x, hz, from, count);
}

TEST(DistortionTest, HarmonicsGrowWithEdgeAndGainScales) {
    double previous = -1;
    for (float edge : {0.0f, 15.0f, 40.0f, 70.0f, 100.0f}) {
        const SoundFxDistortion p{-6, edge, 2400, 2400, 8000};
        auto dist = makeEffect(SOUND_FX_DISTORTION, &p);
        Stereo s = sine(500, 0.5, 22050);
        run(*dist, s);
        const double ratio = harmonicRatio(s.channel(0), 500, 4410, 17640);
        if (edge == 0) {
            EXPECT_LT(ratio, 1e-4);
            EXPECT_NEAR(dB(toneAmplitude(s.channel(0), 500, 4410, 17640) / 0.5), -6.0, 0.2);
        }
        EXPECT_GT(ratio, previous) << "edge " << edge;
        previous = ratio;
    }
    EXPECT_GT(previous, 0.1);
}

TEST(DistortionTest, PreLowPassAndPostBandShapeTheSound) {
    auto level = [](const SoundFxDistortion& p, double hz, double measured) {
        auto dist = makeEffect(SOUND_FX_DISTORTION, &p);
        Stereo s = sine(hz, 0.5, 22050);
        run(*dist, s);
        return toneAmplitude(s.channel(0), measured, 4410, 17640);
    };
    // A 6 kHz tone above a 1 kHz cut-off is taken down by more than 20 dB.
    EXPECT_LT(dB(level({0, 0, 2400, 2400, 1000}, 6000, 6000) / 0.5), -20.0);
    // The seventh harmonic of 500 Hz is stronger with the band around it than far below it.
    EXPECT_GT(level({0, 60, 3500, 1000, 8000}, 500, 3500),
              4 * level({0, 60, 400, 200, 8000}, 500, 3500));
}

struct GargleCase {
    int rate, shape;
};

void PrintTo(const GargleCase& c, std::ostream* os) {
    *os << c.rate << " Hz " << (c.shape ? "square" : "triangle");
}

class GargleModulation : public ::testing::TestWithParam<GargleCase> {};

TEST_P(GargleModulation, ModulatesAtItsRateWithItsShape) {
    const GargleCase c = GetParam();
    const SoundFxGargle p{c.rate, c.shape};
    auto gargle = makeEffect(SOUND_FX_GARGLE, &p);
    Stereo s(44100);
    for (float& v : s.samples) v = 0.5f;
    run(*gargle, s);
    const auto level = s.channel(0);
    EXPECT_EQ(level, s.channel(1));
    // Cycles counted as falls through half level over the second.
    int falls = 0;
    std::size_t between = 0;
    for (std::size_t i = 1; i < level.size(); ++i) {
        if (level[i - 1] >= 0.25f && level[i] < 0.25f) ++falls;
        if (level[i] > 0.025f && level[i] < 0.475f) ++between;
    }
    EXPECT_NEAR(falls, c.rate, 1);
    EXPECT_NEAR(peak(level, 0, level.size()), 0.5, 0.01);
    const double share = static_cast<double>(between) / level.size();
    // A triangle spends 90% of its time between 5% and 95%; a square almost none.
    if (c.shape == 0) {
        EXPECT_NEAR(share, 0.9, 0.02);
    } else {
        EXPECT_LT(share, 0.01);
    }
}

INSTANTIATE_TEST_SUITE_P(Shapes, GargleModulation,
                         ::testing::Values(GargleCase{20, 0}, GargleCase{20, 1}, GargleCase{1, 0},
                                           GargleCase{440, 0}, GargleCase{1000, 1}));

}  // namespace
