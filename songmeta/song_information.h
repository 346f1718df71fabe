#pragma once
// The rules that turn tags into a song record and a record into tags.
#include <string>

#include "songmeta/song_fields.h"

namespace songmeta {

class SongFile;

// The whole record for a file, chosen by the last character of its name: '3' ID3v2 with
// ID3v1 filling the gaps, 'a' the WMA header, anything else only Title = the bare name.
SongFields readSongInformation(const std::string& fileName);

// Sets the record's fields from the file's ID3v2 tag; false, with the record untouched,
// when there is no tag or the file cannot be read. Track is set only when not 0.
bool fillFromId3v2(const std::string& fileName, SongFields& fields);
bool fillFromId3v2(SongFile& file, SongFields& fields);
bool fillFromId3v1(const std::string& fileName, SongFields& fields);
bool fillFromId3v1(const SongFile& file, SongFields& fields);
bool fillFromWma(const std::string& fileName, SongFields& fields);

// Writes fields 3 to 15 as a new ID3v2 tag and fields 3 to 9 as an ID3v1 block; the
// block is written even when the ID3v2 tag was not. True when both were written.
bool saveSongInformation(const SongFields& fields, const std::string& fileName);

}  // namespace songmeta
