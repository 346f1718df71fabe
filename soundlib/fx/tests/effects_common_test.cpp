// What every effect type shares: creation by type code, published defaults, refusal of
// values out of range, exact silence after the tail, and no clicks on a change.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <vector>

#include "soundlib/fx/tests/fx_signals.h"
#include "soundlib/soundlib_fx.h"

namespace {

using namespace fx_test;

constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();

// A parameter record of any type, as the bytes handed to the effect.
struct Record {
    int type;
    std::vector<unsigned char> bytes;

    template <typename T>
    Record(int t, const T& r) : type(t), bytes(sizeof r) {
        std::memcpy(bytes.data(), &r, sizeof r);
    }
    const void* data() const { return bytes.data(); }
};

std::vector<unsigned char> currentParameters(const soundlib::ChannelEffect& effect,
                                             std::size_t size) {
    std::vector<unsigned char> bytes(size, 0xEE);
    effect.getParameters(bytes.data());
    return bytes;
}

TEST(EffectTypes, KnownCodesMakeEffectsWithPublishedDefaults) {
    const Record defaults[] = {
        {SOUND_FX_CHORUS, SoundFxChorus{50, 10, 25, 1.1f, 1, 16, 3}},
        {SOUND_FX_COMPRESSOR, SoundFxCompressor{0, 10, 200, -20, 3, 4}},
        {SOUND_FX_DISTORTION, SoundFxDistortion{-18, 15, 2400, 2400, 8000}},
        {SOUND_FX_ECHO, SoundFxEcho{50, 50, 500, 500, 0}},
        {SOUND_FX_FLANGER, SoundFxFlanger{50, 100, -50, 0.25f, 1, 2, 2}},
        {SOUND_FX_GARGLE, SoundFxGargle{20, 0}},
        {SOUND_FX_PARAMEQ, SoundFxParamEq{8000, 12, 0}},
        {SOUND_FX_REVERB, SoundFxReverb{0, 0, 1000, 0.001f}},
    };
    for (const Record& d : defaults) {
        auto effect = soundlib::createChannelEffect(d.type);
        ASSERT_TRUE(effect) << d.type;
        EXPECT_EQ(currentParameters(*effect, d.bytes.size()), d.bytes) << d.type;
    }
    for (int unknown : {-1, 6, 9, 100}) EXPECT_FALSE(soundlib::createChannelEffect(unknown));
}

struct Refusal {
    Record good, bad;
};

TEST(EffectTypes, ValuesOutOfRangeAreRefusedAndTheOldOnesStay) {
    const Refusal cases[] = {
        {{SOUND_FX_CHORUS, SoundFxChorus{0, 100, -99, 10, 0, 20, 4}},
         {SOUND_FX_CHORUS, SoundFxChorus{50, 10, 25, 1, 1, 20.5f, 3}}},
        {{SOUND_FX_CHORUS, SoundFxChorus{100, 0, 99, 0, 1, 0, 0}},
         {SOUND_FX_CHORUS, SoundFxChorus{50, 10, 25, 1, 2, 16, 3}}},
        {{SOUND_FX_FLANGER, SoundFxFlanger{50, 100, -50, 0.25f, 1, 4, 2}},
         {SOUND_FX_FLANGER, SoundFxFlanger{50, 100, -50, 0.25f, 1, 16, 2}}},
        {{SOUND_FX_FLANGER, SoundFxFlanger{50, 100, -50, 0.25f, 1, 2, 2}},
         {SOUND_FX_FLANGER, SoundFxFlanger{50, 100, -50, 0.25f, 1, 2, 5}}},
        {{SOUND_FX_COMPRESSOR, SoundFxCompressor{60, 0.01f, 3000, 0, 100, 0}},
         {SOUND_FX_COMPRESSOR, SoundFxCompressor{0, 0.001f, 200, -20, 3, 4}}},
        {{SOUND_FX_COMPRESSOR, SoundFxCompressor{-60, 500, 50, -60, 1, 4}},
         {SOUND_FX_COMPRESSOR, SoundFxCompressor{0, 10, 200, -20, 0.5f, 4}}},
        {{SOUND_FX_DISTORTION, SoundFxDistortion{-60, 100, 100, 8000, 100}},
         {SOUND_FX_DISTORTION, SoundFxDistortion{1, 15, 2400, 2400, 8000}}},
        {{SOUND_FX_DISTORTION, SoundFxDistortion{0, 0, 8000, 100, 8000}},
         {SOUND_FX_DISTORTION, SoundFxDistortion{-18, 15, 2400, 2400, kNaN}}},
        {{SOUND_FX_ECHO, SoundFxEcho{100, 100, 1, 2000, -1}},
         {SOUND_FX_ECHO, SoundFxEcho{50, 50, 0.5f, 500, 0}}},
        {{SOUND_FX_ECHO, SoundFxEcho{0, 0, 2000, 1, 1}},
         {SOUND_FX_ECHO, SoundFxEcho{50, 101, 500, 500, 0}}},
        {{SOUND_FX_GARGLE, SoundFxGargle{1000, 1}}, {SOUND_FX_GARGLE, SoundFxGargle{0, 0}}},
        {{SOUND_FX_GARGLE, SoundFxGargle{1, 0}}, {SOUND_FX_GARGLE, SoundFxGargle{20, -1}}},
        {{SOUND_FX_PARAMEQ, SoundFxParamEq{80, 36, -15}},
         {SOUND_FX_PARAMEQ, SoundFxParamEq{16001, 18, 0}}},
        {{SOUND_FX_PARAMEQ, SoundFxParamEq{16000, 1, 15}},
         {SOUND_FX_PARAMEQ, SoundFxParamEq{1000, 0, 0}}},
        {{SOUND_FX_PARAMEQ, SoundFxParamEq{1000, 18, 3}},
         {SOUND_FX_PARAMEQ, SoundFxParamEq{1000, 18, 15.5f}}},
        {{SOUND_FX_REVERB, SoundFxReverb{-96, -96, 0.001f, 0.999f}},
         {SOUND_FX_REVERB, SoundFxReverb{0, 0, 1000, 1}}},
        {{SOUND_FX_REVERB, SoundFxReverb{0, 0, 3000, 0.001f}},
         {SOUND_FX_REVERB, SoundFxReverb{0, 0.5f, 1000, 0.5f}}},
    };
    for (const Refusal& c : cases) {
        auto effect = soundlib::createChannelEffect(c.good.type);
        ASSERT_TRUE(effect);
        ASSERT_TRUE(effect->setParameters(c.good.data())) << c.good.type;
        EXPECT_FALSE(effect->setParameters(c.bad.data())) << c.bad.type;
        EXPECT_EQ(currentParameters(*effect, c.good.bytes.size()), c.good.bytes) << c.good.type;
    }
}

// Records that keep every effect's memory long: the worst case for its tail.
const Record kLongTails[] = {
    {SOUND_FX_CHORUS, SoundFxChorus{50, 100, 90, 10, 1, 20, 4}},
    {SOUND_FX_COMPRESSOR, SoundFxCompressor{60, 500, 3000, -60, 100, 4}},
    {SOUND_FX_DISTORTION, SoundFxDistortion{0, 100, 100, 100, 100}},
    {SOUND_FX_ECHO, SoundFxEcho{50, 50, 500, 499, 1}},
    {SOUND_FX_FLANGER, SoundFxFlanger{50, 100, -99, 10, 0, 4, 0}},
    {SOUND_FX_GARGLE, SoundFxGargle{1000, 1}},
    {SOUND_FX_PARAMEQ, SoundFxParamEq{80, 1, 15}},
    {SOUND_FX_REVERB, SoundFxReverb{0, 0, 3000, 0.999f}},
};

TEST(EffectTypes, SilenceAfterTheTailIsExactAndNeverDenormal) {
    for (const Record& r : kLongTails) {
        auto effect = makeEffect(r.type, r.data());
        ASSERT_TRUE(effect) << r.type;
        Stereo s = noise(22050, 0.5f);
        s.samples.resize(2 * 44100 * 20, 0.0f);
        run(*effect, s, 1024);
        std::size_t firstZeroRun = s.frames();
        for (std::size_t i = s.samples.size(); i-- > 0 && s.samples[i] == 0.0f;)
            firstZeroRun = i / 2;
        EXPECT_LT(firstZeroRun, s.frames() - 44100) << "type " << r.type << " still sounds";
        std::size_t subnormal = 0;
        for (float v : s.samples) subnormal += std::fpclassify(v) == FP_SUBNORMAL;
        EXPECT_EQ(subnormal, 0u) << r.type;
    }
}

// A tone through each effect while its parameters jump from one record to another: the
// output must not step. A step shows as a second difference of the order of the step;
// a glide gives one far below a hundredth of the level. (The gargle's square wave
// steps by design, so it has no place here.)
struct Change {
    Record from, to;
};

TEST(EffectTypes, ParameterChangesWhilePlayingDoNotClick) {
    const Change cases[] = {
        {{SOUND_FX_CHORUS, SoundFxChorus{0, 10, 0, 1, 1, 16, 3}},
         {SOUND_FX_CHORUS, SoundFxChorus{100, 90, 80, 8, 0, 2, 0}}},
        {{SOUND_FX_FLANGER, SoundFxFlanger{20, 100, -50, 0.25f, 1, 2, 2}},
         {SOUND_FX_FLANGER, SoundFxFlanger{100, 30, 50, 5, 0, 4, 4}}},
        {{SOUND_FX_COMPRESSOR, SoundFxCompressor{0, 10, 200, -20, 3, 4}},
         {SOUND_FX_COMPRESSOR, SoundFxCompressor{20, 10, 200, -40, 20, 0}}},
        {{SOUND_FX_DISTORTION, SoundFxDistortion{-18, 15, 2400, 2400, 8000}},
         {SOUND_FX_DISTORTION, SoundFxDistortion{0, 90, 500, 200, 1000}}},
        {{SOUND_FX_ECHO, SoundFxEcho{50, 50, 333, 333, 0}},
         {SOUND_FX_ECHO, SoundFxEcho{100, 90, 120, 900, 1}}},
        {{SOUND_FX_PARAMEQ, SoundFxParamEq{1000, 12, -15}},
         {SOUND_FX_PARAMEQ, SoundFxParamEq{100, 36, 15}}},
        {{SOUND_FX_REVERB, SoundFxReverb{0, -96, 1000, 0.5f}},
         {SOUND_FX_REVERB, SoundFxReverb{-20, 0, 100, 0.999f}}},
    };
    const std::size_t frames = 3 * 44100, change = 2 * 44100 + 5000;
    for (const Change& c : cases) {
        struct Measure {
            double bend, level;
        };
        auto steady = [&](const Record& r) {
            auto effect = makeEffect(r.type, r.data());
            Stereo s = sine(110, 0.4, frames);
            run(*effect, s);
            const auto left = s.channel(0);
            return Measure{maxSecondDifference(left, change - 4410, 8820),
                           peak(left, change - 4410, 8820)};
        };
        auto effect = makeEffect(c.from.type, c.from.data());
        Stereo s = sine(110, 0.4, frames);
        effect->process(s.samples.data(), change);
        ASSERT_TRUE(effect->setParameters(c.to.data()));
        effect->process(s.samples.data() + 2 * change, frames - change);
        const Measure a = steady(c.from), b = steady(c.to);
        const double bound = 2 * std::max(a.bend, b.bend) + 0.01 * std::max(a.level, b.level);
        EXPECT_LT(maxSecondDifference(s.channel(0), change - 4410, 8820), bound)
            << "type " << c.from.type;
    }
}

TEST(EffectTypes, ARateChangeMidStreamKeepsWorking) {
    for (const Record& r : kLongTails) {
        auto effect = makeEffect(r.type, r.data(), 22050);
        Stereo s = sine(220, 0.3, 44100);
        effect->process(s.samples.data(), 22050);
        effect->setSampleRate(96000);
        effect->process(s.samples.data() + 44100, 22050);
        for (float v : s.samples) ASSERT_TRUE(std::isfinite(v)) << r.type;
        effect->reset();
        Stereo quiet(4096);
        effect->process(quiet.samples.data(), quiet.frames());
        EXPECT_EQ(peak(quiet.samples, 0, quiet.samples.size()), 0.0) << r.type;
    }
}

}  // namespace
