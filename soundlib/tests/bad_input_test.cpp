// Whatever a file holds, the create calls give a channel or 0 with an error code: no
// crash, no hang, bounded memory. A stream whose data breaks off mid-way ends cleanly.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>

#include <chrono>
#include <functional>
#include <future>
#include <random>

#include "platform/unique_fd.h"
#include "soundlib/soundlib.h"
#include "soundlib/tests/fixtures.h"
#include "testing/temp_dir.h"
#include "testing/wav_fixture.h"

using namespace soundlib_test;
using testing_support::readFile;
using testing_support::writeFile;

namespace {

class BadInput : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(BASS_Init(0, 44100, SOUND_INIT_OFFLINE, nullptr, nullptr));
    }
    void TearDown() override { BASS_Free(); }
};

std::string randomBytes(std::size_t size, unsigned seed) {
    std::mt19937 random(seed);
    std::string bytes(size, '\0');
    for (char& c : bytes) c = static_cast<char>(random());
    return bytes;
}

// A WAV header announcing the given format over a few bytes of data.
std::string badWav(std::uint16_t channels, std::uint32_t rate, std::uint16_t bits,
                   std::uint32_t dataSize) {
    return wavHeader(channels, rate, bits, dataSize, 0xFFFFFFF0u) + std::string(64, '\x10');
}

}  // namespace

TEST_F(BadInput, EveryCreateCallRefusesWhatItCannotPlay) {
    const std::string mp3 = readFile(fixture("lame.mp3"));
    const std::string ogg = readFile(fixture("vorbis.ogg"));
    struct Case {
        const char* name;
        std::string bytes;  // written unless it is the missing file
    };
    const Case cases[] = {
        {"empty.mp3", ""},
        {"short.mp3", mp3.substr(0, 300)},
        {"header-only.ogg", ogg.substr(0, 200)},
        {"garbage.mp3", randomBytes(20000, 1)},
        {"garbage.wma", randomBytes(9000, 2)},
        {"text.mp3", std::string(5000, 'a') + "\nnot audio at all\n"},
        {"no-channels.wav", badWav(0, 44100, 16, 64)},
        {"no-rate.wav", badWav(2, 0, 16, 64)},
        {"huge-channels.wav", badWav(65535, 44100, 16, 64)},
        {"huge-rate.wav", badWav(2, 0xFFFFFFF0u, 16, 64)},
        {"id3-huge.mp3", std::string("ID3\x03\x00\x00\x7F\x7F\x7F\x7F", 10) + randomBytes(3000, 3)},
    };
    for (const Case& c : cases) {
        const auto path = scratch(c.name);
        writeFile(path, c.bytes);
        EXPECT_EQ(BASS_StreamCreateFile(0, path.c_str(), 0, 0, 0), 0u) << c.name;
        EXPECT_NE(BASS_ErrorGetCode(), SOUND_OK) << c.name;
        EXPECT_EQ(BASS_WMA_StreamCreateFile(0, path.c_str(), 0, 0, 0), 0u) << c.name;
        EXPECT_NE(BASS_ErrorGetCode(), SOUND_OK) << c.name;
        EXPECT_EQ(BASS_MusicLoad(0, path.c_str(), 0, 0, 0, 0), 0u) << c.name;
        EXPECT_NE(BASS_ErrorGetCode(), SOUND_OK) << c.name;
    }
    for (const std::string& missing : {scratch("missing.mp3").string(), scratch("").string()}) {
        EXPECT_EQ(BASS_StreamCreateFile(0, missing.c_str(), 0, 0, 0), 0u);
        EXPECT_EQ(BASS_ErrorGetCode(), SOUND_ERROR_FILEOPEN);
        EXPECT_EQ(BASS_MusicLoad(0, missing.c_str(), 0, 0, 0, 0), 0u);
        EXPECT_EQ(BASS_ErrorGetCode(), SOUND_ERROR_FILEOPEN);
    }
    EXPECT_EQ(BASS_StreamCreateFile(0, nullptr, 0, 0, 0), 0u);
    EXPECT_EQ(BASS_ErrorGetCode(), SOUND_ERROR_PARAM);
}

TEST_F(BadInput, NamedPipesAreNoSongsAndNeverHoldTheCaller) {
    using Create = std::function<uint32_t(const char*)>;
    const std::pair<const char*, Create> calls[] = {
        {"x.mp3", [](const char* p) { return BASS_StreamCreateFile(0, p, 0, 0, 0); }},
        {"x.ogg", [](const char* p) { return BASS_StreamCreateFile(0, p, 0, 0, 0); }},
        {"x.wma", [](const char* p) { return BASS_WMA_StreamCreateFile(0, p, 0, 0, 0); }},
        {"x.mod", [](const char* p) { return BASS_MusicLoad(0, p, 0, 0, 0, 0); }},
    };
    for (const auto& [name, create] : calls) {
        const std::string path = scratch(name).string();
        ASSERT_EQ(::mkfifo(path.c_str(), 0600), 0) << name;
        auto opened = std::async(std::launch::async, [&create, &path] {
            const uint32_t handle = create(path.c_str());
            return std::pair(handle, BASS_ErrorGetCode());
        });
        if (opened.wait_for(std::chrono::seconds(10)) != std::future_status::ready) {
            // Release the blocked open so the test can end.
            const platform::UniqueFd writer(::open(path.c_str(), O_WRONLY | O_NONBLOCK));
            ADD_FAILURE() << name << ": opening a named pipe waited for a writer";
        }
        EXPECT_EQ(opened.get(), std::pair(0u, static_cast<int>(SOUND_ERROR_FILEOPEN))) << name;
        std::filesystem::remove(path);
    }
}

TEST_F(BadInput, ExtensionsDoNotDecideTheFormat) {
    // A module named like an MP3 is no stream but loads as a music; a WAV named like a
    // WMA is no WMA stream but plays as a file stream.
    const auto module = scratch("module.mp3");
    writeFile(module, readFile(peer("modules/debian/tecnoballz-data/high-score.mod")));
    EXPECT_EQ(BASS_StreamCreateFile(0, module.c_str(), 0, 0, 0), 0u);
    EXPECT_NE(BASS_MusicLoad(0, module.c_str(), 0, 0, 0, 0), 0u);
    const auto wav = scratch("sound.wma");
    writeFile(wav, readFile(fixture("stereo.wav")));
    EXPECT_EQ(BASS_WMA_StreamCreateFile(0, wav.c_str(), 0, 0, 0), 0u);
    EXPECT_EQ(BASS_ErrorGetCode(), SOUND_ERROR_FORMAT);
    EXPECT_NE(BASS_StreamCreateFile(0, wav.c_str(), 0, 0, 0), 0u);
    // An MP3 in memory plays as one from a file does.
    const std::string bytes = readFile(fixture("lame.mp3"));
    const uint32_t memory =
        BASS_StreamCreateFile(1, bytes.data(), 0, static_cast<int64_t>(bytes.size()), 0);
    ASSERT_NE(memory, 0u);
    const uint32_t file = BASS_StreamCreateFile(0, fixture("lame.mp3").c_str(), 0, 0, 0);
    EXPECT_EQ(BASS_StreamGetLength(memory), BASS_StreamGetLength(file));
}

TEST_F(BadInput, AFrameCountTheFileCannotHoldIsNotBelieved) {
    std::string bytes = readFile(fixture("lame.mp3"));
    std::size_t tag = bytes.find("Info");
    if (tag == std::string::npos) tag = bytes.find("Xing");
    ASSERT_NE(tag, std::string::npos);
    ASSERT_TRUE(bytes[tag + 7] & 1);  // the tag gives a frame count
    bytes.replace(tag + 8, 4, "\x7F\xFF\xFF\xFF");
    const auto path = scratch("lying-count.mp3");
    writeFile(path, bytes);
    const uint32_t lying = BASS_StreamCreateFile(0, path.c_str(), 0, 0, 0);
    const uint32_t honest = BASS_StreamCreateFile(0, fixture("lame.mp3").c_str(), 0, 0, 0);
    ASSERT_NE(lying, 0u);
    EXPECT_EQ(BASS_StreamGetLength(lying), BASS_StreamGetLength(honest));
}

TEST_F(BadInput, FramesInsideTagsAtTheEndAreNoAudio) {
    // Frames counted one by one (no Xing header) over more than the reader keeps at once,
    // then an APE tag whose value holds a copy of MPEG frames, then an ID3v1 block.
    const std::string frames = readFile(fixture("plain.mp3"));
    std::string audio;
    while (audio.size() < 100'000) audio += frames;
    const auto littleEndian = [](std::uint32_t v) {
        return std::string{static_cast<char>(v), static_cast<char>(v >> 8),
                           static_cast<char>(v >> 16), static_cast<char>(v >> 24)};
    };
    const std::string value = frames.substr(0, 2000);
    const std::string item = littleEndian(static_cast<std::uint32_t>(value.size())) +
                             littleEndian(2) + std::string("Cover Art (Front)", 18) + value;
    const std::string ape = "APETAGEX" + littleEndian(2000) +
                            littleEndian(static_cast<std::uint32_t>(item.size() + 32)) +
                            littleEndian(1) + littleEndian(0) + std::string(8, '\0');
    const std::string id3v1 = "TAG" + std::string(125, ' ');
    const auto plain = scratch("frames.mp3");
    const auto tagged = scratch("frames-tagged.mp3");
    writeFile(plain, audio);
    writeFile(tagged, audio + item + ape + id3v1);
    for (const std::uint32_t flags : {0u, static_cast<std::uint32_t>(SOUND_STREAM_PROBE)}) {
        const uint32_t expected = BASS_StreamCreateFile(0, plain.c_str(), 0, 0, flags);
        const uint32_t stream = BASS_StreamCreateFile(0, tagged.c_str(), 0, 0, flags);
        ASSERT_NE(stream, 0u);
        EXPECT_EQ(BASS_StreamGetLength(stream), BASS_StreamGetLength(expected)) << flags;
        BASS_StreamFree(stream);
        BASS_StreamFree(expected);
    }
}

TEST_F(BadInput, DataThatBreaksOffEndsTheStreamOnce) {
    for (const char* name : {"lame.mp3", "vorbis.ogg", "stereo.wav", "wma2.wma", "adpcm_ms.wav"}) {
        // FFmpeg looks for the last Ogg page to measure the length; in a file this small it
        // finds only noise, and the file is refused.
        const bool mayRefuse = std::string(name).ends_with(".ogg");
        const std::string whole = readFile(fixture(name));
        const auto path = scratch(std::string("cut-") + name);
        // The first half, then a run of noise where the rest should be.
        writeFile(path, whole.substr(0, whole.size() / 2) + randomBytes(3000, 9));
        const bool wma = std::string(name).ends_with(".wma");
        const uint32_t stream = wma ? BASS_WMA_StreamCreateFile(0, path.c_str(), 0, 0, 0)
                                    : BASS_StreamCreateFile(0, path.c_str(), 0, 0, 0);
        if (mayRefuse && stream == 0) {
            EXPECT_NE(BASS_ErrorGetCode(), SOUND_OK);
            continue;
        }
        ASSERT_NE(stream, 0u) << name;
        int ends = 0;
        BASS_ChannelSetSync(
            stream, SOUND_SYNC_END, 0,
            [](uint32_t, uint32_t, uint32_t, void* user) { ++*static_cast<int*>(user); }, &ends);
        BASS_StreamPlay(stream, 0, 0);
        std::vector<std::int16_t> block(2 * 44100);
        for (int second = 0; second < 10 && BASS_ChannelIsActive(stream); ++second) {
            BASS_Render(block.data(), 44100);
        }
        EXPECT_EQ(BASS_ChannelIsActive(stream), uint32_t{SOUND_ACTIVE_STOPPED}) << name;
        EXPECT_EQ(ends, 1) << name;
        BASS_StreamFree(stream);
    }
}
