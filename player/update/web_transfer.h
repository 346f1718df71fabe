#pragma once
// One download of an http or https address into a local file, through libcurl.
//
// The transfer reports its steps to an observer as it goes: the final response's status
// code (redirects are followed, up to a bound), the announced size, and the bytes
// received. Only a body with an announced size is taken, and never more than that size;
// an announced size above the bound is refused. The body goes to a temporary file in the
// target's folder that replaces the target only when every announced byte has arrived,
// so a failed transfer leaves no half file and keeps an older complete one. A server
// that stops sending ends the transfer after the stall timeout.
#include <atomic>
#include <chrono>
#include <cstdint>
#include <filesystem>
#include <string>

struct WebTransferSettings {
    std::string agent;
    // Certificate authorities to trust (a PEM file); empty: the system's.
    std::string caFile;
    long maxRedirects = 5;
    std::chrono::seconds connectTimeout{20};
    // No byte of the body for this long (counted from the start until the first one)
    // ends the transfer.
    std::chrono::seconds stallTimeout{30};
    std::int64_t maxSize = std::int64_t{512} * 1024 * 1024;
};

enum class WebTransferResult {
    Complete,
    NoSession,    // libcurl could not make a handle
    NotOpened,    // no response: bad address, host unknown, refused, TLS failure
    BadStatus,    // a status other than 200 or 302
    NoSize,       // the content length is missing or not a number
    TooLarge,     // the announced size is above the bound
    Cut,          // the body ended early, stalled, or held more than announced
    WriteFailed,  // the temporary file could not be made, written or renamed
    Cancelled,
};

class WebTransferObserver {
public:
    virtual ~WebTransferObserver() = default;
    // The final response's status code, as the server sent it.
    virtual void answered(const std::string& code) = 0;
    // The content length is about to be read.
    virtual void sizeAsked() = 0;
    virtual void sizeKnown(std::int64_t size) = 0;
    virtual void bytesReceived(std::int64_t received, std::int64_t size) = 0;
};

class WebTransfer {
public:
    explicit WebTransfer(WebTransferSettings settings) : settings_(std::move(settings)) {}

    // Fetches `url` into `target`; runs until the transfer ends. The observer is called
    // on the calling thread.
    WebTransferResult fetch(const std::string& url, const std::filesystem::path& target,
                            WebTransferObserver& observer);

    // Ends a running Fetch soon with Cancelled; may be called from any thread.
    void cancel() { cancelled_ = true; }

private:
    WebTransferSettings settings_;
    std::atomic<bool> cancelled_{false};
};
