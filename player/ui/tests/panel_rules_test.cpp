#include <gtest/gtest.h>

#include <filesystem>
#include <set>

#include "player/engine/play_state.h"
#include "player/ui/dialog_filter.h"
#include "player/ui/folder_scan.h"
#include "player/ui/playlist_panel_text.h"
#include "player/ui/transport_rules.h"
#include "testing/temp_dir.h"

namespace {

using transport_rules::PlayPauseStep;

// The states' steps, glyphs and texts are checked through real clicks in
// player_window_test; here only what no click can reach.
TEST(TransportRules, UnknownStatesDoNothingAndShowNoText) {
    for (int code : {1004, 1005, 0}) {
        const auto unused = static_cast<TransportState>(code);
        EXPECT_EQ(transport_rules::PlayPauseFor(unused), PlayPauseStep::Nothing);
        EXPECT_FALSE(transport_rules::StatusText(unused));
    }
}

TEST(TransportRules, EndOfTrackSeekTargetsColoursAndLoad) {
    EXPECT_TRUE(transport_rules::TrackEnded(99'960, 100'000));
    EXPECT_FALSE(transport_rules::TrackEnded(99'959, 100'000));
    EXPECT_FALSE(transport_rules::TrackEnded(0, 100));

    EXPECT_EQ(transport_rules::SeekTarget(5'000, 10'000, 7'680), 7'680);
    EXPECT_EQ(transport_rules::SeekTarget(3'000, -10'000, 7'680), 0);
    EXPECT_EQ(transport_rules::SeekTarget(3'000, 10'000, 60'000), 13'000);
    EXPECT_EQ(transport_rules::SeekTarget(2'000'000'000, 2'000'000'000, 2'100'000'000),
              2'100'000'000);

    std::vector<int> steps;
    for (int i = 0, index = 0; i < 7; ++i)
        steps.push_back(index = transport_rules::NextColorIndex(index));
    EXPECT_EQ(steps, (std::vector<int>{1, 2, 3, 4, 5, 0, 1}));

    EXPECT_EQ(transport_rules::CpuLoadText(3.24, QLocale(QLocale::Russian)), "3,2");
    EXPECT_EQ(transport_rules::CpuLoadText(12.06, QLocale::c()), "12.1");
    EXPECT_EQ(transport_rules::CpuLoadText(0, QLocale::c()), "0.0");
}

TEST(PlaylistPanelText, RowsLengthsTotalsAndSaveNames) {
    const QString thirty(30, QLatin1Char('a'));
    EXPECT_EQ(playlist_panel_text::CutTitle(thirty), thirty);
    EXPECT_EQ(playlist_panel_text::CutTitle(thirty + "b"), QString(28, QLatin1Char('a')) + "...");
    // Characters, not bytes or UTF-16 units, are counted.
    const QString cyrillic = QString(31, QChar(0x0416));
    EXPECT_EQ(playlist_panel_text::CutTitle(cyrillic), QString(28, QChar(0x0416)) + "...");
    const QString emoji = QString::fromUtf8("🎵").repeated(31);
    EXPECT_EQ(playlist_panel_text::CutTitle(emoji), QString::fromUtf8("🎵").repeated(28) + "...");

    EXPECT_EQ(playlist_panel_text::RowText(0, "Intro", true), "1 - Intro");
    EXPECT_EQ(playlist_panel_text::RowText(11, "Intro", true), "12 - Intro");
    EXPECT_EQ(playlist_panel_text::RowText(11, "Intro", false), "Intro");
    EXPECT_EQ(playlist_panel_text::RowText(0, thirty + "b", true),
              "1 - " + thirty.left(28) + "...");

    EXPECT_EQ(playlist_panel_text::LengthText(0), "00:00");
    EXPECT_EQ(playlist_panel_text::LengthText(3'723'000), "02:03");
    EXPECT_EQ(playlist_panel_text::LengthText(75 * 60'000), "15:00");
    EXPECT_EQ(playlist_panel_text::LengthText(-5), "00:00");

    EXPECT_EQ(playlist_panel_text::TotalsText(3'723'000, 17),
              "Общее время: 01:02:03 Всего песен: 17");
    EXPECT_EQ(playlist_panel_text::TotalsText(25LL * 3'600'000, 2),
              "Общее время: 01:00:00 Всего песен: 2");
    EXPECT_EQ(playlist_panel_text::TotalsText(0, 0), "Общее время: 00:00:00 Всего песен: 0");
    EXPECT_EQ(playlist_panel_text::AddingText(640, 10000), "Добавление: 640 из 10000");

    for (const auto& [chosen, written] : std::initializer_list<std::pair<const char*, const char*>>{
             {"/x/mix", "/x/mix.m3u"},
             {"/x/mix.M3U", "/x/mix.M3U"},
             {"/x/mix.m3u", "/x/mix.m3u"},
             {"/x/mix.txt", "/x/mix.txt.m3u"},
             {"/x.m3u/mix", "/x.m3u/mix.m3u"}})
        EXPECT_EQ(playlist_panel_text::M3uSavePath(chosen), written);
}

TEST(FolderScan, TakesFilesWhoseExtensionIsPartOfTheListedOnes) {
    EXPECT_TRUE(folder_scan::ExtensionText().endsWith("|Playlist "));
    testing_support::TempDir dir;
    for (const char* name : {"a.mp3", "b.PLS", "c.s", "d.M3U", "notes.txt", "e.MID", "noext",
                             ".hidden.ogg", "f.Wa", "g.xm"})
        testing_support::writeFile(dir / name, "x");
    // Folders are skipped, even with a listed extension, and are not searched.
    std::filesystem::create_directories(dir / "Best.mp3");
    testing_support::writeFile(dir / "sub" / "inner.mp3", "x");

    const QString folder = QString::fromStdString(dir.path().string());
    const QStringList found = folder_scan::EntriesToAdd(folder);
    const std::set<QString> names(found.begin(), found.end());
    const std::set<QString> expected = {folder + "/a.mp3", folder + "/c.s", folder + "/.hidden.ogg",
                                        folder + "/f.Wa", folder + "/g.xm"};
    EXPECT_EQ(names, expected);
    EXPECT_EQ(found.size(), 5);
    EXPECT_EQ(folder_scan::EntriesToAdd(folder + "/"), found);
}

TEST(FolderScan, TakesFilesInNameOrder) {
    testing_support::TempDir dir;
    QStringList expected = {"1.mp3", "02 - b.mp3", "2 - x.mp3", "2.mp3"};
    for (int i = 3; i <= 9; ++i) expected << QString::number(i) + ".mp3";
    expected << "10 - y.mp3"
             << "10.mp3"
             << "11.mp3"
             << "12.mp3"
             << "Alpha.mp3"
             << "Beta.mp3"
             << "beta.mp3"
             << "GAMMA.mp3"
             << "track.mp3"
             << "TRACK2.mp3"
             << "Арбуз.mp3"
             << "яблоко.mp3";
    // Created backwards, so the file system's own order cannot pass for name order.
    for (auto it = expected.crbegin(); it != expected.crend(); ++it)
        testing_support::writeFile(dir / it->toStdString(), "x");
    const QString folder = QString::fromStdString(dir.path().string());
    QStringList names;
    for (const QString& path : folder_scan::EntriesToAdd(folder)) names << path.section('/', -1);
    EXPECT_EQ(names, expected);
    EXPECT_TRUE(folder_scan::NameBefore("9.mp3", "10.mp3"));
    EXPECT_TRUE(folder_scan::NameBefore("a1b", "A01c"));
    EXPECT_FALSE(folder_scan::NameBefore("x", "x"));
}

TEST(DialogFilter, PairsBecomeQtFilters) {
    EXPECT_EQ(dialog_filter::ToQt("Playlist|*.pls;*.m3u"), "Playlist (*.pls *.m3u)");
    EXPECT_EQ(dialog_filter::ToQt("Playlist (*.pls)|*.pls|Any file (*.*)|*.*"),
              "Playlist (*.pls);;Any file (*.*)");
    EXPECT_EQ(dialog_filter::ToQt(""), "");
}

}  // namespace
