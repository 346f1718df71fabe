#pragma once
// The lyrics of song files' ID3v2 tags, each file read once and again only after it
// changed (its size, modification time or identity), so repeated searches through the
// lyrics of a long playlist read no file that stayed the same.
#include <QHash>
#include <QString>
#include <cstdint>

class LyricsCache {
public:
    // Empty for a file that cannot be read or has no ID3v2 tag.
    QString lyrics(const QString& path);

private:
    struct Stamp {
        std::int64_t size = 0;
        std::int64_t modifiedNs = 0;
        std::uint64_t inode = 0;
        bool operator==(const Stamp&) const = default;
    };
    struct Entry {
        Stamp stamp;
        QString lyrics;
    };
    QHash<QString, Entry> entries_;
};
