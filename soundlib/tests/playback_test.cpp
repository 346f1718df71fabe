// The mixer driven offline: what channels put out, where they are, how they end.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "soundlib/effect_chain.h"
#include "soundlib/soundlib.h"
#include "soundlib/tests/fixtures.h"
#include "testing/wav_fixture.h"

using namespace soundlib_test;

namespace {

class Offline : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(BASS_Init(0, 44100, SOUND_INIT_OFFLINE, nullptr, nullptr));
    }
    void TearDown() override { BASS_Free(); }

    static std::vector<std::int16_t> render(std::size_t frames) {
        std::vector<std::int16_t> out(frames * 2);
        EXPECT_EQ(BASS_Render(out.data(), static_cast<uint32_t>(frames)),
                  static_cast<int32_t>(frames));
        return out;
    }
    static uint32_t open(const std::string& name) {
        const auto path = fixture(name);
        const uint32_t handle = BASS_StreamCreateFile(0, path.c_str(), 0, 0, 0);
        EXPECT_NE(handle, 0u) << name << " error " << BASS_ErrorGetCode();
        return handle;
    }
};

void countCall(uint32_t, uint32_t, uint32_t, void* user) {
    ++*static_cast<int*>(user);
}

std::vector<std::int16_t> slice(const std::vector<std::int16_t>& v, std::size_t frame,
                                std::size_t frames) {
    return {v.begin() + 2 * frame, v.begin() + 2 * (frame + frames)};
}

}  // namespace

TEST_F(Offline, WavPlaysBitExactAndEndsOnceWithItsSyncs) {
    const auto reference = referenceDecode(fixture("stereo.wav"));
    const uint32_t stream = open("stereo.wav");
    const std::size_t length = reference.size() / 2;
    ASSERT_EQ(BASS_StreamGetLength(stream), static_cast<int64_t>(length * 4));
    int ends = 0;
    ASSERT_NE(BASS_ChannelSetSync(stream, SOUND_SYNC_END, 0, &countCall, &ends), 0u);
    EXPECT_EQ(BASS_ChannelIsActive(stream), uint32_t{SOUND_ACTIVE_STOPPED});
    ASSERT_TRUE(BASS_StreamPlay(stream, 0, 0));
    EXPECT_EQ(BASS_ChannelIsActive(stream), uint32_t{SOUND_ACTIVE_PLAYING});

    const auto out = render(length + 3000);
    EXPECT_TRUE(slice(out, 0, length) == reference);
    EXPECT_TRUE(std::all_of(out.begin() + 2 * length, out.end(), [](auto v) { return v == 0; }));
    EXPECT_EQ(ends, 1);
    EXPECT_EQ(BASS_ChannelIsActive(stream), uint32_t{SOUND_ACTIVE_STOPPED});
    EXPECT_EQ(BASS_ChannelGetPosition(stream), static_cast<int64_t>(length * 4));
    render(5000);
    EXPECT_EQ(ends, 1);

    // Played again after its end, it starts over and ends once more.
    ASSERT_TRUE(BASS_StreamPlay(stream, 0, 0));
    EXPECT_TRUE(slice(render(1000), 0, 1000) == slice(reference, 0, 1000));
    render(length);
    EXPECT_EQ(ends, 2);
}

TEST_F(Offline, VolumePanMasterVolumeAndSpeedShapeTheOutput) {
    const auto reference = referenceDecode(fixture("stereo.wav"));
    struct Case {
        int volume, pan, master;
        double left, right;
    };
    for (Case c :
         {Case{50, 0, 100, 0.5, 0.5}, Case{100, -100, 100, 1, 0}, Case{100, 100, 100, 0, 1},
          Case{100, 50, 100, 0.5, 1}, Case{100, 0, 0, 0, 0}, Case{80, 0, 50, 0.4, 0.4}}) {
        const uint32_t stream = open("stereo.wav");
        ASSERT_TRUE(BASS_ChannelSetAttributes(stream, -1, c.volume, c.pan));
        ASSERT_TRUE(BASS_SetVolume(static_cast<uint32_t>(c.master)));
        BASS_StreamPlay(stream, 0, 0);
        const auto out = render(4000);
        int worst = 0;
        for (std::size_t i = 0; i < out.size(); ++i) {
            const double expected = reference[i] * (i % 2 ? c.right : c.left);
            worst = std::max(worst, static_cast<int>(std::lround(std::fabs(out[i] - expected))));
        }
        EXPECT_LE(worst, 1) << "volume " << c.volume << " pan " << c.pan << " master " << c.master;
        BASS_StreamFree(stream);
    }
    BASS_SetVolume(100);

    // -1 and -101 keep what is set; out-of-range values are refused.
    const uint32_t stream = open("stereo.wav");
    ASSERT_TRUE(BASS_ChannelSetAttributes(stream, 22050, 40, -30));
    ASSERT_TRUE(BASS_ChannelSetAttributes(stream, -1, -1, -101));
    uint32_t freq = 0, volume = 0;
    int pan = 0;
    BASS_ChannelGetAttributes(stream, &freq, &volume, &pan);
    EXPECT_EQ(freq, 22050u);
    EXPECT_EQ(volume, 40u);
    EXPECT_EQ(pan, -30);
    EXPECT_FALSE(BASS_ChannelSetAttributes(stream, -1, 101, -101));
    EXPECT_EQ(BASS_ErrorGetCode(), SOUND_ERROR_PARAM);
    EXPECT_FALSE(BASS_ChannelSetAttributes(stream, -1, -1, 150));

    // Double speed: a 440 Hz left side comes out at 880 Hz, and the file ends in half the time.
    ASSERT_TRUE(BASS_ChannelSetAttributes(stream, 88200, 100, 0));
    int ends = 0;
    BASS_ChannelSetSync(stream, SOUND_SYNC_END, 0, &countCall, &ends);
    BASS_StreamPlay(stream, 0, 0);
    const auto out = render(22050);
    int crossings = 0;
    for (std::size_t i = 2; i < out.size(); i += 2) crossings += (out[i - 2] < 0) != (out[i] < 0);
    EXPECT_NEAR(crossings, 880, 6);
    EXPECT_NEAR(BASS_ChannelGetPosition(stream) / 4, 44100, 64);
    const std::size_t length = reference.size() / 2;
    render(length / 2 - 22050 - 200);
    EXPECT_EQ(ends, 0);
    render(400);
    EXPECT_EQ(ends, 1);
}

TEST_F(Offline, SeeksLandOnTheFrameAndPositionsFollowWhatIsRendered) {
    for (const char* name : {"stereo.wav", "lame.mp3", "vorbis.ogg"}) {
        const auto reference = referenceDecode(fixture(name));
        const uint32_t stream = open(name);
        const int64_t target = 4 * 31337;
        ASSERT_TRUE(BASS_ChannelSetPosition(stream, target + 3));  // rounded down to a frame
        EXPECT_EQ(BASS_ChannelGetPosition(stream), target) << name;
        BASS_StreamPlay(stream, 0, 0);
        const auto out = render(1000);
        EXPECT_EQ(BASS_ChannelGetPosition(stream), target + 4000) << name;
        EXPECT_TRUE(out == slice(reference, 31337, 1000)) << name;
        EXPECT_FLOAT_EQ(BASS_ChannelBytes2Seconds(stream, 4 * 44100), 1.0f);
        EXPECT_EQ(BASS_ChannelSeconds2Bytes(stream, 0.5f), 4 * 22050);
        EXPECT_FALSE(BASS_ChannelSetPosition(stream, BASS_StreamGetLength(stream) + 4));
        EXPECT_EQ(BASS_ErrorGetCode(), SOUND_ERROR_POSITION);
        BASS_StreamFree(stream);
    }
}

TEST_F(Offline, TransportStates) {
    const auto reference = referenceDecode(fixture("stereo.wav"));
    const uint32_t stream = open("stereo.wav");
    BASS_StreamPlay(stream, 0, 0);
    render(1000);
    ASSERT_TRUE(BASS_ChannelPause(stream));
    EXPECT_EQ(BASS_ChannelIsActive(stream), uint32_t{SOUND_ACTIVE_PAUSED});
    const auto paused = render(500);
    EXPECT_TRUE(std::all_of(paused.begin(), paused.end(), [](auto v) { return v == 0; }));
    EXPECT_EQ(BASS_ChannelGetPosition(stream), 4 * 1000);
    ASSERT_TRUE(BASS_ChannelResume(stream));
    EXPECT_EQ(BASS_ChannelIsActive(stream), uint32_t{SOUND_ACTIVE_PLAYING});
    EXPECT_TRUE(render(500) == slice(reference, 1000, 500));

    ASSERT_TRUE(BASS_ChannelStop(stream));
    EXPECT_EQ(BASS_ChannelIsActive(stream), uint32_t{SOUND_ACTIVE_STOPPED});
    EXPECT_FALSE(BASS_ChannelResume(stream));
    // Playing a stopped stream goes on from where it stopped; with flush, from the start.
    BASS_StreamPlay(stream, 0, 0);
    EXPECT_TRUE(render(100) == slice(reference, 1500, 100));
    BASS_StreamPlay(stream, 1, 0);
    EXPECT_EQ(BASS_ChannelGetPosition(stream), 0);
    EXPECT_TRUE(render(100) == slice(reference, 0, 100));
}

TEST_F(Offline, StreamsAndMusicsRefuseEachOthersCalls) {
    const uint32_t stream = open("stereo.wav");
    const auto module = peer("modules/debian/tecnoballz-data/high-score.mod");
    const uint32_t music = BASS_MusicLoad(0, module.c_str(), 0, 0, 0, 0);
    ASSERT_NE(music, 0u);
    struct Case {
        const char* call;
        bool ok;
    };
    const Case refused[] = {
        {"StreamFree(music)", BASS_StreamFree(music) != 0},
        {"StreamPlay(music)", BASS_StreamPlay(music, 0, 0) != 0},
        {"StreamGetLength(music)", BASS_StreamGetLength(music) != -1},
        {"MusicFree(stream)", BASS_MusicFree(stream) != 0},
        {"MusicPlay(stream)", BASS_MusicPlay(stream) != 0},
        {"MusicGetLength(stream)", BASS_MusicGetLength(stream, 1) != -1},
    };
    for (const Case& c : refused) EXPECT_FALSE(c.ok) << c.call;
    BASS_StreamFree(music);
    EXPECT_EQ(BASS_ErrorGetCode(), SOUND_ERROR_KIND);
    // Both survived, and each frees as its own kind.
    EXPECT_EQ(BASS_ChannelIsActive(music), uint32_t{SOUND_ACTIVE_STOPPED});
    EXPECT_GT(BASS_MusicGetLength(music, 1), 0);
    EXPECT_TRUE(BASS_StreamFree(stream));
    EXPECT_TRUE(BASS_MusicFree(music));
    for (uint32_t gone : {stream, music, 0u}) {
        EXPECT_FALSE(BASS_StreamFree(gone));
        EXPECT_FALSE(BASS_MusicFree(gone));
        EXPECT_EQ(BASS_ErrorGetCode(), SOUND_ERROR_HANDLE);
        EXPECT_EQ(BASS_ChannelGetPosition(gone), -1);
        EXPECT_EQ(BASS_ChannelGetLevel(gone), -1);
    }
}

TEST_F(Offline, LevelsSampleDataAndSpectrumOfASine) {
    // 20 * 44100 / 1024 Hz falls on bin 20 of the 1024-point spectrum.
    const auto path = scratch("bin20.wav");
    writeWav(path, 44100, 2, sine(20.0 * 44100 / 1024, 1.0, 44100, 44100));
    const uint32_t stream = BASS_StreamCreateFile(0, path.c_str(), 0, 0, 0);
    ASSERT_NE(stream, 0u);
    EXPECT_EQ(BASS_ChannelGetLevel(stream), -1);  // not playing
    BASS_StreamPlay(stream, 0, 0);
    BASS_ChannelSetAttributes(stream, -1, 50, -101);  // levels and data are taken before volume
    const auto out = render(8000);
    const int32_t level = BASS_ChannelGetLevel(stream);
    EXPECT_EQ(level & 0xFFFF, 128);
    EXPECT_EQ(level >> 16, 128);

    std::int16_t data[1024];
    ASSERT_EQ(BASS_ChannelGetData(stream, data, 2048), 2048);
    const auto expected = sine(20.0 * 44100 / 1024, 1.0, 44100, 8000);
    EXPECT_TRUE(std::equal(data, data + 1024, expected.end() - 1024));

    float fft[512];
    ASSERT_EQ(BASS_ChannelGetData(stream, fft, SOUND_DATA_FFT1024), 2048);
    EXPECT_NEAR(fft[20], 0.5f, 0.01f);
    for (int k : {0, 10, 17, 23, 40, 200, 511}) EXPECT_LT(fft[k], 0.001f) << k;

    EXPECT_EQ(BASS_ChannelGetData(stream, data, 0x80000007u), -1);
    EXPECT_EQ(BASS_ChannelGetData(stream, data, 1u << 20), -1);
    BASS_ChannelSetAttributes(stream, -1, 100, -101);
    writeWav(path, 44100, 2, sine(1000, 0.25, 44100, 44100));
    const uint32_t quiet = BASS_StreamCreateFile(0, path.c_str(), 0, 0, 0);
    BASS_StreamFree(stream);
    BASS_StreamPlay(quiet, 0, 0);
    render(4000);
    EXPECT_NEAR(BASS_ChannelGetLevel(quiet) & 0xFFFF, 32, 1);
    BASS_ChannelStop(quiet);
    EXPECT_EQ(BASS_ChannelGetLevel(quiet), -1);
}

namespace {

struct DspLog {
    std::vector<int> order;
};

void silenceLeft(uint32_t, uint32_t, void* buffer, uint32_t length, void* user) {
    static_cast<DspLog*>(user)->order.push_back(1);
    auto* samples = static_cast<std::int16_t*>(buffer);
    for (uint32_t i = 0; i < length / 2; i += 2) samples[i] = 0;
}

void noteFirst(uint32_t, uint32_t, void*, uint32_t length, void* user) {
    EXPECT_EQ(length % 4, 0u);
    static_cast<DspLog*>(user)->order.push_back(5);
}

// Adds a constant to the left side: run after the callbacks, it shows their order.
class OffsetEffect : public soundlib::ChannelEffect {
public:
    bool setParameters(const void*) override { return true; }
    void getParameters(void*) const override {}
    void setSampleRate(double hz) override { rate = hz; }
    void process(float* samples, std::size_t frames) override {
        for (std::size_t i = 0; i < frames; ++i) samples[2 * i] += 0.25f;
    }
    void reset() override {}
    double rate = 0;
};

}  // namespace

TEST_F(Offline, SampleCallbacksEditTheDataBeforeTheEffectChain) {
    const auto reference = referenceDecode(fixture("stereo.wav"));
    const uint32_t stream = open("stereo.wav");
    DspLog log;
    const uint32_t low = BASS_ChannelSetDSP(stream, &silenceLeft, &log, 1);
    const uint32_t high = BASS_ChannelSetDSP(stream, &noteFirst, &log, 5);
    ASSERT_NE(low, 0u);
    ASSERT_NE(high, 0u);
    auto* effect = new OffsetEffect;
    std::uint32_t id = 0;
    ASSERT_TRUE(soundlib::withChannelEffects(stream, [&](soundlib::EffectChain& chain) {
        id = chain.add(std::unique_ptr<OffsetEffect>(effect));
    }));
    EXPECT_FALSE(soundlib::withChannelEffects(0, [](soundlib::EffectChain&) {}));
    BASS_StreamPlay(stream, 0, 0);
    auto out = render(1000);
    ASSERT_GE(log.order.size(), 2u);
    EXPECT_EQ(log.order[0], 5);
    EXPECT_EQ(log.order[1], 1);
    EXPECT_EQ(effect->rate, 44100);
    for (std::size_t i = 0; i < 1000; ++i) {
        ASSERT_EQ(out[2 * i], 8192) << i;  // zeroed by the callback, then offset by the effect
        ASSERT_EQ(out[2 * i + 1], reference[2 * i + 1]) << i;
    }
    EXPECT_TRUE(BASS_ChannelRemoveDSP(stream, low));
    EXPECT_FALSE(BASS_ChannelRemoveDSP(stream, low));
    soundlib::withChannelEffects(stream, [&](soundlib::EffectChain& chain) { chain.remove(id); });
    out = render(1000);
    EXPECT_TRUE(out == slice(reference, 1000, 1000));
}

TEST_F(Offline, MusicsPlayOnceWithExactLengthAndSeeks) {
    struct Case {
        const char* file;
        double seconds;
    };
    for (Case c : {Case{"modules/libxmp/test/test.it", 4.8},
                   Case{"modules/taglib/tests/data/test.mod", 7.68},
                   Case{"modules/libxmp/test-dev/data/m/fall1.mtm", 0}}) {
        const auto path = peer(c.file);
        const uint32_t music = BASS_MusicLoad(0, path.c_str(), 0, 0, 0, 0);
        ASSERT_NE(music, 0u) << c.file << " error " << BASS_ErrorGetCode();
        const int64_t length = BASS_MusicGetLength(music, 1);
        if (c.seconds > 0) {
            EXPECT_NEAR(BASS_ChannelBytes2Seconds(music, length), c.seconds, 0.002);
        }
        EXPECT_GT(BASS_MusicGetLength(music, 0), 0);
        SoundChannelInfo info{};
        ASSERT_TRUE(BASS_ChannelGetInfo(music, &info));
        EXPECT_EQ(info.freq, 44100u);
        EXPECT_EQ(info.kind, uint32_t{SOUND_KIND_MUSIC});

        int ends = 0;
        BASS_ChannelSetSync(music, SOUND_SYNC_END, 0, &countCall, &ends);
        const int64_t target = (length / 8) & ~3;
        ASSERT_TRUE(BASS_ChannelSetPosition(music, target));
        EXPECT_EQ(BASS_ChannelGetPosition(music), target);
        ASSERT_TRUE(BASS_MusicPlay(music));
        const std::size_t rest = static_cast<std::size_t>((length - target) / 4);
        render(rest - 100);
        EXPECT_EQ(BASS_ChannelIsActive(music), uint32_t{SOUND_ACTIVE_PLAYING}) << c.file;
        EXPECT_EQ(ends, 0);
        render(200);
        EXPECT_EQ(BASS_ChannelIsActive(music), uint32_t{SOUND_ACTIVE_STOPPED}) << c.file;
        EXPECT_EQ(ends, 1) << c.file;
        BASS_MusicFree(music);
    }
}
