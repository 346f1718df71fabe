#pragma once
// A context menu under construction: string items with command identifiers, which a
// server inserts and the host then shows.
#include <cstdint>
#include <string>
#include <vector>

namespace com {

inline constexpr std::uint32_t MF_STRING = 0x0;
inline constexpr std::uint32_t MF_BYPOSITION = 0x400;

class PopupMenu {
public:
    struct Item {
        std::uint32_t id;
        std::string text;
    };
    const std::vector<Item>& items() const { return items_; }
    // At `position`, or at the end when it lies beyond it.
    void insert(std::uint32_t position, std::uint32_t id, std::string text) {
        const auto at = position < items_.size() ? items_.begin() + position : items_.end();
        items_.insert(at, Item{id, std::move(text)});
    }

private:
    std::vector<Item> items_;
};
using HMENU = PopupMenu*;

// Only string items by position are known.
inline bool InsertMenuA(HMENU menu, std::uint32_t position, std::uint32_t flags, std::uint32_t id,
                        const char* text) {
    if (!menu || flags != (MF_BYPOSITION | MF_STRING) || !text) return false;
    menu->insert(position, id, text);
    return true;
}

}  // namespace com
