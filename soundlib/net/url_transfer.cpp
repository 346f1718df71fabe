#include "soundlib/net/url_transfer.h"

#include "platform/text.h"

#include <algorithm>
#include <charconv>
#include <cstring>
#include <utility>

namespace soundlib::net {
namespace {

using Clock = UrlTransfer::Clock;

// A reader that finds nothing waits this much beyond the stall timeout before giving up
// itself, in case the worker could not report the stall.
constexpr std::chrono::seconds kReadGrace{1};
constexpr long kPollMs = 100;
// Radio metadata may take as many bytes as the audio they come with, plus this much (two
// whole blocks), before the stream counts as a flood: a server that sends large blocks
// after every few audio bytes would otherwise keep the reader busy with next to no audio.
constexpr std::int64_t kMetadataAllowance = 2 * (1 + 255 * 16);

std::int64_t parseLength(const std::optional<std::string>& value) {
    if (!value) return -1;
    std::int64_t length = -1;
    const auto result = std::from_chars(value->data(), value->data() + value->size(), length);
    return result.ec == std::errc() && length >= 0 ? length : -1;
}

NetError errorOf(CURLcode code, bool oversized) {
    switch (code) {
        case CURLE_URL_MALFORMAT:
            return NetError::Address;
        case CURLE_COULDNT_RESOLVE_HOST:
        case CURLE_COULDNT_RESOLVE_PROXY:
        case CURLE_COULDNT_CONNECT:
            return NetError::Connect;
        case CURLE_OPERATION_TIMEDOUT:
            return NetError::Timeout;
        case CURLE_HTTP_RETURNED_ERROR:
        case CURLE_REMOTE_FILE_NOT_FOUND:
        case CURLE_REMOTE_ACCESS_DENIED:
        case CURLE_LOGIN_DENIED:
        case CURLE_TOO_MANY_REDIRECTS:
            return NetError::Status;
        case CURLE_WRITE_ERROR:
            return oversized ? NetError::Oversized : NetError::Transfer;
        default:
            return NetError::Transfer;
    }
}

}  // namespace

UrlTransfer::UrlTransfer(std::string url, std::int64_t offset, const UrlOptions& options,
                         StreamTitles& titles)
    : url_(std::move(url)),
      offset_(offset),
      options_(options),
      titles_(titles),
      ftp_(platform::text::asciiLower(url_.substr(0, 6)) == "ftp://"),
      started_(Clock::now()),
      multi_(makeCurlMulti()),
      base_(offset),
      lastActivity_(started_) {
    worker_ = std::thread([this] { run(); });
}

UrlTransfer::~UrlTransfer() {
    cancel();
    worker_.join();
}

void UrlTransfer::cancel() {
    {
        std::lock_guard lock(mutex_);
        stop_ = true;
        changed_.notify_all();
    }
    if (multi_) curl_multi_wakeup(multi_.get());
}

NetError UrlTransfer::waitOpen(Clock::time_point deadline) {
    std::unique_lock lock(mutex_);
    changed_.wait_until(lock, std::min(started_ + options_.openTimeout, deadline),
                        [&] { return phase_ != Phase::Opening || readyLocked() || stop_; });
    if (stop_) return NetError::Transfer;
    if (phase_ == Phase::Opening) {
        if (bufferedLocked() > 0) {
            phase_ = Phase::Open;
        } else {
            failLocked(NetError::Timeout);
            stop_ = true;
        }
    }
    return phase_ == Phase::Failed ? error_ : NetError::None;
}

long UrlTransfer::read(std::uint8_t* buffer, std::size_t size, Clock::time_point deadline) {
    std::unique_lock lock(mutex_);
    changed_.wait_until(lock, stallEnd(deadline), [&] {
        return bufferedLocked() > 0 || phase_ == Phase::Ended || phase_ == Phase::Failed || stop_;
    });
    if (stop_) return -1;
    const std::size_t count = std::min(size, bufferedLocked());
    if (count == 0) return phase_ == Phase::Ended ? 0 : -1;
    std::memcpy(buffer, buffer_.data() + head_, count);
    head_ += count;
    const bool wake = paused_;
    lock.unlock();
    if (wake) curl_multi_wakeup(multi_.get());
    return static_cast<long>(count);
}

bool UrlTransfer::seekWithin(std::int64_t offset, Clock::time_point deadline) {
    std::unique_lock lock(mutex_);
    const auto received = [&] { return base_ + static_cast<std::int64_t>(buffer_.size()); };
    if (offset < base_) return false;
    if (offset > received()) {
        // Bytes that will fit in the buffer without the reader moving come sooner from
        // this transfer than from a new one.
        const std::int64_t reach = base_ + static_cast<std::int64_t>(head_) +
                                   static_cast<std::int64_t>(options_.bufferBytes) -
                                   CURL_MAX_WRITE_SIZE;
        if (offset > reach) return false;
        changed_.wait_until(lock, stallEnd(deadline), [&] {
            return received() >= offset || phase_ == Phase::Ended || phase_ == Phase::Failed ||
                   stop_;
        });
        if (offset > received() || stop_) return false;
    }
    head_ = static_cast<std::size_t>(offset - base_);
    return true;
}

NetError UrlTransfer::failure() const {
    std::lock_guard lock(mutex_);
    if (phase_ == Phase::Failed) return error_;
    return stop_ ? NetError::Transfer : NetError::Timeout;
}

Clock::time_point UrlTransfer::stallEnd(Clock::time_point deadline) const {
    return std::min(Clock::now() + options_.stallTimeout + kReadGrace, deadline);
}

std::int64_t UrlTransfer::remainingLength() const {
    std::lock_guard lock(mutex_);
    return remaining_;
}

ResponseHeaders UrlTransfer::headers() const {
    std::lock_guard lock(mutex_);
    return headers_;
}

std::string UrlTransfer::effectiveUrl() const {
    std::lock_guard lock(mutex_);
    return effectiveUrl_.empty() ? url_ : effectiveUrl_;
}

bool UrlTransfer::readyLocked() const {
    if (phase_ != Phase::Opening || bufferedLocked() == 0) return false;
    return !demuxer_ || demuxer_->interval() == 0 || demuxer_->pointsSeen() > 0;
}

void UrlTransfer::failLocked(NetError error) {
    phase_ = Phase::Failed;
    error_ = error;
    changed_.notify_all();
}

void UrlTransfer::run() {
    CurlEasy easy = makeCurlEasy();
    easy_ = easy.get();
    CurlList requestHeaders;
    CurlList aliases;
    if (!easy || !multi_ || !setUp(requestHeaders, aliases) ||
        curl_multi_add_handle(multi_.get(), easy_) != CURLM_OK) {
        std::lock_guard lock(mutex_);
        failLocked(NetError::Transfer);
        return;
    }
    perform();
    curl_multi_remove_handle(multi_.get(), easy_);
}

bool UrlTransfer::setUp(CurlList& requestHeaders, CurlList& aliases) {
    CURL* e = easy_;
    // Radio servers answer "ICY 200 OK" in place of an HTTP status line.
    appendCurlList(aliases, "ICY 200 OK");
    if (options_.requestMetadata) appendCurlList(requestHeaders, "Icy-MetaData: 1");
    bool ok = curl_easy_setopt(e, CURLOPT_URL, url_.c_str()) == CURLE_OK;
    ok = ok && curl_easy_setopt(e, CURLOPT_PROTOCOLS_STR, "http,https,ftp") == CURLE_OK;
    ok = ok && curl_easy_setopt(e, CURLOPT_REDIR_PROTOCOLS_STR, "http,https") == CURLE_OK;
    ok = ok && curl_easy_setopt(e, CURLOPT_FOLLOWLOCATION, 1L) == CURLE_OK;
    ok = ok && curl_easy_setopt(e, CURLOPT_MAXREDIRS, 5L) == CURLE_OK;
    ok = ok && curl_easy_setopt(e, CURLOPT_FAILONERROR, 1L) == CURLE_OK;
    ok = ok && curl_easy_setopt(e, CURLOPT_NOSIGNAL, 1L) == CURLE_OK;
    ok = ok && curl_easy_setopt(e, CURLOPT_CONNECTTIMEOUT_MS,
                                static_cast<long>(options_.openTimeout.count())) == CURLE_OK;
    ok = ok && curl_easy_setopt(e, CURLOPT_USERAGENT, "Zorvan/1.0") == CURLE_OK;
    ok = ok && curl_easy_setopt(e, CURLOPT_HTTP200ALIASES, aliases.get()) == CURLE_OK;
    ok = ok && curl_easy_setopt(e, CURLOPT_HTTPHEADER, requestHeaders.get()) == CURLE_OK;
    ok = ok && curl_easy_setopt(e, CURLOPT_RESUME_FROM_LARGE, static_cast<curl_off_t>(offset_)) ==
                   CURLE_OK;
    ok =
        ok && curl_easy_setopt(e, CURLOPT_HEADERFUNCTION, &UrlTransfer::headerCallback) == CURLE_OK;
    ok = ok && curl_easy_setopt(e, CURLOPT_HEADERDATA, this) == CURLE_OK;
    ok = ok && curl_easy_setopt(e, CURLOPT_WRITEFUNCTION, &UrlTransfer::bodyCallback) == CURLE_OK;
    ok = ok && curl_easy_setopt(e, CURLOPT_WRITEDATA, this) == CURLE_OK;
    return ok;
}

void UrlTransfer::perform() {
    for (;;) {
        bool resume = false;
        {
            std::lock_guard lock(mutex_);
            if (stop_) return;
            const std::size_t room =
                options_.bufferBytes - std::min(options_.bufferBytes, bufferedLocked());
            if (paused_ && (room >= CURL_MAX_WRITE_SIZE || bufferedLocked() == 0)) {
                paused_ = false;
                resume = true;
                lastActivity_ = Clock::now();
            }
            if (!paused_ && Clock::now() - lastActivity_ > options_.stallTimeout) {
                failLocked(NetError::Timeout);
                return;
            }
        }
        if (resume) curl_easy_pause(easy_, CURLPAUSE_CONT);
        int running = 0;
        if (curl_multi_perform(multi_.get(), &running) != CURLM_OK) {
            std::lock_guard lock(mutex_);
            failLocked(NetError::Transfer);
            return;
        }
        int queued = 0;
        while (CURLMsg* message = curl_multi_info_read(multi_.get(), &queued)) {
            if (message->msg == CURLMSG_DONE) {
                finish(message->data.result);
                return;
            }
        }
        curl_multi_poll(multi_.get(), nullptr, 0, kPollMs, nullptr);
    }
}

void UrlTransfer::recordResult(CURLcode code) {
    char* effective = nullptr;
    curl_easy_getinfo(easy_, CURLINFO_EFFECTIVE_URL, &effective);
    std::lock_guard lock(mutex_);
    if (effective != nullptr) effectiveUrl_ = effective;
    const bool httpRefused = !ftp_ && (headers_.status() < 200 || headers_.status() > 299);
    if (code != CURLE_OK) {
        failLocked(errorOf(code, oversized_));
    } else if (httpRefused) {
        failLocked(NetError::Status);
    } else {
        phase_ = Phase::Ended;
        changed_.notify_all();
    }
}

void UrlTransfer::finish(CURLcode code) {
    recordResult(code);
    if (options_.onData) options_.onData(nullptr, 0);
}

size_t UrlTransfer::onHeader(const char* data, size_t size) {
    if (ftp_) return size;
    std::lock_guard lock(mutex_);
    if (stop_) return 0;
    lastActivity_ = Clock::now();
    const bool wasComplete = headers_.complete();
    if (!headers_.addLine(std::string_view(data, size))) {
        oversized_ = true;
        return 0;
    }
    if (!wasComplete && headers_.complete() && headers_.status() / 100 == 2) startBodyLocked();
    return size;
}

void UrlTransfer::startBodyLocked() {
    const std::int64_t interval = parseLength(headers_.value("icy-metaint"));
    if (interval > 0) {
        demuxer_.emplace(static_cast<std::size_t>(interval), [this](std::int64_t audioOffset,
                                                                    std::string_view text) {
            titles_.add(offset_ + audioOffset, platform::text::decodeFileText(text));
        });
        remaining_ = -1;
    } else {
        demuxer_.emplace(0, nullptr);
        remaining_ = parseLength(headers_.value("Content-Length"));
    }
}

size_t UrlTransfer::onBody(const char* data, size_t size) {
    const size_t taken = takeBody(data, size);
    if (taken == size && options_.onData) {
        options_.onData(reinterpret_cast<const std::uint8_t*>(data), size);
    }
    return taken;
}

size_t UrlTransfer::takeBody(const char* data, size_t size) {
    std::lock_guard lock(mutex_);
    if (stop_) return 0;
    if (!demuxer_) {
        // ftp has no header block; the size comes from the server's SIZE answer.
        curl_off_t length = -1;
        curl_easy_getinfo(easy_, CURLINFO_CONTENT_LENGTH_DOWNLOAD_T, &length);
        demuxer_.emplace(0, nullptr);
        remaining_ = length;
    }
    if (bufferedLocked() > 0 && bufferedLocked() + size > options_.bufferBytes) {
        paused_ = true;
        return CURL_WRITEFUNC_PAUSE;
    }
    if (head_ > options_.bufferBytes) {
        // Keep half a buffer of bytes already read; erasing in large steps keeps it cheap.
        const std::size_t drop = head_ - options_.bufferBytes / 2;
        buffer_.erase(buffer_.begin(), buffer_.begin() + static_cast<std::ptrdiff_t>(drop));
        head_ -= drop;
        base_ += static_cast<std::int64_t>(drop);
    }
    demuxer_->feed(reinterpret_cast<const std::uint8_t*>(data), size, buffer_);
    if (demuxer_->metadataBytes() > demuxer_->audioBytes() + kMetadataAllowance) {
        oversized_ = true;
        return 0;
    }
    lastActivity_ = Clock::now();
    changed_.notify_all();
    return size;
}

size_t UrlTransfer::headerCallback(char* data, size_t one, size_t size, void* self) {
    return static_cast<UrlTransfer*>(self)->onHeader(data, one * size);
}

size_t UrlTransfer::bodyCallback(char* data, size_t one, size_t size, void* self) {
    return static_cast<UrlTransfer*>(self)->onBody(data, one * size);
}

}  // namespace soundlib::net
