#include "player/engine/lyrics_cache.h"

#include <sys/stat.h>
#include <QFile>

#include "player/engine/song_tags.h"

QString LyricsCache::lyrics(const QString& path) {
    struct stat status {};
    if (::stat(QFile::encodeName(path).constData(), &status) != 0) {
        entries_.remove(path);
        return QString();
    }
    // A save replaces the file by a new one, which a new inode shows even within the
    // clock's resolution.
    const Stamp stamp{status.st_size,
                      std::int64_t{status.st_mtim.tv_sec} * 1'000'000'000 + status.st_mtim.tv_nsec,
                      status.st_ino};
    auto found = entries_.find(path);
    if (found != entries_.end() && found->stamp == stamp) return found->lyrics;
    const QString lyrics = SongTags::readLyricsV2(path);
    entries_.insert(path, Entry{stamp, lyrics});
    return lyrics;
}
