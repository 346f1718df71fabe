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

void LibraryMenus::appendOrderKey(QStringView caption, std::u32string& key) {
    for (qsizetype i = 0; i < caption.size(); ++i) {
        const QChar c = caption[i];
        char32_t cp = c.unicode();
        if (c.isHighSurrogate() && i + 1 < caption.size() && caption[i + 1].isLowSurrogate())
            cp = QChar::surrogateToUcs4(c, caption[++i]);
        else if (c.isSurrogate())
            cp = QChar::ReplacementCharacter;  // as the text's conversion to UCS-4 reads it
        key.push_back(orderWeight(cp));
    }
}

std::u32string LibraryMenus::orderKey(const QString& caption) {
    std::u32string key;
    appendOrderKey(caption, key);
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
    sorted(list);
    const auto at = std::upper_bound(list.captions.begin(), list.captions.end(), caption,
                                     &LibraryMenus::OrderLess);
    const int position = static_cast<int>(at - list.captions.begin());
    list.captions.insert(position, caption);
    if (list.known) addKnown(*list.known, caption);
    view_.LibraryMenuItemInserted(kind, position, caption);
    return position;
}

void LibraryMenus::InsertAll(LibraryKind kind, const QStringList& captions) {
    List& list = lists_[index(kind)];
    list.captions.append(captions);
    list.inOrder = list.inOrder && captions.isEmpty();
    if (list.known)
        for (const QString& caption : captions) addKnown(*list.known, caption);
    view_.LibraryMenuFilled(kind, *this);
}

const QStringList& LibraryMenus::sorted(const List& list) {
    if (list.inOrder) return list.captions;
    list.inOrder = true;
    QStringList& all = list.captions;
    // Every key in one buffer: a string per key cost an allocation each, which a large
    // library felt.
    std::u32string weights;
    weights.reserve(static_cast<std::size_t>(std::accumulate(
        all.begin(), all.end(), qsizetype(0),
        [](qsizetype sum, const QString& caption) { return sum + caption.size(); })));
    struct Keyed {
        std::size_t from;
        std::size_t size;
        int caption;
    };
    std::vector<Keyed> order;
    order.reserve(static_cast<std::size_t>(all.size()));
    for (int i = 0; i < all.size(); ++i) {
        const std::size_t from = weights.size();
        appendOrderKey(all[i], weights);
        order.push_back({from, weights.size() - from, i});
    }
    const std::u32string_view keys = weights;
    // Stable: equal captions keep the order in which they came, as insertions one by one
    // would place them.
    std::stable_sort(order.begin(), order.end(), [keys](const Keyed& a, const Keyed& b) {
        return keys.substr(a.from, a.size) < keys.substr(b.from, b.size);
    });
    QStringList captions;
    captions.reserve(all.size());
    for (const Keyed& k : order) captions.append(std::move(all[k.caption]));
    all = std::move(captions);
    return all;
}

int LibraryMenus::InsertUnique(LibraryKind kind, const QString& caption) {
    if (Contains(kind, caption)) return -1;
    return Insert(kind, caption);
}

bool LibraryMenus::Contains(LibraryKind kind, const QString& caption) const {
    const List::Known& known = knownOf(lists_[index(kind)]);
    return known.given.contains(caption) || known.folded.contains(foldedKey(caption));
}

void LibraryMenus::addKnown(List::Known& known, const QString& caption) {
    known.folded.insert(foldedKey(caption));
    known.given.insert(caption);
}

const LibraryMenus::List::Known& LibraryMenus::knownOf(const List& list) {
    if (!list.known) {
        list.known.emplace();
        list.known->folded.reserve(list.captions.size());
        list.known->given.reserve(list.captions.size());
        for (const QString& caption : list.captions) addKnown(*list.known, caption);
    }
    return *list.known;
}
