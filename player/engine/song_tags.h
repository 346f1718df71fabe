#pragma once
// The sixteen texts of a song file's tags, in the order the tag library keeps them, read
// and written through that library.
#include <QString>
#include <array>

class SongTags {
public:
    enum Field {
        TagPresent,
        TagVersion,
        TagSize,
        Title,
        Artist,
        Album,
        Track,
        Year,
        Genre,
        Comment,
        Composer,
        Encoder,
        Copyright,
        Language,
        Link,
        Lyrics,
        FieldCount
    };

    // Every field the file's tags give; empty fields where it has none or cannot be read.
    static SongTags Read(const QString& path);
    // The lyrics of the file's ID3v2 tag; empty without one.
    static QString ReadLyricsV2(const QString& path);
    // Writes Title to Lyrics as the file's ID3v2 tag and Title to Comment as its ID3v1
    // tag. False unless both were written.
    bool Save(const QString& path) const;

    QString& operator[](Field field) { return fields_[field]; }
    const QString& operator[](Field field) const { return fields_[field]; }

private:
    std::array<QString, FieldCount> fields_;
};
