#include "player/update/web_transfer.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <charconv>
#include <optional>
#include <string_view>
#include <system_error>

#include "platform/text.h"
#include "soundlib/net/curl_handles.h"

namespace {

// A file being written under a temporary name beside its target; removed unless it is
// committed.
class PartFile {
public:
    explicit PartFile(const std::filesystem::path& target) : target_(target) {
        std::string pattern = (target.parent_path() / ".part-XXXXXX").string();
        fd_ = ::mkstemp(pattern.data());
        if (fd_ >= 0) path_ = pattern;
    }
    ~PartFile() {
        if (fd_ >= 0) ::close(fd_);
        if (!path_.empty()) ::unlink(path_.c_str());
    }
    PartFile(const PartFile&) = delete;
    PartFile& operator=(const PartFile&) = delete;

    bool ok() const { return fd_ >= 0; }

    bool write(const char* bytes, std::size_t size) {
        while (size > 0) {
            const ssize_t n = ::write(fd_, bytes, size);
            if (n < 0 && errno == EINTR) continue;
            if (n <= 0) return false;
            bytes += n;
            size -= static_cast<std::size_t>(n);
        }
        return true;
    }

    // Flushes the file to disk and renames it over the target.
    bool commit() {
        ::fchmod(fd_, 0644);
        const bool synced = ::fsync(fd_) == 0;
        const bool closed = ::close(fd_) == 0;
        fd_ = -1;
        if (!synced || !closed || ::rename(path_.c_str(), target_.c_str()) != 0) return false;
        path_.clear();
        return true;
    }

private:
    std::filesystem::path target_;
    std::string path_;
    int fd_ = -1;
};

// Digits only, as a content length must be.
std::optional<std::int64_t> parseLength(std::string_view text) {
    text = platform::text::trim(text);
    std::int64_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc() || end != text.data() + text.size() || value < 0)
        return std::nullopt;
    return value;
}

bool startsWithNoCase(std::string_view line, std::string_view prefix) {
    return line.size() >= prefix.size() &&
           platform::text::asciiLower(line.substr(0, prefix.size())) == prefix;
}

// The state of one Fetch, shared with libcurl's callbacks.
struct Exchange {
    Exchange(CURL* easy, const WebTransferSettings& settings, const std::filesystem::path& target,
             WebTransferObserver& observer, const std::atomic<bool>& cancelled)
        : easy(easy),
          settings(settings),
          target(target),
          observer(observer),
          cancelled(cancelled) {}

    CURL* easy;
    const WebTransferSettings& settings;
    const std::filesystem::path& target;
    WebTransferObserver& observer;
    const std::atomic<bool>& cancelled;

    // Of the response being read.
    std::optional<std::string> lengthHeader;
    bool hasLocation = false;
    bool hasAnswered = false;
    std::optional<WebTransferResult> failure;
    std::optional<PartFile> file;
    std::int64_t size = 0;
    std::int64_t received = 0;
    // When the count of body bytes last changed, for the stall timeout.
    curl_off_t lastCount = 0;
    std::chrono::steady_clock::time_point lastChange = std::chrono::steady_clock::now();

    // A response's headers are complete. Returns false to stop the transfer.
    bool headersEnded() {
        long code = 0;
        curl_easy_getinfo(easy, CURLINFO_RESPONSE_CODE, &code);
        if (code < 200) return true;  // an interim answer such as 100 Continue
        long redirects = 0;
        curl_easy_getinfo(easy, CURLINFO_REDIRECT_COUNT, &redirects);
        // libcurl follows this one itself; the body read is the target's.
        if (code / 100 == 3 && hasLocation && redirects < settings.maxRedirects) return true;
        hasAnswered = true;
        observer.answered(std::to_string(code));
        if (code != 200 && code != 302) return fail(WebTransferResult::BadStatus);
        observer.sizeAsked();
        const auto length = lengthHeader ? parseLength(*lengthHeader) : std::nullopt;
        if (!length) return fail(WebTransferResult::NoSize);
        if (*length > settings.maxSize) return fail(WebTransferResult::TooLarge);
        size = *length;
        observer.sizeKnown(size);
        file.emplace(target);
        if (!file->ok()) return fail(WebTransferResult::WriteFailed);
        return true;
    }

    bool fail(WebTransferResult result) {
        failure = result;
        return false;
    }

    static std::size_t header(char* data, std::size_t, std::size_t size, void* self) {
        auto& x = *static_cast<Exchange*>(self);
        std::string_view line(data, size);
        if (startsWithNoCase(line, "http/")) {
            x.lengthHeader.reset();
            x.hasLocation = false;
        }
        if (startsWithNoCase(line, "location:")) x.hasLocation = true;
        if (startsWithNoCase(line, "content-length:"))
            x.lengthHeader = std::string(line.substr(15));
        if (platform::text::trim(line).empty() && !x.headersEnded()) return 0;
        return size;
    }

    static std::size_t body(char* data, std::size_t, std::size_t size, void* self) {
        auto& x = *static_cast<Exchange*>(self);
        if (!x.hasAnswered) return size;  // the body of a redirect being followed
        if (!x.file) return 0;
        if (static_cast<std::int64_t>(size) > x.size - x.received) {
            x.fail(WebTransferResult::Cut);
            return 0;
        }
        if (!x.file->write(data, size)) {
            x.fail(WebTransferResult::WriteFailed);
            return 0;
        }
        x.received += static_cast<std::int64_t>(size);
        x.observer.bytesReceived(x.received, x.size);
        return size;
    }

    // Called at least once a second while the transfer runs.
    static int progress(void* self, curl_off_t, curl_off_t now, curl_off_t, curl_off_t) {
        auto& x = *static_cast<Exchange*>(self);
        if (x.cancelled) return 1;
        const auto time = std::chrono::steady_clock::now();
        if (now != x.lastCount) {
            x.lastCount = now;
            x.lastChange = time;
        } else if (time - x.lastChange > x.settings.stallTimeout) {
            x.fail(x.hasAnswered ? WebTransferResult::Cut : WebTransferResult::NotOpened);
            return 1;
        }
        return 0;
    }
};

}  // namespace

WebTransferResult WebTransfer::fetch(const std::string& url, const std::filesystem::path& target,
                                     WebTransferObserver& observer) {
    const auto easy = soundlib::net::makeCurlEasy();
    if (!easy) return WebTransferResult::NoSession;
    Exchange x{easy.get(), settings_, target, observer, cancelled_};
    CURL* h = easy.get();
    curl_easy_setopt(h, CURLOPT_URL, url.c_str());
    curl_easy_setopt(h, CURLOPT_USERAGENT, settings_.agent.c_str());
    curl_easy_setopt(h, CURLOPT_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(h, CURLOPT_REDIR_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(h, CURLOPT_FOLLOWLOCATION, 1L);
    curl_easy_setopt(h, CURLOPT_MAXREDIRS, settings_.maxRedirects);
    curl_easy_setopt(h, CURLOPT_SSL_VERIFYPEER, 1L);
    curl_easy_setopt(h, CURLOPT_SSL_VERIFYHOST, 2L);
    if (!settings_.caFile.empty()) curl_easy_setopt(h, CURLOPT_CAINFO, settings_.caFile.c_str());
    curl_easy_setopt(h, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(h, CURLOPT_CONNECTTIMEOUT,
                     static_cast<long>(settings_.connectTimeout.count()));
    curl_easy_setopt(h, CURLOPT_HEADERFUNCTION, &Exchange::header);
    curl_easy_setopt(h, CURLOPT_HEADERDATA, &x);
    curl_easy_setopt(h, CURLOPT_WRITEFUNCTION, &Exchange::body);
    curl_easy_setopt(h, CURLOPT_WRITEDATA, &x);
    curl_easy_setopt(h, CURLOPT_XFERINFOFUNCTION, &Exchange::progress);
    curl_easy_setopt(h, CURLOPT_XFERINFODATA, &x);
    curl_easy_setopt(h, CURLOPT_NOPROGRESS, 0L);

    const CURLcode code = curl_easy_perform(h);
    if (x.failure) return *x.failure;
    if (code == CURLE_ABORTED_BY_CALLBACK) return WebTransferResult::Cancelled;
    if (!x.hasAnswered) return WebTransferResult::NotOpened;
    if (code != CURLE_OK || !x.file || x.received != x.size) return WebTransferResult::Cut;
    return x.file->commit() ? WebTransferResult::Complete : WebTransferResult::WriteFailed;
}
