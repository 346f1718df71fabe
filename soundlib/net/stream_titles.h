#pragma once
// The metadata texts of a radio stream on a time line of audio bytes, so that the text
// shown follows what is being heard rather than what has been downloaded. Written by the
// download thread, read by any other; safe for both at once.
#include <cstddef>
#include <cstdint>
#include <deque>
#include <mutex>
#include <optional>
#include <string>

namespace soundlib::net {

class StreamTitles {
public:
    // At most this many texts are kept; the oldest go first.
    static constexpr std::size_t kMaxEntries = 64;

    // Records `text` (UTF-8) as starting at audio byte `offset`. A text equal to the latest
    // one is no change and is dropped. The first text of a stream names what was playing
    // when the listener joined, so it applies from the first byte on.
    void add(std::int64_t offset, std::string text);
    // The text that applies at audio byte `offset`; none before the first text arrived.
    std::optional<std::string> at(std::int64_t offset) const;
    std::optional<std::string> latest() const;

private:
    struct Entry {
        std::int64_t offset;
        std::string text;
    };
    mutable std::mutex mutex_;
    std::deque<Entry> entries_;
};

}  // namespace soundlib::net
