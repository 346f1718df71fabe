#include "songmeta/track_number.h"

#include <charconv>

#include "platform/text.h"

namespace songmeta {

std::uint8_t parseTrackNumber(std::string_view text) {
    text = platform::text::trim(text);
    if (!text.empty() && text.front() == '+') text.remove_prefix(1);
    long long value = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || ec != std::errc() || end != text.data() + text.size() || value <= 0)
        return 0;
    return static_cast<std::uint8_t>(value % 256);
}

std::uint8_t parseTrackOfTotal(std::string_view text) {
    return parseTrackNumber(text.substr(0, text.find('/')));
}

}  // namespace songmeta
