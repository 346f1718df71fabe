#include "player/update/update_list.h"

#include "platform/text.h"

namespace update_list {

std::vector<std::string> parse(std::string_view bytes) {
    const std::string text = platform::text::decodeFileText(bytes);
    std::vector<std::string> entries;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        std::size_t stop = end;
        if (stop > start && text[stop - 1] == '\r') --stop;
        entries.emplace_back(text, start, stop - start);
        start = end + 1;
    }
    return entries;
}

bool isPlainFileName(std::string_view name) {
    if (name.empty() || name.size() > 255 || name == "." || name == "..") return false;
    for (std::size_t pos = 0; pos < name.size();) {
        const char32_t c = platform::text::nextCodePoint(name, pos);
        if (c == '/' || c == '\\' || c < 0x20 || (c >= 0x7f && c < 0xa0)) return false;
    }
    return true;
}

}  // namespace update_list
