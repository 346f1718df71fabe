#include "player/update/update_list.h"

#include <gtest/gtest.h>

namespace {

using Entries = std::vector<std::string>;

TEST(UpdateList, LinesEndWithCrLfOrLfAndEmptyLinesStay) {
    EXPECT_EQ(update_list::parse(""), Entries{});
    EXPECT_EQ(update_list::parse("a.exe\r\nb.dll\r\n"), (Entries{"a.exe", "b.dll"}));
    EXPECT_EQ(update_list::parse("a.exe\nb.dll"), (Entries{"a.exe", "b.dll"}));
    EXPECT_EQ(update_list::parse("a\r\n\r\nb\n\n"), (Entries{"a", "", "b", ""}));
    EXPECT_EQ(update_list::parse(" spaced name \r\n"), Entries{" spaced name "});
    // windows-1251 when the list is not UTF-8; a byte-order mark is skipped.
    EXPECT_EQ(update_list::parse("\xcf\xe0\xf2\xf7.txt\r\n"), Entries{"Патч.txt"});
    EXPECT_EQ(update_list::parse("\xef\xbb\xbf"
                                 "a\r\n"),
              Entries{"a"});
}

TEST(UpdateList, OnlyPlainFileNamesAreUsed) {
    for (const char* good :
         {"zorvan", "Songmeta.so", "Патч 2.txt", ".hidden", "a..b", "...", "update.upd"})
        EXPECT_TRUE(update_list::isPlainFileName(good)) << good;
    EXPECT_TRUE(update_list::isPlainFileName(std::string(255, 'x')));
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
    for (const auto& name : bad) EXPECT_FALSE(update_list::isPlainFileName(name)) << name;
}

}  // namespace
