#pragma once
// The 128-byte ID3v1 block at the end of a song file, plain (1.0) or with a track
// number (1.1). Texts are UTF-8 in the object; on disk they are single-byte texts
// (see tagtext::decode8Bit and tagtext::encodeId3v1).
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "songmeta/genre_table.h"

namespace songmeta {

class SongFile;

class TID3v1 {
public:
    static constexpr std::size_t kBlockSize = 128;

    // True when the file's last 128 bytes could be read, whether or not they are a tag;
    // Found() tells whether they were. Every field is reset first.
    bool LoadFromFile(const std::string& fileName);
    // The same from a file already open.
    bool LoadFrom(const SongFile& file);

    // Setters drop trailing characters with codes up to 32.
    void SetTitle(std::string_view s);
    void SetArtist(std::string_view s);
    void SetAlbum(std::string_view s);
    void SetYear(std::string_view s);
    void SetComment(std::string_view s);
    void SetTrack(std::uint8_t track) { track_ = track; }
    void SetGenre(std::string_view name) { genreIndex_ = genres::indexOf(name); }

    bool Found() const { return found_; }
    // 1 = ID3v1.0, 2 = ID3v1.1.
    int Revision() const { return revision_; }
    const std::string& Title() const { return title_; }
    const std::string& Artist() const { return artist_; }
    const std::string& Album() const { return album_; }
    const std::string& Year() const { return year_; }
    const std::string& Comment() const { return comment_; }
    std::uint8_t Track() const { return track_; }
    std::string_view GetGenre() const { return genres::name(genreIndex_); }

    // The block as it is written.
    std::string Block() const;
    // The size of the ID3v1 block that ends the file: kBlockSize or 0; nothing when the
    // file's end cannot be read.
    static std::optional<std::int64_t> BlockSizeIn(const SongFile& file);

private:
    void reset();

    bool found_ = false;
    int revision_ = 1;
    std::string title_, artist_, album_, year_, comment_;
    std::uint8_t track_ = 0;
    std::uint8_t genreIndex_ = genres::kNone;
};

}  // namespace songmeta
