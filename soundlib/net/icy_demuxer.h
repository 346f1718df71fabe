#pragma once
// Splits the body of a radio response into audio bytes and metadata blocks. The server
// puts a metadata point after every `interval` audio bytes: one length byte (the block's
// size in units of 16, so a block holds at most 4080 bytes) and then the block's text,
// padded with NULs. A length of 0 means "no change".
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace soundlib::net {

class IcyDemuxer {
public:
    // Receives the text of each non-empty block (cut at its first NUL) together with the
    // number of audio bytes that came before it.
    using BlockHandler = std::function<void(std::int64_t audioOffset, std::string_view text)>;

    // With `interval` 0 every byte is audio.
    IcyDemuxer(std::size_t interval, BlockHandler onBlock);

    // Appends the audio bytes among `data` to `audio` and hands on every block that ends
    // inside `data`. Blocks and audio may be split anywhere between calls.
    void feed(const std::uint8_t* data, std::size_t size, std::vector<std::uint8_t>& audio);

    std::size_t interval() const { return interval_; }
    std::int64_t audioBytes() const { return audioBytes_; }
    // Metadata points passed so far, empty ones included, and their bytes (length bytes
    // and blocks).
    std::int64_t pointsSeen() const { return points_; }
    std::int64_t metadataBytes() const { return metadataBytes_; }

private:
    void finishBlock();

    std::size_t interval_;
    BlockHandler onBlock_;
    std::size_t untilPoint_;
    std::size_t blockLeft_ = 0;
    std::string block_;
    std::int64_t audioBytes_ = 0;
    std::int64_t points_ = 0;
    std::int64_t metadataBytes_ = 0;
};

}  // namespace soundlib::net
