#pragma once
// The sixteen texts of a song file's tags, in the order the tag library keeps them, read
// and written through that library.
#include <QString>
#include <array>

class SongTags {
public:
    // The fields in the library's record order.
    enum class Field {
        TagPresent = 0,
        TagVersion = 1,
        TagSize = 2,
        Title = 3,
        Artist = 4,
        Album = 5,
        Track = 6,
        Year = 7,
        Genre = 8,
        Comment = 9,
        Composer = 10,
        Encoder = 11,
        Copyright = 12,
        Language = 13,
        Link = 14,
        Lyrics = 15,
    };
    static constexpr int kFieldCount = 16;

    // Every field the file's tags give; empty fields where it has none or cannot be read.
    static SongTags read(const QString& path);
    // The lyrics of the file's ID3v2 tag; empty without one.
    static QString readLyricsV2(const QString& path);
    // Writes Title to Lyrics as the file's ID3v2 tag and Title to Comment as its ID3v1
    // tag. False unless both were written.
    bool save(const QString& path) const;

    QString& operator[](Field field) { return fields_[static_cast<int>(field)]; }
    const QString& operator[](Field field) const { return fields_[static_cast<int>(field)]; }

private:
    std::array<QString, kFieldCount> fields_;
};
