#include "songmeta/text_pool.h"

namespace songmeta {

const char* TextPool::hold(std::string_view text) {
    if (text.empty()) return nullptr;
    const std::lock_guard lock(mutex_);
    const auto found = texts_.find(text);
    return (found != texts_.end() ? found : texts_.emplace(text).first)->c_str();
}

}  // namespace songmeta
