#include "soundlib/net/stream_titles.h"

#include <limits>
#include <utility>

namespace soundlib::net {

void StreamTitles::add(std::int64_t offset, std::string text) {
    std::lock_guard lock(mutex_);
    if (entries_.empty()) {
        offset = std::numeric_limits<std::int64_t>::min();
    } else if (entries_.back().text == text) {
        return;
    }
    entries_.push_back({offset, std::move(text)});
    if (entries_.size() > kMaxEntries) entries_.pop_front();
}

std::optional<std::string> StreamTitles::at(std::int64_t offset) const {
    std::lock_guard lock(mutex_);
    for (auto it = entries_.rbegin(); it != entries_.rend(); ++it) {
        if (it->offset <= offset) return it->text;
    }
    return std::nullopt;
}

std::optional<std::string> StreamTitles::latest() const {
    std::lock_guard lock(mutex_);
    if (entries_.empty()) return std::nullopt;
    return entries_.back().text;
}

}  // namespace soundlib::net
