#include "player/engine/library_menus.h"

#include <algorithm>

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

bool LibraryMenus::OrderLess(const QString& a, const QString& b) {
    const QList<uint> ua = a.toUcs4();
    const QList<uint> ub = b.toUcs4();
    return std::lexicographical_compare(
        ua.begin(), ua.end(), ub.begin(), ub.end(),
        [](uint x, uint y) { return orderWeight(x) < orderWeight(y); });
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

int LibraryMenus::InsertUnique(LibraryKind kind, const QString& caption) {
    if (Contains(kind, caption)) return -1;
    return Insert(kind, caption);
}

bool LibraryMenus::Contains(LibraryKind kind, const QString& caption) const {
    return lists_[index(kind)].folded.contains(foldedKey(caption));
}
