// Echo, chorus and flanger: impulse responses (repeats, feedback, cross-feed, wet/dry)
// and the sweep of the modulated delay recovered from a ramp.
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <vector>

#include "soundlib/fx/tests/fx_signals.h"
#include "soundlib/soundlib_fx.h"

namespace {

using namespace fx_test;

struct Tap {
    std::size_t frame;
    float left, right;
};

struct ImpulseCase {
    const char* name;
    int type;
    SoundFxEcho echo;      // used when type is echo
    SoundFxChorus chorus;  // used otherwise
    double rate;
    float inLeft, inRight;
    std::size_t frames;
    std::vector<Tap> taps;  // every other output sample is silent
};

void PrintTo(const ImpulseCase& c, std::ostream* os) {
    *os << c.name;
}

class ImpulseResponse : public ::testing::TestWithParam<ImpulseCase> {};

TEST_P(ImpulseResponse, RepeatsWhereAndHowLoudTheyShouldBe) {
    const ImpulseCase& c = GetParam();
    const void* record = c.type == SOUND_FX_ECHO ? static_cast<const void*>(&c.echo) : &c.chorus;
    auto effect = makeEffect(c.type, record, c.rate);
    ASSERT_TRUE(effect);
    Stereo s = impulse(c.frames, c.inLeft, c.inRight);
    run(*effect, s);
    double elsewhere = 0;
    std::size_t next = 0;
    for (std::size_t i = 0; i < s.frames(); ++i) {
        if (next < c.taps.size() && c.taps[next].frame == i) {
            EXPECT_NEAR(s.left(i), c.taps[next].left, 1e-5) << "left at " << i;
            EXPECT_NEAR(s.right(i), c.taps[next].right, 1e-5) << "right at " << i;
            ++next;
        } else {
            elsewhere += std::fabs(s.left(i)) + std::fabs(s.right(i));
        }
    }
    EXPECT_LT(elsewhere, 1e-4);
}

const SoundFxChorus kNoChorus{};
const SoundFxEcho kNoEcho{};

INSTANTIATE_TEST_SUITE_P(
    Delays, ImpulseResponse,
    ::testing::Values(ImpulseCase{"echo_half_wet",
                                  SOUND_FX_ECHO,
                                  {50, 50, 500, 250, 0},
                                  kNoChorus,
                                  kRate,
                                  1,
                                  1,
                                  50000,
                                  {{0, 0.5f, 0.5f},
                                   {11025, 0, 0.5f},
                                   {22050, 0.5f, 0.25f},
                                   {33075, 0, 0.125f},
                                   {44100, 0.25f, 0.0625f}}},
                      ImpulseCase{
                          "echo_pan_delay_swaps_sides",
                          SOUND_FX_ECHO,
                          {100, 40, 100, 300, -1},
                          kNoChorus,
                          kRate,
                          1,
                          0,
                          39000,
                          {{4410, 1, 0}, {17640, 0, 0.4f}, {22050, 0.16f, 0}, {35280, 0, 0.064f}}},
                      ImpulseCase{"echo_dry",
                                  SOUND_FX_ECHO,
                                  {0, 50, 100, 100, 0},
                                  kNoChorus,
                                  kRate,
                                  0.5f,
                                  -0.5f,
                                  50000,
                                  {{0, 0.5f, -0.5f}}},
                      ImpulseCase{"chorus_negative_feedback",
                                  SOUND_FX_CHORUS,
                                  kNoEcho,
                                  {100, 0, -50, 0, 1, 10, 2},
                                  kRate,
                                  1,
                                  1,
                                  1500,
                                  {{441, 1, 1}, {882, -0.5f, -0.5f}, {1323, 0.25f, 0.25f}}},
                      ImpulseCase{"flanger_half_wet",
                                  SOUND_FX_FLANGER,
                                  kNoEcho,
                                  {50, 0, 50, 0, 0, 2, 2},
                                  48000,
                                  1,
                                  1,
                                  250,
                                  {{0, 0.5f, 0.5f}, {96, 0.5f, 0.5f}, {192, 0.25f, 0.25f}}}));

// The sweep of the delay, in samples, per channel: the input is a ramp, so a delay of d
// samples shows as the ramp's value d samples back.
struct Sweep {
    std::vector<double> left, right;
};

Sweep measureSweep(int type, const SoundFxChorus& p, std::size_t frames) {
    auto effect = makeEffect(type, &p);
    EXPECT_TRUE(effect);
    constexpr double kStep = 1.0 / 65536;
    Stereo s(frames);
    for (std::size_t i = 0; i < frames; ++i) s.left(i) = s.right(i) = static_cast<float>(i * kStep);
    run(*effect, s);
    Sweep sweep;
    for (std::size_t i = 0; i < frames; ++i) {
        sweep.left.push_back(static_cast<double>(i) - s.left(i) / kStep);
        sweep.right.push_back(static_cast<double>(i) - s.right(i) / kStep);
    }
    return sweep;
}

// Frames at which d rises through `level` (with hysteresis against noise).
std::vector<double> risingCrossings(const std::vector<double>& d, double level, double margin,
                                    std::size_t from) {
    std::vector<double> at;
    bool below = false;
    for (std::size_t i = from + 1; i < d.size(); ++i) {
        if (d[i] < level - margin) below = true;
        if (below && d[i - 1] < level && d[i] >= level) {
            at.push_back(static_cast<double>(i - 1) + (level - d[i - 1]) / (d[i] - d[i - 1]));
            below = false;
        }
    }
    return at;
}

struct SweepCase {
    const char* name;
    int type;
    SoundFxChorus params;
};

void PrintTo(const SweepCase& c, std::ostream* os) {
    *os << c.name;
}

class DelaySweep : public ::testing::TestWithParam<SweepCase> {};

TEST_P(DelaySweep, FollowsRateDepthWaveformAndPhase) {
    const SweepCase& c = GetParam();
    const SoundFxChorus& p = c.params;
    const std::size_t frames = 4 * 44100;
    const Sweep sweep = measureSweep(c.type, p, frames);
    const double centre = p.delay * kRate / 1000.0;
    const double swing = centre * p.depth / 100.0;
    const std::size_t settle = 4410;

    double lo = 1e9, hi = -1e9;
    for (std::size_t i = settle; i < frames; ++i) {
        lo = std::min(lo, sweep.left[i]);
        hi = std::max(hi, sweep.left[i]);
    }
    EXPECT_NEAR(hi, centre + swing, 0.02 * swing + 0.1);
    EXPECT_NEAR(lo, centre - swing, 0.02 * swing + 0.1);

    const auto left = risingCrossings(sweep.left, centre, swing / 2, settle);
    const auto right = risingCrossings(sweep.right, centre, swing / 2, settle);
    ASSERT_GE(left.size(), 2u);
    ASSERT_GE(right.size(), 2u);
    const double period = (left.back() - left.front()) / static_cast<double>(left.size() - 1);
    EXPECT_NEAR(kRate / period, p.frequency, 0.01 * p.frequency);

    // The right channel's sweep runs (phase - 2) quarter cycles ahead of the left one.
    double lead = (left.front() - right.front()) / period;
    lead -= std::floor(lead);
    double expected = 0.25 * (p.phase - 2);
    expected -= std::floor(expected);
    const double miss = std::fabs(lead - expected);
    EXPECT_LT(std::min(miss, 1.0 - miss), 0.01);

    // A triangle moves at one speed; a sine's top speed is pi/2 times its mean speed.
    const std::size_t window = 441;
    double top = 0, sum = 0;
    std::size_t count = 0;
    for (std::size_t i = settle; i + window < frames; i += window) {
        const double speed = std::fabs(sweep.left[i + window] - sweep.left[i]);
        top = std::max(top, speed);
        sum += speed;
        ++count;
    }
    const double shape = top / (sum / static_cast<double>(count));
    EXPECT_NEAR(shape, p.waveform == 0 ? 1.0 : std::numbers::pi / 2, 0.08);
}

INSTANTIATE_TEST_SUITE_P(
    Sweeps, DelaySweep,
    ::testing::Values(
        SweepCase{"chorus_sine_90", SOUND_FX_CHORUS, {100, 50, 0, 1.1f, 1, 16, 3}},
        SweepCase{"chorus_triangle_minus_180", SOUND_FX_CHORUS, {100, 30, 0, 2, 0, 10, 0}},
        SweepCase{"flanger_triangle_180", SOUND_FX_FLANGER, {100, 80, 0, 0.5f, 0, 2, 4}},
        SweepCase{"flanger_sine_in_step", SOUND_FX_FLANGER, {100, 50, 0, 5, 1, 4, 2}},
        SweepCase{"flanger_triangle_minus_90", SOUND_FX_FLANGER, {100, 60, 0, 3, 0, 3, 1}}));

}  // namespace
