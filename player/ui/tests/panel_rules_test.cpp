#include <gtest/gtest.h>

#include <filesystem>
#include <set>

#include "player/engine/play_state.h"
#include "player/ui/dialog_filter.h"
#include "player/ui/folder_scan.h"
#include "player/ui/playlist_panel_text.h"
#include "player/ui/transport_rules.h"
#include "temp_dir.h"

namespace {

using TransportRules::PlayPauseStep;

TEST(TransportRules, PlayPauseActsByState) {
    struct Case {
        int state;
        PlayPauseStep step;
        std::optional<int> glyphAfter, glyphPressed;
        const char* status;
    };
    for (const Case& c : {
             Case{PlayState::NotReady, PlayPauseStep::Nothing, {}, {}, "Не готов"},
             Case{PlayState::Paused, PlayPauseStep::Resume, 2, 1, "Приостановлено"},
             Case{PlayState::Playing, PlayPauseStep::Pause, 0, 3, "Воспроизведение"},
             Case{PlayState::Stopped, PlayPauseStep::Restart, 2, {}, "Остановлено"},
             Case{PlayState::Seeking, PlayPauseStep::Restart, 2, {}, "Поиск"},
         }) {
        SCOPED_TRACE(c.state);
        EXPECT_EQ(TransportRules::PlayPauseFor(c.state), c.step);
        EXPECT_EQ(TransportRules::PlayGlyphAfter(c.step), c.glyphAfter);
        EXPECT_EQ(TransportRules::PlayGlyphPressed(c.state), c.glyphPressed);
        EXPECT_EQ(TransportRules::StatusText(c.state), QString::fromUtf8(c.status));
    }
    for (int unused : {1004, 1005, 0}) {
        EXPECT_EQ(TransportRules::PlayPauseFor(unused), PlayPauseStep::Nothing);
        EXPECT_FALSE(TransportRules::StatusText(unused));
    }
}

TEST(TransportRules, EndOfTrackSeekTargetsColoursAndLoad) {
    EXPECT_TRUE(TransportRules::TrackEnded(99'960, 100'000));
    EXPECT_FALSE(TransportRules::TrackEnded(99'959, 100'000));
    EXPECT_FALSE(TransportRules::TrackEnded(0, 100));

    EXPECT_EQ(TransportRules::SeekTarget(5'000, 10'000, 7'680), 7'680);
    EXPECT_EQ(TransportRules::SeekTarget(3'000, -10'000, 7'680), 0);
    EXPECT_EQ(TransportRules::SeekTarget(3'000, 10'000, 60'000), 13'000);
    EXPECT_EQ(TransportRules::SeekTarget(2'000'000'000, 2'000'000'000, 2'100'000'000),
              2'100'000'000);

    std::vector<int> steps;
    for (int i = 0, index = 0; i < 7; ++i)
        steps.push_back(index = TransportRules::NextColorIndex(index));
    EXPECT_EQ(steps, (std::vector<int>{1, 2, 3, 4, 5, 0, 1}));

    EXPECT_EQ(TransportRules::CpuLoadText(3.24, QLocale(QLocale::Russian)), "3,2");
    EXPECT_EQ(TransportRules::CpuLoadText(12.06, QLocale::c()), "12.1");
    EXPECT_EQ(TransportRules::CpuLoadText(0, QLocale::c()), "0.0");
}

TEST(PlaylistPanelText, RowsLengthsTotalsAndSaveNames) {
    const QString thirty(30, QLatin1Char('a'));
    EXPECT_EQ(PlaylistPanelText::CutTitle(thirty), thirty);
    EXPECT_EQ(PlaylistPanelText::CutTitle(thirty + "b"), QString(28, QLatin1Char('a')) + "...");
    // Characters, not bytes or UTF-16 units, are counted.
    const QString cyrillic = QString(31, QChar(0x0416));
    EXPECT_EQ(PlaylistPanelText::CutTitle(cyrillic), QString(28, QChar(0x0416)) + "...");
    const QString emoji = QString::fromUtf8("🎵").repeated(31);
    EXPECT_EQ(PlaylistPanelText::CutTitle(emoji), QString::fromUtf8("🎵").repeated(28) + "...");

    EXPECT_EQ(PlaylistPanelText::RowText(0, "Intro", true), "1 - Intro");
    EXPECT_EQ(PlaylistPanelText::RowText(11, "Intro", true), "12 - Intro");
    EXPECT_EQ(PlaylistPanelText::RowText(11, "Intro", false), "Intro");
    EXPECT_EQ(PlaylistPanelText::RowText(0, thirty + "b", true), "1 - " + thirty.left(28) + "...");

    EXPECT_EQ(PlaylistPanelText::LengthText(0), "00:00");
    EXPECT_EQ(PlaylistPanelText::LengthText(3'723'000), "02:03");
    EXPECT_EQ(PlaylistPanelText::LengthText(75 * 60'000), "15:00");
    EXPECT_EQ(PlaylistPanelText::LengthText(-5), "00:00");

    EXPECT_EQ(PlaylistPanelText::TotalsText(3'723'000, 17),
              "Общее время: 01:02:03 Всего песен: 17");
    EXPECT_EQ(PlaylistPanelText::TotalsText(25LL * 3'600'000, 2),
              "Общее время: 01:00:00 Всего песен: 2");
    EXPECT_EQ(PlaylistPanelText::TotalsText(0, 0), "Общее время: 00:00:00 Всего песен: 0");

    for (const auto& [chosen, written] : std::initializer_list<std::pair<const char*, const char*>>{
             {"/x/mix", "/x/mix.m3u"},
             {"/x/mix.M3U", "/x/mix.M3U"},
             {"/x/mix.m3u", "/x/mix.m3u"},
             {"/x/mix.txt", "/x/mix.txt.m3u"},
             {"/x.m3u/mix", "/x.m3u/mix.m3u"}})
        EXPECT_EQ(PlaylistPanelText::M3uSavePath(chosen), written);
}

TEST(FolderScan, TakesFilesWhoseExtensionIsPartOfTheListedOnes) {
    EXPECT_TRUE(FolderScan::ExtensionText().endsWith("|Playlist "));
    testing_support::TempDir dir;
    for (const char* name : {"a.mp3", "b.PLS", "c.s", "d.M3U", "notes.txt", "e.MID", "noext",
                             ".hidden.ogg", "f.Wa", "g.xm"})
        testing_support::writeFile(dir / name, "x");
    // Folders are skipped, even with a listed extension, and are not searched.
    std::filesystem::create_directories(dir / "Best.mp3");
    testing_support::writeFile(dir / "sub" / "inner.mp3", "x");

    const QString folder = QString::fromStdString(dir.path().string());
    const QStringList found = FolderScan::EntriesToAdd(folder);
    const std::set<QString> names(found.begin(), found.end());
    const std::set<QString> expected = {folder + "/a.mp3", folder + "/c.s", folder + "/.hidden.ogg",
                                        folder + "/f.Wa", folder + "/g.xm"};
    EXPECT_EQ(names, expected);
    EXPECT_EQ(found.size(), 5);
    EXPECT_EQ(FolderScan::EntriesToAdd(folder + "/"), found);
}

TEST(DialogFilter, PairsBecomeQtFilters) {
    EXPECT_EQ(DialogFilter::ToQt("Playlist|*.pls;*.m3u"), "Playlist (*.pls *.m3u)");
    EXPECT_EQ(DialogFilter::ToQt("Playlist (*.pls)|*.pls|Any file (*.*)|*.*"),
              "Playlist (*.pls);;Any file (*.*)");
    EXPECT_EQ(DialogFilter::ToQt(""), "");
}

}  // namespace
