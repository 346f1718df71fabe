#pragma once
// A search through the playlist by title, file name or a word of the lyrics, run in
// slices so that a long playlist never holds up the window: start, then proceed until
// finished, each slice handing back the rows it found in playlist order.
#include <QDeadlineTimer>
#include <QString>
#include <QStringList>

#include "player/engine/lyrics_cache.h"

class TAudioObject;

class SongSearch {
public:
    // The search window's category box: its item index, or -1 for a typed text that is
    // none of its items.
    enum class Category { None = -1, ByTitle = 0, ByFileName = 1, ByLyrics = 2 };
    // The category of an item index of the box; None for any other index.
    static Category categoryAt(int index);

    explicit SongSearch(const TAudioObject& audio);

    // Starts over. An empty word lists every entry; another lists the entries whose
    // title, path or lyrics contain it, letters of every alphabet compared without case.
    // Rows are titles, or full paths by file name; Category::None lists nothing.
    void start(Category category, const QString& word);
    // Goes on through the entries until the last one or the deadline.
    QStringList proceed(QDeadlineTimer deadline);
    bool finished() const;

    // The entry that a row of `category` names: the first of that title or path in
    // playlist order, -1 when none.
    int entryOf(Category category, const QString& row) const;

private:
    bool matches(int entry);
    QString rowOf(int entry) const;

    const TAudioObject& audio_;
    LyricsCache lyrics_;
    Category category_ = Category::ByTitle;
    QString word_;
    int next_ = 0;
};
