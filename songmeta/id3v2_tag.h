#pragma once
// The ID3v2 tag at the start of a song file. Reads versions 2.2, 2.3 and 2.4 (thirteen
// known frames, one per text of the song record from Title to Lyrics) and always writes
// version 2.3.0 holding just those frames. Texts are UTF-8 in the object.
#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace songmeta {

class SongFile;

class TID3v1;

class TID3v2 {
public:
    // The thirteen texts, in the order their frames are written.
    enum Item {
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
        kItemCount
    };

    // Frame texts are cut to this many bytes; the rest of a longer frame is skipped.
    static constexpr std::size_t kMaxFrameData = 2500;
    // Lyrics and comments run longer (Cyrillic lyrics in UTF-16 pass 2500 bytes at some 1250
    // letters), and a save writes back what was read: they are read up to this many bytes.
    static constexpr std::size_t kMaxLongFrameData = 1 << 20;

    // True when the file's first 10 bytes could be read, whether or not they are a tag
    // header; Found() tells whether they were. Every field is reset first.
    bool LoadFromFile(const std::string& fileName);
    // The same from a file already open (its first bytes are read ahead into it).
    bool LoadFrom(SongFile& file);
    // Rebuilds the file with this tag in place of an existing one of any version (see
    // replaceFileEnds); true when the file was rebuilt. With `id3v1`, its block takes the
    // place of the file's ID3v1 block (or is appended) in the same rebuild, so the file
    // gets both tags or keeps its old form, permissions included.
    bool WriteToFile(const std::string& fileName, const TID3v1* id3v1 = nullptr) const;

    // Text setters drop characters with codes up to 32 at both ends. The Track item is
    // set through SetTrack.
    void SetText(Item item, std::string_view text);
    void SetTrack(std::uint8_t track) { track_ = track; }

    bool Found() const { return found_; }
    int MajorVersion() const { return majorVersion_; }
    // The size with the 10-byte header, 0 when the header claims more than the file holds.
    std::uint32_t TagSize() const { return tagSize_; }
    const std::string& Text(Item item) const { return texts_[item]; }
    std::uint8_t TrackNumber() const { return track_; }

    // The tag as WriteToFile puts it in front of the audio.
    std::string TagBytes() const;

private:
    void reset();
    bool rebuild(const std::string& fileName, const TID3v1* id3v1) const;

    bool found_ = false;
    int majorVersion_ = 0;
    std::uint32_t tagSize_ = 0;
    std::array<std::string, kItemCount> texts_;
    std::uint8_t track_ = 0;
};

}  // namespace songmeta
