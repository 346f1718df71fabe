// The public effect calls on channels of the offline mixer: handles that fail harmlessly,
// effects freed with their channel, the order of attachment, and rendered output that
// matches the effects run by hand.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <string>
#include <vector>

#include "soundlib/channel_effect.h"
#include "soundlib/soundlib.h"
#include "soundlib/soundlib_fx.h"
#include "soundlib/tests/fixtures.h"
#include "testing/wav_fixture.h"

namespace {

constexpr int kRate = 44100;

class FxApi : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(BASS_Init(0, kRate, SOUND_INIT_OFFLINE, nullptr, nullptr));
    }
    void TearDown() override { BASS_Free(); }

    // A stream of the given 16-bit stereo samples, started.
    uint32_t play(const std::vector<std::int16_t>& samples) {
        const auto file = soundlib_test::scratch("fx" + std::to_string(files_++) + ".wav");
        writeWav(file, kRate, 2, samples);
        const uint32_t stream = BASS_StreamCreateFile(0, file.c_str(), 0, 0, 0);
        EXPECT_NE(stream, 0u) << BASS_ErrorGetCode();
        EXPECT_TRUE(BASS_StreamPlay(stream, 0, 0));
        return stream;
    }
    static std::vector<std::int16_t> render(std::size_t frames) {
        std::vector<std::int16_t> out(2 * frames);
        EXPECT_EQ(BASS_Render(out.data(), static_cast<uint32_t>(frames)),
                  static_cast<int32_t>(frames));
        return out;
    }

private:
    int files_ = 0;
};

// A tone that swells from quiet to loud, so that level-dependent effects show.
std::vector<std::int16_t> swellingTone(std::size_t frames) {
    std::vector<std::int16_t> samples(2 * frames);
    for (std::size_t i = 0; i < frames; ++i) {
        const double level = 0.05 + 0.85 * static_cast<double>(i) / static_cast<double>(frames);
        const double v = level * std::sin(2 * 3.14159265358979 * 440 * i / kRate);
        samples[2 * i] = static_cast<std::int16_t>(std::lround(v * 32767));
        samples[2 * i + 1] = static_cast<std::int16_t>(std::lround(-v * 20000));
    }
    return samples;
}

// The samples run through effects made by hand, in the order given, as 16-bit output.
std::vector<std::int16_t> byHand(const std::vector<std::int16_t>& in,
                                 const std::vector<std::pair<int, const void*>>& effects) {
    std::vector<float> x(in.size());
    for (std::size_t i = 0; i < in.size(); ++i) x[i] = in[i] / 32768.0f;
    for (const auto& [type, record] : effects) {
        auto effect = soundlib::createChannelEffect(type);
        effect->setSampleRate(kRate);
        EXPECT_TRUE(effect->setParameters(record));
        effect->process(x.data(), x.size() / 2);
    }
    std::vector<std::int16_t> out(x.size());
    for (std::size_t i = 0; i < x.size(); ++i) {
        out[i] =
            static_cast<std::int16_t>(std::clamp(std::lround(x[i] * 32768.0f), -32768L, 32767L));
    }
    return out;
}

int largestDifference(const std::vector<std::int16_t>& a, const std::vector<std::int16_t>& b) {
    int worst = 0;
    for (std::size_t i = 0; i < std::min(a.size(), b.size()); ++i) {
        worst = std::max(worst, std::abs(a[i] - b[i]));
    }
    return worst;
}

TEST_F(FxApi, ZeroStaleAndForeignHandlesFailHarmlessly) {
    SoundFxEcho echo{};
    EXPECT_EQ(BASS_ChannelSetFX(0, SOUND_FX_ECHO), 0u);
    EXPECT_EQ(BASS_ErrorGetCode(), SOUND_ERROR_HANDLE);
    const uint32_t stream = play(swellingTone(1000));
    for (uint32_t unknown : {6u, 9u, 0xFFFFFFFFu}) {
        EXPECT_EQ(BASS_ChannelSetFX(stream, unknown), 0u);
        EXPECT_EQ(BASS_ErrorGetCode(), SOUND_ERROR_EFFECT);
    }
    const uint32_t fx = BASS_ChannelSetFX(stream, SOUND_FX_ECHO);
    ASSERT_NE(fx, 0u);
    EXPECT_EQ(BASS_ErrorGetCode(), SOUND_OK);

    EXPECT_FALSE(BASS_FXSetParameters(0, &echo));
    EXPECT_EQ(BASS_ErrorGetCode(), SOUND_ERROR_EFFECT);
    EXPECT_FALSE(BASS_FXSetParameters(fx + 1000, &echo));
    EXPECT_FALSE(BASS_FXSetParameters(fx, nullptr));
    EXPECT_EQ(BASS_ErrorGetCode(), SOUND_ERROR_PARAM);

    // A value out of range is refused and the old ones stay.
    const SoundFxEcho bad{50, 50, 5000, 500, 0};
    EXPECT_FALSE(BASS_FXSetParameters(fx, &bad));
    EXPECT_EQ(BASS_ErrorGetCode(), SOUND_ERROR_PARAM);
    ASSERT_TRUE(BASS_FXGetParameters(fx, &echo));
    EXPECT_EQ(echo.leftDelay, 500.0f);
    const SoundFxEcho good{20, 30, 40, 50, -1};
    ASSERT_TRUE(BASS_FXSetParameters(fx, &good));
    ASSERT_TRUE(BASS_FXGetParameters(fx, &echo));
    EXPECT_EQ(echo.rightDelay, 50.0f);
    EXPECT_EQ(echo.panDelay, -1);

    // Removing through another channel or no channel touches nothing.
    const uint32_t other = play(swellingTone(1000));
    EXPECT_FALSE(BASS_ChannelRemoveFX(other, fx));
    EXPECT_EQ(BASS_ErrorGetCode(), SOUND_ERROR_EFFECT);
    EXPECT_FALSE(BASS_ChannelRemoveFX(0, fx));
    EXPECT_EQ(BASS_ErrorGetCode(), SOUND_ERROR_HANDLE);
    EXPECT_TRUE(BASS_FXGetParameters(fx, &echo));

    ASSERT_TRUE(BASS_ChannelRemoveFX(stream, fx));
    EXPECT_FALSE(BASS_FXSetParameters(fx, &good));
    EXPECT_EQ(BASS_ErrorGetCode(), SOUND_ERROR_EFFECT);
    EXPECT_FALSE(BASS_ChannelRemoveFX(stream, fx));

    // An effect goes with its channel; its handle then fails.
    const uint32_t band = BASS_ChannelSetFX(other, SOUND_FX_PARAMEQ);
    ASSERT_NE(band, 0u);
    ASSERT_TRUE(BASS_StreamFree(other));
    const SoundFxParamEq flat{1000, 12, 0};
    EXPECT_FALSE(BASS_FXSetParameters(band, &flat));
    EXPECT_EQ(BASS_ErrorGetCode(), SOUND_ERROR_EFFECT);
    EXPECT_FALSE(BASS_FXGetParameters(band, &echo));
    EXPECT_EQ(BASS_ChannelSetFX(other, SOUND_FX_PARAMEQ), 0u);
    EXPECT_EQ(BASS_ErrorGetCode(), SOUND_ERROR_HANDLE);
}

TEST_F(FxApi, EffectsRunInTheOrderOfAttachment) {
    const std::size_t frames = kRate;
    const auto tone = swellingTone(frames);
    // A pure 12 dB gain before a hard clipper differs plainly from the other order.
    const SoundFxCompressor gain{12, 10, 200, 0, 1, 0};
    const SoundFxDistortion clip{0, 100, 4000, 8000, 8000};
    const uint32_t stream = play(tone);
    ASSERT_TRUE(BASS_FXSetParameters(BASS_ChannelSetFX(stream, SOUND_FX_COMPRESSOR), &gain));
    ASSERT_TRUE(BASS_FXSetParameters(BASS_ChannelSetFX(stream, SOUND_FX_DISTORTION), &clip));
    const auto out = render(frames);
    const auto inOrder = byHand(tone, {{SOUND_FX_COMPRESSOR, &gain}, {SOUND_FX_DISTORTION, &clip}});
    const auto reversed =
        byHand(tone, {{SOUND_FX_DISTORTION, &clip}, {SOUND_FX_COMPRESSOR, &gain}});
    EXPECT_LE(largestDifference(out, inOrder), 2);
    EXPECT_GT(largestDifference(out, reversed), 1000);
}

TEST_F(FxApi, FlatEqualizerIsTransparentAndFreedEffectsAreGone) {
    const std::size_t frames = kRate / 2;
    const auto tone = swellingTone(frames);
    const uint32_t first = play(tone);
    const float centres[] = {80, 125, 250, 500, 1000, 2000, 4000, 8000, 16000};
    for (float centre : centres) {
        const SoundFxParamEq band{centre, 18, 0};
        ASSERT_TRUE(BASS_FXSetParameters(BASS_ChannelSetFX(first, SOUND_FX_PARAMEQ), &band));
    }
    EXPECT_LE(largestDifference(render(frames), tone), 1);
    // A new channel after the old one is freed starts without the old one's effects.
    const uint32_t echo = BASS_ChannelSetFX(first, SOUND_FX_ECHO);
    ASSERT_NE(echo, 0u);
    ASSERT_TRUE(BASS_StreamFree(first));
    play(tone);
    EXPECT_EQ(render(frames), tone);
}

TEST_F(FxApi, EchoRepeatsComeOutOfTheMixerAtTheirDelays) {
    std::vector<std::int16_t> click(2 * kRate, 0);
    click[0] = 16384;
    click[1] = -16384;
    const uint32_t stream = play(click);
    const SoundFxEcho echo{50, 50, 100, 250, 0};
    ASSERT_TRUE(BASS_FXSetParameters(BASS_ChannelSetFX(stream, SOUND_FX_ECHO), &echo));
    const auto out = render(kRate);
    EXPECT_NEAR(out[0], 8192, 1);
    EXPECT_NEAR(out[2 * 4410], 8192, 1);
    EXPECT_NEAR(out[2 * 8820], 4096, 1);
    EXPECT_NEAR(out[2 * 11025 + 1], -8192, 1);
    EXPECT_NEAR(out[2 * 22050 + 1], -4096, 1);
}

}  // namespace
