#include "song_search.h"

#include "audio_object.h"

namespace {

bool validCategory(int category) {
    return category >= SongSearch::ByTitle && category <= SongSearch::ByLyrics;
}

}  // namespace

SongSearch::SongSearch(const TAudioObject& audio) : audio_(audio) {}

void SongSearch::Start(int category, const QString& word) {
    category_ = category;
    word_ = word;
    next_ = 0;
}

QStringList SongSearch::Continue(QDeadlineTimer deadline) {
    QStringList rows;
    if (!validCategory(category_)) return rows;
    // The clock is looked at after every entry: it costs far less than reading a file.
    while (next_ < audio_.EntryCount()) {
        const int entry = next_++;
        if (matches(entry)) rows << rowOf(entry);
        if (deadline.hasExpired()) break;
    }
    return rows;
}

bool SongSearch::Finished() const {
    return !validCategory(category_) || next_ >= audio_.EntryCount();
}

int SongSearch::EntryOf(int category, const QString& row) const {
    if (!validCategory(category)) return -1;
    return category == ByFileName ? audio_.IndexOfFile(row) : audio_.IndexOfTitle(row);
}

bool SongSearch::matches(int entry) {
    if (word_.isEmpty()) return true;
    QString text;
    switch (category_) {
        case ByTitle:
            text = audio_.GetEntryTitle(entry);
            break;
        case ByFileName:
            text = audio_.GetEntryFile(entry);
            break;
        default:
            text = lyrics_.Lyrics(audio_.GetEntryFile(entry));
            break;
    }
    return text.contains(word_, Qt::CaseInsensitive);
}

QString SongSearch::rowOf(int entry) const {
    return category_ == ByFileName ? audio_.GetEntryFile(entry) : audio_.GetEntryTitle(entry);
}
