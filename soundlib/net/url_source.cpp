#include "soundlib/net/url_source.h"

#include "platform/text.h"
#include "soundlib/soundlib.h"

#include <algorithm>
#include <array>
#include <utility>

namespace soundlib::net {
namespace {

bool isInternetAddress(const std::string& url) {
    const std::string lower = platform::text::asciiLower(url.substr(0, 8));
    constexpr std::array<std::string_view, 3> kSchemes{"http://", "https://", "ftp://"};
    for (std::string_view scheme : kSchemes) {
        if (lower.starts_with(scheme) && url.size() > scheme.size()) return true;
    }
    return false;
}

}  // namespace

int soundErrorOf(NetError error) {
    switch (error) {
        case NetError::None:
            return SOUND_OK;
        case NetError::Address:
            return SOUND_ERROR_PARAM;
        case NetError::Timeout:
            return SOUND_ERROR_TIMEOUT;
        case NetError::Oversized:
            return SOUND_ERROR_MEMORY;
        case NetError::Connect:
        case NetError::Status:
        case NetError::Transfer:
            break;
    }
    return SOUND_ERROR_NETWORK;
}

UrlSource::UrlSource(std::string url, const UrlOptions& options)
    : url_(std::move(url)), options_(options) {}

std::unique_ptr<UrlSource> UrlSource::open(const std::string& url, std::int64_t offset,
                                           const UrlOptions& options, NetError& error) {
    if (!isInternetAddress(url)) {
        error = NetError::Address;
        return nullptr;
    }
    std::unique_ptr<UrlSource> source(new UrlSource(url, options));
    source->openDeadline_ = UrlTransfer::Clock::now() + options.openTimeout;
    source->transfer_ = std::make_unique<UrlTransfer>(url, offset, options, source->titles_);
    error = source->transfer_->waitOpen(source->openDeadline_);
    if (error != NetError::None) return nullptr;
    source->headers_ = source->transfer_->headers();
    if (!source->headers_.lines().empty()) source->headerTag_ = source->headers_.tagBlock();
    source->url_ = source->transfer_->effectiveUrl();
    const std::int64_t remaining = source->transfer_->remainingLength();
    source->size_ = remaining < 0 ? -1 : offset + remaining;
    source->position_ = offset;
    source->start_ = offset;
    return source;
}

long UrlSource::read(std::uint8_t* buffer, std::size_t size) {
    {
        std::lock_guard lock(transferMutex_);
        if (cancelled_) return -1;
    }
    if (!transfer_) return 0;
    const long count = transfer_->read(buffer, size, openDeadline_);
    if (count > 0) position_ += count;
    if (count < 0) noteFailure(*transfer_);
    return count;
}

void UrlSource::endOpening() {
    openDeadline_ = UrlTransfer::kNoDeadline;
}

void UrlSource::noteFailure(const UrlTransfer& transfer) {
    failure_ = UrlTransfer::Clock::now() >= openDeadline_ ? SOUND_ERROR_TIMEOUT
                                                          : soundErrorOf(transfer.failure());
}

bool UrlSource::seek(std::int64_t offset) {
    if (offset == position_) return true;
    if (size_ < 0 || offset < 0 || offset > size_) return false;
    if (transfer_ && transfer_->seekWithin(offset, openDeadline_)) {
        position_ = offset;
        return true;
    }
    std::unique_ptr<UrlTransfer> moved;
    if (offset < size_) {
        moved = std::make_unique<UrlTransfer>(url_, offset, options_, titles_);
        {
            std::lock_guard lock(transferMutex_);
            if (cancelled_) return false;
            opening_ = moved.get();
        }
        const NetError error = moved->waitOpen(openDeadline_);
        std::lock_guard lock(transferMutex_);
        opening_ = nullptr;
        if (error != NetError::None || cancelled_) {
            noteFailure(*moved);
            return false;
        }
    }
    {
        std::lock_guard lock(transferMutex_);
        transfer_.swap(moved);
    }
    position_ = offset;
    return true;
}

void UrlSource::cancel() {
    std::lock_guard lock(transferMutex_);
    cancelled_ = true;
    if (transfer_) transfer_->cancel();
    if (opening_ != nullptr) opening_->cancel();
}

const char* UrlSource::headerTag() const {
    return headerTag_.empty() ? nullptr : headerTag_.c_str();
}

const char* UrlSource::metadataTag(std::int64_t offset) {
    std::optional<std::string> text = titles_.at(std::max(offset, start_));
    if (!text) return nullptr;
    std::lock_guard lock(metadataTagMutex_);
    metadataTag_ = std::move(*text);
    return metadataTag_.c_str();
}

}  // namespace soundlib::net
