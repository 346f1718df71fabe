// Real tag files from other tag libraries' test suites: the values their suites assert,
// where this library's rules agree, and no crash anywhere.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "songmeta/tests/songmeta_library.h"
#include "songmeta/tests/tag_fixtures.h"
#include "testing/child_process.h"
#include "testing/peers.h"
#include "testing/temp_dir.h"

using fixtures::record;

namespace {

const std::map<std::string, int> kFields = {
    {"present", 0},    {"version", 1},   {"size", 2},      {"title", 3},
    {"artist", 4},     {"album", 5},     {"track", 6},     {"year", 7},
    {"genre", 8},      {"comment", 9},   {"composer", 10}, {"encoder", 11},
    {"copyright", 12}, {"language", 13}, {"link", 14},     {"lyrics", 15}};

std::filesystem::path peers() {
    return std::filesystem::path(ZORVAN_PEERS_DIR) / "tags";
}

fixtures::Record read(SongmetaLibrary& lib, const std::filesystem::path& file) {
    SongInformation info{};
    lib.get(&info, file.c_str());
    return record(info);
}

}  // namespace

TEST(PeerFiles, ReadToTheValuesTheirSuitesAssert) {
    if (peers().empty()) GTEST_SKIP() << testing_support::kNoPeers;
    SongmetaLibrary lib;
    struct Case {
        const char* file;
        std::map<std::string, std::string> fields;
    };
    const Case cases[] = {
        // ID3v1 alone: no TagPresent, TagVersion or TagSize.
        {"mutagen/tests/data/silence-44-s-v1.mp3",
         {{"present", ""},
          {"version", ""},
          {"title", "Silence"},
          {"artist", "piman"},
          {"album", "Quod Libet Test Data"},
          {"year", "2004"},
          {"track", "2"},
          {"genre", "Darkwave"},
          {"comment", ""}}},
        {"tinytag/tinytag/tests/samples/id3v1-latin1.mp3",
         {{"artist", "Björk"},
          {"title", "Play Dead"},
          {"album", "The Young Americans"},
          {"year", "1993"},
          {"track", "12"},
          {"genre", "Rock"}}},
        {"tinytag/tinytag/tests/samples/mpeg1_id3v1.mp3",
         {{"title", "some title"}, {"track", "0"}, {"genre", ""}, {"artist", ""}}},
        {"taglib/tests/data/ape-id3v1.mp3", {{"title", "Title"}}},
        // ID3v2 over ID3v1.
        {"mutagen/tests/data/id3v1v2-combined.mp3",
         {{"artist", "Anais Mitchell"}, {"album", "Hymns for the Exiled"}, {"track", "3"}}},
        {"tinytag/tinytag/tests/samples/id3v1_does_not_overwrite_id3v2.mp3",
         {{"album", "Somewhere Far Beyond"},
          {"artist", "Blind Guardian"},
          {"genre", "Power Metal"},
          {"title", "Time What Is Time"},
          {"track", "1"},
          {"year", "1992"}}},
        {"mutagen/tests/data/bad-TYER-frame.mp3",
         {{"version", "2.3"},
          {"title",
           "This track has an invalid TYER frame, that used to be able to break "
           "Mutagen"}}},
        // ID3v2.3.
        {"mutagen/tests/data/silence-44-s.mp3",
         {{"version", "2.3"},
          {"size", "1314 bytes"},
          {"title", "Silence"},
          {"album", "Quod Libet Test Data"},
          {"track", "2"},
          {"year", "2004"}}},
        {"tinytag/tinytag/tests/samples/vbri.mp3",
         {{"genre", "Dance"},
          {"track", "1"},
          {"comment", "Ripped by THSLIVE"},
          {"title", "I Can Walk On Water I Can Fly"},
          {"artist", "Basshunter"}}},
        {"mutagen/tests/data/id3v23_unsynch.id3",
         {{"title", "My babe just cares for me"},
          {"artist", "Nina Simone"},
          {"album", "100% Jazz"},
          {"track", "3"}}},
        {"taglib/tests/data/w000.mp3",
         {{"size", "0 bytes"},
          {"title", "Knowing You"},
          {"artist", "Sergio Galoyan f. Tamra Keenan"},
          {"album", "Knowing You"},
          {"encoder", "Promo Only OnLine"},
          {"track", "1"}}},
        {"tinytag/tinytag/tests/samples/duplicate_fields.mp3",
         {{"genre", "genre"}, {"year", "1980"}}},
        {"tinytag/tinytag/tests/samples/id3_broken_frame_size.mp3", {{"title", ""}}},
        {"tinytag/tinytag/tests/samples/empty_frame.mp3",
         {{"title", ""}, {"artist", "some artist"}, {"album", "some album"}}},
        {"tinytag/tinytag/tests/samples/id3_comment_utf_16_double_bom.mp3",
         {{"album", "The Embrace"},
          {"artist", "Johannes Heil & D.Diggler"},
          {"comment", "Unclear"},
          {"title", "The Embrace (Romano Alfieri Remix)"},
          {"year", "2012"}}},
        {"tinytag/tinytag/tests/samples/id3_comment_utf_16_with_bom.mp3",
         {{"encoder", "LAME 3.97"},
          {"copyright", "(c) 2008 nin"},
          {"comment", "3/4 time"},
          {"track", "1"}}},
        {"tinytag/tinytag/tests/samples/UTF16.mp3", {{"track", "7"}, {"year", "2010"}}},
        {"tinytag/tinytag/tests/samples/multi_value_utf16.mp3", {{"title", "some title"}}},
        {"tinytag/tinytag/tests/samples/utf16_no_bom.mp3",
         {{"title", "no bom test ë"}, {"artist", "no bom test 2 ë"}}},
        {"tinytag/tinytag/tests/samples/utf16be.mp3",
         {{"title", "52-girls"},
          {"artist", "The B52s"},
          {"album", "party mix"},
          {"year", "1981"},
          {"track", "6"}}},
        {"taglib/tests/data/duplicate_id3v2.mp3", {{"album", "AlbumXXXX"}}},
        // ID3v2.4.
        {"mutagen/tests/data/id3v24_extended_header.id3",
         {{"comment", "This is a comment!"},
          {"year", "2023"},
          {"track", "1"},
          {"album", "Mutagen Bug Reports"},
          {"title", "One Second of Silence"},
          {"artist", "Snild Dolkow"}}},
        {"taglib/tests/data/extended-header.mp3",
         {{"title", "Druids"},
          {"artist", "Excelsis"},
          {"album", "Vo Chrieger U Drache"},
          {"year", "2013"},
          {"genre", "Folk/Power Metal"},
          {"track", "3"}}},
        {"mutagen/tests/data/issue_21.id3",
         {{"title", "Punk To Funk"}, {"album", "Better Living Through Chemistr"}}},
        {"tinytag/tinytag/tests/samples/cbr.mp3",
         {{"album", "I Can Walk On Water I Can Fly"},
          {"artist", "Basshunter"},
          {"year", "2007"},
          {"track", "1"},
          {"genre", "Dance"},
          {"comment", "Ripped by THSLIVE"}}},
        {"taglib/tests/data/unsynch24.id3", {{"title", "Hi"}}},
        {"taglib/tests/data/005411.id3", {{"title", "Sunshine Superman"}}},
        {"taglib/tests/data/broken-tenc.id3",
         {{"encoder", ""},
          {"title", "Take On Me"},
          {"artist", "A Ha"},
          {"album", "1985"},
          {"track", "1"},
          {"year", "1985"},
          {"genre", "80s"}}},
        {"taglib/tests/data/rare_frames.mp3",
         {{"comment", "A COMMENT"}, {"link", "http://a.user.url/with/empty/description"}}},
        {"mutagen/tests/data/bad-POPM-frame.mp3",
         {{"title", "Emit and exude"},
          {"track", "4"},
          {"year", "2004"},
          {"album", "emit and exude"},
          {"composer", "pjat lain"},
          {"artist", "she"},
          {"comment", "häst"}}},
        {"tinytag/tinytag/tests/samples/id3v24-long-title.mp3",
         {{"title", "Out of the Woodwork"},
          {"artist", "Courtney Barnett"},
          {"composer", "Courtney Barnett"},
          {"album", "The Double EP: A Sea of Split Peas"},
          {"track", "1"},
          {"year", "2013"},
          {"comment", "Amazon.com Song ID: 240853806"}}},
        {"tinytag/tinytag/tests/samples/id3v24_genre_null_byte.mp3",
         {{"title", "星のない世界"},
          {"artist", "aiko"},
          {"album", "秘密"},
          {"track", "10"},
          {"year", "2008"},
          {"genre", "Pop"}}},
        {"tinytag/tinytag/tests/samples/utf-8-id3v2.mp3",
         {{"title", "Gran día"},
          {"artist", "Paso a paso"},
          {"album", "S/T"},
          {"genre", "Acustico"},
          {"track", "1"},
          {"year", "2003"}}},
        {"tinytag/tinytag/tests/samples/utf-8-id3v2-invalid-string.mp3",
         {{"title", "\xEF\xBF\xBDran día"}}},
        {"mediafile/test/rsrc/full.mp3",
         {{"title", "full"},
          {"artist", "the artist"},
          {"album", "the album"},
          {"genre", "the genre"},
          {"composer", "the composer"},
          {"year", "2001"},
          {"track", "2"},
          {"lyrics", "the lyrics"},
          {"comment", "the comments"},
          {"encoder", "iTunes v7.6.2"}}},
        // ID3v2.2.
        {"mutagen/tests/data/id3v22-test.mp3",
         {{"version", "2.2"},
          {"title", "cosmic american"},
          {"artist", "Anais Mitchell"},
          {"album", "Hymns for the Exiled"},
          {"track", "3"},
          {"year", "2004"},
          {"comment", "Waterbug Records, www.anaismitchell.com"},
          {"encoder", "iTunes v4.6"}}},
        {"taglib/tests/data/itunes10.mp3",
         {{"title", "iTunes10MP3"},
          {"artist", "Artist"},
          {"album", "Album"},
          {"composer", "Composer"},
          {"track", "1"},
          {"year", "2011"},
          {"genre", "Heavy Metal"},
          {"comment", "Comments"},
          {"lyrics", "Lyrics"}}},
        {"taglib/tests/data/id3v22-tda.mp3", {{"year", "2010"}, {"track", "1"}}},
        {"mediafile/test/rsrc/partial.mp3", {{"title", "partial"}, {"track", "2"}}},
        {"mutagen/tests/data/too-short.mp3",
         {{"title", "Track 10"}, {"artist", "Hieroglyph"}, {"track", "10"}}},
        {"tinytag/tinytag/tests/samples/id3v22.TCO.genre.mp3",
         {{"title", "Applause"}, {"artist", "Lady GaGa"}, {"album", "ARTPOP"}}},
        // Nothing to read.
        {"mutagen/tests/data/emptyfile.mp3", {{"present", ""}, {"title", ""}}},
        {"tinytag/tinytag/tests/samples/incomplete.mp3", {{"present", ""}, {"title", ""}}},
        {"mutagen/tests/data/no-tags.mp3", {{"present", ""}, {"title", ""}}},
        {"mutagen/tests/data/audacious-trailing-id32-id31.mp3", {{"present", ""}}},
        // WMA.
        {"tinytag/tinytag/tests/samples/test2.wma",
         {{"present", "Yes"},
          {"version", ""},
          {"size", "5800 bytes"},
          {"title", "Doll"},
          {"artist", "Foo Fighters"},
          {"album", "The Colour and the Shape"},
          {"genre", "Alternative"},
          {"year", "1997"},
          {"track", "1"},
          {"lyrics", ""}}},
        {"mutagen/tests/data/issue_29.wma",
         {{"title", "Señor Flamingos Adieu"},
          {"artist", "Kaizers Orchestra"},
          {"album", "Live at Vega"},
          {"year", "2006"},
          {"track", "6"}}},
        {"taglib/tests/data/real_example.wma",
         {{"title", "Wake Up, Get Up, Get Out There"},
          {"artist", "Shoji Meguro"},
          {"album", "Persona 5: Sounds of Rebellion"},
          {"track", "1"},
          {"genre", "Alternative"}}},
        {"mediafile/test/rsrc/full.wma",
         {{"title", "full"},
          {"artist", "the artist"},
          {"album", "the album"},
          {"genre", "the genre"},
          {"year", "2001"},
          {"track", "2"},
          {"lyrics", "the lyrics"}}},
        {"mediafile/test/rsrc/pure.wma",
         {{"title", "the title"}, {"artist", "the artist"}, {"comment", "the comments"}}},
        {"tinytag/tinytag/tests/samples/grouping.wma",
         {{"title", "some title"}, {"track", "1"}, {"year", "2025"}}},
        {"tinytag/tinytag/tests/samples/wma_invalid_track_number.wma", {{"track", ""}}},
        {"mutagen/tests/data/silence-1.wma", {{"title", "test"}}},
        {"tinytag/tinytag/tests/samples/invalid_object_size.wma", {{"present", ""}}},
        {"tinytag/tinytag/tests/samples/zero_value_properties.wma", {{"present", ""}}},
        {"tinytag/tinytag/tests/samples/empty_file.wma", {{"present", ""}}},
    };
    for (const auto& c : cases) {
        const auto r = read(lib, peers() / c.file);
        for (const auto& [name, value] : c.fields)
            EXPECT_EQ(r.f[kFields.at(name)], value) << c.file << " " << name;
    }
}

TEST(PeerFiles, EveryFileReadsAndRewritesWithoutHarm) {
    if (peers().empty()) GTEST_SKIP() << testing_support::kNoPeers;
    SongmetaLibrary lib;
    testing_support::TempDir dir;
    int files = 0;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(peers())) {
        if (!entry.is_regular_file() || entry.path().extension() == ".md") continue;
        ++files;
        SongInformation info{};
        lib.get(&info, entry.path().c_str());
        SongInformation v2{};
        lib.getId3v2(entry.path().c_str(), &v2);

        // Saving what was read into a copy keeps the audio after the old tag.
        const auto copy = dir / "copy.mp3";
        std::filesystem::copy_file(entry.path(), copy,
                                   std::filesystem::copy_options::overwrite_existing);
        info.TagPresent = info.TagVersion = info.TagSize = nullptr;
        EXPECT_EQ(lib.save(info, copy.c_str()), -1) << entry.path();
        SongInformation back{};
        lib.get(&back, copy.c_str());
        EXPECT_STREQ(back.TagVersion, "2.3") << entry.path();
    }
    EXPECT_GT(files, 50);
}

namespace {

// Runs python3-mutagen on a song file; its lines of output, or nothing when it is not
// installed.
std::optional<std::vector<std::string>> runMutagen(const std::string& script,
                                                   const std::string& file) {
    if (!std::filesystem::exists("/usr/bin/python3") ||
        std::system("/usr/bin/python3 -c 'import mutagen' 2>/dev/null") != 0)
        return std::nullopt;
    testing_support::ChildProcess python({"/usr/bin/python3", "-c", script, file});
    std::vector<std::string> lines;
    while (auto line = python.readLine()) lines.push_back(*line);
    python.wait();
    return lines;
}

}  // namespace

TEST(PeerFiles, MutagenReadsWhatSaveWrites) {
    SongmetaLibrary lib;
    testing_support::TempDir dir;
    const auto file = dir / "song.mp3";
    testing_support::writeFile(file, fixtures::audio());
    SongInformation in{};
    in.Title = "Заголовок";
    in.Artist = "Björk";
    in.Album = "Album";
    in.Track = "5";
    in.Year = "2004";
    in.Genre = "Rock";
    in.Comment = "Комментарий";
    in.Composer = "Composer";
    in.Encoder = "Encoder";
    in.Copyright = "(c) 2004";
    in.Language = "rus";
    in.Link = "http://example.com/";
    in.Lyrics = "Слова";
    ASSERT_EQ(lib.save(in, file.c_str()), -1);
    const auto lines = runMutagen(R"(
import sys, mutagen.id3
t = mutagen.id3.ID3(sys.argv[1], translate=False)
print(t.version[1])
for k in ("TIT2", "TPE1", "TALB", "TRCK", "TYER", "TCON", "TCOM", "TENC", "TCOP", "TLAN"):
    print(t[k].text[0])
print(t.getall("COMM")[0].lang, t.getall("COMM")[0].text[0])
print(t.getall("WXXX")[0].url)
print(t.getall("USLT")[0].text)
)",
                                  file.string());
    if (!lines) GTEST_SKIP() << "python3-mutagen is not installed";
    const std::vector<std::string> expected = {"3",
                                               "Заголовок",
                                               "Björk",
                                               "Album",
                                               "5",
                                               "2004",
                                               "Rock",
                                               "Composer",
                                               "Encoder",
                                               "(c) 2004",
                                               "rus",
                                               "eng Комментарий",
                                               "http://example.com/",
                                               "Слова"};
    EXPECT_EQ(*lines, expected);
}

TEST(PeerFiles, WhatMutagenWritesReadsBack) {
    SongmetaLibrary lib;
    testing_support::TempDir dir;
    const auto file = dir / "song.mp3";
    testing_support::writeFile(file, fixtures::audio());
    const auto lines = runMutagen(R"(
import sys
from mutagen.id3 import (ID3, TIT2, TPE1, TALB, TRCK, TYER, TCON, COMM, TCOM, TENC, TCOP,
                         TLAN, WXXX, USLT)
t = ID3()
t.add(TIT2(encoding=1, text="Группа крови"))
t.add(TPE1(encoding=3, text="Кино"))
t.add(TALB(encoding=0, text="Gruppa Krovi"))
t.add(TRCK(encoding=0, text="1/11"))
t.add(TYER(encoding=0, text="1988"))
t.add(TCON(encoding=0, text="(17)Rock"))
t.add(COMM(encoding=1, lang="rus", desc="d", text="Комментарий"))
t.add(TCOM(encoding=1, text="Цой"))
t.add(TENC(encoding=0, text="enc"))
t.add(TCOP(encoding=0, text="(c) 1988"))
t.add(TLAN(encoding=0, text="rus"))
t.add(WXXX(encoding=1, desc="сайт", url="http://kino.example/"))
t.add(USLT(encoding=1, lang="rus", desc="", text="Тёплое место"))
t.save(sys.argv[1], v2_version=3, v1=2)
print("saved")
)",
                                  file.string());
    if (!lines) GTEST_SKIP() << "python3-mutagen is not installed";
    ASSERT_EQ(*lines, std::vector<std::string>{"saved"});
    SongInformation info{};
    lib.get(&info, file.c_str());
    const auto r = record(info);
    const std::vector<std::string> expected = {
        "Yes",          "2.3", r.f[2],     "Группа крови", r.f[4],
        "Gruppa Krovi", "1",   "1988",     "Rock",         "Комментарий",
        "Цой",          "enc", "(c) 1988", "rus",          "http://kino.example/",
        "Тёплое место"};
    EXPECT_EQ(std::vector<std::string>(std::begin(r.f), std::end(r.f)), expected);
}
