// Streams decoded from a ByteSource, as internet streams are: probed, read ahead on a
// thread of their own, stalled rather than blocking the mixer, with the input offset
// of what is heard.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <cstring>
#include <mutex>
#include <thread>

#include "soundlib/soundlib.h"
#include "soundlib/source_stream.h"
#include "soundlib/tests/fixtures.h"
#include "testing/temp_dir.h"

using namespace soundlib_test;
using namespace std::chrono_literals;

namespace {

// The bytes of a file as a live stream: no size, no seeking. Once `held` bytes have gone
// out it blocks until released.
class LiveSource : public soundlib::ByteSource {
public:
    LiveSource(std::string bytes, std::size_t held) : bytes_(std::move(bytes)), held_(held) {}

    long read(std::uint8_t* buffer, std::size_t size) override {
        std::unique_lock lock(mutex_);
        waiting_ = true;
        released_.wait(lock,
                       [this] { return position_ < held_ || open_ || position_ == bytes_.size(); });
        waiting_ = false;
        const std::size_t n = std::min(size, bytes_.size() - position_);
        std::memcpy(buffer, bytes_.data() + position_, n);
        position_ += n;
        return static_cast<long>(n);
    }
    std::int64_t size() const override { return -1; }
    bool seek(std::int64_t) override { return false; }
    std::int64_t position() const override {
        std::lock_guard lock(mutex_);
        return static_cast<std::int64_t>(position_);
    }
    // Whether a read waits for release() now.
    bool blocked() const {
        std::lock_guard lock(mutex_);
        return waiting_ && position_ >= held_ && !open_;
    }
    void release() {
        {
            std::lock_guard lock(mutex_);
            open_ = true;
        }
        released_.notify_all();
    }

private:
    std::string bytes_;
    std::size_t held_;
    mutable std::mutex mutex_;
    std::condition_variable released_;
    std::size_t position_ = 0;
    bool open_ = false;
    bool waiting_ = false;
};

class SourceStreams : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(BASS_Init(0, 44100, SOUND_INIT_OFFLINE, nullptr, nullptr));
    }
    void TearDown() override { BASS_Free(); }
};

}  // namespace

TEST_F(SourceStreams, ALiveSourcePlaysItsAudioAndTellsTheOffsetHeard) {
    const std::string bytes = testing_support::readFile(fixture("lame.mp3"));
    const auto reference = referenceDecode(fixture("lame.mp3"));
    auto source = std::make_unique<LiveSource>(bytes, bytes.size());
    const uint32_t stream = soundlib::createSourceStream(std::move(source), SOUND_STREAM_META);
    ASSERT_NE(stream, 0u) << BASS_ErrorGetCode();
    SoundChannelInfo info{};
    BASS_ChannelGetInfo(stream, &info);
    EXPECT_EQ(info.kind, uint32_t{SOUND_KIND_URL});
    EXPECT_EQ(info.freq, 44100u);
    EXPECT_EQ(BASS_StreamGetLength(stream), -1);
    EXPECT_FALSE(BASS_ChannelSetPosition(stream, 4000));
    EXPECT_EQ(soundlib::heardSourceOffset(stream), -1);
    bool reached = false;
    EXPECT_TRUE(soundlib::withStreamSource(
        stream, [&](soundlib::ByteSource& s) { reached = s.size() == -1; }));
    EXPECT_TRUE(reached);

    ASSERT_TRUE(BASS_StreamPlay(stream, 0, 0));
    const auto first = renderPlayed(stream, 44100);
    const std::int64_t early = soundlib::heardSourceOffset(stream);
    const auto rest = renderPlayed(stream, reference.size());
    const std::int64_t late = soundlib::heardSourceOffset(stream);
    EXPECT_GT(early, 0);
    EXPECT_GT(late, early);
    EXPECT_LT(late, static_cast<std::int64_t>(bytes.size()));
    // About one second of 128 kbit/s into the file.
    EXPECT_NEAR(static_cast<double>(early), 16000.0, 6000.0);

    std::vector<std::int16_t> all = first;
    all.insert(all.end(), rest.begin(), rest.end());
    EXPECT_EQ(BASS_ChannelIsActive(stream), uint32_t{SOUND_ACTIVE_STOPPED});
    // Without seeking, FFmpeg cannot find the encoder's padding at the end (its own tool
    // on a pipe keeps it too): at most one frame more than the file decodes to.
    ASSERT_GE(all.size(), reference.size());
    EXPECT_LE(all.size(), reference.size() + 2 * 1152);
    EXPECT_TRUE(std::equal(reference.begin(), reference.end(), all.begin()));

    const uint32_t file = BASS_StreamCreateFile(0, fixture("lame.mp3").c_str(), 0, 0, 0);
    EXPECT_EQ(soundlib::heardSourceOffset(file), -1);
    EXPECT_FALSE(soundlib::withStreamSource(file, [](soundlib::ByteSource&) {}));
}

TEST_F(SourceStreams, AStarvedSourceStallsTheChannelNotTheMixer) {
    const std::string bytes = testing_support::readFile(fixture("lame.mp3"));
    auto source = std::make_unique<LiveSource>(bytes, bytes.size() / 3);
    LiveSource* live = source.get();
    const uint32_t stream = soundlib::createSourceStream(std::move(source), 0);
    ASSERT_NE(stream, 0u);
    BASS_StreamPlay(stream, 0, 0);
    std::vector<std::int16_t> block(2 * 4410);
    // Until the decoder waits in the source and all it decoded before is played; a slow
    // decoder stalls the channel earlier, while it still has bytes to decode.
    bool stalled = false;
    for (int i = 0; i < 10000 && !stalled; ++i) {
        const bool waiting = live->blocked();
        BASS_Render(block.data(), 4410);  // returns at once even while the source blocks
        stalled = waiting && BASS_ChannelIsActive(stream) == SOUND_ACTIVE_STALLED;
        if (!stalled) std::this_thread::sleep_for(1ms);
    }
    EXPECT_TRUE(stalled);
    const int64_t held = BASS_ChannelGetPosition(stream);
    BASS_Render(block.data(), 4410);
    EXPECT_EQ(BASS_ChannelGetPosition(stream), held);
    live->release();
    renderPlayed(stream, 1u << 30);
    EXPECT_EQ(BASS_ChannelIsActive(stream), uint32_t{SOUND_ACTIVE_STOPPED});
    EXPECT_GT(BASS_ChannelGetPosition(stream), held);
}

TEST_F(SourceStreams, GarbageFromASourceIsRefused) {
    auto source = std::make_unique<LiveSource>(std::string(70000, '\x55'), 70000);
    EXPECT_EQ(soundlib::createSourceStream(std::move(source), 0), 0u);
    EXPECT_NE(BASS_ErrorGetCode(), SOUND_OK);
    EXPECT_EQ(soundlib::createSourceStream(nullptr, 0), 0u);
}
