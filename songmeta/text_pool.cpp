#include "songmeta/text_pool.h"

namespace songmeta {

void TextPool::hold(std::span<const std::string> texts, const char** held) {
    const std::lock_guard lock(mutex_);
    for (const std::string& text : texts) *held++ = holdLocked(text);
}

const char* TextPool::holdLocked(std::string_view text) {
    if (text.empty()) return nullptr;
    const std::string*& recent = recent_[Hash{}(text) % recent_.size()];
    if (recent == nullptr || *recent != text) {
        const auto found = texts_.find(text);
        recent = &*(found != texts_.end() ? found : texts_.emplace(text).first);
    }
    return recent->c_str();
}

}  // namespace songmeta
