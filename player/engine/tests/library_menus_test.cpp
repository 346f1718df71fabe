#include "player/engine/library_menus.h"

#include <gtest/gtest.h>

#include "player/engine/tests/qt_print.h"

#include "player/engine/tests/recording_view.h"

TEST(LibraryMenus, SortedInsertionByCapitalisedBytes) {
    RecordingView view;
    LibraryMenus menus(view);
    // ASCII letters compare as capitals; other characters by their windows-1251 byte:
    // digits, then Latin, then "Ё" and "ё", then Cyrillic capitals, then small letters;
    // characters the code page lacks come last, by code point (a lone half of a
    // surrogate pair as U+FFFD).
    const QString privateUse(QChar(0xE000));
    const QString loneHalf(QChar(0xD834));
    QStringList names = {"beta",    "Alpha", "ярость", "Арфа", "ёж",     "Ёлка",
                         "9 Lives", "BETA",  "Zebra",  "бой",  "𝄞 clef", "♪ note"};
    names << privateUse << loneHalf;
    for (const QString& name : names) menus.Insert(LibraryKind::Artists, name);
    const QStringList expected = {"9 Lives", "Alpha",    "beta",   "BETA",  "Zebra",
                                  "Ёлка",    "ёж",       "Арфа",   "бой",   "ярость",
                                  "♪ note",  privateUse, loneHalf, "𝄞 clef"};
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

TEST(LibraryMenus, ABulkInsertionOrdersAsInsertionsOneByOne) {
    QString loneSurrogate = "x";
    loneSurrogate.append(QChar(0xD834));  // no low half follows: read as U+FFFD
    const QStringList first = {"beta", "Яр", "Alpha", "𝄞 clef"};
    const QStringList second = {"BETA", "alpha", "♪ note", loneSurrogate, "𝄞 clef", "ё", "Ё"};
    RecordingView oneByOne;
    LibraryMenus expected(oneByOne);
    for (const QString& caption : first + second) expected.Insert(LibraryKind::Albums, caption);

    RecordingView bulkView;
    LibraryMenus bulk(bulkView);
    bulk.Insert(LibraryKind::Albums, first[0]);
    bulk.InsertAll(LibraryKind::Albums, first.mid(1));
    // Asked before the captions are put in order: the bulk ones count already.
    EXPECT_TRUE(bulk.Contains(LibraryKind::Albums, "&ALPHA"));
    EXPECT_FALSE(bulk.Contains(LibraryKind::Albums, "Gamma"));
    bulk.InsertAll(LibraryKind::Albums, second);
    EXPECT_EQ(bulk.Captions(LibraryKind::Albums), expected.Captions(LibraryKind::Albums));
    EXPECT_EQ(bulkView.menus[int(LibraryKind::Albums)], oneByOne.menus[int(LibraryKind::Albums)]);

    // Insertions after a bulk one land where they would have.
    bulk.InsertAll(LibraryKind::Albums, {"Zed", "Аист"});
    expected.Insert(LibraryKind::Albums, "Zed");
    expected.Insert(LibraryKind::Albums, "Аист");
    EXPECT_EQ(bulk.InsertUnique(LibraryKind::Albums, "Gamma"),
              expected.InsertUnique(LibraryKind::Albums, "Gamma"));
    EXPECT_EQ(bulk.InsertUnique(LibraryKind::Albums, "zed"), -1);
    EXPECT_EQ(bulk.Captions(LibraryKind::Albums), expected.Captions(LibraryKind::Albums));
    EXPECT_EQ(bulkView.menus[int(LibraryKind::Albums)], oneByOne.menus[int(LibraryKind::Albums)]);
}
