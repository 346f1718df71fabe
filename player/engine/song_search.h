#pragma once
// A search through the playlist by title, file name or a word of the lyrics, run in
// slices so that a long playlist never holds up the window: Start, then Continue until
// Finished, each slice handing back the rows it found in playlist order.
#include <QDeadlineTimer>
#include <QString>
#include <QStringList>

#include "lyrics_cache.h"

class TAudioObject;

class SongSearch {
public:
    enum Category { ByTitle = 0, ByFileName = 1, ByLyrics = 2 };

    explicit SongSearch(const TAudioObject& audio);

    // Starts over. An empty word lists every entry; another lists the entries whose
    // title, path or lyrics contain it, letters of every alphabet compared without case.
    // Rows are titles, or full paths by file name; a category other than the three
    // lists nothing.
    void Start(int category, const QString& word);
    // Goes on through the entries until the last one or the deadline.
    QStringList Continue(QDeadlineTimer deadline);
    bool Finished() const;

    // The entry that a row of `category` names: the first of that title or path in
    // playlist order, -1 when none.
    int EntryOf(int category, const QString& row) const;

private:
    bool matches(int entry);
    QString rowOf(int entry) const;

    const TAudioObject& audio_;
    LyricsCache lyrics_;
    int category_ = ByTitle;
    QString word_;
    int next_ = 0;
};
