// Reading and writing ID3v1 blocks, through the built library.
#include <gtest/gtest.h>

#include <string>

#include "songmeta/tests/song_file_test.h"

using fixtures::id3v1;
using fixtures::record;
using namespace fixtures;
using testing_support::readFile;
using testing_support::writeFile;
using namespace std::string_literals;

namespace {

class Id3v1 : public SongFileTest {};

}  // namespace

TEST_F(Id3v1, BlocksBecomeFields) {
    struct Case {
        const char* what;
        std::string block;
        int field;
        std::string expected;
    };
    std::string spaceForm = id3v1({.comment = std::string(28, 'c') + " 9"});
    std::string zeroTrackZero = id3v1({.comment = "Short", .track = 0});
    const Case cases[] = {
        {"1.1 track", id3v1({.comment = "Comment", .track = 7}), kTrack, "7"},
        {"1.1 comment", id3v1({.comment = "Comment", .track = 7}), kComment, "Comment"},
        {"1.0 zero track", zeroTrackZero, kTrack, "0"},
        {"1.0 full comment", id3v1({.comment = std::string(30, 'z')}), kComment,
         std::string(30, 'z')},
        {"space before the track byte", spaceForm, kTrack, "57"},
        {"space form cuts the comment", spaceForm, kComment, std::string(28, 'c')},
        {"padding dropped", id3v1({.title = "Title   \x01 "}), kTitle, "Title"},
        {"leading spaces kept", id3v1({.title = "  Title"}), kTitle, "  Title"},
        {"genre name", id3v1({.genre = 17}), kGenre, "Rock"},
        {"genre 147", id3v1({.genre = 147}), kGenre, "Synthpop"},
        {"genre outside the table", id3v1({.genre = 200}), kGenre, ""},
        {"Latin-1", id3v1({.artist = "Bj\xF6rk"}), kArtist, "Björk"},
        {"windows-1251", id3v1({.artist = "\xCA\xE8\xED\xEE"}), kArtist, "Кино"},
        {"UTF-8 cut inside a character", id3v1({.title = std::string(17, 'a') + "Привет\xD0"}),
         kTitle, std::string(17, 'a') + "Привет"},
        {"UTF-8",
         id3v1({.title = "Gran d\xC3\xAD"
                         "a"}),
         kTitle, "Gran día"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(readBytes(fixtures::audio() + c.block).f[c.field], c.expected) << c.what;

    EXPECT_EQ(readBytes(fixtures::audio() + id3v1({.comment = "x", .track = 7})).f[kVersion], "");
    EXPECT_EQ(readBytes(fixtures::audio() + "TAX" + std::string(125, 'a')).f[kTitle], "");
    EXPECT_EQ(readBytes("TAG").f[kTitle], "");
}

TEST_F(Id3v1, WritingFitsEachFieldAndReplacesTheBlock) {
    const std::string audio = fixtures::audio();
    writeFile(dir / "t.mp3", audio);
    SongInformation in{};
    const std::string longTitle = "Заголовок, который длиннее тридцати знаков";
    in.Title = longTitle.c_str();
    in.Artist = "中文 Artist";
    in.Year = "2001-05-06";
    in.Comment = "A comment longer than 28 characters";
    in.Track = "9";
    in.Genre = "rock";
    ASSERT_EQ(lib.save(in, file().c_str()), -1);
    std::string bytes = readFile(dir / "t.mp3");
    const std::string block = bytes.substr(bytes.size() - 128);
    EXPECT_EQ(block.substr(3, 30),
              "\xC7\xE0\xE3\xEE\xEB\xEE\xE2\xEE\xEA, \xEA\xEE\xF2\xEE\xF0\xFB\xE9 "
              "\xE4\xEB\xE8\xED\xED\xE5\xE5 \xF2\xF0\xE8"s);
    EXPECT_EQ(block.substr(33, 30), "?? Artist" + std::string(21, '\0'));
    EXPECT_EQ(block.substr(93, 4), "2001");
    EXPECT_EQ(block.substr(97, 30), "A comment longer than 28 cha\0\x09"s);
    EXPECT_EQ(block[127], 17);

    // A second save replaces the block in place: audio and one block follow the new tag.
    in.Track = nullptr;
    in.Genre = "No such genre";
    ASSERT_EQ(lib.save(in, file().c_str()), -1);
    bytes = readFile(dir / "t.mp3");
    SongInformation info{};
    ASSERT_TRUE(lib.getId3v2(file().c_str(), &info));
    EXPECT_EQ(std::to_string(bytes.size() - audio.size() - 128) + " bytes", info.TagSize);
    EXPECT_EQ(bytes.substr(bytes.size() - 31, 30), "A comment longer than 28 chara");
    EXPECT_EQ(static_cast<unsigned char>(bytes.back()), 255);
}

TEST_F(Id3v1, ShortFilesGetABlockAppended) {
    writeFile(dir / "t.mp3", "");
    SongInformation in{};
    in.Title = "Tiny";
    ASSERT_EQ(lib.save(in, file().c_str()), -1);
    const std::string bytes = readFile(dir / "t.mp3");
    EXPECT_EQ(bytes.size(), 10u + 15u + 128u);
    EXPECT_EQ(readBytes(bytes).f[kTitle], "Tiny");
}
