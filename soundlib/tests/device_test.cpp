// Playback through real outputs: SDL's dummy driver (real time), its disk driver (the
// output captured to a file) and the "no sound" device.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <thread>

#include "soundlib/soundlib.h"
#include "soundlib/tests/fixtures.h"
#include "testing/temp_dir.h"

using namespace soundlib_test;
using namespace std::chrono_literals;

namespace {

bool waitUntilStopped(uint32_t channel, std::chrono::seconds limit) {
    const auto end = std::chrono::steady_clock::now() + limit;
    while (BASS_ChannelIsActive(channel) != SOUND_ACTIVE_STOPPED) {
        if (std::chrono::steady_clock::now() > end) return false;
        std::this_thread::sleep_for(10ms);
    }
    return true;
}

}  // namespace

TEST(Device, InitChecksItsArgumentsAndReportsTheOutput) {
    EXPECT_EQ(BASS_StreamCreateFile(0, fixture("stereo.wav").c_str(), 0, 0, 0), 0u);
    EXPECT_EQ(BASS_ErrorGetCode(), SOUND_ERROR_INIT);
    EXPECT_FALSE(BASS_Free());
    EXPECT_EQ(BASS_ErrorGetCode(), SOUND_ERROR_INIT);
    EXPECT_FALSE(BASS_Init(99, 44100, 4, nullptr, nullptr));
    EXPECT_EQ(BASS_ErrorGetCode(), SOUND_ERROR_DEVICE);

    ASSERT_TRUE(BASS_Init(1, 44100, 4, nullptr, nullptr)) << BASS_ErrorGetCode();
    EXPECT_TRUE(BASS_Start());
    EXPECT_FALSE(BASS_Init(1, 44100, 4, nullptr, nullptr));
    EXPECT_EQ(BASS_ErrorGetCode(), SOUND_ERROR_ALREADY);
    SoundDeviceInfo info{};
    info.size = 60;  // what callers pass; the record is smaller and filled as far as it goes
    ASSERT_TRUE(BASS_GetInfo(&info));
    EXPECT_EQ(info.freq, 44100u);
    EXPECT_EQ(info.dsver, 9u);
    EXPECT_EQ(info.speakers, 2u);
    EXPECT_LE(info.minrate, 44100u);
    EXPECT_GE(info.maxrate, 44100u);
    EXPECT_GT(info.latency, 0u);
    EXPECT_STREQ(BASS_GetDeviceDescription(0), "No sound");
    EXPECT_STREQ(BASS_GetDeviceDescription(1), "Default output");
    int devices = 2;
    while (devices < 64 && BASS_GetDeviceDescription(devices)) ++devices;
    EXPECT_LT(devices, 64);
    EXPECT_EQ(BASS_GetDeviceDescription(-1), nullptr);
    EXPECT_TRUE(BASS_Free());
}

TEST(Device, PlaybackAdvancesInRealTimeOnTheDummyOutputAndWithoutSound) {
    for (int device : {1, 0}) {
        ASSERT_TRUE(BASS_Init(device, 44100, 0, nullptr, nullptr)) << BASS_ErrorGetCode();
        const uint32_t stream = BASS_StreamCreateFile(0, fixture("lame.mp3").c_str(), 0, 0, 0);
        ASSERT_NE(stream, 0u);
        int ends = 0;
        BASS_ChannelSetSync(
            stream, SOUND_SYNC_END, 0,
            [](uint32_t, uint32_t, uint32_t, void* user) { ++*static_cast<int*>(user); }, &ends);
        ASSERT_TRUE(BASS_StreamPlay(stream, 0, 0));
        std::this_thread::sleep_for(300ms);
        const auto start = std::chrono::steady_clock::now();
        const float first = BASS_ChannelBytes2Seconds(stream, BASS_ChannelGetPosition(stream));
        std::this_thread::sleep_for(700ms);
        const float second = BASS_ChannelBytes2Seconds(stream, BASS_ChannelGetPosition(stream));
        const double elapsed =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        EXPECT_GT(first, 0.0f) << "device " << device;
        EXPECT_NEAR(second - first, elapsed, 0.15) << "device " << device;
        EXPECT_EQ(BASS_ChannelIsActive(stream), uint32_t{SOUND_ACTIVE_PLAYING});
        EXPECT_GE(BASS_GetCPU(), 0.0f);
        EXPECT_LT(BASS_GetCPU(), 100.0f);
        // Seeking near the end: the stream ends by itself and its sync fires once.
        ASSERT_TRUE(BASS_ChannelSetPosition(stream, BASS_StreamGetLength(stream) - 4 * 8000));
        EXPECT_TRUE(waitUntilStopped(stream, 5s)) << "device " << device;
        std::this_thread::sleep_for(100ms);
        EXPECT_EQ(ends, 1) << "device " << device;
        // Freed while a second stream plays: nothing is left running.
        BASS_StreamPlay(stream, 1, 0);
        std::this_thread::sleep_for(50ms);
        EXPECT_TRUE(BASS_Free());
    }
}

TEST(Device, TheDiskOutputCapturesExactlyTheDecodedSamples) {
    const auto capture = scratch("capture.raw");
    setenv("SDL_AUDIODRIVER", "disk", 1);
    setenv("SDL_DISKAUDIOFILE", capture.c_str(), 1);
    BASS_SetConfig(SOUND_CONFIG_BUFFER, 400);  // room to spare on a busy machine
    ASSERT_TRUE(BASS_Init(1, 44100, 0, nullptr, nullptr)) << BASS_ErrorGetCode();
    const auto reference = referenceDecode(fixture("stereo.wav"));
    const uint32_t stream = BASS_StreamCreateFile(0, fixture("stereo.wav").c_str(), 0, 0, 0);
    ASSERT_TRUE(BASS_StreamPlay(stream, 0, 0));
    EXPECT_TRUE(waitUntilStopped(stream, 10s));
    BASS_Free();
    BASS_SetConfig(SOUND_CONFIG_BUFFER, 100);
    setenv("SDL_AUDIODRIVER", "dummy", 1);

    const std::string bytes = testing_support::readFile(capture);
    std::vector<std::int16_t> out(bytes.size() / 2);
    std::memcpy(out.data(), bytes.data(), out.size() * 2);
    const auto first = std::find_if(out.begin(), out.end(), [](auto v) { return v != 0; });
    ASSERT_NE(first, out.end());
    const std::size_t at = static_cast<std::size_t>(first - out.begin()) & ~std::size_t{1};
    // The reference may itself start with zero samples.
    const auto lead = static_cast<std::size_t>(std::find_if(reference.begin(), reference.end(),
                                                            [](auto v) { return v != 0; }) -
                                               reference.begin()) &
                      ~std::size_t{1};
    ASSERT_GE(out.size() - at, reference.size() - lead);
    EXPECT_TRUE(std::equal(reference.begin() + static_cast<long>(lead), reference.end(),
                           out.begin() + static_cast<long>(at)));
}
