#pragma once
// The captions of the three library submenus (albums, artists, genres), kept in the
// order the main window's menus show them. Every change is reported to the view (an
// insertion item by item, a bulk insertion as a whole, which the view reads back when it
// shows the menu), so the real menus mirror this model.
//
// Order: a new caption goes before the first caption that is greater, comparing the
// captions as windows-1251 bytes with only the ASCII letters a-z taken as capitals
// (characters the code page lacks come after all of its bytes, by code point). Since
// every caption enters this way, each list stays sorted by that order.
#include <QSet>
#include <QString>
#include <QStringList>
#include <array>
#include <optional>
#include <string>

#include "player/engine/audio_view.h"
#include "player/engine/library_kind.h"

class LibraryMenus {
public:
    explicit LibraryMenus(AudioView& view) : view_(view) {}

    // Inserts the caption in order, also when it is there already. Returns its position.
    int Insert(LibraryKind kind, const QString& caption);
    // Inserts every caption as Insert would one after the other, but sorts once, so
    // building menus of n names costs O(n log n), and only when the captions are next
    // asked for: a start with a large library does not wait for it.
    void InsertAll(LibraryKind kind, const QStringList& captions);
    // Inserts the caption unless an equal one is there, compared without regard to case
    // and ignoring "&" markers. Returns its position, or -1 when it was there.
    int InsertUnique(LibraryKind kind, const QString& caption);
    bool Contains(LibraryKind kind, const QString& caption) const;
    const QStringList& Captions(LibraryKind kind) const { return sorted(lists_[index(kind)]); }

    // True when `a` sorts before `b` in the menu order above.
    static bool OrderLess(const QString& a, const QString& b);

private:
    struct List {
        // In order unless a bulk insertion appended captions since they were last asked
        // for; they are put in order then.
        mutable QStringList captions;
        mutable bool inOrder = true;
        // The captions without "&", case-folded, and as given (a caption seen before is
        // known without folding it again); made when first asked, since a start that only
        // fills the menus never needs them.
        struct Known {
            QSet<QString> folded;
            QSet<QString> given;
        };
        mutable std::optional<Known> known;
    };
    static int index(LibraryKind kind) { return static_cast<int>(kind); }
    // Appends the caption's characters as sort weights: comparing keys is OrderLess.
    static void appendOrderKey(QStringView caption, std::u32string& key);
    static std::u32string orderKey(const QString& caption);
    static QString foldedKey(const QString& caption);
    static const QStringList& sorted(const List& list);
    static const List::Known& knownOf(const List& list);
    static void addKnown(List::Known& known, const QString& caption);

    AudioView& view_;
    std::array<List, 3> lists_;
};
