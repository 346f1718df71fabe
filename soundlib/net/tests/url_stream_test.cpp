#include "soundlib/net/tests/stream_server.h"
#include "soundlib/soundlib.h"

#include "testing/temp_dir.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <string>
#include <thread>
#include <vector>

namespace {

using soundlib::net::testing::StreamServer;
using Clock = std::chrono::steady_clock;
using namespace std::chrono_literals;

// An 8-second 440 Hz tone, MP3 at 128 kbit/s: 16000 bytes a second.
const std::string kTone = ZORVAN_NET_TONE;
constexpr double kToneBytesPerSecond = 16000.0;

class UrlStreamTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_NE(BASS_Init(0, 44100, SOUND_INIT_OFFLINE, nullptr, nullptr), 0);
    }
    void TearDown() override {
        BASS_Free();
        BASS_SetConfig(SOUND_CONFIG_NET_TIMEOUT, 5000);
    }

    // Renders 100 ms; false once the channel has stopped.
    static bool renderBlock(std::uint32_t channel) {
        std::vector<std::int16_t> block(4410 * 2);
        if (BASS_ChannelIsActive(channel) == SOUND_ACTIVE_STALLED) std::this_thread::sleep_for(5ms);
        BASS_Render(block.data(), 4410);
        return BASS_ChannelIsActive(channel) != SOUND_ACTIVE_STOPPED;
    }
};

// The header lines as a caller reads the block: NUL-ended texts up to an empty one.
std::vector<std::string> headerLines(const char* block) {
    std::vector<std::string> lines;
    while (block != nullptr && *block != '\0') {
        lines.emplace_back(block);
        block += lines.back().size() + 1;
    }
    return lines;
}

void countEnd(std::uint32_t, std::uint32_t, std::uint32_t, void* user) {
    ++*static_cast<std::atomic<int>*>(user);
}

struct Downloaded {
    std::atomic<std::size_t> bytes = 0;
    std::atomic<bool> ended = false;
};

void countDownload(const void* buffer, std::uint32_t length, void* user) {
    auto* downloaded = static_cast<Downloaded*>(user);
    downloaded->bytes += length;
    if (buffer == nullptr) downloaded->ended = true;
}

TEST_F(UrlStreamTest, RadioStreamTitleFollowsWhatIsHeardUntilTheServerStops) {
    StreamServer server(R"({"mode": "icy", "metaint": 8192, "body": ")" + kTone + R"(",
        "titles": [{"at": 0, "text": "StreamTitle='One';StreamUrl='http://one/';"},
                   {"at": 64000, "text": "StreamTitle='Второй';", "encoding": "cp1251"}]})");
    const std::uint32_t channel =
        BASS_StreamCreateURL(server.url("/live").c_str(), 0, SOUND_STREAM_META, nullptr, nullptr);
    ASSERT_NE(channel, 0u) << BASS_ErrorGetCode();

    const std::vector<std::string> head =
        headerLines(BASS_StreamGetTags(channel, SOUND_TAG_HEADERS));
    ASSERT_FALSE(head.empty());
    EXPECT_EQ(head.front(), "ICY 200 OK");
    // The station's lines come right after the status line, the others after them.
    EXPECT_EQ(head[1], "icy-name:Loop Radio");
    EXPECT_EQ(head[5], "icy-metaint:8192");
    EXPECT_EQ(head.back(), "Content-Type: audio/mpeg");
    // Known at once, before anything is played: the title of what is on.
    EXPECT_STREQ(BASS_StreamGetTags(channel, SOUND_TAG_META),
                 "StreamTitle='One';StreamUrl='http://one/';");
    EXPECT_EQ(BASS_StreamGetLength(channel), -1);

    std::atomic<int> ends = 0;
    ASSERT_NE(BASS_ChannelSetSync(channel, SOUND_SYNC_END, 0, countEnd, &ends), 0u);
    ASSERT_NE(BASS_StreamPlay(channel, 0, 0), 0);
    const double change = 64000 / kToneBytesPerSecond;
    int before = 0;
    int after = 0;
    const auto deadline = Clock::now() + 30s;
    while (renderBlock(channel) && Clock::now() < deadline) {
        const double heard = BASS_ChannelBytes2Seconds(channel, BASS_ChannelGetPosition(channel));
        const char* meta = BASS_StreamGetTags(channel, SOUND_TAG_META);
        ASSERT_NE(meta, nullptr);
        if (heard < change - 0.25) {
            EXPECT_STREQ(meta, "StreamTitle='One';StreamUrl='http://one/';") << heard;
            ++before;
        } else if (heard > change + 0.25) {
            EXPECT_STREQ(meta, "StreamTitle='Второй';") << heard;
            ++after;
        }
    }
    EXPECT_GT(before, 20);
    EXPECT_GT(after, 20);
    EXPECT_EQ(BASS_ChannelIsActive(channel), static_cast<std::uint32_t>(SOUND_ACTIVE_STOPPED));
    EXPECT_EQ(ends.load(), 1);
}

TEST_F(UrlStreamTest, ServerThatStallsEndsTheChannel) {
    BASS_SetConfig(SOUND_CONFIG_NET_TIMEOUT, 1000);
    StreamServer server(R"({"mode": "stall", "total": 48000, "body": ")" + kTone + R"("})");
    const std::uint32_t channel =
        BASS_StreamCreateURL(server.url().c_str(), 0, SOUND_STREAM_META, nullptr, nullptr);
    ASSERT_NE(channel, 0u) << BASS_ErrorGetCode();
    std::atomic<int> ends = 0;
    BASS_ChannelSetSync(channel, SOUND_SYNC_END, 0, countEnd, &ends);
    ASSERT_NE(BASS_StreamPlay(channel, 0, 0), 0);
    const auto deadline = Clock::now() + 20s;
    while (renderBlock(channel) && Clock::now() < deadline) {
    }
    EXPECT_EQ(BASS_ChannelIsActive(channel), static_cast<std::uint32_t>(SOUND_ACTIVE_STOPPED));
    EXPECT_EQ(ends.load(), 1);
    EXPECT_NEAR(BASS_ChannelBytes2Seconds(channel, BASS_ChannelGetPosition(channel)),
                48000 / kToneBytesPerSecond, 0.3);
}

TEST_F(UrlStreamTest, FreeingAStalledStreamDoesNotWaitOutTheTimeout) {
    StreamServer server(R"({"mode": "stall", "total": 48000, "body": ")" + kTone + R"("})");
    const std::uint32_t channel =
        BASS_StreamCreateURL(server.url().c_str(), 0, 0, nullptr, nullptr);
    ASSERT_NE(channel, 0u) << BASS_ErrorGetCode();
    ASSERT_NE(BASS_StreamPlay(channel, 0, 0), 0);
    // Past the 3 seconds sent, the decoder's thread waits in a read of the silent server.
    const auto heard = [&] {
        return BASS_ChannelBytes2Seconds(channel, BASS_ChannelGetPosition(channel));
    };
    const auto deadline = Clock::now() + 10s;
    while ((heard() < 2.9 || BASS_ChannelIsActive(channel) != SOUND_ACTIVE_STALLED) &&
           Clock::now() < deadline) {
        renderBlock(channel);
    }
    ASSERT_EQ(BASS_ChannelIsActive(channel), static_cast<std::uint32_t>(SOUND_ACTIVE_STALLED));
    std::this_thread::sleep_for(200ms);
    const auto start = Clock::now();
    EXPECT_NE(BASS_StreamFree(channel), 0);
    BASS_Free();
    EXPECT_LT(Clock::now() - start, 1s);
}

TEST_F(UrlStreamTest, FilesOverHttpAndFtpPlayToTheirEnd) {
    testing_support::TempDir dir;
    std::filesystem::copy_file(kTone, dir / "tone.mp3");
    StreamServer http(R"({"mode": "redirect", "body": ")" + kTone + R"("})");
    StreamServer ftp(R"({"mode": "ftp", "dir": ")" + dir.path().string() + R"("})");
    for (const std::string& url : {http.url("/2"), ftp.url("/tone.mp3", "ftp")}) {
        SCOPED_TRACE(url);
        Downloaded downloaded;
        const std::uint32_t channel =
            BASS_StreamCreateURL(url.c_str(), 0, 0, countDownload, &downloaded);
        ASSERT_NE(channel, 0u) << BASS_ErrorGetCode();
        EXPECT_EQ(BASS_StreamGetTags(channel, SOUND_TAG_META), nullptr);
        std::atomic<int> ends = 0;
        BASS_ChannelSetSync(channel, SOUND_SYNC_END, 0, countEnd, &ends);
        ASSERT_NE(BASS_StreamPlay(channel, 0, 0), 0);
        const auto deadline = Clock::now() + 30s;
        while (renderBlock(channel) && Clock::now() < deadline) {
        }
        EXPECT_NEAR(BASS_ChannelBytes2Seconds(channel, BASS_ChannelGetPosition(channel)), 8.0, 0.1);
        EXPECT_EQ(ends.load(), 1);
        EXPECT_EQ(downloaded.bytes.load(), std::filesystem::file_size(kTone));
        EXPECT_TRUE(downloaded.ended.load());
        BASS_StreamFree(channel);
    }
}

TEST_F(UrlStreamTest, OpeningFailsWithAnErrorCodeWithinTheTimeout) {
    BASS_SetConfig(SOUND_CONFIG_NET_TIMEOUT, 1500);
    struct Case {
        std::string config;
        const char* path;
        int error;
    };
    const std::vector<Case> cases = {
        {R"({"mode": "status", "status": 404})", "/", SOUND_ERROR_NETWORK},
        {R"({"mode": "silent"})", "/", SOUND_ERROR_TIMEOUT},
        {R"({"mode": "oversized"})", "/", SOUND_ERROR_MEMORY},
        {R"({"mode": "garbage"})", "/", SOUND_ERROR_FORMAT},
        // Every byte comes within the stall timeout, but the open as a whole takes too long.
        {R"({"mode": "trickle", "every": 0.2})", "/", SOUND_ERROR_TIMEOUT},
        // A metadata block of 4080 bytes after every audio byte.
        {R"({"mode": "icy", "metaint": 1, "loop": true, "repeat_titles": true, "titles": [
            {"at": 0, "text": "StreamTitle=')" +
             std::string(4060, 'x') + R"(';"}]})",
         "/", SOUND_ERROR_MEMORY},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.config.substr(0, 60));
        StreamServer server(c.config);
        const auto start = Clock::now();
        EXPECT_EQ(BASS_StreamCreateURL(server.url(c.path).c_str(), 0, SOUND_STREAM_META, nullptr,
                                       nullptr),
                  0u);
        EXPECT_EQ(BASS_ErrorGetCode(), c.error);
        EXPECT_LT(Clock::now() - start, 1500ms + 2s);
    }
    EXPECT_EQ(BASS_StreamCreateURL(nullptr, 0, 0, nullptr, nullptr), 0u);
    EXPECT_EQ(BASS_ErrorGetCode(), SOUND_ERROR_PARAM);
    EXPECT_EQ(BASS_StreamGetTags(0, SOUND_TAG_HEADERS), nullptr);
    EXPECT_EQ(BASS_ErrorGetCode(), SOUND_ERROR_NOTAVAIL);
}

}  // namespace
