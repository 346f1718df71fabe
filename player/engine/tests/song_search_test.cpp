// The playlist search on titles, paths and the lyrics of real tagged files.
#include "player/engine/song_search.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "player/engine/audio_object.h"
#include "player/engine/song_tags.h"
#include "player/engine/tests/qt_print.h"
#include "player/engine/tests/recording_view.h"
#include "testing/lyrics_song.h"
#include "testing/temp_dir.h"

namespace {

namespace fs = std::filesystem;
using Category = SongSearch::Category;

const fs::path kFixtures = ENGINE_FIXTURES_DIR;

struct SongSearchTest : ::testing::Test {
    testing_support::TempDir dir;
    RecordingView view;
    TAudioObject audio{view, dir / "AllMusik.aml"};
    SongSearch search{audio};

    QString addSong(const char* name, const QString& title, const QString& lyrics) {
        return testing_support::addLyricsSong(audio, kFixtures / "plain.mp3", dir / name, title,
                                              lyrics);
    }
    QStringList run(Category category, const QString& word) {
        search.start(category, word);
        QStringList rows;
        while (!search.finished()) rows << search.proceed(QDeadlineTimer::Forever);
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
        Category category;
        QString word;
        QStringList rows;
    };
    const Case cases[] = {
        {Category::ByTitle, "beat", {"Morning Beat"}},
        {Category::ByTitle, "люб", {"Любовь"}},  // Cyrillic folded too
        {Category::ByTitle, "ОЧ", {"Ночь"}},
        {Category::ByTitle, "o", {"Morning Beat", "Radio"}},
        {Category::ByTitle, "", all},
        {Category::ByTitle, "nothing", {}},
        {Category::ByFileName, "BEAT.MP3", {beat}},
        {Category::ByFileName, "любовь", {love}},
        {Category::ByFileName, "example/LIVE", {"http://radio.example/live.mp3"}},
        {Category::ByFileName, "", {beat, love, night, "http://radio.example/live.mp3"}},
        {Category::ByLyrics, "SUN", {"Morning Beat"}},
        {Category::ByLyrics, "ЧУДНОЕ", {"Любовь"}},
        {Category::ByLyrics, "radio", {}},  // an address has no lyrics
        {Category::ByLyrics, "", all},
        {Category::None, "", {}},  // a typed category lists nothing
        {Category::None, "beat", {}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(run(c.category, c.word), c.rows)
            << static_cast<int>(c.category) << " " << c.word.toStdString();
}

TEST_F(SongSearchTest, LyricsAreReadAgainOnlyWhenTheFileChanged) {
    const QString file = addSong("song.mp3", "Song", "first words");
    EXPECT_EQ(run(Category::ByLyrics, "first"), QStringList{"Song"});
    SongTags tags;
    tags[SongTags::Field::Lyrics] = "other words";
    ASSERT_TRUE(tags.save(file));
    EXPECT_EQ(run(Category::ByLyrics, "first"), QStringList{});
    EXPECT_EQ(run(Category::ByLyrics, "other"), QStringList{"Song"});
    fs::remove(file.toStdString());
    EXPECT_EQ(run(Category::ByLyrics, "other"), QStringList{});
}

TEST_F(SongSearchTest, SlicesTogetherGiveTheWholeResultInOrder) {
    QStringList titles;
    for (int i = 0; i < 200; ++i) {
        titles << QStringLiteral("Song %1").arg(i);
        audio.Playlist.AddEntry(QStringLiteral("/music/%1.mp3").arg(i), titles.last(), 1000);
    }
    search.start(Category::ByTitle, "song");
    QStringList rows;
    int slices = 0;
    while (!search.finished()) {
        rows << search.proceed(QDeadlineTimer(0));  // already passed: a few entries
        ++slices;
    }
    EXPECT_GT(slices, 10);
    EXPECT_EQ(rows, titles);
}

TEST_F(SongSearchTest, ARowNamesTheFirstEntryOfItsTitleOrThatFile) {
    audio.Playlist.AddEntry("/music/a.mp3", "Same", 1000);
    audio.Playlist.AddEntry("/music/b.mp3", "Same", 1000);
    EXPECT_EQ(search.entryOf(Category::ByTitle, "Same"), 0);
    EXPECT_EQ(search.entryOf(Category::ByLyrics, "SAME"), 0);
    EXPECT_EQ(search.entryOf(Category::ByFileName, "/music/b.mp3"), 1);
    EXPECT_EQ(search.entryOf(Category::ByTitle, "Other"), -1);
    EXPECT_EQ(search.entryOf(Category::None, "Same"), -1);
}

}  // namespace
