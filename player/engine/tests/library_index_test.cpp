#include "player/engine/library_index.h"

#include <gtest/gtest.h>

#include "player/engine/tests/qt_print.h"

#include <filesystem>

#include "player/engine/tests/ini_reader.h"
#include "testing/file_size_limit.h"
#include "testing/temp_dir.h"

namespace {

using Kind = LibraryKind;

struct LibraryIndexTest : ::testing::Test {
    testing_support::TempDir dir;
    std::filesystem::path file = dir / "AllMusik.aml";
    LibraryIndex index{file};

    // Enters one file under its artist, album and genre, as reading its tags does.
    void enter(const QString& path, const QString& artist, const QString& album,
               const QString& genre, const QString& title, int lengthMs) {
        LibraryIndex::Batch batch(index);
        index.EnterFile(Kind::Artists, artist, path, title, lengthMs);
        index.EnterFile(Kind::Albums, album, path, title, lengthMs);
        index.EnterFile(Kind::Genres, genre, path, title, lengthMs);
    }
    TPlainIni written() const { return ReadPlainIni(QString::fromStdString(file.string())); }
};

TEST_F(LibraryIndexTest, SectionsOfSharedArtistsAlbumsAndGenres) {
    enter("/m/a.mp3", "Kino", "Best", "Rock", "Song A", 1000);
    enter("/m/b.mp3", "Rock", "Best", "Pop", "Song B", 2000);  // an artist named like a genre
    enter("/m/c.mp3", "Kino", "Other (x) [y]", "Rock", "Song C", 3000);

    const TPlainIni ini = written();
    const QMap<QString, QString> main = {
        {"TotalArtist", "2"}, {"Artist1", "Kino"}, {"Artist2", "Rock"},
        {"TotalAlbum", "2"},  {"Album1", "Best"},  {"Album2", "Other (x) [y]"},
        {"TotalGenre", "2"},  {"Genre1", "Rock"},  {"Genre2", "Pop"},
    };
    EXPECT_EQ(ini["AllMusik"], main);
    const QMap<QString, QString> kino = {
        {"NumberKino", "2"},   {"File1", "/m/a.mp3"},  {"FileTit1", "Song A"}, {"FileLen1", "1000"},
        {"File2", "/m/c.mp3"}, {"FileTit2", "Song C"}, {"FileLen2", "3000"},
    };
    EXPECT_EQ(ini["Kino"], kino);
    // The genre "Rock" and the artist "Rock" share one section, count and file list.
    const QMap<QString, QString> rock = {
        {"NumberRock", "3"},    {"File1", "/m/a.mp3"}, {"File2", "/m/b.mp3"},
        {"FileTit2", "Song B"}, {"FileLen2", "2000"},  {"File3", "/m/c.mp3"},
    };
    EXPECT_EQ(ini["Rock"], rock);
    EXPECT_EQ(ini["ABest"],
              (QMap<QString, QString>{
                  {"NumberBest", "2"}, {"File1", "/m/a.mp3"}, {"File2", "/m/b.mp3"}}));
    EXPECT_EQ(ini["AOther (x) [y]"]["File1"], "/m/c.mp3");

    LibraryIndex::Batch batch(index);
    EXPECT_EQ(index.Files(Kind::Genres, "rock"), QStringList({"/m/a.mp3", "/m/b.mp3", "/m/c.mp3"}));
    EXPECT_EQ(index.Files(Kind::Albums, "Other (x) [y]"), QStringList({"/m/c.mp3"}));
    EXPECT_EQ(*index.Names(Kind::Albums), QStringList({"Best", "Other (x) [y]"}));
}

TEST_F(LibraryIndexTest, PathsAreMatchedExactly) {
    enter("/m/a.mp3", "Kino", "Best", "Rock", "Song", 1000);
    const std::string before = testing_support::readFile(file);
    {
        LibraryIndex::Batch batch(index);
        EXPECT_FALSE(index.EnterFile(Kind::Artists, "KINO", "/m/a.mp3", "Other", 5));
        EXPECT_FALSE(index.EnterFile(Kind::Albums, "Best", "/m/a.mp3", "Other", 5));
    }
    EXPECT_EQ(testing_support::readFile(file), before);  // the same file changes nothing

    enter("/M/A.mp3", "Kino", "Best", "Rock", "Song", 1000);  // another spelling is entered
    LibraryIndex::Batch batch(index);
    EXPECT_EQ(index.Files(Kind::Artists, "Kino"), QStringList({"/m/a.mp3", "/M/A.mp3"}));
    EXPECT_EQ(index.Total(Kind::Artists), 1);
}

TEST_F(LibraryIndexTest, NameWithAnEqualsSignKeepsItsCount) {
    enter("/m/a.mp3", "AC=DC", "Back", "Rock", "A", 1);
    enter("/m/b.mp3", "AC=DC", "Back", "Rock", "B", 2);
    LibraryIndex::Batch batch(index);
    EXPECT_EQ(index.Files(Kind::Artists, "AC=DC"), QStringList({"/m/a.mp3", "/m/b.mp3"}));
    EXPECT_EQ(written()["AC=DC"]["NumberAC_DC"], "2");
}

TEST_F(LibraryIndexTest, OneParseAndOneSavePerBatch) {
    {
        LibraryIndex::Batch outer(index);
        for (int i = 0; i < 50; ++i) {
            LibraryIndex::Batch inner(index);
            index.EnterFile(Kind::Artists, "Kino", QString("/m/%1.mp3").arg(i), "t", i);
        }
        EXPECT_FALSE(std::filesystem::exists(file));  // nothing written before the batch ends
        // A change made to the file meanwhile is not read back within the batch.
        testing_support::writeFile(file, "[AllMusik]\nTotalArtist=7\n");
        EXPECT_EQ(index.Total(Kind::Artists), 1);
    }
    LibraryIndex::Batch batch(index);
    EXPECT_EQ(index.FileCount(Kind::Artists, "Kino"), 50);
    EXPECT_EQ(index.Files(Kind::Artists, "Kino").last(), "/m/49.mp3");

    // A batch that only reads leaves the file alone.
    std::filesystem::remove(file);
    { LibraryIndex::Batch reading(index); }
    EXPECT_EQ(index.Total(Kind::Artists), 1);
}

TEST_F(LibraryIndexTest, AFailedSaveIsReportedOnceUntilASaveSucceeds) {
    int told = 0;
    LibraryIndex reporting(file, [&] { ++told; });
    const auto enter = [&](int n) {
        LibraryIndex::Batch batch(reporting);
        reporting.EnterFile(Kind::Artists, "Kino", QString("/m/%1.mp3").arg(n), "t", n);
    };
    {
        // As a full disk would.
        const testing_support::FileSizeLimit full(16);
        enter(1);
        enter(2);
    }
    EXPECT_EQ(told, 1);
    EXPECT_FALSE(std::filesystem::exists(file));
    enter(3);
    EXPECT_EQ(told, 1);
    {
        const testing_support::FileSizeLimit full(16);
        enter(4);
    }
    EXPECT_EQ(told, 2);
    EXPECT_EQ(written()["Kino"]["File1"], "/m/3.mp3");
    EXPECT_EQ(written()["Kino"]["File2"], "");
}

TEST_F(LibraryIndexTest, ReadsForeignAndDamagedFiles) {
    // A windows-1251 index with CR LF lines, as the original platform wrote it.
    testing_support::writeFile(
        file,
        "[AllMusik]\r\nTotalArtist=2\r\nArtist1=\xca\xe8\xed\xee\r\nArtist2=Gone\r\n"
        "[\xca\xe8\xed\xee]\r\nNumber\xca\xe8\xed\xee=2\r\nFile1=C:\\\xcc\xf3\xe7\xfb\xea\xe0\\"
        "\xc3\xf0\xf3\xef\xef\xe0.mp3\r\nFileTit1=\xc3\xf0\xf3\xef\xef\xe0 \xea\xf0\xee\xe2\xe8\r\n"
        "FileLen1=285000\r\nFile2=C:\\b.mp3\r\nFileLen2=abc\r\n"
        "[Gone]\r\nNumberGone=1\r\n");
    LibraryIndex::Batch batch(index);
    EXPECT_EQ(*index.Names(Kind::Artists), QStringList({"Кино", "Gone"}));
    const auto entries = index.ArtistEntries();
    ASSERT_TRUE(entries);
    ASSERT_EQ(entries->size(), 3u);
    EXPECT_EQ((*entries)[0].file, "C:\\Музыка\\Группа.mp3");
    EXPECT_EQ((*entries)[0].title, "Группа крови");
    EXPECT_EQ((*entries)[0].lengthMs, 285000);
    EXPECT_EQ((*entries)[1].title, "Error");  // missing keys read as their defaults
    EXPECT_EQ((*entries)[1].lengthMs, 0);
    EXPECT_EQ((*entries)[2].file, "Error");

    // Names are read as lookups find them: any case, the first of a name, no leading zeros.
    testing_support::writeFile(dir / "names.aml",
                               "[AllMusik]\nartist2=B\nARTIST1=A\nArtist1=later\nArtist01=zero\n"
                               "  TotalArtist = 3\nTotalArtist=9\n[allmusik]\nArtist3=elsewhere\n");
    LibraryIndex named(dir / "names.aml");
    LibraryIndex::Batch namedBatch(named);
    EXPECT_EQ(*named.Names(Kind::Artists), QStringList({"A", "B", ""}));
    EXPECT_EQ(named.Total(Kind::Artists), 3);

    testing_support::writeFile(dir / "neg.aml", "[AllMusik]\nTotalArtist=-1\nTotalAlbum=1\n");
    LibraryIndex negative(dir / "neg.aml");
    LibraryIndex::Batch negativeBatch(negative);
    EXPECT_FALSE(negative.Names(Kind::Artists));
    EXPECT_FALSE(negative.ArtistEntries());
    EXPECT_EQ(negative.Names(Kind::Albums)->size(), 1);
}

TEST_F(LibraryIndexTest, TotalsAndCountsAreBoundedByWhatTheFileHolds) {
    testing_support::writeFile(file,
                               "[AllMusik]\nTotalArtist=2000000000\nArtist1=Kino\n"
                               "TotalGenre=0x7fffffff\nTotalAlbum=2\n"
                               "[Kino]\nNumberKino=2147483647\nFile1=/a.mp3\n");
    LibraryIndex::Batch batch(index);
    EXPECT_EQ(index.Names(Kind::Artists)->size(), 4);  // the keys [AllMusik] holds
    EXPECT_EQ(index.Names(Kind::Artists)->front(), "Kino");
    EXPECT_EQ(index.ArtistEntries()->size(), 2u);
    EXPECT_EQ(index.Files(Kind::Artists, "Kino"), QStringList({"/a.mp3", ""}));
    // A new file goes after what is there, and the counts become true again.
    EXPECT_TRUE(index.EnterFile(Kind::Artists, "Kino", "/b.mp3", "b", 1));
    EXPECT_EQ(index.FileCount(Kind::Artists, "Kino"), 3);
    EXPECT_TRUE(index.EnterFile(Kind::Genres, "Rock", "/b.mp3", "b", 1));
    EXPECT_EQ(index.Names(Kind::Genres)->back(), "Rock");
}

// One batch of many files appends to the sections it makes without looking keys up; a
// batch per file finds every earlier section in the file. Both write the same bytes, also
// where two names share a section or an artist is named like the main section.
TEST_F(LibraryIndexTest, OneBatchWritesWhatABatchPerFileWrites) {
    struct Song {
        const char* path;
        const char* artist;
        const char* album;
        const char* genre;
        const char* title;
    };
    const Song songs[] = {
        {"/m/1.mp3", "Kino", "Best", "Rock", "One"},
        {"/m/2.mp3", "Rock", "Best", "rock", "Two\nlines"},  // an artist named like a genre
        {"/m/3.mp3", "ABest", "Other", "Pop", "Three"},      // section of the album "Best"
        {"/m/1.mp3", "Kino", "Best", "Rock", "Again"},       // listed already
        {"/m/4.mp3", "AllMusik", "\"Quoted\"", "Pop", "'x'"},
        {"\"/m/5.mp3\"", "Kino", "Best", "Pop", "Five"},  // read back without the marks
        {"/m/5.mp3", "Kino", "Best", "Pop", "Five again"},
        {"/m/6.mp3", "Line\nbreak", "AC=DC", "Jazz", "Six"},
        {"/m/7.mp3", "Line\rbreak", "AC=DC", "Jazz", "Seven"},
        {"/m/8.mp3", "ABest", "Best", "Rock", "Eight"},
    };
    const auto enterInto = [](LibraryIndex& target, const Song& song) {
        for (const auto& [kind, name] :
             {std::pair{Kind::Artists, song.artist}, std::pair{Kind::Albums, song.album},
              std::pair{Kind::Genres, song.genre}})
            target.EnterFile(kind, name, song.path, song.title, 1000);
    };
    {
        LibraryIndex::Batch batch(index);
        for (const Song& song : songs) enterInto(index, song);
    }
    LibraryIndex apart(dir / "apart.aml");
    for (const Song& song : songs) {
        LibraryIndex::Batch batch(apart);
        enterInto(apart, song);
    }
    EXPECT_EQ(testing_support::readFile(file), testing_support::readFile(apart.File()));

    // A name's line break is the space the file shows: one name, one count.
    LibraryIndex::Batch batch(index);
    EXPECT_EQ(index.Files(Kind::Artists, "Line break"), QStringList({"/m/6.mp3", "/m/7.mp3"}));
    EXPECT_EQ(index.Names(Kind::Artists)->count("Line break"), 1);
}

}  // namespace
