#include "player/engine/library_menus.h"

#include <algorithm>
#include <numeric>
#include <vector>

#include "platform/text.h"

namespace {

// The sort weight of one character: its windows-1251 byte with a-z as capitals, or a
// weight above every byte for a character the code page does not hold.
char32_t orderWeight(char32_t cp) {
    if (cp >= U'a' && cp <= U'z') return cp - U'a' + U'A';
    if (cp < 0x80) return cp;
    const int byte = platform::text::cp1251Byte(cp);
    return byte >= 0 ? static_cast<char32_t>(byte) : 0x100 + cp;
}

}  // namespace

std::u32string LibraryMenus::orderKey(const QString& caption) {
    std::u32string key;
    for (const uint cp : caption.toUcs4()) key.push_back(orderWeight(cp));
    return key;
}

bool LibraryMenus::OrderLess(const QString& a, const QString& b) {
    return orderKey(a) < orderKey(b);
}

QString LibraryMenus::foldedKey(const QString& caption) {
    QString plain = caption;
    plain.remove(QLatin1Char('&'));
    return plain.toCaseFolded();
}

int LibraryMenus::Insert(LibraryKind kind, const QString& caption) {
    List& list = lists_[index(kind)];
    const auto at = std::upper_bound(list.captions.begin(), list.captions.end(), caption,
                                     &LibraryMenus::OrderLess);
    const int position = static_cast<int>(at - list.captions.begin());
    list.captions.insert(position, caption);
    list.folded.insert(foldedKey(caption));
    view_.LibraryMenuItemInserted(kind, position, caption);
    return position;
}

void LibraryMenus::InsertAll(LibraryKind kind, const QStringList& captions) {
    List& list = lists_[index(kind)];
    QStringList all = list.captions + captions;
    std::vector<std::u32string> keys;
    keys.reserve(static_cast<std::size_t>(all.size()));
    for (const QString& caption : all) keys.push_back(orderKey(caption));
    std::vector<int> order(keys.size());
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(),
                     [&keys](int a, int b) { return keys[a] < keys[b]; });
    list.captions.clear();
    list.captions.reserve(all.size());
    for (const int i : order) list.captions.append(all[i]);
    for (const QString& caption : captions) list.folded.insert(foldedKey(caption));
    view_.LibraryMenuFilled(kind, list.captions);
}

int LibraryMenus::InsertUnique(LibraryKind kind, const QString& caption) {
    if (Contains(kind, caption)) return -1;
    return Insert(kind, caption);
}

bool LibraryMenus::Contains(LibraryKind kind, const QString& caption) const {
    return lists_[index(kind)].folded.contains(foldedKey(caption));
}
