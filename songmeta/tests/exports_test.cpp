// The three entry points and the rules that fill the record, through the built library.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <set>
#include <string>

#include "songmeta/tests/song_file_test.h"
#include "testing/exported_symbols.h"

using fixtures::record;
using namespace fixtures;
using testing_support::readFile;
using testing_support::writeFile;

namespace {

class Exports : public SongFileTest {};

const std::string kV2 = fixtures::tag(fixtures::frame("TIT2", std::string("\0Two", 4)) +
                                      fixtures::frame("TRCK", std::string("\0"
                                                                          "5",
                                                                          2)));
const std::string kV1 =
    fixtures::id3v1({.title = "One", .artist = "Artist1", .year = "1999", .track = 3, .genre = 17});

}  // namespace

TEST_F(Exports, OnlyTheThreeEntryPointsAreExported) {
    EXPECT_EQ(
        testing_support::exportedSymbols(std::string(ZORVAN_BINARY_DIR) + "/bin/libSongmeta.so"),
        (std::set<std::string>{"GetSongInformation", "GetTID3v2", "SaveSongInformation"}));
}

TEST_F(Exports, TheLastCharacterOfTheNameChoosesTheReader) {
    const std::string tagged = kV2 + fixtures::audio() + kV1;
    struct Case {
        std::string name;
        std::string title;
    };
    const Case cases[] = {
        {"song.mp3", "Two"}, {"song.MP3", "Two"},      {"song.ac3", "Two"},
        {"song.id3", "Two"}, {"song.WMA", "song.WMA"}, {"song.ogg", "song.ogg"},
        {"song.wma", ""},
    };
    for (const auto& c : cases) {
        writeFile(dir / c.name, tagged);
        const auto r = read(path(c.name));
        EXPECT_EQ(r.f[kTitle], c.title) << c.name;
        if (c.title != c.name) continue;
        for (int i = 0; i < 16; ++i) {
            if (i == kTitle) continue;
            EXPECT_EQ(r.f[i], "") << c.name << " field " << i;
        }
    }
}

TEST_F(Exports, MissingFilesGiveEmptyRecordsOrTheBareName) {
    for (const char* name : {"gone.mp3", "gone.wma"}) {
        const auto r = read(path(name));
        for (const auto& f : r.f) EXPECT_EQ(f, "") << name;
    }
    // Neither a folder nor a named pipe is opened as a song file (nor waited on).
    std::filesystem::create_directory(dir / "folder.mp3");
    ASSERT_EQ(::mkfifo(path("pipe.mp3").c_str(), 0600), 0);
    for (const char* name : {"folder.mp3", "pipe.mp3"}) {
        EXPECT_EQ(read(path(name)).f[kPresent], "") << name;
        SongInformation in{};
        in.Title = "x";
        EXPECT_EQ(lib.save(in, path(name).c_str()), 0) << name;
    }
    EXPECT_EQ(read(path("sub/gone.ogg")).f[kTitle], "gone.ogg");
    EXPECT_EQ(read("").f[kTitle], "");
    SongInformation info{};
    lib.get(&info, nullptr);
    EXPECT_EQ(info.Title, nullptr);
    lib.get(nullptr, "x.mp3");
}

TEST_F(Exports, Id3v1FillsOnlyTheGapsOfId3v2) {
    struct Case {
        const char* what;
        std::string bytes;
        fixtures::Record expected;
    };
    const std::string v2NoTitle =
        fixtures::tag(fixtures::frame("TALB", std::string("\0Album2", 7)) +
                      fixtures::frame("TCOM", std::string("\0Comp", 5)));
    const Case cases[] = {
        {"both",
         kV2 + fixtures::audio() + kV1,
         {{"Yes", "2.3", std::to_string(kV2.size()) + " bytes", "Two", "Artist1", "", "5", "1999",
           "Rock"}}},
        {"v2 without title and track",
         v2NoTitle + fixtures::audio() + kV1,
         {{"Yes", "2.3", std::to_string(v2NoTitle.size()) + " bytes", "One", "Artist1", "Album2",
           "3", "1999", "Rock", "", "Comp"}}},
        {"only v1.0",
         fixtures::audio() + fixtures::id3v1({.title = "T", .genre = 200}),
         {{"", "", "", "T", "", "", "0"}}},
        {"v2.4 empty, no v1",
         fixtures::tag("", 4, 0, 20) + fixtures::audio(),
         {{"Yes", "2.4", "30 bytes"}}},
        {"v2.5 frames unread",
         fixtures::tag(fixtures::frame("TIT2", std::string("\0X", 2)), 5) + fixtures::audio(),
         {{"Yes", "2.5", "22 bytes"}}},
        {"tag larger than the file",
         fixtures::tag(fixtures::frame("TIT2", std::string("\0Cut", 4)), 3, 0, 5000).substr(0, 30),
         {{"Yes", "2.3", "0 bytes", "Cut"}}},
    };
    for (const auto& c : cases) {
        writeFile(dir / "c.mp3", c.bytes);
        const auto r = read(path("c.mp3"));
        for (int i = 0; i < 16; ++i) EXPECT_EQ(r.f[i], c.expected.f[i]) << c.what << " field " << i;
    }
}

TEST_F(Exports, GetTID3v2LeavesTheRecordAloneWithoutATag) {
    SongInformation info{};
    info.Title = "kept";
    info.Track = "7";
    writeFile(dir / "plain.mp3", fixtures::audio() + kV1);
    EXPECT_FALSE(lib.getId3v2(path("plain.mp3").c_str(), &info));
    EXPECT_FALSE(lib.getId3v2(path("gone.mp3").c_str(), &info));
    EXPECT_FALSE(lib.getId3v2(nullptr, &info));
    EXPECT_STREQ(info.Title, "kept");
    EXPECT_EQ(info.TagPresent, nullptr);

    // A tag without a track number keeps the record's track; its other fields replace.
    writeFile(dir / "t.mp3", fixtures::tag(fixtures::frame("TPE1", std::string("\0A", 2))));
    EXPECT_TRUE(lib.getId3v2(path("t.mp3").c_str(), &info));
    EXPECT_STREQ(info.Track, "7");
    EXPECT_STREQ(info.Artist, "A");
    EXPECT_EQ(info.Title, nullptr);
    EXPECT_STREQ(info.TagVersion, "2.3");
}

TEST_F(Exports, ReturnedTextsStayValidAndAreHeldOnce) {
    writeFile(dir / "a.mp3", kV2 + fixtures::audio());
    SongInformation first{}, second{};
    lib.get(&first, path("a.mp3").c_str());
    writeFile(dir / "b.mp3", fixtures::tag(fixtures::frame("TIT2", std::string("\0Other", 6))));
    SongInformation other{};
    lib.get(&other, path("b.mp3").c_str());
    lib.get(&second, path("a.mp3").c_str());
    EXPECT_STREQ(first.Title, "Two");
    EXPECT_STREQ(other.Title, "Other");
    EXPECT_EQ(first.Title, second.Title);  // the same text is not stored again
}

TEST_F(Exports, SavedTagsReadBackInLatin1AndCyrillic) {
    struct Case {
        const char* title;
        const char* artist;
        const char* genre;
        std::size_t v1Bytes;  // bytes the title takes in the ID3v1 block
    };
    const Case cases[] = {
        {"Björk - Jóga", "Sigur Rós", "Rock", 12},
        {"Группа крови", "Кино", "Pop", 12},
        {"Ёлка и ёж", "Мумий Тролль", "", 9},
    };
    for (const auto& c : cases) {
        writeFile(dir / "s.mp3", fixtures::audio());
        SongInformation in{};
        in.TagPresent = "ignored";
        in.Title = c.title;
        in.Artist = c.artist;
        in.Album = "  Альбом  ";
        in.Track = "4";
        in.Year = "2001";
        in.Genre = c.genre;
        in.Comment = "Комментарий";
        in.Composer = "Composer";
        in.Encoder = "Енкодер";
        in.Copyright = "(c) X";
        in.Language = "rus";
        in.Link = "http://example.com/песня";
        in.Lyrics = "Слова\nпесни";
        ASSERT_EQ(lib.save(in, path("s.mp3").c_str()), -1) << c.title;
        const auto r = read(path("s.mp3"));
        EXPECT_EQ(r.f[kPresent], "Yes");
        EXPECT_EQ(r.f[kVersion], "2.3");
        EXPECT_EQ(r.f[kTitle], c.title);
        EXPECT_EQ(r.f[kArtist], c.artist);
        EXPECT_EQ(r.f[kAlbum], "Альбом");
        EXPECT_EQ(r.f[kTrack], "4");
        EXPECT_EQ(r.f[kGenre], c.genre);
        EXPECT_EQ(r.f[kComment], "Комментарий");
        EXPECT_EQ(r.f[kEncoder], "Енкодер");
        EXPECT_EQ(r.f[kLanguage], "rus");
        EXPECT_EQ(r.f[kLink], "http://example.com/песня");
        EXPECT_EQ(r.f[kLyrics], "Слова\nпесни");

        // The ID3v1 block alone reads back the same texts in a single-byte code page.
        const std::string bytes = readFile(dir / "s.mp3");
        writeFile(dir / "v1.mp3", bytes.substr(bytes.size() - 128 - 1000));
        const auto v1 = read(path("v1.mp3"));
        EXPECT_EQ(v1.f[kTitle], c.title);
        EXPECT_EQ(v1.f[kArtist], c.artist);
        EXPECT_EQ(v1.f[kTrack], "4");
        EXPECT_EQ(v1.f[kGenre], c.genre);
        EXPECT_EQ(bytes[bytes.size() - 128 + 3 + c.v1Bytes], '\0') << c.title;
    }
}

TEST_F(Exports, SaveParsesTheTrackAndReportsFailures) {
    struct Case {
        const char* track;
        const char* v2Track;  // "" when neither tag holds one
        const char* v1Track;
    };
    const Case cases[] = {{"7", "7", "7"},   {"0", "", "0"},      {"-3", "", "0"},   {"x", "", "0"},
                          {"5/12", "", "0"}, {"300", "44", "44"}, {nullptr, "", "0"}};
    for (const auto& c : cases) {
        writeFile(dir / "t.mp3", fixtures::audio());
        SongInformation in{};
        in.Title = "T";
        in.Track = c.track;
        ASSERT_EQ(lib.save(in, path("t.mp3").c_str()), -1);
        SongInformation v2{};
        ASSERT_TRUE(lib.getId3v2(path("t.mp3").c_str(), &v2));
        EXPECT_EQ(record(v2).f[kTrack], c.v2Track) << (c.track ? c.track : "null");
        const std::string bytes = readFile(dir / "t.mp3");
        writeFile(dir / "v1.mp3", bytes.substr(bytes.size() - 128));
        EXPECT_EQ(read(path("v1.mp3")).f[kTrack], c.v1Track);
    }
    EXPECT_EQ(lib.save(SongInformation{}, path("gone.mp3").c_str()), 0);
    EXPECT_EQ(lib.save(SongInformation{}, nullptr), 0);
    EXPECT_FALSE(std::filesystem::exists(dir / "gone.mp3"));
}

TEST_F(Exports, SaveClearsTheReadOnlyAttribute) {
    writeFile(dir / "ro.mp3", fixtures::audio());
    ::chmod(path("ro.mp3").c_str(), 0444);
    SongInformation in{};
    in.Title = "Written";
    EXPECT_EQ(lib.save(in, path("ro.mp3").c_str()), -1);
    EXPECT_EQ(read(path("ro.mp3")).f[kTitle], "Written");
    struct stat st {};
    ASSERT_EQ(::stat(path("ro.mp3").c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0644u);
}
