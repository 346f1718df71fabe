#include "soundlib/net/icy_demuxer.h"
#include "soundlib/net/stream_titles.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

namespace soundlib::net {
namespace {

struct Block {
    std::int64_t offset;
    std::string text;
    bool operator==(const Block&) const = default;
};

// Audio bytes 0, 1, 2, ... with a metadata point after every 10 of them.
std::vector<std::uint8_t> radioBody(std::vector<std::uint8_t>& audio) {
    const std::vector<std::string> blocks = {
        "StreamTitle='A';",                        // exactly 16 bytes
        "",                                        // length 0: no change
        std::string("StreamTitle='B';x\0\0", 19),  // padded to 32
        std::string(4080, 'M'),                    // the largest block there is
    };
    std::vector<std::uint8_t> body;
    for (int i = 0; i < 45; ++i) {
        if (i > 0 && i % 10 == 0) {
            std::string text = blocks[static_cast<std::size_t>(i / 10 - 1)];
            text.resize((text.size() + 15) / 16 * 16, '\0');
            body.push_back(static_cast<std::uint8_t>(text.size() / 16));
            body.insert(body.end(), text.begin(), text.end());
        }
        body.push_back(static_cast<std::uint8_t>(i));
        audio.push_back(static_cast<std::uint8_t>(i));
    }
    return body;
}

TEST(IcyDemuxerTest, StripsBlocksExactlyWhereverTheInputIsSplit) {
    std::vector<std::uint8_t> expectedAudio;
    const std::vector<std::uint8_t> body = radioBody(expectedAudio);
    const std::vector<Block> expectedBlocks = {
        {10, "StreamTitle='A';"}, {30, "StreamTitle='B';x"}, {40, std::string(4080, 'M')}};
    for (std::size_t chunk : {std::size_t{1}, std::size_t{3}, std::size_t{10}, std::size_t{11},
                              std::size_t{17}, std::size_t{4097}, body.size()}) {
        SCOPED_TRACE(chunk);
        std::vector<Block> blocks;
        IcyDemuxer demuxer(10, [&](std::int64_t offset, std::string_view text) {
            blocks.push_back({offset, std::string(text)});
        });
        std::vector<std::uint8_t> audio;
        for (std::size_t at = 0; at < body.size(); at += chunk) {
            demuxer.feed(body.data() + at, std::min(chunk, body.size() - at), audio);
        }
        EXPECT_EQ(audio, expectedAudio);
        EXPECT_EQ(blocks, expectedBlocks);
        EXPECT_EQ(demuxer.pointsSeen(), 4);
        EXPECT_EQ(demuxer.audioBytes(), 45);
    }
}

TEST(IcyDemuxerTest, WithoutIntervalEveryByteIsAudio) {
    IcyDemuxer demuxer(0, nullptr);
    const std::vector<std::uint8_t> body = {0, 5, 1, 0, 255};
    std::vector<std::uint8_t> audio;
    demuxer.feed(body.data(), body.size(), audio);
    EXPECT_EQ(audio, body);
    EXPECT_EQ(demuxer.pointsSeen(), 0);
}

TEST(StreamTitlesTest, FollowsTheAudioOffsetThatIsHeard) {
    StreamTitles titles;
    EXPECT_FALSE(titles.at(0));
    titles.add(16000, "StreamTitle='One';");
    titles.add(32000, "StreamTitle='One';");  // repeated: no change
    titles.add(48000, "StreamTitle='Two';");
    const std::vector<std::pair<std::int64_t, std::string>> cases = {
        {0, "StreamTitle='One';"},  // the first title names what was on when joining
        {47999, "StreamTitle='One';"},
        {48000, "StreamTitle='Two';"},
        {1 << 30, "StreamTitle='Two';"},
    };
    for (const auto& [offset, text] : cases) EXPECT_EQ(titles.at(offset), text) << offset;
    EXPECT_EQ(titles.latest(), "StreamTitle='Two';");
}

TEST(StreamTitlesTest, KeepsOnlyTheNewestTexts) {
    StreamTitles titles;
    for (int i = 0; i < 1000; ++i) titles.add(i * 100, std::to_string(i));
    EXPECT_EQ(titles.at(999 * 100), "999");
    EXPECT_EQ(titles.at((1000 - StreamTitles::kMaxEntries) * 100),
              std::to_string(1000 - StreamTitles::kMaxEntries));
    EXPECT_FALSE(titles.at(0));
}

}  // namespace
}  // namespace soundlib::net
