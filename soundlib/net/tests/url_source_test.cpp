#include "soundlib/net/url_source.h"
#include "soundlib/net/tests/stream_server.h"

#include "testing/temp_dir.h"

#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <string>
#include <thread>
#include <vector>

namespace soundlib::net {
namespace {

using testing::StreamServer;
using Clock = std::chrono::steady_clock;
using namespace std::chrono_literals;

// The bytes the test server sends when it has no body file.
std::vector<std::uint8_t> pattern(std::size_t size, std::size_t from = 0) {
    std::vector<std::uint8_t> bytes;
    for (std::size_t i = from; i < from + size; ++i) {
        bytes.push_back(static_cast<std::uint8_t>((i * 7 + i / 251) % 256));
    }
    return bytes;
}

struct Drained {
    std::vector<std::uint8_t> bytes;
    long last = 0;
};

Drained drain(ByteSource& source, std::size_t limit = 1 << 24) {
    Drained out;
    std::uint8_t buffer[3000];
    while (out.bytes.size() < limit) {
        out.last = source.read(buffer, std::min(sizeof buffer, limit - out.bytes.size()));
        if (out.last <= 0) break;
        out.bytes.insert(out.bytes.end(), buffer, buffer + out.last);
    }
    return out;
}

std::unique_ptr<UrlSource> openOk(const std::string& url, UrlOptions options = {}) {
    NetError error = NetError::None;
    auto source = UrlSource::open(url, 0, options, error);
    EXPECT_EQ(error, NetError::None) << url;
    return source;
}

struct RadioCase {
    const char* mode;
    std::vector<std::string> head;
};

TEST(UrlSourceTest, RadioStreamGivesHeadersAudioAndTimedTitles) {
    const std::vector<RadioCase> cases = {
        {"icy",
         {"ICY 200 OK", "Content-Type: audio/mpeg", "icy-name:Loop Radio", "icy-genre:Test",
          "icy-url:http://radio.test/", "icy-pub:0", "icy-metaint:1000"}},
        {"http10",
         {"HTTP/1.0 200 OK", "Content-Type: audio/mpeg", "icy-name:Loop Station",
          "icy-description:Loopback test stream", "icy-url:http://127.0.0.1/", "icy-pub:0",
          "icy-metaint:1000"}},
    };
    for (const RadioCase& c : cases) {
        SCOPED_TRACE(c.mode);
        testing_support::TempDir dir;
        const std::string log = (dir / "requests.txt").string();
        StreamServer server(std::string(R"({"mode": ")") + c.mode + R"(", "metaint": 1000,
            "body_size": 20000, "repeat_titles": true, "log": ")" +
                            log + R"(", "titles": [
            {"at": 0, "text": "StreamTitle='First';"},
            {"at": 4500, "text": "StreamTitle='Artist Two - Второй трек';StreamUrl='http://x/';"},
            {"at": 12000, "text": "StreamTitle='Третий';", "encoding": "cp1251"}]})");
        UrlOptions options;
        options.requestMetadata = true;
        auto source = openOk(server.url("/live"), options);
        ASSERT_TRUE(source);
        EXPECT_EQ(source->headers().lines(), c.head);
        EXPECT_EQ(source->size(), -1);
        EXPECT_EQ(source->metadataAt(0), "StreamTitle='First';");

        const Drained all = drain(*source);
        EXPECT_EQ(all.last, 0);
        EXPECT_EQ(all.bytes, pattern(20000));
        EXPECT_EQ(source->position(), 20000);
        EXPECT_EQ(source->latestMetadata(), "StreamTitle='Третий';");
        const std::vector<std::pair<std::int64_t, std::string>> timeline = {
            {0, "StreamTitle='First';"},
            {4999, "StreamTitle='First';"},
            {5000, "StreamTitle='Artist Two - Второй трек';StreamUrl='http://x/';"},
            {11999, "StreamTitle='Artist Two - Второй трек';StreamUrl='http://x/';"},
            {12000, "StreamTitle='Третий';"},
        };
        for (const auto& [offset, text] : timeline) {
            EXPECT_EQ(source->metadataAt(offset), text) << offset;
        }
        EXPECT_NE(testing_support::readFile(log).find("\r\nIcy-MetaData: 1"), std::string::npos);
    }
}

TEST(UrlSourceTest, WithoutAskingForMetadataTheBodyIsUntouched) {
    testing_support::TempDir dir;
    const std::string log = (dir / "requests.txt").string();
    StreamServer server(R"({"mode": "icy", "metaint": 1000, "body_size": 5000, "log": ")" + log +
                        R"(", "titles": [{"at": 0, "text": "StreamTitle='X';"}]})");
    auto source = openOk(server.url());
    ASSERT_TRUE(source);
    EXPECT_EQ(drain(*source).bytes, pattern(5000));
    EXPECT_FALSE(source->latestMetadata());
    EXPECT_EQ(source->headers().value("icy-metaint"), std::nullopt);
    EXPECT_EQ(testing_support::readFile(log).find("Icy-MetaData"), std::string::npos);
}

TEST(UrlSourceTest, FileAfterRedirectsHasItsLengthAndSeeks) {
    StreamServer server(R"({"mode": "redirect", "body_size": 100000})");
    auto source = openOk(server.url("/3"));
    ASSERT_TRUE(source);
    EXPECT_EQ(source->headers().lines().front(), "HTTP/1.1 200 OK");
    EXPECT_EQ(source->headers().value("Content-Length"), "100000");
    EXPECT_EQ(source->size(), 100000);
    EXPECT_EQ(drain(*source, 1000).bytes, pattern(1000));

    ASSERT_TRUE(source->seek(60000));
    EXPECT_EQ(source->position(), 60000);
    const Drained rest = drain(*source);
    EXPECT_EQ(rest.bytes, pattern(40000, 60000));
    EXPECT_EQ(rest.last, 0);

    ASSERT_TRUE(source->seek(100000));
    EXPECT_EQ(drain(*source).bytes.size(), 0u);
    EXPECT_FALSE(source->seek(100001));
    EXPECT_FALSE(source->seek(-1));

    NetError error = NetError::None;
    auto late = UrlSource::open(server.url("/target"), 70000, {}, error);
    ASSERT_TRUE(late);
    EXPECT_EQ(late->size(), 100000);
    EXPECT_EQ(late->position(), 70000);
    EXPECT_EQ(drain(*late).bytes, pattern(30000, 70000));
}

TEST(UrlSourceTest, SeeksNearByFromMemoryAndFailsHarmlesslyWhereTheServerIgnoresRanges) {
    StreamServer server(R"({"mode": "file", "body_size": 1000000, "ignore_range": true})");
    UrlOptions options;
    options.bufferBytes = 64 * 1024;
    auto source = openOk(server.url(), options);
    ASSERT_TRUE(source);
    EXPECT_EQ(drain(*source, 1000).bytes, pattern(1000));
    ASSERT_TRUE(source->seek(200));
    EXPECT_EQ(drain(*source, 300).bytes, pattern(300, 200));
    EXPECT_FALSE(source->seek(900000));
    EXPECT_EQ(source->position(), 500);
    EXPECT_EQ(drain(*source).bytes, pattern(999500, 500));
}

int refusedPort() {
    const int fd = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address);
    socklen_t length = sizeof address;
    getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length);
    close(fd);
    return ntohs(address.sin_port);
}

TEST(UrlSourceTest, OpeningFailsWithinTheBound) {
    struct Case {
        const char* config;
        const char* path;
        NetError error;
    };
    const std::vector<Case> cases = {
        {R"({"mode": "status", "status": 404})", "/", NetError::Status},
        {R"({"mode": "status", "status": 500})", "/", NetError::Status},
        {R"({"mode": "redirect"})", "/9", NetError::Status},
        {R"({"mode": "silent"})", "/", NetError::Timeout},
        {R"({"mode": "noaudio"})", "/", NetError::Timeout},
        {R"({"mode": "oversized"})", "/", NetError::Oversized},
    };
    const UrlOptions options;
    const auto bound = options.openTimeout + 2s;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.config);
        StreamServer server(c.config);
        const auto start = Clock::now();
        NetError error = NetError::None;
        EXPECT_FALSE(UrlSource::open(server.url(c.path), 0, options, error));
        EXPECT_EQ(error, c.error);
        EXPECT_LT(Clock::now() - start, bound);
    }
    const std::vector<std::pair<std::string, NetError>> addresses = {
        {"http://127.0.0.1:" + std::to_string(refusedPort()) + "/", NetError::Connect},
        {"gopher://127.0.0.1/", NetError::Address},
        {"http://", NetError::Address},
        {"/home/user/song.mp3", NetError::Address},
    };
    for (const auto& [url, expected] : addresses) {
        NetError error = NetError::None;
        EXPECT_FALSE(UrlSource::open(url, 0, options, error));
        EXPECT_EQ(error, expected) << url;
    }
}

TEST(UrlSourceTest, StreamEndsWhenTheServerClosesOrStalls) {
    UrlOptions options;
    options.requestMetadata = true;
    options.stallTimeout = 1s;
    {
        StreamServer closing(R"({"mode": "icy", "metaint": 4000, "loop": true, "total": 30000})");
        std::size_t rawBytes = 0;
        bool endSeen = false;
        UrlOptions watched = options;
        watched.onData = [&](const std::uint8_t* bytes, std::size_t size) {
            rawBytes += size;
            endSeen = bytes == nullptr;
        };
        auto source = openOk(closing.url(), watched);
        ASSERT_TRUE(source);
        const Drained all = drain(*source);
        EXPECT_EQ(all.bytes, pattern(30000));
        EXPECT_EQ(all.last, 0);
        source.reset();
        EXPECT_EQ(rawBytes, 30000u + 7u);  // seven empty metadata points of one byte
        EXPECT_TRUE(endSeen);
    }
    {
        StreamServer stalling(R"({"mode": "stall", "loop": true, "total": 30000})");
        auto source = openOk(stalling.url(), options);
        ASSERT_TRUE(source);
        const auto start = Clock::now();
        const Drained all = drain(*source);
        EXPECT_EQ(all.bytes, pattern(30000));
        EXPECT_EQ(all.last, -1);
        EXPECT_LT(Clock::now() - start, options.stallTimeout + 3s);
    }
}

TEST(UrlSourceTest, CancelEndsABlockedReadAtOnce) {
    StreamServer stalling(R"({"mode": "stall", "loop": true, "total": 10000})");
    auto source = openOk(stalling.url());
    ASSERT_TRUE(source);
    Clock::time_point returned;
    long last = 0;
    std::thread reader([&] {
        last = drain(*source).last;
        returned = Clock::now();
    });
    std::this_thread::sleep_for(300ms);
    const auto cancelled = Clock::now();
    source->cancel();
    reader.join();
    EXPECT_EQ(last, -1);
    EXPECT_LT(returned - cancelled, 500ms);
    std::uint8_t byte = 0;
    EXPECT_EQ(source->read(&byte, 1), -1);
}

TEST(UrlSourceTest, SlowReaderGetsEveryByteThroughASmallBuffer) {
    StreamServer server(R"({"mode": "file", "body_size": 400000})");
    UrlOptions options;
    options.bufferBytes = 32 * 1024;
    options.stallTimeout = 1s;
    auto source = openOk(server.url(), options);
    ASSERT_TRUE(source);
    // Long enough for the buffer to fill and the download to pause, and for the stall
    // check to see that a paused download is no stall.
    std::this_thread::sleep_for(1500ms);
    Drained all;
    std::uint8_t buffer[10000];
    long n = 0;
    while ((n = source->read(buffer, sizeof buffer)) > 0) {
        all.bytes.insert(all.bytes.end(), buffer, buffer + n);
        if (all.bytes.size() % 7 == 0) std::this_thread::sleep_for(1ms);
    }
    EXPECT_EQ(n, 0);
    EXPECT_EQ(all.bytes, pattern(400000));
}

TEST(UrlSourceTest, FtpFileHasItsLengthAndSeeks) {
    testing_support::TempDir dir;
    const std::vector<std::uint8_t> bytes = pattern(50000);
    testing_support::writeFile(dir / "tone.mp3", std::string(bytes.begin(), bytes.end()));
    StreamServer server(R"({"mode": "ftp", "dir": ")" + dir.path().string() + R"("})");
    auto source = openOk(server.url("/tone.mp3", "ftp"));
    ASSERT_TRUE(source);
    EXPECT_EQ(source->size(), 50000);
    EXPECT_TRUE(source->headers().lines().empty());
    EXPECT_EQ(drain(*source, 100).bytes, pattern(100));
    ASSERT_TRUE(source->seek(20000));
    EXPECT_EQ(drain(*source).bytes, pattern(30000, 20000));

    NetError error = NetError::None;
    EXPECT_FALSE(UrlSource::open(server.url("/missing.mp3", "ftp"), 0, {}, error));
    EXPECT_EQ(error, NetError::Status);
}

}  // namespace
}  // namespace soundlib::net
