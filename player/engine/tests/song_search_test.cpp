// The playlist search on titles, paths and the lyrics of real tagged files.
#include "song_search.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "audio_object.h"
#include "lyrics_song.h"
#include "qt_print.h"
#include "recording_view.h"
#include "song_tags.h"
#include "temp_dir.h"

namespace {

namespace fs = std::filesystem;

const fs::path kFixtures = ENGINE_FIXTURES_DIR;

struct SongSearchTest : ::testing::Test {
    testing_support::TempDir dir;
    TRecordingView view;
    TAudioObject audio{view, dir / "AllMusik.aml"};
    SongSearch search{audio};

    QString addSong(const char* name, const QString& title, const QString& lyrics) {
        return testing_support::addLyricsSong(audio, kFixtures / "plain.mp3", dir / name, title,
                                              lyrics);
    }
    QStringList run(int category, const QString& word) {
        search.Start(category, word);
        QStringList rows;
        while (!search.Finished()) rows << search.Continue(QDeadlineTimer::Forever);
        return rows;
    }
};

TEST_F(SongSearchTest, FindsTheWordAnywhereWithoutRegardToCase) {
    const QString beat = addSong("beat.mp3", "Morning Beat", "wake up\nthe sun is high");
    const QString love = addSong("Любовь.mp3", "Любовь", "Я помню чудное мгновенье");
    const QString night = addSong("night.mp3", "Ночь", "");
    audio.Playlist.AddEntry("http://radio.example/live.mp3", "Radio", -1);
    const QStringList all = {"Morning Beat", "Любовь", "Ночь", "Radio"};
    struct Case {
        int category;
        QString word;
        QStringList rows;
    };
    const Case cases[] = {
        {SongSearch::ByTitle, "beat", {"Morning Beat"}},
        {SongSearch::ByTitle, "люб", {"Любовь"}},  // Cyrillic folded too
        {SongSearch::ByTitle, "ОЧ", {"Ночь"}},
        {SongSearch::ByTitle, "o", {"Morning Beat", "Radio"}},
        {SongSearch::ByTitle, "", all},
        {SongSearch::ByTitle, "nothing", {}},
        {SongSearch::ByFileName, "BEAT.MP3", {beat}},
        {SongSearch::ByFileName, "любовь", {love}},
        {SongSearch::ByFileName, "example/LIVE", {"http://radio.example/live.mp3"}},
        {SongSearch::ByFileName, "", {beat, love, night, "http://radio.example/live.mp3"}},
        {SongSearch::ByLyrics, "SUN", {"Morning Beat"}},
        {SongSearch::ByLyrics, "ЧУДНОЕ", {"Любовь"}},
        {SongSearch::ByLyrics, "radio", {}},  // an address has no lyrics
        {SongSearch::ByLyrics, "", all},
        {-1, "", {}},  // a typed category lists nothing
        {-1, "beat", {}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(run(c.category, c.word), c.rows) << c.category << " " << c.word.toStdString();
}

TEST_F(SongSearchTest, LyricsAreReadAgainOnlyWhenTheFileChanged) {
    const QString file = addSong("song.mp3", "Song", "first words");
    EXPECT_EQ(run(SongSearch::ByLyrics, "first"), QStringList{"Song"});
    SongTags tags;
    tags[SongTags::Lyrics] = "other words";
    ASSERT_TRUE(tags.Save(file));
    EXPECT_EQ(run(SongSearch::ByLyrics, "first"), QStringList{});
    EXPECT_EQ(run(SongSearch::ByLyrics, "other"), QStringList{"Song"});
    fs::remove(file.toStdString());
    EXPECT_EQ(run(SongSearch::ByLyrics, "other"), QStringList{});
}

TEST_F(SongSearchTest, SlicesTogetherGiveTheWholeResultInOrder) {
    QStringList titles;
    for (int i = 0; i < 200; ++i) {
        titles << QStringLiteral("Song %1").arg(i);
        audio.Playlist.AddEntry(QStringLiteral("/music/%1.mp3").arg(i), titles.last(), 1000);
    }
    search.Start(SongSearch::ByTitle, "song");
    QStringList rows;
    int slices = 0;
    while (!search.Finished()) {
        rows << search.Continue(QDeadlineTimer(0));  // already passed: one entry
        ++slices;
    }
    EXPECT_EQ(slices, 200);
    EXPECT_EQ(rows, titles);
}

TEST_F(SongSearchTest, ARowNamesTheFirstEntryOfItsTitleOrThatFile) {
    audio.Playlist.AddEntry("/music/a.mp3", "Same", 1000);
    audio.Playlist.AddEntry("/music/b.mp3", "Same", 1000);
    EXPECT_EQ(search.EntryOf(SongSearch::ByTitle, "Same"), 0);
    EXPECT_EQ(search.EntryOf(SongSearch::ByLyrics, "SAME"), 0);
    EXPECT_EQ(search.EntryOf(SongSearch::ByFileName, "/music/b.mp3"), 1);
    EXPECT_EQ(search.EntryOf(SongSearch::ByTitle, "Other"), -1);
    EXPECT_EQ(search.EntryOf(-1, "Same"), -1);
}

}  // namespace
