// Audio CD: drives from disc images, tables of contents, and CD streams read through the
// paranoia reader on a thread of their own.
#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <thread>

#include "soundlib/soundlib.h"
#include "soundlib/soundlib_cd.h"
#include "soundlib/tests/fixtures.h"
#include "testing/cd_image.h"
#include "testing/temp_dir.h"

using namespace soundlib_test;
using testing_support::CdImageTrack;
using testing_support::writeCdImage;
using namespace std::chrono_literals;

namespace {

constexpr int kSecond = 176400;

// Twelve tones and a data track; the first track lasts 15 s, the others 1 s.
const std::vector<CdImageTrack>& albumTracks() {
    static const std::vector<CdImageTrack> tracks = [] {
        std::vector<CdImageTrack> list{{1125, 440}};
        for (int k = 1; k < 12; ++k) list.push_back({75, 500 + 150 * k});
        list.push_back({150, 0});
        return list;
    }();
    return tracks;
}
const std::vector<CdImageTrack> kPair{{300, 1000}, {150, 2000}};

// The images every test sees: the drive list is taken once a process, so they are made
// and named in ZORVAN_CD_IMAGES before the first CD call.
struct Discs {
    testing_support::TempDir dir;
    std::filesystem::path album, pair, spare, missing;
    Discs() {
        album = writeCdImage(dir.path(), "album", albumTracks());
        pair = writeCdImage(dir.path(), "pair", kPair);
        spare = writeCdImage(dir.path(), "spare", kPair);
        missing = dir / "missing.cue";
        const std::string list =
            album.string() + ":" + pair.string() + ":" + spare.string() + ":" + missing.string();
        setenv("ZORVAN_CD_IMAGES", list.c_str(), 1);
    }
};
const Discs& discs() {
    static const Discs made;
    return made;
}

// The drive number of an image (the system's own drives come first).
uint32_t driveOf(const std::filesystem::path& image) {
    for (uint32_t drive = 0; const char* letter = BASS_CD_GetDriveLetter(drive); ++drive) {
        if (image == letter) return drive;
    }
    ADD_FAILURE() << image << " is not a drive";
    return 0xFFFF;
}

// The bytes of a track in the image's BIN from `skip` bytes on, as samples.
std::vector<std::int16_t> binSamples(const std::filesystem::path& cue,
                                     const std::vector<CdImageTrack>& tracks, int track, long skip,
                                     std::size_t frames) {
    const std::string bin =
        testing_support::readFile(std::filesystem::path(cue).replace_extension(".bin"));
    std::vector<std::int16_t> samples(2 * frames);
    std::memcpy(samples.data(), bin.data() + testing_support::cdTrackOffset(tracks, track) + skip,
                4 * frames);
    return samples;
}

// The left side's tone, from its rising zero crossings.
double toneHz(const std::vector<std::int16_t>& samples) {
    int rises = 0;
    for (std::size_t i = 2; i < samples.size(); i += 2)
        rises += samples[i - 2] < 0 && samples[i] >= 0;
    return rises * 44100.0 / static_cast<double>(samples.size() / 2);
}

// The bytes read through system calls so far, from a /proc io file.
long bytesRead(const char* file) {
    const std::string text = testing_support::readFile(file);
    return std::stol(text.substr(text.find("rchar:") + 6));
}

void countCall(uint32_t, uint32_t, uint32_t, void* user) {
    ++*static_cast<int*>(user);
}

class Cd : public ::testing::Test {
protected:
    static void SetUpTestSuite() { discs(); }
    void SetUp() override {
        ASSERT_TRUE(BASS_Init(0, 44100, SOUND_INIT_OFFLINE, nullptr, nullptr));
    }
    void TearDown() override { BASS_Free(); }
};

}  // namespace

TEST_F(Cd, ImagesAreDrivesWithTheirTablesOfContents) {
    const uint32_t drive = driveOf(discs().album);
    ASSERT_STREQ(BASS_CD_GetDriveLetter(drive), discs().album.c_str());
    ASSERT_NE(BASS_CD_GetDriveDescription(drive), nullptr);
    EXPECT_STRNE(BASS_CD_GetDriveDescription(drive), "");
    EXPECT_TRUE(BASS_CD_IsReady(drive));
    EXPECT_EQ(BASS_CD_GetTracks(drive), 13);

    struct Row {
        uint32_t track;
        int32_t length;
        int error;
    };
    for (const Row& row :
         {Row{0, 15 * kSecond, SOUND_OK}, Row{1, kSecond, SOUND_OK}, Row{11, kSecond, SOUND_OK},
          Row{12, -1, SOUND_ERROR_NOTAUDIO}, Row{13, -1, SOUND_ERROR_CDTRACK}}) {
        EXPECT_EQ(BASS_CD_GetTrackLength(drive, row.track), row.length) << row.track;
        EXPECT_EQ(BASS_ErrorGetCode(), row.error) << row.track;
    }
    EXPECT_EQ(BASS_CD_StreamCreate(drive, 12, 0), 0u);
    EXPECT_EQ(BASS_ErrorGetCode(), SOUND_ERROR_NOTAUDIO);
    EXPECT_EQ(BASS_CD_StreamCreate(drive, 13, 0), 0u);
    EXPECT_EQ(BASS_ErrorGetCode(), SOUND_ERROR_CDTRACK);

    // A listed image that does not exist is a drive without a disc.
    const uint32_t empty = driveOf(discs().missing);
    EXPECT_STREQ(BASS_CD_GetDriveDescription(empty), "Disc image");
    EXPECT_FALSE(BASS_CD_IsReady(empty));
    EXPECT_EQ(BASS_CD_GetTracks(empty), -1);
    EXPECT_EQ(BASS_ErrorGetCode(), SOUND_ERROR_NOCD);
    EXPECT_EQ(BASS_CD_StreamCreate(empty, 0, 0), 0u);
    EXPECT_EQ(BASS_ErrorGetCode(), SOUND_ERROR_NOCD);

    EXPECT_EQ(BASS_CD_GetDriveLetter(empty + 1), nullptr);
    EXPECT_EQ(BASS_CD_GetDriveDescription(empty + 1), nullptr);
    EXPECT_EQ(BASS_ErrorGetCode(), SOUND_ERROR_DEVICE);
    EXPECT_EQ(BASS_CD_GetTracks(empty + 1), -1);
    EXPECT_EQ(BASS_ErrorGetCode(), SOUND_ERROR_DEVICE);
    EXPECT_EQ(BASS_CD_StreamGetTrack(12345), 0xFFFFFFFFu);
    EXPECT_EQ(BASS_ErrorGetCode(), SOUND_ERROR_HANDLE);
}

TEST_F(Cd, TracksPlayBitExactThroughTheParanoiaReaderAndEndWithTheirSync) {
    const uint32_t drive = driveOf(discs().album);
    for (const int track : {1, 6, 11}) {
        const uint32_t stream = BASS_CD_StreamCreate(drive, static_cast<uint32_t>(track), 0x10000);
        ASSERT_NE(stream, 0u) << BASS_ErrorGetCode();
        EXPECT_EQ(BASS_CD_StreamGetTrack(stream), drive << 16 | static_cast<uint32_t>(track));
        SoundChannelInfo info{};
        ASSERT_TRUE(BASS_ChannelGetInfo(stream, &info));
        EXPECT_EQ(info.kind, SOUND_KIND_CD);
        EXPECT_EQ(info.freq, 44100u);
        EXPECT_EQ(BASS_StreamGetLength(stream), kSecond);
        int ends = 0;
        ASSERT_NE(BASS_ChannelSetSync(stream, SOUND_SYNC_END, 0, &countCall, &ends), 0u);
        ASSERT_TRUE(BASS_StreamPlay(stream, 0, 0));

        const auto played = renderPlayed(stream, 2 * 44100);
        ASSERT_EQ(played.size(), 2u * 44100) << track;
        EXPECT_TRUE(played == binSamples(discs().album, albumTracks(), track, 0, 44100)) << track;
        EXPECT_NEAR(toneHz(played), albumTracks()[track].hz, 2) << track;
        EXPECT_EQ(BASS_ChannelIsActive(stream), uint32_t{SOUND_ACTIVE_STOPPED});
        EXPECT_EQ(ends, 1) << track;
        BASS_StreamFree(stream);
    }
}

TEST_F(Cd, SeeksLandOnTheByteAsked) {
    const uint32_t drive = driveOf(discs().album);
    const uint32_t stream = BASS_CD_StreamCreate(drive, 0, 0);
    ASSERT_NE(stream, 0u);
    EXPECT_EQ(BASS_StreamGetLength(stream), 2646000);
    ASSERT_TRUE(BASS_StreamPlay(stream, 0, 0));
    renderPlayed(stream, 22050);
    for (const int second : {7, 2, 14}) {
        ASSERT_TRUE(BASS_ChannelSetPosition(stream, second * kSecond)) << second;
        EXPECT_EQ(BASS_ChannelGetPosition(stream), second * kSecond);
        // A frame inside a sector, so the reader starts within one.
        auto played = renderPlayed(stream, 5000);
        played.resize(2 * 5000);
        EXPECT_TRUE(played == binSamples(discs().album, albumTracks(), 0, second * kSecond, 5000))
            << second;
    }
    ASSERT_TRUE(BASS_ChannelSetPosition(stream, 5 * kSecond + 4 * 300));
    auto played = renderPlayed(stream, 700);
    played.resize(2 * 700);
    EXPECT_TRUE(played == binSamples(discs().album, albumTracks(), 0, 5 * kSecond + 4 * 300, 700));
    EXPECT_FALSE(BASS_ChannelSetPosition(stream, 2646000 + 4));
    EXPECT_EQ(BASS_ErrorGetCode(), SOUND_ERROR_POSITION);
}

TEST_F(Cd, ADiscTakenOutWhilePlayingEndsTheStream) {
    const uint32_t drive = driveOf(discs().spare);
    const uint32_t stream = BASS_CD_StreamCreate(drive, 0, 0);
    ASSERT_NE(stream, 0u);
    int ends = 0;
    ASSERT_NE(BASS_ChannelSetSync(stream, SOUND_SYNC_END, 0, &countCall, &ends), 0u);
    ASSERT_TRUE(BASS_StreamPlay(stream, 0, 0));
    ASSERT_GE(renderPlayed(stream, 4410).size(), 2u * 4410);
    const auto away = discs().dir / "spare.away";
    std::filesystem::rename(discs().spare, away);
    // What was read ahead still plays; then the stream ends, short of the track's 4 s.
    BASS_ChannelSetPosition(stream, kSecond / 2);
    const auto rest = renderPlayed(stream, 10 * 44100);
    EXPECT_LT(rest.size(), 2u * 44100);
    EXPECT_EQ(BASS_ChannelIsActive(stream), uint32_t{SOUND_ACTIVE_STOPPED});
    EXPECT_EQ(ends, 1);
    EXPECT_FALSE(BASS_CD_IsReady(drive));
    std::filesystem::rename(away, discs().spare);
    EXPECT_TRUE(BASS_CD_IsReady(drive));
}

TEST_F(Cd, TheCallerReadsNoSectors) {
    const uint32_t drive = driveOf(discs().album);
    const long callerBefore = bytesRead("/proc/thread-self/io");
    const long processBefore = bytesRead("/proc/self/io");
    const uint32_t stream = BASS_CD_StreamCreate(drive, 0, 0);
    ASSERT_NE(stream, 0u);
    ASSERT_TRUE(BASS_StreamPlay(stream, 0, 0));
    ASSERT_GE(renderPlayed(stream, 2 * 44100).size(), 2u * 2 * 44100);
    ASSERT_TRUE(BASS_ChannelSetPosition(stream, 10 * kSecond));
    ASSERT_GE(renderPlayed(stream, 44100).size(), 2u * 44100);
    EXPECT_TRUE(BASS_StreamFree(stream));
    // Three seconds of sectors were read, by the stream's own thread: this one read no
    // more than the CUE sheet and its own bookkeeping.
    EXPECT_GT(bytesRead("/proc/self/io") - processBefore, 3 * kSecond);
    EXPECT_LT(bytesRead("/proc/thread-self/io") - callerBefore, 16 * 1024);
}
