#include "platform/ini_document.h"

#include <gtest/gtest.h>

#include <malloc.h>

#include <climits>

#include <optional>
#include <string>

#include "testing/file_size_limit.h"
#include "testing/temp_dir.h"

using platform::IniDocument;
using testing_support::readFile;
using testing_support::TempDir;
using testing_support::writeFile;

namespace {

IniDocument parsed(std::string_view text) {
    IniDocument doc;
    doc.parse(text);
    return doc;
}

}  // namespace

// Every kind of line the rules tell apart.
constexpr std::string_view kRulesText =
    "orphan=before any section\n"
    "[Playlist]\n"
    "File1 =  C:\\a.mp3  \n"
    "file1=second spelling loses\n"
    "Title1=\"quoted\"\n"
    "Title2=\"\"twice\"\"\n"
    "Title3='single'\n"
    "Title4=\"unbalanced\n"
    "Empty=\n"
    "; Hidden=comment\n"
    "no equals sign\n"
    "  Indented = yes\n"
    "  [ Second ]  \n"
    "Ключ=значение\n"
    "[PLAYLIST]\n"
    "Late=duplicate sections are not searched\n"
    "[broken\n"
    "\r\n";

TEST(IniDocument, ReadsWithPrivateProfileRules) {
    const IniDocument doc = parsed(kRulesText);
    struct Case {
        const char* section;
        const char* key;
        std::optional<std::string> value;
    };
    const Case cases[] = {
        {"playlist", "FILE1", "C:\\a.mp3"},
        {"PLAYLIST", "title1", "quoted"},
        {"playlist", "Title2", "\"twice\""},
        {"playlist", "Title3", "single"},
        {"playlist", "Title4", "\"unbalanced"},
        {"playlist", "Empty", ""},
        {"playlist", "; Hidden", std::nullopt},
        {"playlist", "Hidden", std::nullopt},
        {"playlist", "no equals sign", std::nullopt},
        {"playlist", "indented", "yes"},
        {"playlist", "Late", std::nullopt},
        {"playlist", "Missing", std::nullopt},
        {"", "orphan", std::nullopt},
        {"second", "КЛЮЧ", "значение"},
        {" Second\t", " ключ ", "значение"},
        {"Second", "[broken", std::nullopt},
        {"nowhere", "File1", std::nullopt},
    };
    for (const auto& c : cases)
        EXPECT_EQ(doc.value(c.section, c.key), c.value) << c.section << "/" << c.key;
    EXPECT_EQ(doc.readString("playlist", "Missing", "fallback"), "fallback");
    EXPECT_EQ(doc.readString("playlist", "Empty", "fallback"), "");
    EXPECT_EQ(doc.sections(), (std::vector<std::string>{"Playlist", "Second"}));
    EXPECT_EQ(doc.keys("PLAYLIST"), (std::vector<std::string>{"File1", "Title1", "Title2", "Title3",
                                                              "Title4", "Empty", "Indented"}));
}

TEST(IniDocument, ASectionReadThroughItsTextGivesWhatTheDocumentGives) {
    using Entries = std::vector<std::pair<std::string, std::string>>;
    const auto collect = [](Entries& into) {
        return [&into](std::string_view key, std::string_view value) {
            into.emplace_back(key, value);
        };
    };
    const std::string crlf = std::string(kRulesText) + "[Third]\r\nA = 1\r\n\r\n[second]\r\nB=2";
    const IniDocument doc = parsed(crlf);
    for (const char* section : {"playlist", "Second", "third", "nowhere", ""}) {
        Entries fromDocument, fromText;
        doc.forEachEntry(section, collect(fromDocument));
        IniDocument::forEachEntryIn(crlf, section, collect(fromText));
        EXPECT_EQ(fromText, fromDocument) << section;
    }
    Entries playlist;
    IniDocument::forEachEntryIn(crlf, "PlayList", collect(playlist));
    EXPECT_EQ(playlist, (Entries{{"File1", "C:\\a.mp3"},
                                 {"file1", "second spelling loses"},
                                 {"Title1", "quoted"},
                                 {"Title2", "\"twice\""},
                                 {"Title3", "single"},
                                 {"Title4", "\"unbalanced"},
                                 {"Empty", ""},
                                 {"Indented", "yes"}}));
}

TEST(IniDocument, ReadsIntegers) {
    struct Case {
        const char* text;
        int expected;
    };
    const Case cases[] = {
        {"12", 12},
        {"  7 ", 7},
        {"-3", -3},
        {"+4", 4},
        {"0x2", 2},
        {"0XfF", 255},
        {"$10", 16},
        {"0xFFFFFFFF", -1},
        {"\"5\"", 5},
        {"abc", -99},
        {"", -99},
        {"12abc", -99},
        {"0x", -99},
        {"$", -99},
        {"0x1G", -99},
        {"0x100000000", -99},
        {"2147483647", 2147483647},
        {"-2147483648", -2147483647 - 1},
        {"2147483648", -99},
        {"99999999999999999999", -99},
        {"1.5", -99},
    };
    for (const auto& c : cases) {
        const IniDocument doc = parsed(std::string("[s]\nn=") + c.text + "\n");
        EXPECT_EQ(doc.readInteger("s", "n", -99), c.expected) << c.text;
    }
    EXPECT_EQ(parsed("").readInteger("s", "n", 42), 42);
}

TEST(IniDocument, CutsValuesToMaxCharactersNotBytes) {
    const std::string longValue(IniDocument::kMaxValueChars - 1, 'a');
    const IniDocument doc = parsed("[s]\nk=" + longValue + "ЖЖЖ\n");
    EXPECT_EQ(doc.readString("s", "k"), longValue + "Ж");
}

TEST(IniDocument, PathsUpToTheSystemLimitReadBackWhole) {
    TempDir dir;
    const auto file = dir / "Default.pls";
    std::string path;
    while (path.size() < PATH_MAX - 10) path += "/папка";  // two bytes a Cyrillic letter
    IniDocument written;
    ASSERT_TRUE(written.open(file));
    written.writeString("playlist", "File1", path);
    ASSERT_TRUE(written.save());
    IniDocument read;
    ASSERT_TRUE(read.open(file));
    EXPECT_EQ(read.readString("playlist", "File1"), path);
}

TEST(IniDocument, EditsExistingFileInPlace) {
    TempDir dir;
    const auto file = dir / "settings.ini";
    writeFile(file,
              "; kept comment\r\n"
              "[Main]\r\n"
              "Volume = 10\r\n"
              "Other=stays\r\n"
              "\r\n"
              "[Unrelated]\r\n"
              "x=1\r\n");
    IniDocument doc;
    ASSERT_TRUE(doc.open(file));
    doc.writeInteger("main", "volume", 75);
    doc.writeString("MAIN", "NewKey", "added at the end of its section");
    doc.writeString("Fresh", "Line", "one\ntwo\rthree");
    ASSERT_TRUE(doc.save());
    EXPECT_EQ(readFile(file),
              "; kept comment\r\n"
              "[Main]\r\n"
              "Volume=75\r\n"
              "Other=stays\r\n"
              "NewKey=added at the end of its section\r\n"
              "\r\n"
              "[Unrelated]\r\n"
              "x=1\r\n"
              "[Fresh]\r\n"
              "Line=one two three\r\n");
    IniDocument again;
    ASSERT_TRUE(again.open(file));
    EXPECT_EQ(again.readInteger("Main", "Volume", 0), 75);
    EXPECT_EQ(again.readString("fresh", "line"), "one two three");
}

// Keys added by a section's place land where writes by name put them, and are found by
// lookups whether or not the section had been searched before.
TEST(IniDocument, KeysAddedByPlaceAreWhereWritesByNamePutThem) {
    const std::string text = "[Main]\nVolume = 10\n\n[Other]\nx=1\n";
    for (const bool searchedFirst : {false, true}) {
        IniDocument byName = parsed(text);
        IniDocument byPlace = parsed(text);
        if (searchedFirst) byPlace.readString("main", "volume");
        byName.writeString("Main", "New", " 'a\nb' ");
        byName.writeInteger("Main", "volume", 75);
        byName.writeString("Made", "K", "v");
        const IniDocument::SectionId main = *byPlace.findSectionId("MAIN");
        const IniDocument::KeyLine added = byPlace.appendKey(main, "New", " 'a\nb' ");
        byPlace.replaceValue({main, 0}, "75");
        byPlace.appendKey(byPlace.ensureSection("Made"), "K", "v");
        EXPECT_EQ(byPlace.text(), byName.text());
        EXPECT_EQ(byPlace.valueAt(added), "a b");
        EXPECT_EQ(byPlace.readString("main", "NEW"), "a b");
        EXPECT_EQ(byPlace.readInteger("main", "Volume", 0), 75);
        EXPECT_EQ(byPlace.keyCount("Main"), 2u);
        EXPECT_FALSE(byPlace.findSectionId("Missing"));
    }
}

TEST(IniDocument, MissingFileReadsEmptyAndIsCreatedOnSave) {
    TempDir dir;
    IniDocument doc;
    ASSERT_TRUE(doc.open(dir / "new.ini"));
    EXPECT_TRUE(doc.sections().empty());
    doc.writeString("playlist", "NumberOfEntries", "0");
    ASSERT_TRUE(doc.save());
    EXPECT_EQ(readFile(dir / "new.ini"), "[playlist]\nNumberOfEntries=0\n");

    EXPECT_FALSE(doc.open(dir.path())) << "a folder cannot be read";
    EXPECT_TRUE(doc.sections().empty());
}

TEST(IniDocument, DecodesWindows1251AndSavesUtf8) {
    TempDir dir;
    const auto file = dir / "old.pls";
    writeFile(file,
              "[playlist]\nTitle1=\xC3\xF0\xE0\xE6\xE4\xE0\xED\xF1\xEA\xE0\xFF \xA8\xEB\xEA\xE0\n");
    IniDocument doc;
    ASSERT_TRUE(doc.open(file));
    EXPECT_EQ(doc.readString("PLAYLIST", "title1"), "Гражданская Ёлка");
    ASSERT_TRUE(doc.save());
    EXPECT_EQ(readFile(file), "[playlist]\nTitle1=Гражданская Ёлка\n");

    writeFile(file, "\xEF\xBB\xBF[s]\nk=Юг\n");
    ASSERT_TRUE(doc.open(file));
    EXPECT_EQ(doc.readString("s", "k"), "Юг");
    ASSERT_TRUE(doc.save());
    EXPECT_EQ(readFile(file), "[s]\nk=Юг\n") << "written without a byte-order mark";
}

TEST(IniDocument, FailedSaveKeepsOldFile) {
    TempDir dir;
    const auto file = dir / "keep.ini";
    const std::string old = "[s]\nk=old\n";
    writeFile(file, old);
    IniDocument doc;
    ASSERT_TRUE(doc.open(file));
    doc.writeString("s", "k", std::string(8192, 'n'));
    {
        testing_support::FileSizeLimit limit(64);
        EXPECT_FALSE(doc.save());
    }
    EXPECT_EQ(readFile(file), old);

    IniDocument nowhere;
    nowhere.open(dir / "missing-folder" / "x.ini");
    nowhere.writeString("s", "k", "v");
    EXPECT_FALSE(nowhere.save());
}

TEST(IniDocument, ErasesSectionsAndKeysRevealingDuplicates) {
    IniDocument doc = parsed(
        "[a]\nk=first\nK=second\nother=1\n"
        "[b]\nx=1\n"
        "[A]\nk=third\n");
    EXPECT_TRUE(doc.eraseKey("a", "k"));
    EXPECT_EQ(doc.readString("a", "k"), "second");
    EXPECT_TRUE(doc.eraseKey("a", "k"));
    EXPECT_FALSE(doc.value("a", "k"));
    EXPECT_FALSE(doc.eraseKey("a", "k"));
    EXPECT_TRUE(doc.eraseSection("A"));
    EXPECT_EQ(doc.readString("a", "k"), "third");
    EXPECT_EQ(doc.sections(), (std::vector<std::string>{"b", "A"}));
    EXPECT_TRUE(doc.eraseSection("a"));
    EXPECT_FALSE(doc.hasSection("a"));
    EXPECT_FALSE(doc.eraseSection("a"));
    doc.writeString("a", "k", "new");
    EXPECT_EQ(doc.text(), "[b]\nx=1\n[a]\nk=new\n");
}

TEST(IniDocument, LargeDocumentRoundTrip) {
    TempDir dir;
    const auto file = dir / "big.ini";
    constexpr int kSections = 200;
    constexpr int kKeys = 100;
    const std::string longValue(IniDocument::kMaxValueChars, 'x');
    {
        IniDocument doc;
        ASSERT_TRUE(doc.open(file));
        for (int s = 0; s < kSections; ++s)
            for (int k = 0; k < kKeys; ++k)
                doc.writeInteger("Раздел" + std::to_string(s), "Key" + std::to_string(k), s * k);
        // Written lines read back before the save too, a long one among short ones.
        doc.writeString("Раздел0", "Long", longValue);
        doc.writeInteger("Раздел0", "Key0", -1);
        ASSERT_EQ(doc.readString("раздел0", "long"), longValue);
        ASSERT_EQ(doc.readInteger("Раздел199", "Key99", 0), 199 * 99);
        ASSERT_TRUE(doc.save());
    }
    IniDocument doc;
    ASSERT_TRUE(doc.open(file));
    ASSERT_EQ(doc.sections().size(), static_cast<std::size_t>(kSections));
    for (int s = 0; s < kSections; ++s)
        for (int k = 0; k < kKeys; ++k)
            ASSERT_EQ(doc.readInteger("раздел" + std::to_string(s), "KEY" + std::to_string(k), -1),
                      s == 0 && k == 0 ? -1 : s * k);
    EXPECT_EQ(doc.readString("Раздел0", "Long"), longValue);
}

TEST(IniDocument, HoldsALargeFileInLittleMoreThanItsText) {
    // A playlist of 100,000 entries: three short key lines each.
    std::string text = "[playlist]\n";
    for (int i = 1; i <= 100'000; ++i) {
        const std::string n = std::to_string(i);
        text += "File" + n + "=/home/user/Music/Artist/Album/" + n + " - Song.mp3\n";
        text += "Title" + n + "=Artist - Song " + n + "\n";
        text += "Length" + n + "=" + std::to_string(180'000 + i) + "\n";
    }
    const auto heapInUse = [] { return mallinfo2().uordblks; };
    const std::size_t before = heapInUse();
    IniDocument doc;
    doc.parse(text);
    const std::size_t held = heapInUse() - before;
    if (before == 0) GTEST_SKIP() << "the allocator does not tell its use";
    // The text once, and a few bytes a line: no copy of every line, key and value.
    EXPECT_LT(held, text.size() * 2) << "text " << text.size() << " bytes";
    std::size_t entries = 0;
    doc.forEachEntry("PLAYLIST", [&](std::string_view key, std::string_view value) {
        if (++entries == 300'000) {
            EXPECT_EQ(key, "Length100000");
            EXPECT_EQ(value, "280000");
        }
    });
    EXPECT_EQ(entries, 300'000u);
    EXPECT_EQ(doc.readString("playlist", "title7"), "Artist - Song 7");
    EXPECT_EQ(doc.text(), text);
}
