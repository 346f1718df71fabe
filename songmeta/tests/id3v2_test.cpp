// Reading and writing ID3v2 tags, through the built library.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <future>
#include <string>
#include <vector>

#include "platform/unique_fd.h"

#include "songmeta/tests/song_file_test.h"
#include "testing/file_size_limit.h"

using fixtures::frame;
using fixtures::record;
using namespace fixtures;
using fixtures::tag;
using testing_support::readFile;
using testing_support::writeFile;
using namespace std::string_literals;

namespace {

class Id3v2 : public SongFileTest {};

// The names in the song's folder, sorted.
std::vector<std::string> namesIn(const std::filesystem::path& folder) {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

std::string text(const std::string& s) {
    return "\0"s + s;
}

}  // namespace

TEST_F(Id3v2, FramesBecomeFields) {
    struct Case {
        const char* what;
        std::string tag;
        int field;
        std::string expected;
    };
    const std::string bigTitle = "\0"s + std::string(2999, 'a');
    std::u16string longLyrics;
    std::string longLyricsUtf8;
    for (int i = 0; i < 500; ++i) {
        longLyrics += u"Слова ";
        longLyricsUtf8 += "Слова ";
    }
    longLyricsUtf8.pop_back();  // trimmed
    std::string tinyFrames;
    for (int i = 0; i < 65536; ++i) tinyFrames += frame("TXXX", "\0"s);
    const Case cases[] = {
        {"long frame cut", tag(frame("TIT2", bigTitle) + frame("TPE1", text("Next"))), kTitle,
         std::string(2499, 'a')},
        {"frame after a long one", tag(frame("TIT2", bigTitle) + frame("TPE1", text("Next"))),
         kArtist, "Next"},
        {"trimmed", tag(frame("TALB", text(" \t Album \x01"))), kAlbum, "Album"},
        {"track of total", tag(frame("TRCK", text("3/12"))), kTrack, "3"},
        {"track not a number", tag(frame("TRCK", text("A3"))), kTrack, ""},
        {"track modulo 256", tag(frame("TRCK", text("300"))), kTrack, "44"},
        {"genre number only", tag(frame("TCON", text("(17)"))), kGenre, ""},
        {"genre name", tag(frame("TCON", text("Rock"))), kGenre, "Rock"},
        {"genre after number", tag(frame("TCON", text("(3)Dance"))), kGenre, "Dance"},
        {"genre with parenthesis", tag(frame("TCON", text("Rock (live)"))), kGenre, ""},
        {"comment language and descriptor", tag(frame("COMM", "\0deuDesc\0Text"s)), kComment,
         "Text"},
        {"lyrics", tag(frame("USLT", "\0engx\0Line one\nLine two"s)), kLyrics,
         "Line one\nLine two"},
        {"long lyrics whole",
         tag(frame("USLT",
                   "\x01"
                   "eng\xFF\xFE\0\0\xFF\xFE"s +
                       fixtures::utf16le(longLyrics))),
         kLyrics, longLyricsUtf8},
        {"link", tag(frame("WXXX", "\0home\0http://a.example/"s)), kLink, "http://a.example/"},
        {"link after UTF-16 description",
         tag(frame("WXXX", "\x01\xFF\xFEh\0\0\0http://b.example/"s)), kLink, "http://b.example/"},
        {"later frame replaces", tag(frame("TIT2", text("Old")) + frame("TIT2", text("New"))),
         kTitle, "New"},
        {"described comment keeps the plain one",
         tag(frame("COMM", "\0eng\0Plain"s) + frame("COMM", "\0engiTunNORM\0 0000 0001"s)),
         kComment, "Plain"},
        {"empty UTF-16 description is plain",
         tag(frame("COMM",
                   "\x01"
                   "eng\xFF\xFE\0\0\xFF\xFEP\0"s) +
             frame("COMM", "\0engiTunNORM\0 0000 0001"s)),
         kComment, "P"},
        {"first of several values", tag(frame("TPE1", "\0One\0Two"s)), kArtist, "One"},
        {"UTF-16 little-endian", tag(frame("TIT2", "\x01\xFF\xFE"s + fixtures::utf16le(u"Песня"))),
         kTitle, "Песня"},
        {"UTF-16 big-endian mark", tag(frame("TIT2", "\x01\xFE\xFF\x04\x1F\x04\x35\0\0\x04\x41"s)),
         kTitle, "Пе"},
        {"UTF-16BE", tag(frame("TIT2", "\x02\0h\0\xEB"s)), kTitle, "hë"},
        {"UTF-16 values with marks each", tag(frame("TIT2", "\x01\xFF\xFEo\0\0\0\xFF\xFEt\0"s)),
         kTitle, "o"},
        {"UTF-8", tag(frame("TIT2", "\x03Gran día"s)), kTitle, "Gran día"},
        {"8-bit windows-1251", tag(frame("TIT2", text("\xCA\xE8\xED\xEE"))), kTitle, "Кино"},
        {"8-bit Latin-1", tag(frame("TIT2", text("Bj\xF6rk"))), kTitle, "Björk"},
        {"8-bit UTF-8", tag(frame("TIT2", text("Gran día"))), kTitle, "Gran día"},
        {"8-bit holding a UTF-16 mark only", tag(frame("TYER", text("\xFE\xFF"))), kYear, ""},
        {"compressed frame skipped",
         tag(frame("TIT2", "\x00\x00\x00\x10xxxx"s, 3, 0x0080) + frame("TPE1", text("A"))), kTitle,
         ""},
        {"encrypted frame skipped", tag(frame("TIT2", "\x01xxxx"s, 3, 0x0040)), kTitle, ""},
        {"grouped frame", tag(frame("TIT2", "\x07\0Grouped"s, 3, 0x0020)), kTitle, "Grouped"},
        {"frame past the tag's end", tag(frame("TIT2", text("Fits")) + "TPE1\0\0\x10\0\0\0\0Lost"s),
         kArtist, ""},
        {"frames behind 65536 others not looked for", tag(tinyFrames + frame("TIT2", text("Late"))),
         kTitle, ""},
        {"frames before garbage", tag(frame("TIT2", text("Fits")) + "\x01garbage"s), kTitle,
         "Fits"},
        {"v2.3 extended header",
         tag("\0\0\0\x06\0\0\0\0\0\0"s + frame("TIT2", text("Ext")), 3, 0x40), kTitle, "Ext"},
        {"v2.3 whole-tag unsynchronisation", tag("TIT2\0\0\0\x05\0\0\x01\xFF\0\xFEU\0"s, 3, 0x80),
         kTitle, "U"},
        {"v2.2 frames", tag(frame("TT2", text("Short"), 2) + frame("COM", "\0engd\0Said"s, 2), 2),
         kComment, "Said"},
        {"v2.2 title", tag(frame("TT2", text("Short"), 2), 2), kTitle, "Short"},
        {"v2.2 compressed tag", tag(frame("TT2", text("Short"), 2), 2, 0x40), kTitle, ""},
        {"v2.4 syncsafe size",
         tag(frame("TIT2", text(std::string(200, 'b')), 4) + frame("TPE1", text("After"), 4), 4),
         kArtist, "After"},
        {"v2.4 plain size with a high bit",
         tag("TIT2\0\0\0\xC8\0\0"s + text(std::string(199, 'c')) + frame("TPE1", text("P"), 4), 4),
         kArtist, "P"},
        {"v2.4 plain size that lands on a frame",
         tag("TIT2\0\0\x01\0\0\0"s + text(std::string(255, 'c')) + frame("TPE1", text("Q"), 4), 4),
         kArtist, "Q"},
        {"v2.4 genre number", tag(frame("TCON", text("13"), 4), 4), kGenre, "Pop"},
        {"v2.4 genre number outside the table", tag(frame("TCON", text("200"), 4), 4), kGenre,
         "200"},
        {"v2.4 recording time", tag(frame("TDRC", text("2013-04-03"), 4), 4), kYear, "2013-04-03"},
        {"TYER wins over TDRC",
         tag(frame("TDRC", text("2013"), 4) + frame("TYER", text("2004"), 4), 4), kYear, "2004"},
        {"v2.4 frame unsynchronisation", tag(frame("TIT2", "\x01\xFF\0\xFEH\0i\0"s, 4, 0x0002), 4),
         kTitle, "Hi"},
        {"v2.4 data length indicator", tag(frame("TIT2", "\0\0\0\x03\0DL"s, 4, 0x0001), 4), kTitle,
         "DL"},
        {"v2.4 extended header",
         tag("\0\0\0\x0C\x01\x20\x05\x0F\x47\x0F\x54\x14"s + frame("TIT2", text("E4"), 4), 4, 0x40),
         kTitle, "E4"},
        {"v2.4 extended header flag without one", tag(frame("TIT2", text("Flag"), 4), 4, 0x40),
         kTitle, "Flag"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(readBytes(c.tag + fixtures::audio()).f[c.field], c.expected) << c.what;
}

TEST_F(Id3v2, WritingLaysOutAVersion3Tag) {
    writeFile(dir / "t.mp3", fixtures::audio());
    SongInformation in{};
    in.Title = "Title";
    in.Comment = "Kommentar";
    in.Link = "http://x/";
    in.Artist = "Артист";
    in.Lyrics = "Слова";
    ASSERT_EQ(lib.save(in, file().c_str()), -1);
    const std::string bytes = readFile(dir / "t.mp3");
    const std::string frames =
        frame("TIT2", "\0Title"s) + frame("TPE1", "\x01\xFF\xFE"s + fixtures::utf16le(u"Артист")) +
        frame("COMM", "\0eng\0Kommentar"s) + frame("WXXX", "\0\0http://x/"s) +
        frame("USLT",
              "\x01"
              "eng\xFF\xFE\0\0\xFF\xFE"s +
                  fixtures::utf16le(u"Слова"));
    EXPECT_EQ(bytes.substr(0, 10 + frames.size()), tag(frames));
    EXPECT_EQ(bytes.substr(10 + frames.size(), 1000), fixtures::audio());

    // Frames of 20,000 bytes in all: size bytes 0, 1, 28, 32, read back as 20,010.
    SongInformation big{};
    const std::string title(20000 - 11, 't');
    big.Title = title.c_str();
    ASSERT_EQ(lib.save(big, file().c_str()), -1);
    EXPECT_EQ(readFile(dir / "t.mp3").substr(6, 4), "\x00\x01\x1C\x20"s);
    SongInformation info{};
    ASSERT_TRUE(lib.getId3v2(file().c_str(), &info));
    EXPECT_STREQ(info.TagSize, "20010 bytes");
}

TEST_F(Id3v2, RewritingReplacesAnyTagAndKeepsTheRest) {
    const std::string v1 = fixtures::id3v1({.title = "Old v1"});
    const std::string audio = fixtures::audio(3000);
    const std::string picture = std::string(500, 'p');
    // A version 2.4 tag may end in a footer: "3DI" and the header's other bytes.
    const std::string footed = tag(frame("APIC", picture, 4), 4, 0x10, 64);
    const std::string olds[] = {
        tag(frame("TT2", picture, 2), 2, 0, 64), tag(frame("APIC", picture, 3), 3, 0, 64),
        tag(frame("APIC", picture, 4), 4, 0, 64), footed + "3DI" + footed.substr(3, 7)};
    for (std::size_t n = 0; n < std::size(olds); ++n) {
        writeFile(dir / "t.mp3", olds[n] + audio + v1);
        ASSERT_EQ(lib.save(SongInformation{}, file().c_str()), -1) << n;
        const std::string bytes = readFile(dir / "t.mp3");
        ASSERT_EQ(bytes.size(), 10 + audio.size() + 128) << n;
        EXPECT_EQ(bytes.substr(0, 10), "ID3\x03\0\0\0\0\0\0"s);
        EXPECT_EQ(bytes.substr(10, audio.size()), audio);
        EXPECT_EQ(bytes.substr(bytes.size() - 128, 3), "TAG");
        EXPECT_EQ(namesIn(dir.path()), std::vector<std::string>{"t.mp3"}) << n;
    }
}

TEST_F(Id3v2, ASaveWritesBothTagsOrLeavesTheFileAsItWas) {
    const std::string original = tag(frame("TIT2", text("Before"))) + fixtures::audio(20000);
    const std::string title(300, 'a');  // the new file is longer than the old one
    SongInformation in{};
    in.Title = title.c_str();
    writeFile(dir / "t.mp3", original);
    ASSERT_EQ(lib.save(in, file().c_str()), -1);
    const std::size_t savedSize = readFile(dir / "t.mp3").size();

    // The disk "fills up": halfway through the audio; where the new ID3v2 tag no longer
    // fits but an ID3v1 block after the old one would; where only the ID3v1 block does not.
    // The song is read-only, which a save would change had it succeeded.
    using std::filesystem::perms;
    for (const std::size_t limit : {std::size_t{8192}, original.size() + 128, savedSize - 1}) {
        std::filesystem::permissions(dir / "t.mp3", perms(0644));
        writeFile(dir / "t.mp3", original);
        std::filesystem::permissions(dir / "t.mp3", perms(0444));
        {
            const testing_support::FileSizeLimit full(limit);
            EXPECT_EQ(lib.save(in, file().c_str()), 0) << limit;
        }
        EXPECT_EQ(readFile(dir / "t.mp3"), original) << limit;
        EXPECT_EQ(std::filesystem::status(dir / "t.mp3").permissions(), perms(0444)) << limit;
        EXPECT_EQ(namesIn(dir.path()), std::vector<std::string>{"t.mp3"}) << limit;
    }
}

TEST_F(Id3v2, ASaveLeavesAnMp4SongNamedMp3AsItWas) {
    const std::string mp4 =
        "\0\0\0\x18"
        "ftypM4A \0\0\0\0M4A mp42"s +
        fixtures::audio();
    SongInformation in{};
    in.Title = "New";
    for (const std::string& original : {mp4, tag(frame("TIT2", text("Old"))) + mp4}) {
        writeFile(dir / "t.mp3", original);
        EXPECT_EQ(lib.save(in, file().c_str()), 0);
        EXPECT_EQ(readFile(dir / "t.mp3"), original);
    }
}

TEST_F(Id3v2, ASaveLeavesFilesAndPipesBesideTheSongAlone) {
    writeFile(dir / "t.mp3", fixtures::audio());
    writeFile(dir / "t.mp3~", "mine");
    writeFile(dir / "u.mp3", fixtures::audio());
    ASSERT_EQ(::mkfifo((dir / "u.mp3~").c_str(), 0600), 0);
    SongInformation in{};
    in.Title = "New";
    auto saved = std::async(std::launch::async, [&] {
        return std::pair(lib.save(in, file().c_str()), lib.save(in, path("u.mp3").c_str()));
    });
    if (saved.wait_for(std::chrono::seconds(10)) != std::future_status::ready) {
        const platform::UniqueFd reader(::open((dir / "u.mp3~").c_str(), O_RDONLY | O_NONBLOCK));
        ADD_FAILURE() << "the save opened a named pipe beside the song";
    }
    EXPECT_EQ(saved.get(), std::pair(-1, -1));
    EXPECT_EQ(readFile(dir / "t.mp3~"), "mine");
    EXPECT_EQ(namesIn(dir.path()),
              (std::vector<std::string>{"t.mp3", "t.mp3~", "u.mp3", "u.mp3~"}));
    EXPECT_EQ(read(file()).f[kTitle], "New");
}

TEST_F(Id3v2, RewritingFollowsALinkAndKeepsPermissions) {
    writeFile(dir / "real.mp3", fixtures::audio());
    std::filesystem::permissions(dir / "real.mp3", std::filesystem::perms(0640));
    std::filesystem::create_symlink(dir / "real.mp3", dir / "t.mp3");
    SongInformation in{};
    in.Title = "Linked";
    ASSERT_EQ(lib.save(in, file().c_str()), -1);
    EXPECT_TRUE(std::filesystem::is_symlink(dir / "t.mp3"));
    EXPECT_EQ(std::filesystem::status(dir / "real.mp3").permissions(),
              std::filesystem::perms(0640));
    SongInformation info{};
    lib.get(&info, (dir / "real.mp3").c_str());
    EXPECT_STREQ(info.Title, "Linked");
}
