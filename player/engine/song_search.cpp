#include "player/engine/song_search.h"

#include "player/engine/audio_object.h"

SongSearch::Category SongSearch::categoryAt(int index) {
    return index >= 0 && index <= static_cast<int>(Category::ByLyrics)
               ? static_cast<Category>(index)
               : Category::None;
}

SongSearch::SongSearch(const TAudioObject& audio) : audio_(audio) {}

void SongSearch::start(Category category, const QString& word) {
    category_ = category;
    word_ = word;
    next_ = 0;
}

QStringList SongSearch::proceed(QDeadlineTimer deadline) {
    QStringList rows;
    if (category_ == Category::None) return rows;
    // The clock is looked at every few entries: often enough that a few file reads
    // past the deadline stay short, seldom enough to cost nothing beside a title.
    constexpr int kEntriesPerLook = 8;
    while (next_ < audio_.EntryCount()) {
        const int entry = next_++;
        if (matches(entry)) rows << rowOf(entry);
        if (next_ % kEntriesPerLook == 0 && deadline.hasExpired()) break;
    }
    return rows;
}

bool SongSearch::finished() const {
    return category_ == Category::None || next_ >= audio_.EntryCount();
}

int SongSearch::entryOf(Category category, const QString& row) const {
    switch (category) {
        case Category::None:
            return -1;
        case Category::ByFileName:
            return audio_.IndexOfFile(row);
        case Category::ByTitle:
        case Category::ByLyrics:
            break;
    }
    return audio_.IndexOfTitle(row);
}

bool SongSearch::matches(int entry) {
    if (word_.isEmpty()) return true;
    QString text;
    switch (category_) {
        case Category::None:
            return false;
        case Category::ByTitle:
            text = audio_.GetEntryTitle(entry);
            break;
        case Category::ByFileName:
            text = audio_.GetEntryFile(entry);
            break;
        case Category::ByLyrics:
            text = lyrics_.lyrics(audio_.GetEntryFile(entry));
            break;
    }
    return text.contains(word_, Qt::CaseInsensitive);
}

QString SongSearch::rowOf(int entry) const {
    return category_ == Category::ByFileName ? audio_.GetEntryFile(entry)
                                             : audio_.GetEntryTitle(entry);
}
