// The main window driving the real audio object on real sound files, through the dummy
// output device: buttons, menus by their captions, the seek and volume bars, the timers,
// the playlist box and its commands, the library menu.
#include <gtest/gtest.h>

#include <QAbstractItemView>
#include <QApplication>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QMessageBox>
#include <QScrollBar>
#include <QTest>

#include <filesystem>
#include <functional>

#include "player/app/program_folder.h"
#include "player/engine/audio_object.h"
#include "player/engine/play_state.h"
#include "player/engine/song_tags.h"
#include "player/engine/tests/qt_print.h"
#include "player/ui/main_window.h"
#include "player/ui/playlist_panel_text.h"
#include "player/ui/tests/player_window_fixture.h"
#include "soundlib/net/tests/stream_server.h"
#include "soundlib/soundlib.h"
#include "testing/file_size_limit.h"
#include "testing/modal_window.h"
#include "testing/temp_dir.h"
#include "testing/wav_fixture.h"

namespace {

namespace fs = std::filesystem;
using testing_support::catchMessage;
using testing_support::findItem;
using testing_support::q;
using testing_support::whenShown;

const fs::path kFixtures = PLAYER_FIXTURES_DIR;

// Answers the next file dialog with these paths (one folder for a folder dialog).
void chooseInDialog(const QStringList& paths) {
    whenShown<QFileDialog>([paths](QFileDialog* dialog) {
        if (dialog->fileMode() == QFileDialog::Directory) {
            dialog->setDirectory(paths.first());
        } else if (dialog->acceptMode() == QFileDialog::AcceptSave) {
            // Typed, as a person gives a new name: typing in the name field drops what the
            // list had selected, which would otherwise win over the typed name.
            dialog->setDirectory(QFileInfo(paths.first()).absolutePath());
            for (auto* view : dialog->findChildren<QAbstractItemView*>()) view->clearSelection();
            dialog->findChild<QLineEdit*>("fileNameEdit")
                ->setText(QFileInfo(paths.first()).fileName());
        } else {
            dialog->setDirectory(QFileInfo(paths.first()).absolutePath());
            QStringList names;
            for (const QString& path : paths) names << '"' + QFileInfo(path).fileName() + '"';
            dialog->selectFile(paths.size() == 1 ? QFileInfo(paths.first()).fileName()
                                                 : names.join(' '));
        }
        static_cast<QDialog*>(dialog)->accept();
    });
}

struct PlayerWindowTest : testing_support::PlayerWindowFixture {
    // A key pressed with the focus on `focus`, through the window as the keyboard sends it.
    void press(QWidget* focus, Qt::Key key) {
        QApplication::setActiveWindow(&form);
        focus->setFocus();
        QTest::keyClick(form.windowHandle(), key, Qt::ControlModifier);
    }
    static void click(QWidget* button) { QTest::mouseClick(button, Qt::LeftButton, {}, {9, 9}); }
    static bool shows(TBitmapSkinPart* button, const ImageList& list, int glyph) {
        return button->Glyph() == list.GetBitmap(glyph, button->TransparentColor());
    }
    QString status() {
        form.Timer1Timer();
        return form.Label2->text();
    }
    int channelVolume() const {
        uint32_t volume = 0;
        BASS_ChannelGetAttributes(audio.Channel, nullptr, &volume, nullptr);
        return static_cast<int>(volume);
    }
};

TEST_F(PlayerWindowTest, PlayButtonActsByStateAndStopFreesTheChannel) {
    EXPECT_EQ(status(), "Не готов");
    const QImage before = form.BitmapSkinPart2->Glyph();
    click(form.BitmapSkinPart2);
    EXPECT_EQ(audio.PlayState, TransportState::NotReady);
    EXPECT_EQ(form.BitmapSkinPart2->Glyph(), before);
    trigger(form.PopupMenu5, {"Плейер", "Проиграть/приостановить"});
    trigger(form.PopupMenu2, {"Плейер", "Проиграть/Приостановить"});
    EXPECT_EQ(audio.PlayState, TransportState::NotReady);

    const QString tune = file("tune.mod", "tune.mod");
    add({tune, file("first.mp3", "first.mp3")});
    EXPECT_EQ(status(), "Воспроизведение");
    EXPECT_TRUE(shows(form.BitmapSkinPart2, form.ImageList1, 2));
    EXPECT_NEAR(form.TrackBarEx1->maximum(), 7680, 30);
    EXPECT_EQ(form.Label26->text(), "0:00:07");

    // Pressing shows the pressed glyph of the state; the click pauses.
    QTest::mousePress(form.BitmapSkinPart2, Qt::LeftButton, {}, {9, 9});
    EXPECT_TRUE(shows(form.BitmapSkinPart2, form.ImageList1, 3));
    QTest::mouseRelease(form.BitmapSkinPart2, Qt::LeftButton, {}, {9, 9});
    EXPECT_EQ(status(), "Приостановлено");
    EXPECT_EQ(BASS_ChannelIsActive(audio.Channel), SOUND_ACTIVE_PAUSED);
    EXPECT_TRUE(shows(form.BitmapSkinPart2, form.ImageList1, 0));
    QTest::mousePress(form.BitmapSkinPart2, Qt::LeftButton, {}, {9, 9});
    EXPECT_TRUE(shows(form.BitmapSkinPart2, form.ImageList1, 1));
    QTest::mouseRelease(form.BitmapSkinPart2, Qt::LeftButton, {}, {9, 9});
    EXPECT_EQ(status(), "Воспроизведение");
    EXPECT_TRUE(shows(form.BitmapSkinPart2, form.ImageList1, 2));

    // Stop: the stream is freed, the position and levels read as 0.
    const uint32_t stopped = audio.Channel;
    QTest::qWait(300);
    click(form.BitmapSkinPart3);
    EXPECT_EQ(status(), "Остановлено");
    EXPECT_EQ(audio.Channel, 0u);
    EXPECT_EQ(BASS_ChannelIsActive(stopped), SOUND_ACTIVE_STOPPED);
    EXPECT_EQ(BASS_ChannelGetPosition(stopped), -1);  // no longer a channel
    EXPECT_EQ(form.TrackBarEx1->value(), 0);
    EXPECT_TRUE(shows(form.BitmapSkinPart2, form.ImageList1, 0));
    EXPECT_TRUE(shows(form.BitmapSkinPart3, form.ImageList2, 0));
    form.Timer2Timer();
    EXPECT_EQ(form.Label27->text(), "0:00:00");
    EXPECT_EQ(form.ProgressBar1->value(), 0);
    EXPECT_EQ(form.ProgressBar2->value(), 0);

    // Play after stop starts the same source from its beginning.
    click(form.BitmapSkinPart2);
    EXPECT_EQ(audio.PlayState, TransportState::Playing);
    EXPECT_EQ(audio.GetSourcePath(), tune);
    EXPECT_LT(audio.GetPosition(), 200);
    EXPECT_TRUE(shows(form.BitmapSkinPart2, form.ImageList1, 2));
    trigger(form.PopupMenu2, {"Плейер", "Остановить"});
    EXPECT_EQ(audio.PlayState, TransportState::Stopped);
    EXPECT_EQ(audio.Channel, 0u);
}

TEST_F(PlayerWindowTest, StepButtonsMenusAndTheEndOfATrack) {
    const QStringList files = {file("tune.mod", "tune.mod"), file("first.mp3", "first.mp3"),
                               file("plain.mp3", "Song.mp3")};
    add(files);
    ASSERT_EQ(audio.GetCurrentIndex(), 0);

    QTest::mousePress(form.BitmapSkinPart6, Qt::LeftButton, {}, {9, 9});
    EXPECT_TRUE(shows(form.BitmapSkinPart6, form.ImageList3, 3));
    QTest::mouseRelease(form.BitmapSkinPart6, Qt::LeftButton, {}, {9, 9});
    EXPECT_TRUE(shows(form.BitmapSkinPart6, form.ImageList3, 2));
    EXPECT_EQ(audio.GetCurrentIndex(), 1);
    EXPECT_EQ(form.ListBox1->currentRow(), 1);
    click(form.BitmapSkinPart5);
    click(form.BitmapSkinPart5);
    EXPECT_TRUE(shows(form.BitmapSkinPart5, form.ImageList3, 0));
    EXPECT_EQ(audio.GetSourcePath(), files[2]);  // from the first entry to the last
    trigger(form.PopupMenu5, {"Плейер", "Следующая"});
    EXPECT_EQ(audio.GetCurrentIndex(), 0);
    trigger(form.PopupMenu2, {"Плейер", "Предыдущая дорожка"});
    EXPECT_EQ(audio.GetCurrentIndex(), 2);
    trigger(form.PopupMenu2, {"Плейер", "Следующая дорожка"});
    EXPECT_EQ(audio.GetCurrentIndex(), 0);

    // The status tick moves on once the seek bar is within 40 ms of its end.
    form.TrackBarEx1->setMaximum(100'000);
    form.TrackBarEx1->setValue(99'959);
    form.Timer1Timer();
    EXPECT_EQ(audio.GetCurrentIndex(), 0);
    form.TrackBarEx1->setValue(99'960);
    form.Timer1Timer();
    EXPECT_EQ(audio.GetCurrentIndex(), 1);

    // With the real timers, a short song runs out and the next one starts by itself.
    click(form.BitmapSkinPart6);
    ASSERT_EQ(audio.GetSourcePath(), files[2]);
    form.Timer1->start();
    form.Timer2->start();
    QTest::qWait(1500);
    EXPECT_EQ(audio.GetSourcePath(), files[0]);
    EXPECT_EQ(audio.PlayState, TransportState::Playing);
    EXPECT_NE(form.Label27->text(), "");
    EXPECT_FALSE(form.Label24->text().isEmpty());
}

TEST_F(PlayerWindowTest, SeekBarSeeksInEveryStateAndShowsSeekingWhileDragged) {
    add({file("tune.mod", "tune.mod")});
    const int maximum = form.TrackBarEx1->maximum();
    ASSERT_GT(maximum, 7000);
    struct Case {
        const char* name;
        std::function<void()> before;
    };
    for (const Case& c : {Case{"playing", [] {}}, Case{"paused", [this] { audio.Pause(); }},
                          Case{"stopped", [this] { form.StopPlayback(); }}}) {
        SCOPED_TRACE(c.name);
        if (audio.Channel == 0) audio.PlaySource(audio.GetSourcePath());
        c.before();
        QWidget* bar = form.TrackBarEx1;
        const int y = bar->height() / 2;
        QTest::mousePress(bar, Qt::LeftButton, {}, {bar->width() / 2, y});
        EXPECT_TRUE(form.SeekDragging);
        EXPECT_FALSE(form.Timer2->isActive());
        QMouseEvent move(QEvent::MouseMove, QPointF(bar->width() * 3 / 4, y),
                         bar->mapToGlobal(QPointF(bar->width() * 3 / 4, y)), Qt::NoButton,
                         Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(bar, &move);
        const int target = form.TrackBarEx1->value();
        EXPECT_NEAR(target, maximum * 3 / 4, maximum / 10);
        EXPECT_EQ(form.Label27->text(), QString("0:00:0%1").arg(target / 1000));
        EXPECT_EQ(status(), "Поиск");
        QTest::mouseRelease(bar, Qt::LeftButton, {}, {bar->width() * 3 / 4, y});
        EXPECT_FALSE(form.SeekDragging);
        EXPECT_TRUE(form.Timer2->isActive());
        // The state is true: the source sounds from the released position, also when it
        // was paused, or stopped with its channel dropped.
        EXPECT_EQ(status(), "Воспроизведение");
        EXPECT_TRUE(shows(form.BitmapSkinPart2, form.ImageList1, 2));
        ASSERT_NE(audio.Channel, 0u);
        EXPECT_EQ(BASS_ChannelIsActive(audio.Channel), SOUND_ACTIVE_PLAYING);
        EXPECT_NEAR(audio.GetPosition(), target, 150);
        QTest::qWait(300);
        EXPECT_GT(audio.GetPosition(), target + 100);
        form.Timer2->stop();
    }

    // With nothing to play, a drag leaves the state it began in.
    audio.DropChannel();
    audio.SourcePath.clear();
    audio.Stop();
    QWidget* bar = form.TrackBarEx1;
    QTest::mousePress(bar, Qt::LeftButton, {}, {bar->width() / 2, bar->height() / 2});
    audio.PlayState = TransportState::Seeking;
    QTest::mouseRelease(bar, Qt::LeftButton, {}, {bar->width() / 2, bar->height() / 2});
    EXPECT_EQ(status(), "Остановлено");
    audio.SourcePath = audio.GetEntryFile(0);

    // Forward and backward seeks stay within the track.
    audio.PlaySource(audio.GetSourcePath());
    audio.SetPosition(5'000);
    trigger(form.PopupMenu5, {"Плейер", "Перемотать вперед"});
    EXPECT_GE(audio.GetPosition(), maximum - 100);
    EXPECT_LE(audio.GetPosition(), maximum + 50);
    audio.SetPosition(3'000);
    trigger(form.PopupMenu2, {"Плейер", "Перемотать назад"});
    EXPECT_LT(audio.GetPosition(), 100);
}

TEST_F(PlayerWindowTest, VolumeMuteAndTheToggleButtons) {
    add({file("first.mp3", "first.mp3"), file("plain.mp3", "Song.mp3")});
    form.TrackBar1->setValue(37);
    EXPECT_EQ(form.Label25->text(), "Громкость 37");
    EXPECT_EQ(form.SavedVolume, 37);
    EXPECT_EQ(channelVolume(), 37);
    BASS_SetVolume(80);
    click(form.BitmapSkinPart1);
    EXPECT_EQ(BASS_GetVolume(), 0);
    EXPECT_TRUE(shows(form.BitmapSkinPart1, form.ImageList3, 5));
    EXPECT_FALSE(form.SoundOn);
    click(form.BitmapSkinPart1);
    // The slider's volume stays on the channel: the output comes back whole, so the song
    // is as loud as before muting.
    EXPECT_EQ(BASS_GetVolume(), 100);
    EXPECT_EQ(channelVolume(), 37);
    EXPECT_TRUE(shows(form.BitmapSkinPart1, form.ImageList3, 4));
    EXPECT_TRUE(form.SoundOn);
    click(form.BitmapSkinPart6);  // a new channel gets the volume again
    EXPECT_EQ(channelVolume(), 37);

    // Shuffle flips the audio object's switch with its glyph.
    QTest::mousePress(form.BitmapSkinPart8, Qt::LeftButton, {}, {9, 9});
    EXPECT_TRUE(shows(form.BitmapSkinPart8, form.ImageList4, 3));
    QTest::mouseRelease(form.BitmapSkinPart8, Qt::LeftButton, {}, {9, 9});
    EXPECT_TRUE(audio.Shuffle);
    EXPECT_TRUE(shows(form.BitmapSkinPart8, form.ImageList4, 3));
    click(form.BitmapSkinPart8);
    EXPECT_FALSE(audio.Shuffle);
    EXPECT_TRUE(shows(form.BitmapSkinPart8, form.ImageList4, 2));

    // Lyrics: the memo shows the song's words and hides again.
    audio.Lyrics = "first line\nsecond line";
    click(form.BitmapSkinPart9);
    EXPECT_TRUE(form.LyricsShown);
    EXPECT_TRUE(form.Memo1->isVisible());
    EXPECT_EQ(form.Memo1->toPlainText(), audio.Lyrics);
    EXPECT_TRUE(shows(form.BitmapSkinPart9, form.ImageList5, 1));
    click(form.BitmapSkinPart9);
    EXPECT_FALSE(form.Memo1->isVisible());
    EXPECT_TRUE(shows(form.BitmapSkinPart9, form.ImageList5, 0));

    // The playlist button: any other width collapses to 565, then 840 and back.
    ASSERT_EQ(form.width(), 854);
    std::vector<int> widths;
    for (int i = 0; i < 3; ++i) {
        QTest::mousePress(form.BitmapSkinPart7, Qt::LeftButton, {}, {9, 9});
        EXPECT_TRUE(shows(form.BitmapSkinPart7, form.ImageList6, form.width() == 565 ? 3 : 1));
        QTest::mouseRelease(form.BitmapSkinPart7, Qt::LeftButton, {}, {9, 9});
        EXPECT_TRUE(shows(form.BitmapSkinPart7, form.ImageList6, form.width() == 565 ? 2 : 0));
        widths.push_back(form.width());
    }
    EXPECT_EQ(widths, (std::vector<int>{565, 840, 565}));

    // The audio settings button hides the panel and shortens the window, then undoes it.
    click(form.BitmapSkinPart11);
    EXPECT_EQ(form.height(), 192);
    EXPECT_TRUE(form.Panel1->isHidden());
    EXPECT_TRUE(shows(form.BitmapSkinPart11, form.ImageList6, 6));
    QTest::mousePress(form.BitmapSkinPart11, Qt::LeftButton, {}, {9, 9});
    EXPECT_TRUE(shows(form.BitmapSkinPart11, form.ImageList6, 7));
    QTest::mouseRelease(form.BitmapSkinPart11, Qt::LeftButton, {}, {9, 9});
    EXPECT_EQ(form.height(), 480);
    EXPECT_FALSE(form.Panel1->isHidden());
    EXPECT_TRUE(shows(form.BitmapSkinPart11, form.ImageList6, 7));
}

TEST_F(PlayerWindowTest, RowsAreDrawnCutNumberedBoldWithTheirLengths) {
    const QString longTitle = QString(28, QLatin1Char('W')) + "XYZ";  // 31 characters
    audio.Playlist.AddEntry("/a.mp3", longTitle, 0);
    audio.Playlist.AddEntry("/b.mp3", QString(28, QLatin1Char('W')) + "...", 0);
    audio.Playlist.AddEntry("/c.mp3", "Intro", 3'723'000);
    audio.Playlist.AddEntry("/d.mp3", "Intro", 0);
    audio.Playlist.AddEntry("/e.mp3", "1 - Intro", 0);
    audio.Playlist.AddEntry("/f.mp3", QString(30, QLatin1Char('W')), 25LL * 3'600'000 - 3'723'000);
    audio.CurrentIndex = -1;
    form.RefreshPlaylistView();
    EXPECT_EQ(form.Label35->text(), "Общее время: 01:00:00 Всего песен: 6");
    ASSERT_EQ(form.ListBox1->count(), 6);
    EXPECT_EQ(form.ListBox1->rowRect(0).height(), 13);
    form.ListBox1->setCurrentRow(-1);
    form.ListBox1->clearFocus();

    const auto row = [this](int index, QRect part = {}) {
        QApplication::processEvents();
        const QRect r = form.ListBox1->rowRect(index);
        const QRect cut = part.isNull() ? r : part.translated(0, r.top());
        return form.ListBox1->viewport()->grab(cut).toImage();
    };
    const int width = form.ListBox1->width();
    const QRect titlePart(0, 0, width - 62, 13), lengthPart(width - 61, 0, 50, 13);
    // A 31-character title is drawn as its first 28 characters and "...".
    EXPECT_EQ(row(0), row(1));
    // The length sits at the right: the same title with another length differs only there.
    EXPECT_EQ(row(2, titlePart), row(3, titlePart));
    EXPECT_NE(row(2, lengthPart), row(3, lengthPart));
    EXPECT_EQ(row(3, lengthPart), row(4, lengthPart));
    // Row 3 numbered reads "4 - Intro"; row 0 numbered reads as a title "1 - Intro".
    const QImage plainFirst = row(4);
    form.ListBox1Rows->SetNumbered(true);
    form.ListBox1->viewport()->update();
    const QImage numberedFirst = row(3);
    EXPECT_NE(numberedFirst, row(4));
    form.ListBox1Rows->SetNumbered(false);
    audio.Playlist.RemoveAt(4);
    audio.Playlist.AddEntry("/e.mp3", "4 - Intro", 0);
    form.RefreshPlaylistView();
    form.ListBox1->setCurrentRow(-1);
    EXPECT_EQ(numberedFirst, row(5));
    EXPECT_NE(plainFirst, row(5));
    // The current entry is bold: the same text with more ink.
    const QImage regular = row(3);
    audio.CurrentIndex = 3;
    form.RepaintPlaylist();
    const QImage bold = row(3);
    const auto ink = [](const QImage& image) {
        int white = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x) white += qGray(image.pixel(x, y)) > 240;
        return white;
    };
    EXPECT_GT(ink(bold), ink(regular));
    EXPECT_EQ(regular.pixel(1, 1), QColor(0xA6, 0xCA, 0xF0).rgb());
}

TEST_F(PlayerWindowTest, LongTitlesEndBeforeTheLengthAndTheTotalsLineIsWhole) {
    // Wide letters: 29 of them pass the 30-character rule but not the column.
    const QString wide = QString(29, QChar(0x0416));  // Ж
    audio.Playlist.AddEntry("/wide.mp3", wide, 61'000);
    audio.Playlist.AddEntry("/none.mp3", QString(), 61'000);
    for (int i = 0; i < 998; ++i) audio.Playlist.AddEntry(QString("/%1.mp3").arg(i), "x", 600'000);
    audio.CurrentIndex = -1;
    form.RefreshPlaylistView();
    form.ListBox1->setCurrentRow(-1);
    form.ListBox1->clearFocus();
    QApplication::processEvents();

    // The totals line of a thousand entries fits its label whole.
    EXPECT_EQ(form.Label35->text(), "Общее время: 22:22:02 Всего песен: 1000");
    EXPECT_LE(QFontMetrics(form.Label35->font()).horizontalAdvance(form.Label35->text()),
              form.Label35->width());

    const auto row = [this](int index, QRect part) {
        const QRect r = form.ListBox1->rowRect(index);
        return form.ListBox1->viewport()->grab(part.translated(0, r.top())).toImage();
    };
    const int width = form.ListBox1->width();
    // Nothing of the title reaches into the length column or the gap before it.
    const QRect lengthPart(width - 64, 0, 54, 13);
    EXPECT_EQ(row(0, lengthPart), row(1, lengthPart));
    const QString drawn =
        playlist_panel_text::FitWidth(wide, form.ListBox1->fontMetrics(), width - 60 - 4 - 5);
    EXPECT_TRUE(drawn.endsWith("...")) << drawn.toStdString();
    EXPECT_LT(drawn.size(), wide.size() + 3);

    // Many rows scroll up and down, never sideways.
    EXPECT_EQ(form.ListBox1->horizontalScrollBar()->maximum(), 0);
    EXPECT_FALSE(form.ListBox1->horizontalScrollBar()->isVisible());
    form.ListBox1->scrollToBottom();
    EXPECT_GT(form.ListBox1->verticalScrollBar()->value(), 0);

    // The rule itself: whole when it fits, else cut with "...", never wider than asked.
    const QFontMetrics metrics(form.ListBox1->font());
    EXPECT_EQ(playlist_panel_text::FitWidth("Intro", metrics, 200), "Intro");
    for (const int pixels : {1, metrics.horizontalAdvance("..."), 40, 120}) {
        const QString fitted = playlist_panel_text::FitWidth(wide, metrics, pixels);
        EXPECT_LE(metrics.horizontalAdvance(fitted), pixels) << pixels;
    }
    EXPECT_EQ(playlist_panel_text::FitWidth(wide, metrics, 1), "");
}

TEST_F(PlayerWindowTest, DeletingStopsOnlyThePlayingEntry) {
    add({file("tune.mod", "tune.mod"), file("first.mp3", "first.mp3")});
    // No selection: nothing happens.
    form.ListBox1->setCurrentRow(-1);
    trigger(form.PopupMenu1, {"Удалить из списка"});
    EXPECT_EQ(audio.EntryCount(), 2);

    // A paused entry is removed without stopping.
    audio.Pause();
    form.ListBox1->setCurrentRow(0);
    trigger(form.PopupMenu1, {"Удалить из списка"});
    EXPECT_EQ(audio.EntryCount(), 1);
    EXPECT_EQ(audio.PlayState, TransportState::Paused);
    EXPECT_NE(audio.Channel, 0u);
    EXPECT_EQ(form.ListBox1->count(), 1);

    // The playing entry stops first.
    audio.PlayEntry(0);
    form.ListBox1->setCurrentRow(0);
    press(form.ListBox1, Qt::Key_D);
    EXPECT_EQ(audio.EntryCount(), 0);
    EXPECT_EQ(audio.PlayState, TransportState::Stopped);
    EXPECT_EQ(audio.Channel, 0u);
    EXPECT_TRUE(shows(form.BitmapSkinPart2, form.ImageList1, 0));
    EXPECT_EQ(form.Label35->text(), "Общее время: 00:00:00 Всего песен: 0");
}

TEST_F(PlayerWindowTest, OpenFilesFoldersAndDoubleClicks) {
    const QString a = file("first.mp3", "a.mp3"), b = file("plain.mp3", "b.mp3");
    chooseInDialog({a, b});
    trigger(form.PopupMenu5, {"Открыть файл..."});
    ASSERT_EQ(audio.EntryCount(), 2);
    EXPECT_EQ(form.ListBox1->text(0), "First Song");
    EXPECT_EQ(audio.PlayState, TransportState::Playing);
    EXPECT_EQ(form.Label34->text(), "Default");

    // A cancelled dialog still rebuilds the view.
    whenShown<QFileDialog>([](QFileDialog* dialog) { dialog->reject(); });
    trigger(form.PopupMenu1, {"Добавить к списку..."});
    EXPECT_EQ(form.ListBox1->count(), 2);

    // A folder: its playable files are added; a folder named like a song is not.
    const fs::path folder = dir / "folder";
    fs::create_directories(folder / "Best.mp3");
    fs::copy_file(kFixtures / "tone.ogg", folder / "c.ogg");
    testing_support::writeFile(folder / "notes.txt", "x");
    chooseInDialog({q(folder)});
    trigger(form.PopupMenu1, {"Добавить папку..."});
    ASSERT_EQ(audio.EntryCount(), 3);
    EXPECT_EQ(audio.GetEntryFile(2), q(folder / "c.ogg"));
    EXPECT_EQ(audio.GetCurrentIndex(), 2);
    EXPECT_EQ(form.ListBox1->count(), 3);

    // A file sent again plays its own entry; a name differing only in case is another file.
    add({b});
    EXPECT_EQ(audio.EntryCount(), 3);
    EXPECT_EQ(audio.GetCurrentIndex(), 1);
    EXPECT_EQ(audio.GetSourcePath(), b);
    const QString upper = file("plain.mp3", "B.mp3");
    add({upper, b});
    ASSERT_EQ(audio.EntryCount(), 4);
    EXPECT_EQ(audio.GetEntryFile(3), upper);
    EXPECT_EQ(audio.GetSourcePath(), upper);  // something was added: the first new entry
    audio.DeleteEntry(3);
    form.RefreshPlaylistView();

    // A double-click plays the row.
    const QRect second = form.ListBox1->rowRect(1);
    QTest::mouseClick(form.ListBox1->viewport(), Qt::LeftButton, {}, second.center());
    QTest::mouseDClick(form.ListBox1->viewport(), Qt::LeftButton, {}, second.center());
    EXPECT_EQ(audio.GetCurrentIndex(), 1);
    EXPECT_EQ(audio.GetSourcePath(), b);
}

TEST_F(PlayerWindowTest, PlaylistsAreLoadedSortedSavedAndCleared) {
    const QString a = file("first.mp3", "a.mp3"), b = file("second.mp3", "b.mp3");
    testing_support::writeFile(dir / "lists" / "mine.pls",
                               "[playlist]\nFile1=../b.mp3\nTitle1=Zeta\nLength1=1000\n"
                               "File2=../a.mp3\nTitle2=Alpha\nLength2=2000\nNumberOfEntries=2\n");
    chooseInDialog({q(dir / "lists" / "mine.pls")});
    trigger(form.PopupMenu1, {"Загрузить список..."});
    EXPECT_EQ(form.Label34->text(), "Текущий список: mine");
    ASSERT_EQ(form.ListBox1->count(), 2);
    EXPECT_EQ(audio.GetEntryFile(0), b);                   // relative to the list's folder
    EXPECT_EQ(audio.PlayState, TransportState::NotReady);  // loading does not play

    audio.PlayEntry(1);  // "First Song", shown as "Alpha"
    audio.Title = "Alpha";
    trigger(form.PopupMenu1, {"Сортировать", "По названию"});
    EXPECT_EQ(form.ListBox1->text(0), "Alpha");
    EXPECT_EQ(audio.GetCurrentIndex(), 0);

    // M3U names, no overwrite prompt, the last name kept by the dialog. A name typed again
    // is one no other file begins with, so the dialog's completion cannot lengthen it.
    for (const auto& [chosen, written] :
         std::initializer_list<std::pair<const char*, const char*>>{{"mix", "mix.m3u"},
                                                                    {"mix.M3U", "mix.M3U"},
                                                                    {"mix.txt", "mix.txt.m3u"},
                                                                    {"mix.M3U", "mix.M3U"}}) {
        chooseInDialog({q(dir / chosen)});
        trigger(form.PopupMenu1, {"Сохранить список", "M3U"});
        EXPECT_TRUE(fs::exists(dir / written)) << written;
        EXPECT_EQ(form.SaveDialog1->selectedFiles().value(0), q(dir / chosen));
    }
    EXPECT_NE(testing_support::readFile(dir / "mix.m3u").find("#EXTINF:2000,Alpha"),
              std::string::npos);
    chooseInDialog({q(dir / "saved")});
    trigger(form.PopupMenu1, {"Сохранить список", "PLS"});
    EXPECT_NE(testing_support::readFile(dir / "saved.pls").find("Title1=Alpha"), std::string::npos);

    // A save that cannot be written says so.
    {
        const testing_support::FileSizeLimit full(16);
        chooseInDialog({q(dir / "full.pls")});
        const auto message = catchMessage();
        trigger(form.PopupMenu1, {"Сохранить список", "PLS"});
        EXPECT_EQ(*message, "Не удалось сохранить список воспроизведения");
    }

    trigger(form.PopupMenu1, {"Очистить список"});
    EXPECT_EQ(form.ListBox1->count(), 0);
    EXPECT_EQ(audio.EntryCount(), 0);
    EXPECT_EQ(audio.PlayState, TransportState::Stopped);
    EXPECT_TRUE(shows(form.BitmapSkinPart2, form.ImageList1, 0));
    EXPECT_EQ(form.Label35->text(), "");
    EXPECT_EQ(form.Label34->text(), "Текущий список: mine");
}

TEST_F(PlayerWindowTest, MenusHaveTheirCaptionsShortcutsAndSeparators) {
    const auto layout = [](QMenu* menu) {
        QStringList items;
        for (QAction* action : menu->actions()) {
            QString text = action->isSeparator() ? "-" : action->text();
            if (!action->shortcut().isEmpty()) text += " [" + action->shortcut().toString() + "]";
            items << text;
        }
        return items;
    };
    EXPECT_EQ(layout(form.PopupMenu1),
              QStringList({"Добавить к списку... [Ctrl+O]", "Добавить папку...",
                           "Удалить из списка [Ctrl+D]", "-", "Поиск песни... [Ctrl+F]", "-",
                           "Загрузить список...", "Сортировать", "Сохранить список",
                           "Очистить список [Ctrl+C]", "-", "Редактор тегов... [Ctrl+T]"}));
    EXPECT_EQ(layout(form.PopupMenu5),
              QStringList({"Спрятать в трей", "Открыть файл... [Ctrl+O]", "Плейер", "Справка",
                           "Настройки...", "О программе...", "Выход"}));
    EXPECT_EQ(layout(findItem(form.PopupMenu5, {"Плейер"})->menu()),
              QStringList({"Проиграть/приостановить [Ctrl+P]", "Остановить [Ctrl+S]",
                           "Предыдущая [Ctrl+B]", "Следующая [Ctrl+N]", "Перемотать вперед",
                           "Перемотать назад"}));
    EXPECT_EQ(layout(form.PopupMenu2),
              QStringList({"Показать окно", "Плейер", "Загрузить файл...", "Настройки...",
                           "Проверка обновлений...", "О программе...", "Выход", "Спрятать окно"}));
    EXPECT_EQ(layout(findItem(form.PopupMenu2, {"Плейер"})->menu()),
              QStringList({"Проиграть/Приостановить", "Остановить", "Следующая дорожка",
                           "Предыдущая дорожка", "Перемотать вперед", "Перемотать назад"}));
    EXPECT_EQ(form.PopupMenu2->defaultAction()->text(), "Показать окно");
    EXPECT_EQ(layout(form.PopupMenu4),
              QStringList({"Альбомы", "Исполнители", "Жанры", "Списки воспроизведения",
                           "Вся музыка", "-", "Открыть файл"}));

    const auto message = catchMessage();
    trigger(form.PopupMenu5, {"Справка"});
    EXPECT_EQ(*message, "No help");

    // The tray menu's update item shows the update window.
    QWidget update;
    form.UpdateWindow = &update;
    trigger(form.PopupMenu2, {"Проверка обновлений..."});
    EXPECT_TRUE(update.isVisible());
    form.UpdateWindow = nullptr;

    // The window's shortcuts reach their commands.
    add({file("tune.mod", "tune.mod")});
    press(form.TrackBar1, Qt::Key_P);
    EXPECT_EQ(audio.PlayState, TransportState::Paused);
    press(form.ListBox1, Qt::Key_S);
    EXPECT_EQ(audio.PlayState, TransportState::Stopped);
}

TEST_F(PlayerWindowTest, LibraryMenusAreSortedAndLoadTheirSongs) {
    const QString first = file("first.mp3", "first.mp3");     // Shared, Common, Rock
    const QString second = file("second.mp3", "second.mp3");  // Other (x) [y], Common, Shared
    const QString plain = file("plain.mp3", "plain.mp3");     // no tags
    add({first, second, plain});
    const auto captions = [](QMenu* menu) {
        emit menu->aboutToShow();
        QStringList names;
        for (QAction* action : menu->actions()) names << action->text();
        return names;
    };
    EXPECT_EQ(captions(form.SingersMenu),
              QStringList({"Other (x) [y]", "Shared", "Неизвестный Исполнитель"}));
    EXPECT_EQ(captions(form.AlbumsMenu), QStringList({"Common", "Неизвестный Альбом"}));
    EXPECT_EQ(captions(form.GenresMenu), QStringList({"Rock", "Shared", "Неизвестный жанр"}));

    // An artist and a genre of one name share their songs.
    trigger(form.PopupMenu4, {"Исполнители", "Shared"});
    EXPECT_EQ(audio.Playlist.Files(), QStringList({first, second}));
    EXPECT_EQ(form.ListBox1->count(), 2);
    EXPECT_EQ(audio.GetSourcePath(), first);
    trigger(form.PopupMenu4, {"Альбомы", "Неизвестный Альбом"});
    EXPECT_EQ(audio.Playlist.Files(), QStringList({plain}));

    trigger(form.PopupMenu4, {"Вся музыка"});
    EXPECT_EQ(form.ListBox1->count(), 3);
    EXPECT_EQ(audio.GetCurrentIndex(), 0);
    EXPECT_EQ(audio.PlayState, TransportState::Playing);

    // A second window built from the same index shows the same menus.
    TForm1 other;
    TAudioObject again(other, dir / "AllMusik.aml");
    again.BuildLibraryMenus();
    EXPECT_EQ(captions(other.SingersMenu), captions(form.SingersMenu));
    EXPECT_EQ(captions(other.GenresMenu), captions(form.GenresMenu));
    EXPECT_EQ(other.SingersMenu->actions().first()->icon().cacheKey(),
              other.SingersMenu->icon().cacheKey());

    // The quick-access panel opens the menu; the "Default" playlist loads and plays.
    QTest::mouseClick(form.Panel6, Qt::LeftButton, {}, {5, 5});
    EXPECT_TRUE(form.PopupMenu4->isVisible());
    form.PopupMenu4->hide();
    const QString folder = q(programDataFolder());
    const QString song = file("plain.mp3", "default song.mp3");
    testing_support::writeFile(programDataFolder() / "Default.pls",
                               "[playlist]\nFile1=" + song.toStdString() +
                                   "\nTitle1=Kept\nLength1=500\nNumberOfEntries=1\n");
    trigger(form.PopupMenu4, {"Списки воспроизведения", "Default"});
    EXPECT_EQ(QDir::currentPath(), folder);
    EXPECT_EQ(form.ListBox1->text(0), "Kept");
    EXPECT_EQ(audio.GetSourcePath(), song);
    EXPECT_EQ(form.Label34->text(), "Текущий список: Default");

    // A name too long for the screen shows cut in its item, which still loads its songs.
    const QString longName(3000, QLatin1Char('n'));
    const QString longer = file("plain.mp3", "long.mp3");
    SongTags tags;
    tags[SongTags::Field::Artist] = longName;
    ASSERT_TRUE(tags.save(longer));
    add({longer});
    emit form.SingersMenu->aboutToShow();
    QAction* longItem = form.SingersMenu->actions().first();  // N before O
    EXPECT_TRUE(longItem->text().startsWith(QStringLiteral("nnnnn")));
    EXPECT_LT(form.SingersMenu->sizeHint().width(), 800);  // narrower than a small screen
    longItem->trigger();
    EXPECT_EQ(audio.Playlist.Files(), QStringList({longer}));
}

// A loopback radio: station headers, two song titles, 16 000 bytes (one second of
// 128 kbit/s audio) a second, closing after `seconds` of audio.
std::string radioConfig(int seconds, const fs::path& log) {
    return R"({"mode": "icy", "body": ")" ZORVAN_NET_TONE
           R"(", "loop": true, "metaint": 1024, "rate": 16000, "total": )" +
           std::to_string(seconds * 16000) + R"(, "timeout": 120, "log": ")" + log.string() +
           R"(", "titles": [{"at": 0, "text": "StreamTitle='Night Song';"},
                            {"at": 160000, "text": "StreamTitle='Morning Song';"}]})";
}

int requestsIn(const fs::path& log) {
    const std::string text = testing_support::readFile(log);
    int count = 0;
    for (std::size_t at = text.find("GET "); at != std::string::npos;
         at = text.find("GET ", at + 1))
        ++count;
    return count;
}

TEST_F(PlayerWindowTest, RadioAfterAFilePlaysOnAtTheSlidersVolumeAndMovesOnAtItsEnd) {
    using soundlib::net::testing::StreamServer;
    const fs::path log = dir / "requests.log";
    const StreamServer radio(radioConfig(36, log));
    const QString address = QString::fromStdString(radio.url("/live.mp3"));
    writeSineWav(dir / "five.wav", 5.0);
    const QString five = q(dir / "five.wav");
    form.TrackBar1->setValue(37);
    form.Timer1->start();
    form.Timer2->start();
    add({five, address});
    ASSERT_EQ(audio.GetSourcePath(), five);
    EXPECT_EQ(form.TrackBarEx1->maximum(), 5000);

    // The file runs out and the radio follows; the window says it is connecting first.
    ASSERT_TRUE(QTest::qWaitFor([&] { return audio.GetSourcePath() == address; }, 8000));
    EXPECT_EQ(form.TrackBarEx1->maximum(), 0);
    ASSERT_TRUE(QTest::qWaitFor([&] { return audio.Channel != 0; }, 5000));
    const std::uint32_t live = audio.Channel;
    QTest::qWait(300);
    EXPECT_EQ(form.Label2->text(), "Воспроизведение");
    EXPECT_TRUE(shows(form.BitmapSkinPart2, form.ImageList1, 2));
    EXPECT_EQ(form.Label3->text(), "Freequency: 44100Hz 16 bits Stereo");
    EXPECT_EQ(form.Label28->text(), "Исполнитель: Loop Radio");
    EXPECT_EQ(form.Label29->text(), "Название: Night Song");
    EXPECT_EQ(form.Label31->text(), "Год: ");
    EXPECT_EQ(channelVolume(), 37);  // as loud as a file at the same slider position
    EXPECT_EQ(form.ListBox1->text(1), "Loop Radio http://radio.test/ - Night Song");

    // Thirty seconds on the one connection, the song title following the stream.
    QTest::qWait(30'000);
    EXPECT_EQ(audio.Channel, live);
    EXPECT_EQ(audio.GetSourcePath(), address);
    EXPECT_EQ(BASS_ChannelIsActive(live), SOUND_ACTIVE_PLAYING);
    EXPECT_EQ(form.Label29->text(), "Название: Morning Song");
    EXPECT_EQ(requestsIn(log), 2);  // the entry's title, then the one stream

    // The server closes: the sound library reports the end and the next entry plays.
    EXPECT_TRUE(QTest::qWaitFor([&] { return audio.GetSourcePath() == five; }, 15'000));
    EXPECT_EQ(audio.PlayState, TransportState::Playing);
}

TEST_F(PlayerWindowTest, SilentServerLeavesTheWindowAnsweringAndEndsAsUnknownHost) {
    using soundlib::net::testing::StreamServer;
    const StreamServer silent(R"({"mode": "silent", "timeout": 60})");
    BASS_SetConfig(SOUND_CONFIG_NET_TIMEOUT, 2000);
    form.Timer1->start();
    QElapsedTimer clock;
    qint64 last = 0, longestGap = 0;
    QTimer tick;
    QObject::connect(&tick, &QTimer::timeout, [&] {
        longestGap = std::max(longestGap, clock.elapsed() - last);
        last = clock.elapsed();
    });
    clock.start();
    tick.start(20);
    add({QString::fromStdString(silent.url("/never.mp3"))});
    QTest::qWait(300);
    EXPECT_EQ(form.Label2->text(), "Соединение...");
    ASSERT_TRUE(QTest::qWaitFor([&] { return !audio.Connecting(); }, 10'000));
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return form.ListBox1->count() == 1 && form.ListBox1->text(0) == "Unknown Host"; },
        10'000));
    QTest::qWait(300);
    EXPECT_LT(longestGap, 150);
    EXPECT_EQ(form.Label2->text(), "Остановлено");
    EXPECT_TRUE(shows(form.BitmapSkinPart2, form.ImageList1, 0));
    BASS_SetConfig(SOUND_CONFIG_NET_TIMEOUT, 5000);
}

TEST_F(PlayerWindowTest, HttpsLinesOfAPlaylistAreAddresses) {
    testing_support::writeFile(dir / "radio.pls",
                               "[playlist]\nFile1=HTTPS://127.0.0.1:9/secure.mp3\n"
                               "Title1=Secure\nNumberOfEntries=1\n");
    audio.LoadPlaylistFile(q(dir / "radio.pls"), true);
    form.RefreshPlaylistView();
    ASSERT_EQ(audio.GetEntryFile(0), "HTTPS://127.0.0.1:9/secure.mp3");
    audio.PlayEntry(0);
    // Opened as a stream: connecting, no position, no tags of a file read.
    EXPECT_TRUE(audio.Connecting());
    EXPECT_EQ(form.TrackBarEx1->maximum(), 0);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !audio.Connecting(); }, 10'000));
    EXPECT_EQ(audio.PlayState, TransportState::Stopped);  // nothing listens there
}

}  // namespace
