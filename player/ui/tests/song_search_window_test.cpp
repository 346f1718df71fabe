// The song search window over the real audio object: what it lists on showing, on a
// category change and on typing, and what a double-click plays.
#include <gtest/gtest.h>

#include <QKeyEvent>
#include <QTest>
#include <filesystem>

#include "player/engine/tests/qt_print.h"
#include "player/ui/song_search_window.h"
#include "player/ui/tests/player_window_fixture.h"
#include "testing/lyrics_song.h"

namespace {

namespace fs = std::filesystem;

const fs::path kFixtures = PLAYER_FIXTURES_DIR;

struct SongSearchWindowTest : testing_support::PlayerWindowFixture {
    std::unique_ptr<TForm7> search = std::make_unique<TForm7>(audio);

    SongSearchWindowTest() { form.Form7 = search.get(); }

    QString addSong(const char* name, const QString& title, const QString& lyrics = {}) {
        return testing_support::addLyricsSong(audio, kFixtures / "plain.mp3", dir / name, title,
                                              lyrics);
    }
    QStringList rows() const {
        QStringList texts;
        for (int i = 0; i < search->ListBox1->count(); ++i)
            texts << search->ListBox1->item(i)->text();
        return texts;
    }
    // Typed one key at a time, as the keyboard sends them (any alphabet).
    void type(const QString& word) {
        search->Edit1->clear();
        for (const QChar c : word) {
            QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
            QApplication::sendEvent(search->Edit1, &press);
        }
    }
    void doubleClick(int row) {
        const QRect place = search->ListBox1->visualItemRect(search->ListBox1->item(row));
        // The view takes a double-click only on the row that the first press went to.
        QTest::mouseClick(search->ListBox1->viewport(), Qt::LeftButton, {}, place.center());
        QTest::mouseDClick(search->ListBox1->viewport(), Qt::LeftButton, {}, place.center());
    }
};

TEST_F(SongSearchWindowTest, OpensFromThePlaylistMenuWithTheWholeList) {
    addSong("a.mp3", "Morning Beat");
    addSong("b.mp3", "Любовь");
    QAction* item = nullptr;
    for (QAction* action : form.PopupMenu1->actions())
        if (action->text() == "Поиск песни...") item = action;
    ASSERT_TRUE(item);
    ASSERT_TRUE(item->isEnabled());
    item->trigger();
    EXPECT_TRUE(search->isVisible());
    EXPECT_EQ(search->windowTitle(), "Поиск песни");
    EXPECT_EQ(search->size(), QSize(313, 283));
    EXPECT_EQ(search->ComboBox1->currentText(), "по названию");
    EXPECT_EQ(rows(), (QStringList{"Morning Beat", "Любовь"}));
}

TEST_F(SongSearchWindowTest, TypingFiltersAndTheCategoryOrAShowingListsEverything) {
    const QString beat = addSong("beat.mp3", "Morning Beat", "the sun is high");
    const QString love = addSong("love.mp3", "Любовь", "Я помню чудное мгновенье");
    search->show();

    type("люб");
    EXPECT_EQ(rows(), QStringList{"Любовь"});
    type("");
    EXPECT_EQ(rows(), (QStringList{"Morning Beat", "Любовь"}));

    // A new category lists everything, the word still in its box until it changes.
    type("beat");
    search->ComboBox1->setCurrentIndex(1);
    EXPECT_EQ(search->Edit1->text(), "beat");
    EXPECT_EQ(rows(), (QStringList{beat, love}));
    QTest::keyClick(search->Edit1, Qt::Key_Backspace);
    EXPECT_EQ(rows(), QStringList{beat});

    search->ComboBox1->setCurrentIndex(2);
    type("ЧУДНОЕ");
    EXPECT_EQ(rows(), QStringList{"Любовь"});

    // Hidden and shown again: word and category kept, the whole list shown.
    search->hide();
    search->show();
    EXPECT_EQ(search->Edit1->text(), "ЧУДНОЕ");
    EXPECT_EQ(search->ComboBox1->currentIndex(), 2);
    EXPECT_EQ(rows(), (QStringList{"Morning Beat", "Любовь"}));

    // A typed category is none of the three: nothing is listed.
    search->ComboBox1->setEditText("по году");
    EXPECT_EQ(rows(), QStringList{});
}

TEST_F(SongSearchWindowTest, ADoubleClickPlaysTheEntryTheRowNames) {
    const QString first = addSong("first.mp3", "Same");
    addSong("other.mp3", "Other");
    const QString second = addSong("second.mp3", "Same");
    search->show();

    // Either row of a title plays the first entry of that title.
    type("same");
    ASSERT_EQ(rows(), (QStringList{"Same", "Same"}));
    doubleClick(1);
    EXPECT_EQ(audio.GetCurrentIndex(), 0);
    EXPECT_EQ(audio.SourcePath, first);

    search->ComboBox1->setCurrentIndex(1);
    type("second");
    ASSERT_EQ(rows(), QStringList{second});
    doubleClick(0);
    EXPECT_EQ(audio.GetCurrentIndex(), 2);
    EXPECT_EQ(audio.SourcePath, second);
    EXPECT_TRUE(search->isVisible());
}

TEST_F(SongSearchWindowTest, ALongSearchRunsBetweenTheWindowsEvents) {
    // Files that do not exist read as no lyrics, quickly, but there are many of them:
    // more than one slice's worth.
    const QString folder = QString::fromStdString(dir.path().string());
    for (int i = 0; i < 20000; ++i)
        audio.Playlist.AddEntry(QStringLiteral("%1/missing%2.mp3").arg(folder).arg(i),
                                QStringLiteral("Song %1").arg(i), 1000);
    search->ComboBox1->setCurrentIndex(2);
    search->show();
    QDeadlineTimer deadline(30000);
    while (search->Searching() && !deadline.hasExpired())
        QApplication::processEvents(QEventLoop::AllEvents, 20);
    EXPECT_EQ(search->ListBox1->count(), 20000);
    type("x");
    while (search->Searching() && !deadline.hasExpired())
        QApplication::processEvents(QEventLoop::AllEvents, 20);
    EXPECT_EQ(search->ListBox1->count(), 0);
}

}  // namespace
