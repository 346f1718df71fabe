#pragma once
// Playlist entries of real song files with lyrics of the test's choosing, for the tests
// of the song search in the engine and in its window.
#include <QString>
#include <filesystem>

#include "player/engine/audio_object.h"
#include "player/engine/song_tags.h"

namespace testing_support {

// Copies the untagged `plain` song to `path`, gives it an ID3v2 tag with these lyrics
// and enters it into the playlist under `title`. The path, empty if the tag was not
// written.
inline QString addLyricsSong(TAudioObject& audio, const std::filesystem::path& plain,
                             const std::filesystem::path& path, const QString& title,
                             const QString& lyrics) {
    std::filesystem::copy_file(plain, path);
    const QString file = QString::fromStdString(path.string());
    SongTags tags;
    tags[SongTags::Field::Lyrics] = lyrics;
    if (!tags.save(file)) return QString();
    audio.Playlist.AddEntry(file, title, 500);
    return file;
}

}  // namespace testing_support
