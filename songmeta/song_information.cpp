#include "songmeta/song_information.h"

#include "songmeta/id3v1_tag.h"
#include "songmeta/id3v2_tag.h"
#include "songmeta/song_file.h"
#include "songmeta/track_number.h"
#include "songmeta/wma_file.h"

namespace songmeta {

namespace {

constexpr const char* kYes = "Yes";

std::string bytesText(std::int64_t size) {
    return std::to_string(size) + " bytes";
}

// Record fields 3 to 15 in the order of the ID3v2 items.
constexpr Field kItemFields[TID3v2::kItemCount] = {Title,    Artist,  Album,    Track,   Year,
                                                   Genre,    Comment, Composer, Encoder, Copyright,
                                                   Language, Link,    Lyrics};

}  // namespace

bool fillFromId3v2(const std::string& fileName, SongFields& fields) {
    SongFile file(fileName);
    return fillFromId3v2(file, fields);
}

bool fillFromId3v2(SongFile& file, SongFields& fields) {
    TID3v2 tag;
    if (!tag.LoadFrom(file) || !tag.Found()) return false;
    fields[TagPresent] = kYes;
    fields[TagVersion] = "2." + std::to_string(tag.MajorVersion());
    fields[TagSize] = bytesText(tag.TagSize());
    for (int i = 0; i < TID3v2::kItemCount; ++i)
        if (i != TID3v2::Track) fields[kItemFields[i]] = tag.Text(static_cast<TID3v2::Item>(i));
    if (tag.TrackNumber() != 0) fields[Track] = std::to_string(tag.TrackNumber());
    return true;
}

bool fillFromId3v1(const std::string& fileName, SongFields& fields) {
    return fillFromId3v1(SongFile(fileName), fields);
}

bool fillFromId3v1(const SongFile& file, SongFields& fields) {
    TID3v1 tag;
    if (!tag.LoadFrom(file) || !tag.Found()) return false;
    fields[TagPresent] = kYes;
    fields[TagVersion] = tag.Revision() == 2 ? "1.1" : "1.0";
    fields[Title] = tag.Title();
    fields[Artist] = tag.Artist();
    fields[Album] = tag.Album();
    fields[Year] = tag.Year();
    fields[Comment] = tag.Comment();
    fields[Track] = std::to_string(tag.Track());
    fields[Genre] = std::string(tag.GetGenre());
    fields[Lyrics].clear();
    return true;
}

bool fillFromWma(const std::string& fileName, SongFields& fields) {
    TWMAfile wma;
    if (!wma.LoadFromFile(fileName) || !wma.Valid()) return false;
    fields[TagPresent] = kYes;
    fields[TagSize] = bytesText(wma.FileSize());
    fields[Title] = wma.Title();
    fields[Artist] = wma.Artist();
    fields[Album] = wma.Album();
    fields[Year] = wma.Year();
    fields[Genre] = wma.Genre();
    fields[Comment] = wma.Comment();
    fields[Lyrics] = wma.Lyrics();
    if (wma.Track() > 0) fields[Track] = std::to_string(wma.Track());
    return true;
}

SongFields readSongInformation(const std::string& fileName) {
    SongFields result;
    const char last = fileName.empty() ? '\0' : fileName.back();
    if (last == '3') {
        // One opening serves both tags.
        SongFile file(fileName);
        fillFromId3v2(file, result);
        SongFields v1;
        fillFromId3v1(file, v1);
        for (const Field f : {Title, Artist, Album, Year, Track, Comment, Genre})
            if (result[f].empty()) result[f] = v1[f];
    } else if (last == 'a') {
        fillFromWma(fileName, result);
    } else {
        result[Title] = fileName.substr(fileName.find_last_of('/') + 1);
    }
    return result;
}

bool saveSongInformation(const SongFields& fields, const std::string& fileName) {
    const std::uint8_t track = parseTrackNumber(fields[Track]);
    TID3v2 v2;
    for (int i = 0; i < TID3v2::kItemCount; ++i)
        v2.SetText(static_cast<TID3v2::Item>(i), fields[kItemFields[i]]);
    v2.SetTrack(track);

    TID3v1 v1;
    v1.SetTitle(fields[Title]);
    v1.SetArtist(fields[Artist]);
    v1.SetAlbum(fields[Album]);
    v1.SetYear(fields[Year]);
    v1.SetTrack(track);
    v1.SetGenre(fields[Genre]);
    v1.SetComment(fields[Comment]);
    // One rebuild writes both tags, so a failed save leaves the file as it was.
    return v2.WriteToFile(fileName, &v1);
}

}  // namespace songmeta
