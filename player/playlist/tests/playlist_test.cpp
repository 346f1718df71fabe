#include "player/playlist/playlist.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QString>
#include <QStringList>

#include <filesystem>
#include <string>
#include <vector>

#include "testing/file_size_limit.h"
#include "testing/qt_path.h"
#include "testing/temp_dir.h"

using testing_support::readFile;
using testing_support::TempDir;
using testing_support::writeFile;

namespace {

using testing_support::q;

QString q(const char* s) {
    return QString::fromUtf8(s);
}

struct Entry {
    QString file;
    QString title;
    QString length;
    bool operator==(const Entry&) const = default;
};

void PrintTo(const Entry& e, std::ostream* os) {
    *os << "{" << e.file.toStdString() << " | " << e.title.toStdString() << " | "
        << e.length.toStdString() << "}";
}

std::vector<Entry> entries(const TPlaylist& list) {
    EXPECT_EQ(list.Files().size(), list.Titles().size());
    EXPECT_EQ(list.Files().size(), list.Lengths().size());
    std::vector<Entry> out;
    for (int i = 0; i < list.Count(); ++i)
        out.push_back({list.Files()[i], list.Titles()[i], list.Lengths()[i]});
    return out;
}

}  // namespace

TEST(TPlaylist, ResolvesFileLines) {
    TempDir dir;
    writeFile(dir / "a.mp3", "");
    writeFile(dir / "Music" / "c.mp3", "");
    const QString folder = q(dir.path());
    const QString existingUnclean = folder + "/./a.mp3";
    struct Case {
        QString line;
        QString expected;
    };
    const Case cases[] = {
        {"  http://host/x.mp3 \t", "http://host/x.mp3"},
        {"FTP://host/y", "FTP://host/y"},
        {"hTTp://h", "hTTp://h"},
        {"HTTPS://h/z.mp3", "HTTPS://h/z.mp3"},
        {"mms://h/z.mp3", folder + "/mms:/h/z.mp3"},  // no other prefix marks an address
        {"a.mp3", folder + "/a.mp3"},
        {"missing.mp3", folder + "/missing.mp3"},
        {"sub/../Music/c.mp3", folder + "/Music/c.mp3"},
        {"Music\\c.mp3", folder + "/Music/c.mp3"},
        {"Gone\\d.mp3", folder + "/Gone\\d.mp3"},
        {existingUnclean, existingUnclean},
        {"/no/./such//file.mp3", "/no/such/file.mp3"},
        {"C:\\Music\\First.mp3", "C:\\Music\\First.mp3"},
        // File URLs as other players on this system write them.
        {"file:///home/u/%D0%97%D0%B2%D1%83%D0%BA/a%20b.mp3", "/home/u/Звук/a b.mp3"},
        {"FILE://localhost/home/u/Звук/c.mp3", "/home/u/Звук/c.mp3"},
        {"file:/home/u/./d.mp3", "/home/u/d.mp3"},
        {"\\\\server\\share\\x.mp3", "\\\\server\\share\\x.mp3"},
        {"", ""},
        {" \t\r", ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(TPlaylist::ResolveEntryPath(c.line, folder), c.expected) << c.line.toStdString();
    EXPECT_EQ(TPlaylist::ResolveEntryPath("x.mp3"), QDir::currentPath() + "/x.mp3");
}

TEST(TPlaylist, LoadsPlsByItsRules) {
    TempDir dir;
    writeFile(dir / "near.mp3", "");
    const auto file = dir / "list.pls";
    writeFile(file,
              "[Playlist]\r\n"
              "numberofentries=0x5\r\n"
              "Version=2\r\n"
              "File1=near.mp3\r\n"
              "Title1=\"Близко\"\r\n"
              "Length1=1000\r\n"
              "Title2=Only a title\r\n"
              "FILE3=C:\\Music\\Song.Live.mp3\r\n"
              "Length3=seconds?\r\n"
              "File4=http://radio/stream\r\n"
              "Title4=\r\n"
              "Length4=-1\r\n"
              "File5=folder\\noext\r\n"
              "File9=beyond NumberOfEntries\r\n");
    TPlaylist list;
    list.AddEntry("/kept.mp3", "kept", 5);
    ASSERT_TRUE(list.LoadFromPls(q(file), false));
    const std::vector<Entry> expected = {
        {"/kept.mp3", "kept", "5"},        {q(dir / "near.mp3"), q("Близко"), "1000"},
        {"", "Only a title", "0"},         {"C:\\Music\\Song.Live.mp3", "Song.Live", "0"},
        {"http://radio/stream", "", "-1"}, {q(dir / "folder\\noext"), "noext", "0"},
    };
    EXPECT_EQ(entries(list), expected);
    EXPECT_EQ(list.ListFileName(), q(file));
    EXPECT_EQ(list.ListName(), "list");

    ASSERT_TRUE(list.LoadFromPls(q(file), true));
    EXPECT_EQ(list.Count(), 5);
}

TEST(TPlaylist, PlsEntryCountComesFromNumberOfEntries) {
    TempDir dir;
    const auto file = dir / "n.pls";
    struct Case {
        const char* number;
        int count;
    };
    const Case cases[] = {
        {"3", 3},  {"0x2", 2}, {"$1", 1},         {"abc", 0},
        {"-4", 0}, {"", 0},    {"2147483647", 3},  // only as many as the numbered keys reach
    };
    for (const auto& c : cases) {
        writeFile(file,
                  std::string("[playlist]\nFile1=a\nFile3=c\nNumberOfEntries=") + c.number + "\n");
        TPlaylist list;
        ASSERT_TRUE(list.LoadFromPls(q(file), true)) << c.number;
        EXPECT_EQ(list.Count(), c.count) << c.number;
    }
    TPlaylist list;
    list.AddEntry("/x", "x", 1);
    EXPECT_TRUE(list.LoadFromPls(q(dir / "missing.pls"), true));
    EXPECT_EQ(list.Count(), 0);
    EXPECT_EQ(list.ListName(), "missing");
    list.AddEntry("/x", "x", 1);
    EXPECT_FALSE(list.LoadFromPls(q(dir.path()), true)) << "a folder cannot be read";
    EXPECT_EQ(list.Count(), 0);
}

TEST(TPlaylist, PlsEntryCountIsBoundedByWhatTheFileHolds) {
    TempDir dir;
    const auto file = dir / "Default.pls";
    struct Case {
        std::string text;
        int count;
    };
    const Case cases[] = {
        // 59 bytes that once asked for two billion entries: the entries no key names are
        // bounded, and the one named lies beyond them.
        {"[playlist]\nNumberOfEntries=2147483647\nFile2147483647=x.mp3\n",
         TPlaylist::kMaxUnnamedPlsEntries + 1},
        {"[playlist]\nNumberOfEntries=1000000\nFile1=x.mp3\n", 1},
        {"[playlist]\nNumberOfEntries=9\nFile1=a\nFile8=b\nTitle5=c\nFile05=d\n", 8},
    };
    for (const Case& c : cases) {
        writeFile(file, c.text);
        TPlaylist list;
        ASSERT_TRUE(list.LoadFromPls(q(file), true)) << c.text;
        EXPECT_EQ(list.Count(), c.count) << c.text;
        EXPECT_EQ(list.FileAt(c.count - 1).endsWith("x.mp3"), c.count == 1) << c.text;
    }
    TPlaylist list;
    writeFile(file, cases[2].text);
    ASSERT_TRUE(list.LoadFromPls(q(file), true));
    EXPECT_EQ(list.Titles(), QStringList({"a", "", "", "", "c", "", "", "b"}));
    EXPECT_EQ(list.Lengths(), QStringList(8, "0"));
}

TEST(TPlaylist, LoadsM3uPairingInformationWithFileLines) {
    TempDir dir;
    const auto file = dir / "mix.m3u";
    writeFile(file,
              "#EXTM3U\r\n"
              "#EXTINF:1000,Artist - Song, live\r\n"
              "/music/one.mp3\r\n"
              "\r\n"
              "#extinf:7,x\n"
              "#EXTVLCOPT:network-caching=1000\n"
              "http://radio/two\n"
              "plain/three.ogg\n"
              "#EXTINF:123\r"
              "/four.wav\r"
              "\t\t#EXTINF:42,Indented\n"
              "/five.mp3\n"
              "#EXTINF:abc,Bad length\n"
              "/six.mp3\n"
              "#EXTINF:1,stray replaced by the next\n"
              "#EXTINF:2,Seven\n"
              "/seven.mp3\n"
              "#EXTINF:3,stray at the end\n");
    TPlaylist list;
    ASSERT_TRUE(list.LoadFromM3u(q(file), true));
    const std::vector<Entry> expected = {
        {"/music/one.mp3", "Artist - Song, live", "1000"},
        {"http://radio/two", "x", "7"},
        {q(dir / "plain/three.ogg"), "three", "0"},
        {"/four.wav", "#EXTINF:123", "0"},
        {"/five.mp3", "Indented", "42"},
        {"/six.mp3", "Bad length", "0"},
        {"/seven.mp3", "Seven", "2"},
    };
    EXPECT_EQ(entries(list), expected);
    EXPECT_EQ(list.ListName(), "mix");

    EXPECT_FALSE(list.LoadFromM3u(q(dir / "missing.m3u"), true));
    EXPECT_EQ(list.Count(), 0);
    EXPECT_EQ(list.ListName(), "missing");
}

TEST(TPlaylist, SavesPls) {
    TempDir dir;
    TPlaylist list;
    list.AddEntry("/music/First.mp3", "First", 1000);
    list.AddEntry("http://radio/evening", "Вечер\r\nночь", -1);
    ASSERT_TRUE(list.SaveToPls(q(dir / "list")));
    EXPECT_EQ(readFile(dir / "list.pls"),
              "[playlist]\n"
              "File1=/music/First.mp3\n"
              "Title1=First\n"
              "Length1=1000\n"
              "File2=http://radio/evening\n"
              "Title2=Вечер  ночь\n"  // a line break would end the value
              "Length2=-1\n"
              "NumberOfEntries=2\n");

    // An existing file keeps its other keys and sections; old entries past the new
    // count stay but are not read back.
    const auto old = dir / "old.pls.bak";
    writeFile(old,
              "; mine\n[other]\nkeep=1\n[PLAYLIST]\nVersion=2\nNumberOfEntries=3\n"
              "File1=a\nFile2=b\nFile3=c\n");
    ASSERT_TRUE(list.SaveToPls(q(old)));
    EXPECT_EQ(readFile(old),
              "; mine\n[other]\nkeep=1\n[PLAYLIST]\nVersion=2\nNumberOfEntries=2\n"
              "File1=/music/First.mp3\nFile2=http://radio/evening\nFile3=c\n"
              "Title1=First\nLength1=1000\nTitle2=Вечер  ночь\nLength2=-1\n");
    EXPECT_FALSE(std::filesystem::exists(dir / "old.pls.bak.pls"));

    TPlaylist empty;
    ASSERT_TRUE(empty.SaveToPls(q(dir / "Empty.PLS")));
    EXPECT_EQ(readFile(dir / "Empty.PLS"), "[playlist]\nNumberOfEntries=0\n");
}

TEST(TPlaylist, SavesM3u) {
    TempDir dir;
    TPlaylist list;
    list.AddEntry("/music/a.mp3", "Artist - Song, live", 1000);
    list.AddEntry("http://radio/b", "Line\r\nbreak", -1);
    ASSERT_TRUE(list.SaveToM3u(q(dir / "out")));
    EXPECT_EQ(readFile(dir / "out"),
              "#EXTM3U\r\n"
              "#EXTINF:1000,Artist - Song, live\r\n"
              "/music/a.mp3\r\n"
              "#EXTINF:-1,Line  break\r\n"
              "http://radio/b\r\n");
    ASSERT_TRUE(TPlaylist().SaveToM3u(q(dir / "empty.m3u")));
    EXPECT_EQ(readFile(dir / "empty.m3u"), "#EXTM3U\r\n");
}

TEST(TPlaylist, FailedSaveReportsAndKeepsOldFile) {
    TempDir dir;
    TPlaylist list;
    for (int i = 0; i < 200; ++i)
        list.AddEntry(QString("/music/%1.mp3").arg(i), QString("Song %1").arg(i), i);
    for (const char* name : {"keep.pls", "keep.m3u"}) {
        writeFile(dir / name, "old");
        testing_support::FileSizeLimit limit(512);
        const QString path = q(dir / name);
        EXPECT_FALSE(path.endsWith(".pls") ? list.SaveToPls(path) : list.SaveToM3u(path)) << name;
    }
    EXPECT_EQ(readFile(dir / "keep.pls"), "old");
    EXPECT_EQ(readFile(dir / "keep.m3u"), "old");
    EXPECT_FALSE(list.SaveToPls(q(dir / "no" / "such.pls")));
    EXPECT_FALSE(list.SaveToM3u(q(dir / "no" / "such.m3u")));
}

// A PLS reader drops surrounding blanks and one pair of enclosing quotation marks; titles
// and files that have them still read back as they were, from a new file and from one
// updated in place.
TEST(TPlaylist, PlsKeepsQuotationMarksAndBlanksAroundValues) {
    TempDir dir;
    TPlaylist list;
    const QStringList titles = {
        "\"Heroes\"", " lead and trail ", "'single'", "\"", "\"open", "tab\t", "plain", ""};
    for (int i = 0; i < titles.size(); ++i)
        list.AddEntry(QString("/music/%1.mp3").arg(i), titles[i], i);
    list.AddEntry("/music/ spaced .mp3", "\"quoted file\"", 1);
    writeFile(dir / "old.pls", "[playlist]\nTitle1=x\nNumberOfEntries=1\n");
    for (const char* name : {"new.pls", "old.pls"}) {
        ASSERT_TRUE(list.SaveToPls(q(dir / name))) << name;
        TPlaylist back;
        ASSERT_TRUE(back.LoadFromPls(q(dir / name), true)) << name;
        EXPECT_EQ(entries(back), entries(list)) << name;
    }
    EXPECT_NE(readFile(dir / "new.pls").find("Title1=\"\"Heroes\"\"\n"), std::string::npos);
}

TEST(TPlaylist, RoundTripsCyrillicThroughBothFormatsAndFolders) {
    TempDir dir;
    writeFile(dir / "Музыка" / "Ёлка.mp3", "");
    writeFile(dir / "Музыка" / "list.m3u",
              "#EXTM3U\n#EXTINF:245000,Гражданская Оборона - Мы идём\nЁлка.mp3\n"
              "#EXTINF:-1,Радио «Ночь»\nhttp://radio/ночь\n");
    TPlaylist list;
    ASSERT_TRUE(list.LoadFromM3u(q(dir / "Музыка" / "list.m3u"), true));
    const std::vector<Entry> expected = {
        {q(dir / "Музыка" / "Ёлка.mp3"), q("Гражданская Оборона - Мы идём"), "245000"},
        {q("http://radio/ночь"), q("Радио «Ночь»"), "-1"},
    };
    ASSERT_EQ(entries(list), expected);
    // Saved into another folder, the entries still name the same files.
    std::filesystem::create_directory(dir / "elsewhere");
    ASSERT_TRUE(list.SaveToPls(q(dir / "elsewhere" / "Список")));
    ASSERT_TRUE(list.SaveToM3u(q(dir / "elsewhere" / "Список.m3u")));
    TPlaylist fromPls, fromM3u;
    ASSERT_TRUE(fromPls.LoadFromPls(q(dir / "elsewhere" / "Список.pls"), true));
    ASSERT_TRUE(fromM3u.LoadFromM3u(q(dir / "elsewhere" / "Список.m3u"), true));
    EXPECT_EQ(entries(fromPls), expected);
    EXPECT_EQ(entries(fromM3u), expected);
    EXPECT_EQ(fromPls.ListName(), q("Список"));
}

TEST(TPlaylist, ReadsWindows1251Files) {
    TempDir dir;
    // "Гражданская Оборона - Мы идём" in windows-1251.
    const std::string title =
        "\xC3\xF0\xE0\xE6\xE4\xE0\xED\xF1\xEA\xE0\xFF \xCE\xE1\xEE\xF0\xEE\xED\xE0 - \xCC\xFB "
        "\xE8\xE4\xB8\xEC";
    writeFile(dir / "old.pls", "[playlist]\r\nFile1=C:\\a.mp3\r\nTitle1=" + title +
                                   "\r\nLength1=1\r\nNumberOfEntries=1\r\n");
    writeFile(dir / "old.m3u", "#EXTM3U\r\n#EXTINF:1," + title + "\r\nC:\\a.mp3\r\n");
    for (const char* name : {"old.pls", "old.m3u"}) {
        TPlaylist list;
        const QString path = q(dir / name);
        ASSERT_TRUE(path.endsWith(".pls") ? list.LoadFromPls(path, true)
                                          : list.LoadFromM3u(path, true));
        EXPECT_EQ(entries(list),
                  (std::vector<Entry>{{"C:\\a.mp3", q("Гражданская Оборона - Мы идём"), "1"}}))
            << name;
    }
}

TEST(TPlaylist, LocalFilesAreUniqueByExactPathAddressesWithoutCase) {
    TPlaylist list;
    list.AddEntry("/music/track.mp3", "Первая", 1);
    list.AddEntry("/music/TRACK.mp3", "Another file", 2);
    list.AddEntry("/music/track.mp3", "duplicate", 3);
    list.AddEntry(q("/Музыка/Ёж.mp3"), "Third", 4);
    list.AddEntry(q("/музыка/ёЖ.MP3"), "Fourth", 5);
    list.AddEntry("http://Radio.example/Live.mp3", "Radio", -1);
    list.AddEntry("HTTP://radio.example/live.MP3", "duplicate", -1);
    list.AddEntry("https://radio.example/x", "Secure", -1);
    list.AddEntry("HTTPS://RADIO.example/X", "duplicate", -1);
    ASSERT_EQ(list.Count(), 6);
    EXPECT_EQ(list.FindFile("/music/TRACK.mp3"), 1);
    EXPECT_EQ(list.FindFile("/music/Track.mp3"), -1);
    EXPECT_EQ(list.FindFile(q("/музыка/ёЖ.MP3")), 3);
    EXPECT_EQ(list.FindFile("http://RADIO.EXAMPLE/live.mp3"), 4);
    EXPECT_EQ(list.FindFile("hTTps://radio.example/X"), 5);
    EXPECT_EQ(list.FindTitle(q("ПЕРВАЯ")), 0);
    EXPECT_EQ(list.FindTitle("none"), -1);
    EXPECT_EQ(list.FindFile("none"), -1);
    EXPECT_EQ(list.LengthAt(1), 2);
    EXPECT_EQ(list.FileAt(7), QString());
    EXPECT_EQ(list.LengthAt(-1), 0);
    list.SetTitleAt(4, "Station - Song");
    list.SetTitleAt(9, "ignored");
    EXPECT_EQ(list.TitleAt(4), "Station - Song");
    list.RemoveAt(9);
    list.RemoveAt(0);
    ASSERT_EQ(list.Count(), 5);
    EXPECT_EQ(list.TitleAt(0), "Another file");
    EXPECT_EQ(list.FindFile("/music/track.mp3"), -1);
    list.AddEntry("/music/track.mp3", "again", 5);
    EXPECT_EQ(list.FindFile("/music/track.mp3"), 5) << "a removed file may come back";
    list.ClearAll();
    EXPECT_EQ(list.Count(), 0);
    EXPECT_EQ(list.FindFile(q("/Музыка/Ёж.mp3")), -1);
    EXPECT_EQ(list.ListName(), "");
}

TEST(TPlaylist, DuplicatesFromAFileStayFindableOneByOne) {
    TempDir dir;
    writeFile(dir / "dup.m3u", "/a.mp3\n/b.mp3\n/a.mp3\n");
    TPlaylist list;
    ASSERT_TRUE(list.LoadFromM3u(q(dir / "dup.m3u"), true));
    ASSERT_EQ(list.Count(), 3);
    list.RemoveAt(0);
    EXPECT_EQ(list.FindFile("/a.mp3"), 1);
    list.AddEntry("/a.mp3", "not added", 0);
    EXPECT_EQ(list.Count(), 2);
    list.RemoveAt(1);
    EXPECT_EQ(list.FindFile("/a.mp3"), -1);
    list.AddEntry("/a.mp3", "added", 0);
    EXPECT_EQ(list.Count(), 2);
}

TEST(TPlaylist, SortsTitlesByCodePageOrder) {
    struct Case {
        QStringList titles;
        QStringList sorted;
    };
    const Case cases[] = {
        {{"b", "B", "a"}, {"B", "a", "b"}},
        {{q("а"), q("ё"), q("А"), q("Ё"), "z", "Z", "1"},
         {"1", "Z", "z", q("Ё"), q("ё"), q("А"), q("а")}},
        {{q("Ω"), q("я"), q("日本"), q("Ωa")}, {q("я"), q("Ω"), q("Ωa"), q("日本")}},
        {{"ab", "a", ""}, {"", "a", "ab"}},
        {{"one"}, {"one"}},
    };
    for (const auto& c : cases) {
        TPlaylist list;
        for (int i = 0; i < c.titles.size(); ++i)
            list.AddEntry("/" + QString::number(i), c.titles[i], i);
        list.SortTitles();
        EXPECT_EQ(list.Titles(), c.sorted) << c.titles.join(' ').toStdString();
        for (int i = 0; i < list.Count(); ++i) {
            const int from = static_cast<int>(c.titles.indexOf(c.sorted[i]));
            EXPECT_EQ(list.LengthAt(i), from) << "lengths move with their titles";
            EXPECT_EQ(list.FileAt(i), "/" + QString::number(from)) << "files move too";
        }
    }
    TPlaylist equal;
    for (const char* file : {"/3", "/1", "/2"}) equal.AddEntry(file, "same", 0);
    equal.SortTitles();
    EXPECT_EQ(equal.Files(), (QStringList{"/3", "/1", "/2"})) << "equal titles keep their order";
}
