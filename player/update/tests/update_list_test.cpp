#include "player/update/update_list.h"

#include <gtest/gtest.h>

#include "player/update/update_server.h"

namespace {

using Entries = std::vector<std::string>;

TEST(UpdateListTest, LinesEndWithCrLfOrLfAndEmptyLinesStay) {
    EXPECT_EQ(ParseUpdateList(""), Entries{});
    EXPECT_EQ(ParseUpdateList("a.exe\r\nb.dll\r\n"), (Entries{"a.exe", "b.dll"}));
    EXPECT_EQ(ParseUpdateList("a.exe\nb.dll"), (Entries{"a.exe", "b.dll"}));
    EXPECT_EQ(ParseUpdateList("a\r\n\r\nb\n\n"), (Entries{"a", "", "b", ""}));
    EXPECT_EQ(ParseUpdateList(" spaced name \r\n"), Entries{" spaced name "});
    // windows-1251 when the list is not UTF-8; a byte-order mark is skipped.
    EXPECT_EQ(ParseUpdateList("\xcf\xe0\xf2\xf7.txt\r\n"), Entries{"Патч.txt"});
    EXPECT_EQ(ParseUpdateList("\xef\xbb\xbf"
                              "a\r\n"),
              Entries{"a"});
}

TEST(UpdateListTest, OnlyPlainFileNamesAreUsed) {
    for (const char* good :
         {"zorvan", "Songmeta.so", "Патч 2.txt", ".hidden", "a..b", "...", "update.upd"})
        EXPECT_TRUE(IsPlainFileName(good)) << good;
    EXPECT_TRUE(IsPlainFileName(std::string(255, 'x')));
    const std::string bad[] = {"",
                               ".",
                               "..",
                               "../x",
                               "/etc/x",
                               "a/b",
                               "a\\b",
                               "..\\x",
                               std::string(256, 'x'),
                               std::string(1000, 'x'),
                               "a\tb",
                               "a\nb",
                               std::string("a\0b", 3),
                               "a\x7f",
                               "a\xc2\x85"};
    for (const auto& name : bad) EXPECT_FALSE(IsPlainFileName(name)) << name;
}

TEST(UpdateListTest, AddressesOnTheServer) {
    EXPECT_EQ(UpdateListUrl("http://host"), "http://host/programs/updates/update.upd");
    EXPECT_EQ(UpdateListUrl("https://host:8443/"), "https://host:8443/programs/updates/update.upd");
    EXPECT_EQ(UpdateFileUrl("http://host", "a-b_c.~1"), "http://host/programs/updates/a-b_c.~1");
    EXPECT_EQ(UpdateFileUrl("http://host", "a b?#%.txt"),
              "http://host/programs/updates/a%20b%3F%23%25.txt");
    EXPECT_EQ(UpdateFileUrl("http://host", "Я"), "http://host/programs/updates/%D0%AF");
}

}  // namespace
