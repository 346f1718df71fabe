#include "songmeta/text_pool.h"

namespace songmeta {

const char* TextPool::hold(std::string_view text) {
    if (text.empty()) return nullptr;
    const std::size_t hash = Hash{}(text);
    const std::lock_guard lock(mutex_);
    const std::string*& recent = recent_[hash % recent_.size()];
    if (recent == nullptr || *recent != text) {
        const auto found = texts_.find(text);
        recent = &*(found != texts_.end() ? found : texts_.emplace(text).first);
    }
    return recent->c_str();
}

}  // namespace songmeta
