#include "library_menus.h"

#include <gtest/gtest.h>

#include "qt_print.h"

#include "recording_view.h"

TEST(LibraryMenus, SortedInsertionByCapitalisedBytes) {
    TRecordingView view;
    TLibraryMenus menus(view);
    // ASCII letters compare as capitals; other characters by their windows-1251 byte:
    // digits, then Latin, then "Ё" and "ё", then Cyrillic capitals, then small letters.
    for (const char* name : {"beta", "Alpha", "ярость", "Арфа", "ёж", "Ёлка", "9 Lives", "BETA",
                             "Zebra", "бой", "♪ note"}) {
        menus.Insert(TLibraryKind::Artists, QString::fromUtf8(name));
    }
    const QStringList expected = {"9 Lives", "Alpha", "beta", "BETA",   "Zebra", "Ёлка",
                                  "ёж",      "Арфа",  "бой",  "ярость", "♪ note"};
    EXPECT_EQ(menus.Captions(TLibraryKind::Artists), expected);
    EXPECT_EQ(view.menus[int(TLibraryKind::Artists)], expected);  // the mirror is the same
    EXPECT_TRUE(view.menus[int(TLibraryKind::Albums)].isEmpty());
}

TEST(LibraryMenus, UniqueInsertIgnoresCaseAndMarkers) {
    TRecordingView view;
    TLibraryMenus menus(view);
    EXPECT_EQ(menus.InsertUnique(TLibraryKind::Genres, "Рок"), 0);
    EXPECT_EQ(menus.InsertUnique(TLibraryKind::Genres, "рОК"), -1);
    EXPECT_EQ(menus.InsertUnique(TLibraryKind::Genres, "&Рок"), -1);
    EXPECT_EQ(menus.InsertUnique(TLibraryKind::Genres, "Jazz"), 0);
    EXPECT_EQ(menus.InsertUnique(TLibraryKind::Albums, "Рок"), 0);  // each menu on its own
    // A plain insertion keeps duplicates, as building the menus from the index does.
    EXPECT_EQ(menus.Insert(TLibraryKind::Genres, "Jazz"), 1);
    EXPECT_EQ(view.menus[int(TLibraryKind::Genres)], QStringList({"Jazz", "Jazz", "Рок"}));
}
