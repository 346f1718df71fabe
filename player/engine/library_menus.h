#pragma once
// The captions of the three library submenus (albums, artists, genres), kept in the
// order the main window's menus show them. Every change is reported to the view (an
// insertion item by item, a bulk insertion as the whole list), so the real menus mirror
// this model.
//
// Order: a new caption goes before the first caption that is greater, comparing the
// captions as windows-1251 bytes with only the ASCII letters a-z taken as capitals
// (characters the code page lacks come after all of its bytes, by code point). Since
// every caption enters this way, each list stays sorted by that order.
#include <QSet>
#include <QString>
#include <QStringList>
#include <array>
#include <string>

#include "player/engine/audio_view.h"
#include "player/engine/library_kind.h"

class LibraryMenus {
public:
    explicit LibraryMenus(AudioView& view) : view_(view) {}

    // Inserts the caption in order, also when it is there already. Returns its position.
    int Insert(LibraryKind kind, const QString& caption);
    // Inserts every caption as Insert would one after the other, but sorts once, so
    // building menus of n names costs O(n log n); the view is given the whole list.
    void InsertAll(LibraryKind kind, const QStringList& captions);
    // Inserts the caption unless an equal one is there, compared without regard to case
    // and ignoring "&" markers. Returns its position, or -1 when it was there.
    int InsertUnique(LibraryKind kind, const QString& caption);
    bool Contains(LibraryKind kind, const QString& caption) const;
    const QStringList& Captions(LibraryKind kind) const { return lists_[index(kind)].captions; }

    // True when `a` sorts before `b` in the menu order above.
    static bool OrderLess(const QString& a, const QString& b);

private:
    struct List {
        QStringList captions;
        QSet<QString> folded;  // captions without "&", case-folded
    };
    static int index(LibraryKind kind) { return static_cast<int>(kind); }
    // The caption's characters as sort weights: comparing keys is OrderLess.
    static std::u32string orderKey(const QString& caption);
    static QString foldedKey(const QString& caption);

    AudioView& view_;
    std::array<List, 3> lists_;
};
