#include "player/engine/library_menus.h"

#include <gtest/gtest.h>

#include "player/engine/tests/qt_print.h"

#include "player/engine/tests/recording_view.h"

TEST(LibraryMenus, SortedInsertionByCapitalisedBytes) {
    RecordingView view;
    LibraryMenus menus(view);
    // ASCII letters compare as capitals; other characters by their windows-1251 byte:
    // digits, then Latin, then "Ё" and "ё", then Cyrillic capitals, then small letters.
    for (const char* name : {"beta", "Alpha", "ярость", "Арфа", "ёж", "Ёлка", "9 Lives", "BETA",
                             "Zebra", "бой", "♪ note"}) {
        menus.Insert(LibraryKind::Artists, QString::fromUtf8(name));
    }
    const QStringList expected = {"9 Lives", "Alpha", "beta", "BETA",   "Zebra", "Ёлка",
                                  "ёж",      "Арфа",  "бой",  "ярость", "♪ note"};
    EXPECT_EQ(menus.Captions(LibraryKind::Artists), expected);
    EXPECT_EQ(view.menus[int(LibraryKind::Artists)], expected);  // the mirror is the same
    EXPECT_TRUE(view.menus[int(LibraryKind::Albums)].isEmpty());
}

TEST(LibraryMenus, UniqueInsertIgnoresCaseAndMarkers) {
    RecordingView view;
    LibraryMenus menus(view);
    EXPECT_EQ(menus.InsertUnique(LibraryKind::Genres, "Рок"), 0);
    EXPECT_EQ(menus.InsertUnique(LibraryKind::Genres, "рОК"), -1);
    EXPECT_EQ(menus.InsertUnique(LibraryKind::Genres, "&Рок"), -1);
    EXPECT_EQ(menus.InsertUnique(LibraryKind::Genres, "Jazz"), 0);
    EXPECT_EQ(menus.InsertUnique(LibraryKind::Albums, "Рок"), 0);  // each menu on its own
    // A plain insertion keeps duplicates, as building the menus from the index does.
    EXPECT_EQ(menus.Insert(LibraryKind::Genres, "Jazz"), 1);
    EXPECT_EQ(view.menus[int(LibraryKind::Genres)], QStringList({"Jazz", "Jazz", "Рок"}));
}
