#pragma once
// An internet stream (http://, https://, ftp://) as a byte source for the decoder: the
// audio bytes of the response, with radio metadata taken out, plus the response's header
// lines and its metadata texts on a time line of audio bytes.
//
// Opening is bounded by UrlOptions::openTimeout, and so is everything the decoder reads
// until endOpening(): a server that trickles its bytes cannot stretch the open. After
// that each read is bounded by UrlOptions::stallTimeout: a server that stops sending ends
// the stream (read() gives -1) instead of holding the reader. A source of known length
// seeks by starting a new transfer at the offset.
#include "soundlib/byte_source.h"
#include "soundlib/net/response_headers.h"
#include "soundlib/net/stream_titles.h"
#include "soundlib/net/url_options.h"
#include "soundlib/net/url_transfer.h"

#include <memory>
#include <mutex>
#include <optional>
#include <string>

namespace soundlib::net {

// The library's error code (SOUND_ERROR_...) for a failure.
int soundErrorOf(NetError error);

class UrlSource final : public ByteSource {
public:
    // The stream opened from byte `offset` on, or null with `error` set.
    static std::unique_ptr<UrlSource> open(const std::string& url, std::int64_t offset,
                                           const UrlOptions& options, NetError& error);

    long read(std::uint8_t* buffer, std::size_t size) override;
    std::int64_t size() const override { return size_; }
    bool seek(std::int64_t offset) override;
    std::int64_t position() const override { return position_; }
    void cancel() override;
    void endOpening() override;
    int failure() const override { return failure_; }

    // The response's header block, status line first; empty for ftp.
    const ResponseHeaders& headers() const { return headers_; }
    // The metadata text that applies at audio byte `offset` (what is being heard there),
    // and the latest one received. Safe to call from any thread.
    std::optional<std::string> metadataAt(std::int64_t offset) const { return titles_.at(offset); }
    std::optional<std::string> latestMetadata() const { return titles_.latest(); }

    // The header block as callers of the tag functions read it (UrlSource keeps it for
    // its life); null for ftp.
    const char* headerTag() const;
    // The metadata text heard at audio byte `offset` (before anything is heard: at the
    // start), kept until the next call; null when the stream has sent none.
    const char* metadataTag(std::int64_t offset);

private:
    UrlSource(std::string url, const UrlOptions& options);
    void noteFailure(const UrlTransfer& transfer);

    std::string url_;
    UrlOptions options_;
    ResponseHeaders headers_;
    std::int64_t size_ = -1;
    std::int64_t position_ = 0;
    std::int64_t start_ = 0;
    // The end of the open; reads and seeks until then give up at it.
    UrlTransfer::Clock::time_point openDeadline_ = UrlTransfer::kNoDeadline;
    int failure_ = 0;
    std::string headerTag_;
    std::mutex metadataTagMutex_;
    std::string metadataTag_;
    StreamTitles titles_;
    // Guards the transfers' lifetimes against cancel() from another thread; read() and
    // seek() come from one thread, which alone replaces them.
    std::mutex transferMutex_;
    bool cancelled_ = false;
    std::unique_ptr<UrlTransfer> transfer_;  // null once a seek went to the very end
    UrlTransfer* opening_ = nullptr;         // the transfer a seek is waiting for
};

}  // namespace soundlib::net
