#pragma once
// Runs another decoder on a thread of its own and keeps up to a set number of decoded
// frames ready, so that a source that blocks (an internet transfer) never holds up the
// mixer: read() gives what is ready, and the channel stalls when nothing is.
#include <condition_variable>
#include <deque>
#include <memory>
#include <mutex>
#include <thread>
#include <utility>
#include <vector>

#include "soundlib/decoder.h"

namespace soundlib {

class PrefetchDecoder : public Decoder {
public:
    // How seek() treats the source's own seek.
    enum class Seeking {
        Confirmed,  // waits until the thread has moved the source, and reports its result
        Queued      // returns at once: the source's seeks within its length never fail
    };
    PrefetchDecoder(std::unique_ptr<Decoder> inner, std::size_t aheadFrames,
                    Seeking seeking = Seeking::Confirmed);
    // Cancels the source, so that a read blocked in it returns at once, and waits for the
    // thread.
    ~PrefetchDecoder() override;
    PrefetchDecoder(const PrefetchDecoder&) = delete;
    PrefetchDecoder& operator=(const PrefetchDecoder&) = delete;

    SourceFormat format() const override { return format_; }
    std::int64_t lengthFrames() const override { return length_; }
    std::size_t read(std::int16_t* out, std::size_t frames) override;
    bool ended() const override;
    // Only when the source has a known length; what was read ahead is dropped.
    bool seek(std::int64_t frame) override;
    std::int64_t inputOffset() const override;
    ByteSource* byteSource() override { return inner_->byteSource(); }
    // The source, for its own information; reading it is the thread's alone.
    const Decoder& inner() const { return *inner_; }

private:
    void run();

    std::unique_ptr<Decoder> inner_;
    const SourceFormat format_;
    const std::int64_t length_;
    const std::size_t ahead_;
    const Seeking seeking_;

    mutable std::mutex mutex_;
    std::condition_variable changed_;
    std::deque<std::int16_t> ready_;
    std::deque<std::pair<std::uint64_t, std::int64_t>> offsets_;  // (frame count, offset)
    std::uint64_t queued_ = 0;                                    // frames ever queued
    std::uint64_t taken_ = 0;                                     // frames ever read
    std::int64_t lastOffset_ = -1;
    bool innerEnded_ = false;
    std::int64_t seekTo_ = -1;
    bool seekDone_ = false;
    bool seekOk_ = false;
    bool stop_ = false;
    std::thread thread_;
};

}  // namespace soundlib
