#pragma once
// The descriptive texts of a WMA file, read from the header of its ASF container, with
// the stream values that decide whether the file is a plausible audio file. Read only.
#include <array>
#include <cstdint>
#include <string>

namespace songmeta {

class TWMAfile {
public:
    // Texts are cut to this many UTF-16 units; the rest is skipped.
    static constexpr std::size_t kMaxTextUnits = 2500;

    // True when the header could be walked without an error, whether or not the file is
    // valid; Valid() tells whether the fields were set. Every field is reset first.
    bool LoadFromFile(const std::string& fileName);

    bool Valid() const { return valid_; }
    std::int64_t FileSize() const { return fileSize_; }
    // UTF-8, trimmed.
    const std::string& Title() const { return title_; }
    const std::string& Artist() const { return artist_; }
    const std::string& Album() const { return album_; }
    const std::string& Year() const { return year_; }
    const std::string& Genre() const { return genre_; }
    const std::string& Comment() const { return comment_; }
    const std::string& Lyrics() const { return lyrics_; }
    // 0 = none.
    unsigned Track() const { return track_; }

private:
    bool valid_ = false;
    std::int64_t fileSize_ = 0;
    std::string title_, artist_, album_, year_, genre_, comment_, lyrics_;
    unsigned track_ = 0;
};

}  // namespace songmeta
