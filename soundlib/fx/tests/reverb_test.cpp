// The reverb's decay time, its shorter decay of the highs, and its mix and input gain.
#include <gtest/gtest.h>

#include <cmath>

#include "soundlib/fx/tests/fx_signals.h"
#include "soundlib/soundlib_fx.h"

namespace {

using namespace fx_test;

std::vector<float> reverbImpulse(const SoundFxReverb& p, double seconds) {
    auto reverb = makeEffect(SOUND_FX_REVERB, &p);
    EXPECT_TRUE(reverb);
    Stereo s = impulse(static_cast<std::size_t>(seconds * kRate));
    run(*reverb, s);
    return s.channel(0);
}

// Moving sums stress one end of the spectrum: the mean of 32 frames keeps the lows,
// the third difference keeps the highs.
std::vector<float> lows(const std::vector<float>& x) {
    std::vector<float> y(x.size(), 0.0f);
    double sum = 0;
    for (std::size_t i = 0; i < x.size(); ++i) {
        sum += x[i] - (i >= 32 ? x[i - 32] : 0.0f);
        y[i] = static_cast<float>(sum / 32);
    }
    return y;
}

std::vector<float> highs(const std::vector<float>& x) {
    std::vector<float> y = x;
    for (int pass = 0; pass < 3; ++pass) {
        for (std::size_t i = y.size(); i-- > 1;) y[i] -= y[i - 1];
    }
    return y;
}

class ReverbTime : public ::testing::TestWithParam<float> {};

TEST_P(ReverbTime, TailFallsBy60DbInTheReverbTime) {
    const float ms = GetParam();
    const auto tail = reverbImpulse({0, 0, ms, 0.999f}, 1.2 * ms / 1000 + 0.3);
    EXPECT_NEAR(decayTime60(tail) * 1000, ms, 0.2 * ms);
}

INSTANTIATE_TEST_SUITE_P(Times, ReverbTime, ::testing::Values(300.0f, 1000.0f, 2500.0f));

TEST(ReverbTest, HighsDieFasterByTheRatio) {
    for (float ratio : {0.25f, 0.5f}) {
        const auto tail = reverbImpulse({0, 0, 1500, ratio}, 2.2);
        const double low = decayTime60(lows(tail));
        const double high = decayTime60(highs(tail));
        EXPECT_NEAR(low, 1.5, 0.3) << "ratio " << ratio;
        EXPECT_NEAR(high / low, ratio, 0.1) << "ratio " << ratio;
    }
}

TEST(ReverbTest, MixAndInputGainSetTheLevels) {
    struct Case {
        float inGain, mix;
    };
    const auto reference = reverbImpulse({0, 0, 500, 0.5f}, 0.6);
    const double referenceTail = rms(reference, 2000, 20000);
    EXPECT_EQ(reference[0], 0.0f);  // 0 dB mix is reverb only
    for (const Case c : {Case{0, -6}, Case{-6, -20}, Case{-20, -96}, Case{-96, 0}}) {
        const auto out = reverbImpulse({c.inGain, c.mix, 500, 0.5f}, 0.6);
        const double in = std::pow(10.0, c.inGain / 20), wet = std::pow(10.0, c.mix / 20);
        EXPECT_NEAR(out[0], in * (1 - wet), 1e-5) << c.inGain << " " << c.mix;
        EXPECT_NEAR(rms(out, 2000, 20000), referenceTail * in * wet, 1e-3 * referenceTail)
            << c.inGain << " " << c.mix;
    }
}

}  // namespace
