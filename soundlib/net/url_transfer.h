#pragma once
// One download of an address from a byte offset on a thread of its own, through libcurl
// (http, https, ftp). The body is stripped of radio metadata and held in a bounded
// buffer for a reader on another thread; the download pauses while the buffer is full.
// Metadata texts go to a StreamTitles time line, positioned in audio bytes from the
// start of the resource.
#include "soundlib/net/curl_handles.h"
#include "soundlib/net/icy_demuxer.h"
#include "soundlib/net/response_headers.h"
#include "soundlib/net/stream_titles.h"
#include "soundlib/net/url_options.h"

#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace soundlib::net {

class UrlTransfer {
public:
    using Clock = std::chrono::steady_clock;
    static constexpr Clock::time_point kNoDeadline = Clock::time_point::max();

    // Starts the download at once. `titles` must outlive the transfer.
    UrlTransfer(std::string url, std::int64_t offset, const UrlOptions& options,
                StreamTitles& titles);
    ~UrlTransfer();
    UrlTransfer(const UrlTransfer&) = delete;
    UrlTransfer& operator=(const UrlTransfer&) = delete;

    // Waits until the response has started: headers accepted, audio bytes at hand and, when
    // the server interleaves metadata, its first metadata point passed (so the title is
    // known). Also done when the whole body arrived. Returns the failure otherwise, at the
    // latest after the open timeout or at `deadline`; a timed-out open with some audio at
    // hand succeeds.
    NetError waitOpen(Clock::time_point deadline = kNoDeadline);

    // Up to `size` buffered bytes; 0 at the end of the body, -1 when the transfer failed.
    // Waits while the buffer is empty, bounded by the stall timeout and by `deadline`.
    long read(std::uint8_t* buffer, std::size_t size, Clock::time_point deadline = kNoDeadline);
    // Callable from any thread: ends the transfer; a waiting waitOpen, read or seekWithin
    // returns at once and fails.
    void cancel();
    // Moves the reader to the absolute offset `offset` when this transfer holds the bytes
    // there: back over at least half a buffer's worth of bytes already read (decoders
    // probe and step back), or ahead as far as the buffer reaches, waiting for them
    // (bounded by the stall timeout and by `deadline`). False otherwise.
    bool seekWithin(std::int64_t offset, Clock::time_point deadline = kNoDeadline);
    // Why the transfer gives no more bytes: its failure, or Timeout while it is only late.
    NetError failure() const;

    // Known after a successful waitOpen: the body's length from the offset on, -1 when
    // unknown (always so for a body with metadata), the header block (empty for ftp) and
    // the address after redirects.
    std::int64_t remainingLength() const;
    ResponseHeaders headers() const;
    std::string effectiveUrl() const;

private:
    enum class Phase { Opening, Open, Ended, Failed };

    void run();
    void perform();
    bool setUp(CurlList& requestHeaders, CurlList& aliases);
    void finish(CURLcode code);
    void recordResult(CURLcode code);
    void failLocked(NetError error);
    bool readyLocked() const;
    Clock::time_point stallEnd(Clock::time_point deadline) const;
    std::size_t bufferedLocked() const { return buffer_.size() - head_; }
    size_t onHeader(const char* data, size_t size);
    size_t onBody(const char* data, size_t size);
    size_t takeBody(const char* data, size_t size);
    void startBodyLocked();
    static size_t headerCallback(char* data, size_t one, size_t size, void* self);
    static size_t bodyCallback(char* data, size_t one, size_t size, void* self);

    const std::string url_;
    const std::int64_t offset_;
    const UrlOptions options_;
    StreamTitles& titles_;
    const bool ftp_;
    const Clock::time_point started_;
    CurlMulti multi_;
    CURL* easy_ = nullptr;  // the worker's own handle, used on the worker thread only

    mutable std::mutex mutex_;
    std::condition_variable changed_;
    Phase phase_ = Phase::Opening;
    NetError error_ = NetError::None;
    bool stop_ = false;
    bool paused_ = false;
    bool oversized_ = false;
    std::vector<std::uint8_t> buffer_;  // bytes already read, then the bytes ahead
    std::size_t head_ = 0;              // the reader's place in buffer_
    std::int64_t base_;                 // the offset of buffer_[0] in the resource
    ResponseHeaders headers_;
    std::optional<IcyDemuxer> demuxer_;
    std::int64_t remaining_ = -1;
    std::string effectiveUrl_;
    Clock::time_point lastActivity_;

    std::thread worker_;
};

}  // namespace soundlib::net
