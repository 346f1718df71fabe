#include "player/engine/song_tags.h"

#include <QByteArray>
#include <QFile>

#include "songmeta/songmeta.h"

namespace {

// The record's members in field order.
constexpr std::array<const char * SongInformation::*, SongTags::kFieldCount> kMembers = {
    &SongInformation::TagPresent, &SongInformation::TagVersion, &SongInformation::TagSize,
    &SongInformation::Title,      &SongInformation::Artist,     &SongInformation::Album,
    &SongInformation::Track,      &SongInformation::Year,       &SongInformation::Genre,
    &SongInformation::Comment,    &SongInformation::Composer,   &SongInformation::Encoder,
    &SongInformation::Copyright,  &SongInformation::Language,   &SongInformation::Link,
    &SongInformation::Lyrics};

QString text(const char* utf8) {
    return utf8 ? QString::fromUtf8(utf8) : QString();
}

}  // namespace

SongTags SongTags::read(const QString& path) {
    SongInformation info{};
    GetSongInformation(&info, QFile::encodeName(path).constData());
    SongTags tags;
    for (int i = 0; i < kFieldCount; ++i) tags.fields_[i] = text(info.*kMembers[i]);
    return tags;
}

QString SongTags::readLyricsV2(const QString& path) {
    SongInformation info{};
    GetTID3v2(QFile::encodeName(path).constData(), &info);
    return text(info.Lyrics);
}

bool SongTags::save(const QString& path) const {
    // The texts live through the call; an empty field goes as a null reference.
    std::array<QByteArray, kFieldCount> texts;
    SongInformation info{};
    for (int i = 0; i < kFieldCount; ++i) {
        texts[i] = fields_[i].toUtf8();
        info.*kMembers[i] = texts[i].isEmpty() ? nullptr : texts[i].constData();
    }
    return SaveSongInformation(info, QFile::encodeName(path).constData()) != 0;
}
