#pragma once
// How an internet stream is opened, and the ways opening or reading it can fail.
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <functional>

namespace soundlib::net {

struct UrlOptions {
    // Sends "Icy-MetaData: 1" so that a radio server interleaves song titles.
    bool requestMetadata = false;
    // Opening (connecting, the response headers, the first audio and, on a radio stream,
    // the first metadata point, then the decoder's probing of the data) takes at most this
    // long in all: the caller waits for the whole of it.
    std::chrono::milliseconds openTimeout{5000};
    // A transfer that delivers nothing for this long (while there is room for more) ends
    // with an error, so a reader never waits longer for data.
    std::chrono::milliseconds stallTimeout{5000};
    // Audio bytes held ahead of the reader; the download pauses while it is full. Up to as
    // many bytes already read are kept as well, so that short steps back need no new
    // transfer.
    std::size_t bufferBytes = 256 * 1024;
    // When set, receives the body's bytes as they arrive (metadata included), on the
    // download thread, and a last call with no bytes when the body has ended.
    std::function<void(const std::uint8_t* bytes, std::size_t size)> onData;
};

enum class NetError {
    None,
    Address,    // not an http://, https:// or ftp:// address libcurl accepts
    Connect,    // host unknown or connection refused
    Timeout,    // no answer, or no audio, within the bound
    Status,     // the server refused: an HTTP error status or a missing FTP file
    Oversized,  // the response headers, or the radio metadata, exceeded their cap
    Transfer,   // anything else: a broken reply, a cut connection
};

}  // namespace soundlib::net
