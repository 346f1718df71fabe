#include "songmeta/id3v1_tag.h"

#include "platform/text.h"
#include "songmeta/song_file.h"
#include "songmeta/tag_text.h"

namespace songmeta {

namespace {

// Reads the last 128 bytes; false on an error or a file shorter than that.
bool readBlock(const SongFile& file, std::string& block) {
    return file.isOpen() && file.size() >= static_cast<std::int64_t>(TID3v1::kBlockSize) &&
           file.readAt(file.size() - static_cast<std::int64_t>(TID3v1::kBlockSize),
                       TID3v1::kBlockSize, block);
}

bool isTag(const std::string& block) {
    return block.compare(0, 3, "TAG") == 0;
}

std::string field(const std::string& block, std::size_t offset, std::size_t length) {
    return tagtext::decode8Bit(
        platform::text::trimRight(std::string_view(block).substr(offset, length)));
}

std::string trimmedRight(std::string_view s) {
    return std::string(platform::text::trimRight(s));
}

}  // namespace

void TID3v1::reset() {
    *this = TID3v1();
}

bool TID3v1::LoadFromFile(const std::string& fileName) {
    return LoadFrom(SongFile(fileName));
}

bool TID3v1::LoadFrom(const SongFile& file) {
    reset();
    std::string block;
    if (!readBlock(file, block)) return false;
    if (!isTag(block)) return true;
    found_ = true;
    const char b125 = block[125];
    const char b126 = block[126];
    revision_ = (b125 == 0 && b126 != 0) || (b125 == ' ' && b126 != ' ') ? 2 : 1;
    title_ = field(block, 3, 30);
    artist_ = field(block, 33, 30);
    album_ = field(block, 63, 30);
    year_ = field(block, 93, 4);
    if (revision_ == 1) {
        comment_ = field(block, 97, 30);
    } else {
        comment_ = field(block, 97, 28);
        track_ = static_cast<std::uint8_t>(b126);
    }
    genreIndex_ = static_cast<std::uint8_t>(block[127]);
    return true;
}

std::string TID3v1::Block() const {
    std::string block(kBlockSize, '\0');
    const auto put = [&](std::size_t offset, std::size_t width, const std::string& text) {
        const std::string bytes = tagtext::encodeId3v1(text, width);
        block.replace(offset, bytes.size(), bytes);
    };
    block.replace(0, 3, "TAG");
    put(3, 30, title_);
    put(33, 30, artist_);
    put(63, 30, album_);
    put(93, 4, year_);
    put(97, track_ > 0 ? 28 : 30, comment_);
    if (track_ > 0) {
        block[125] = 0;
        block[126] = static_cast<char>(track_);
    }
    block[127] = static_cast<char>(genreIndex_);
    return block;
}

std::optional<std::int64_t> TID3v1::BlockSizeIn(const SongFile& file) {
    if (file.size() < static_cast<std::int64_t>(kBlockSize)) return 0;
    std::string block;
    if (!readBlock(file, block)) return std::nullopt;
    return isTag(block) ? static_cast<std::int64_t>(kBlockSize) : 0;
}

void TID3v1::SetTitle(std::string_view s) {
    title_ = trimmedRight(s);
}
void TID3v1::SetArtist(std::string_view s) {
    artist_ = trimmedRight(s);
}
void TID3v1::SetAlbum(std::string_view s) {
    album_ = trimmedRight(s);
}
void TID3v1::SetYear(std::string_view s) {
    year_ = trimmedRight(s);
}
void TID3v1::SetComment(std::string_view s) {
    comment_ = trimmedRight(s);
}

}  // namespace songmeta
