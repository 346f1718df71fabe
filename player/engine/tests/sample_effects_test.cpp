// The player's sample effects measured on known signals, fed in blocks of uneven sizes as
// the mixer hands them over.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

#include "player/engine/sample_effects.h"

namespace {

using Frames = std::vector<std::int16_t>;

// Runs `frames` through the effect in blocks of 1, 7, 441 and 4096 frames in turn.
void feed(SampleEffect& effect, Frames& frames) {
    const std::size_t sizes[] = {1, 7, 441, 4096};
    std::size_t at = 0;
    for (std::size_t k = 0; at < frames.size() / 2; ++k) {
        const std::size_t n = std::min(sizes[k % 4], frames.size() / 2 - at);
        effect.Process(frames.data() + 2 * at, n);
        at += n;
    }
}

Frames constant(std::size_t count, std::int16_t left, std::int16_t right) {
    Frames f(2 * count);
    for (std::size_t i = 0; i < count; ++i) {
        f[2 * i] = left;
        f[2 * i + 1] = right;
    }
    return f;
}

TEST(SampleEffects, ClampSampleLimitsToSixteenBits) {
    EXPECT_EQ(ClampSample(40000), 32767);
    EXPECT_EQ(ClampSample(-40000), -32768);
    EXPECT_EQ(ClampSample(-32768), -32768);
    EXPECT_EQ(ClampSample(123), 123);
}

TEST(SampleEffects, RotateSwingsBetweenTheSidesEveryHalfTurn) {
    RotateDSP rotate;
    rotate.Start(0);
    const std::int16_t level = 20000;
    Frames f = constant(400000, level, level);
    feed(rotate, f);
    EXPECT_EQ(f[0], 14142) << "both sides start at 0.707";
    EXPECT_EQ(f[1], 14142);
    // Silent moments of each side: where its level falls below 0.1 %.
    const auto quiet = [&](int side) {
        std::vector<std::size_t> at;
        for (std::size_t i = 1; i < f.size() / 2; ++i)
            if (std::abs(f[2 * i + side]) < 20 && std::abs(f[2 * (i - 1) + side]) >= 20)
                at.push_back(i);
        return at;
    };
    const auto left = quiet(0), right = quiet(1);
    ASSERT_GE(left.size(), 3u);
    ASSERT_GE(right.size(), 3u);
    EXPECT_NEAR(double(left[1] - left[0]), 104720, 400);
    EXPECT_NEAR(double(left[2] - left[1]), 104720, 400);
    EXPECT_NEAR(double(left[0]), 104720 * 0.75, 400) << "from pi/4 to pi";
    EXPECT_NEAR(double(right[0]), 104720 * 0.25, 400) << "from pi/4 to pi/2";
    // Between silences each side follows |sin| and |cos| of the phase.
    for (std::size_t i = 0; i < 200000; i += 977) {
        const double phase = 0.7853981 + 0.00003 * double(i);
        EXPECT_NEAR(std::abs(f[2 * i]), level * std::abs(std::sin(phase)), level * 0.02) << i;
        EXPECT_NEAR(std::abs(f[2 * i + 1]), level * std::abs(std::cos(phase)), level * 0.02) << i;
    }
}

TEST(SampleEffects, RotateKeepsTurningPastSevenMinutes) {
    RotateDSP rotate;
    rotate.Start(0);
    Frames f = constant(4096, 20000, 20000);
    for (int block = 0; block < 5000; ++block) rotate.Process(f.data(), 4096);  // 20 M frames
    Frames later = constant(110000, 20000, 20000);
    feed(rotate, later);
    std::int16_t low = 32767, high = 0;
    for (std::size_t i = 0; i < later.size(); i += 2) {
        low = std::min<std::int16_t>(low, std::abs(later[i]));
        high = std::max<std::int16_t>(high, std::abs(later[i]));
    }
    EXPECT_LT(low, 100);
    EXPECT_GT(high, 19900);
}

TEST(SampleEffects, EchoRepeatsOnceAtHalfLevelOnTheOtherSide) {
    EchoDSP echo;
    echo.Start(0);
    Frames f(2 * 5000, 0);
    f[2 * 10] = 10001;
    f[2 * 10 + 1] = -6001;
    feed(echo, f);
    for (std::size_t i = 0; i < 5000; ++i) {
        SCOPED_TRACE(i);
        if (i == 10) {
            EXPECT_EQ(f[2 * i], 10001);
            EXPECT_EQ(f[2 * i + 1], -6001);
        } else if (i == 1210) {
            EXPECT_EQ(f[2 * i], -3000) << "halved toward zero";
            EXPECT_EQ(f[2 * i + 1], 5000);
        } else {
            ASSERT_EQ(f[2 * i], 0);
            ASSERT_EQ(f[2 * i + 1], 0);
        }
    }
}

TEST(SampleEffects, FreshEchoStartsSilentAndLoudEchoesClampInsteadOfWrapping) {
    EchoDSP echo;
    Frames same = constant(3000, 32767, 32767);
    echo.Start(0);
    feed(echo, same);
    EXPECT_EQ(same[2 * 1199], 32767);
    EXPECT_EQ(same[2 * 2500], 32767) << "clamped, not wrapped to a negative sample";
    Frames low = constant(3000, -32768, -32768);
    echo.Start(0);
    feed(echo, low);
    EXPECT_EQ(low[2 * 2500 + 1], -32768);

    echo.Start(0);
    Frames silence(2 * 1200, 0);
    feed(echo, silence);
    EXPECT_TRUE(std::all_of(silence.begin(), silence.end(), [](auto s) { return s == 0; }))
        << "ticked again, the ring is silent";
}

TEST(SampleEffects, FlangerDelaySweepsAcrossItsRange) {
    FlangerDSP flanger;
    flanger.Start(0);
    constexpr std::size_t kSpacing = 2500, kFrames = 400000;
    Frames f(2 * kFrames, 0);
    for (std::size_t at = 0; at < kFrames; at += kSpacing) f[2 * at] = 16000;
    feed(flanger, f);
    // The delay of each click's copy: the first sound after the click, before the next.
    std::vector<double> delay;
    for (std::size_t at = 0; at + kSpacing < kFrames; at += kSpacing) {
        std::size_t d = 1;
        while (d < 400 && f[2 * (at + d)] == 0) ++d;
        delay.push_back(double(d));
    }
    EXPECT_NEAR(delay[0], 175, 2);
    const auto shortest = std::min_element(delay.begin(), delay.end());
    const auto longest = std::max_element(delay.begin(), delay.end());
    EXPECT_LE(*shortest, 6);
    EXPECT_GE(*longest, 344);
    EXPECT_NEAR(double(shortest - delay.begin()) * kSpacing, 87500, kSpacing);
    EXPECT_NEAR(double(longest - shortest) * kSpacing, 175000, 2 * kSpacing);
    for (std::size_t k = 1; k < delay.size(); ++k)
        EXPECT_LE(std::abs(delay[k] - delay[k - 1]), 6) << "a smooth sweep, at " << k;
    EXPECT_TRUE(std::none_of(f.begin() + 1, f.end(), [](auto s) { return s < 0; }));

    flanger.Start(0);
    Frames loud = constant(2000, 32767, -32768);
    feed(flanger, loud);
    EXPECT_EQ(loud[2 * 1000], 32767);
    EXPECT_EQ(loud[2 * 1000 + 1], -32768);
}

}  // namespace
