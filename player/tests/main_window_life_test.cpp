#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QDropEvent>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QMessageBox>
#include <QMimeData>
#include <QTest>
#include <QTimer>
#include <QUrl>
#include <chrono>
#include <cstdlib>
#include <functional>

#include "player/app/program_folder.h"
#include "player/app/settings_store.h"
#include "player/engine/audio_object.h"
#include "player/engine/play_state.h"
#include "player/main_window_life.h"
#include "player/ui/effects_window.h"
#include "player/ui/main_window.h"
#include "player/ui/save_failure_box.h"
#include "testing/file_size_limit.h"
#include "testing/modal_window.h"
#include "testing/qt_path.h"
#include "testing/temp_dir.h"
#include "testing/wav_fixture.h"

using testing_support::q;
using testing_support::readFile;
using testing_support::writeFile;

namespace {

class MainWindowLifeTest : public ::testing::Test {
protected:
    std::filesystem::path folder = programDataFolder();
    testing_support::TempDir music;
    std::filesystem::path a = music / "a.wav", b = music / "b.wav", c = music / "c.wav";

    void SetUp() override {
        std::filesystem::remove_all(folder);
        std::filesystem::create_directories(folder);
        std::filesystem::remove(SettingsStore::defaultPath());
        for (const auto& f : {a, b, c}) writeSineWav(f, 0.5);
    }

    void savePlaylist(const std::vector<std::filesystem::path>& files) {
        std::string pls = "[playlist]\n";
        for (std::size_t i = 0; i < files.size(); ++i) {
            const auto n = std::to_string(i + 1);
            pls += "File" + n + "=" + files[i].string() + "\nTitle" + n + "=" +
                   files[i].stem().string() + "\nLength" + n + "=500\n";
        }
        pls += "NumberOfEntries=" + std::to_string(files.size()) + "\nVersion=2\n";
        writeFile(folder / "Default.pls", pls);
    }
};

}  // namespace

TEST_F(MainWindowLifeTest, StartsWithoutSavedPlaylistInTheDataFolderAndNotReady) {
    TForm1 form;
    MainWindowLife life(form);
    ASSERT_TRUE(life.FormCreate({}));
    EXPECT_EQ(life.Audio()->EntryCount(), 0);
    EXPECT_EQ(life.Audio()->PlayState, TransportState::NotReady);
    EXPECT_EQ(std::filesystem::current_path(), folder);
    EXPECT_TRUE(form.acceptDrops());
    EXPECT_EQ(AudioObject, life.Audio());

    // A fresh user's settings, as the windows show them.
    EXPECT_EQ(form.TrackBar1->value(), 50);
    EXPECT_EQ(form.TrackBar11->value(), 19) << "the depth the default preset sets";
    EXPECT_FALSE(form.CheckBox1->isChecked());
    EXPECT_EQ(form.Label37->text(), QString::fromUtf8("По умолчанию"));
    form.Form5->FormCreate();
    for (QCheckBox* box : form.EffectSwitches()) EXPECT_FALSE(box->isChecked());
    const auto scrollBar = [&](std::size_t n) { return form.Form5->ScrollBars[n - 1]->value(); };
    EXPECT_EQ(scrollBar(2), 25) << "chorus depth";
    EXPECT_EQ(scrollBar(5), 1) << "chorus waveform";
    EXPECT_EQ(scrollBar(8), 60) << "compression gain";
    EXPECT_EQ(scrollBar(35), 1000) << "reverb time";
}

TEST_F(MainWindowLifeTest, StartRemovesWhatInterruptedSavesLeftBehind) {
    const std::vector<std::filesystem::path> stale = {
        folder / ".Default.pls.0123456789abcdef", folder / ".AllMusik.aml.fedcba9876543210",
        SettingsStore::defaultPath().parent_path() / ".Zorvan.ini.00000000deadbeef"};
    const std::vector<std::filesystem::path> others = {folder / ".Default.pls.mine",
                                                       folder / "Default.pls.0123456789abcdef",
                                                       folder / ".Other.pls.0123456789abcdef"};
    for (const auto& file : stale) writeFile(file, "cut short");
    for (const auto& file : others) writeFile(file, "not ours");
    TForm1 form;
    MainWindowLife life(form);
    ASSERT_TRUE(life.FormCreate({}));
    for (const auto& file : stale) EXPECT_FALSE(std::filesystem::exists(file)) << file;
    for (const auto& file : others) EXPECT_TRUE(std::filesystem::exists(file)) << file;
}

TEST_F(MainWindowLifeTest, SavedPlaylistIsShownAndNothingPlays) {
    savePlaylist({a, b});
    writeFile(SettingsStore::defaultPath(),
              "[Main]\nVolume=250\nEqDepth=7\nEqualizerOn=1\nEqualizerPreset=3\nEcho=1\n");
    TForm1 form;
    MainWindowLife life(form);
    ASSERT_TRUE(life.FormCreate({}));
    EXPECT_EQ(life.Audio()->EntryCount(), 2);
    EXPECT_EQ(form.ListBox1->count(), 2);
    EXPECT_EQ(form.ListBox1->text(1), "b");
    EXPECT_EQ(form.Label35->text(), QString::fromUtf8("Общее время: 00:00:01 Всего песен: 2"));
    EXPECT_EQ(life.Audio()->PlayState, TransportState::NotReady);
    EXPECT_EQ(form.TrackBar1->value(), 100);
    EXPECT_EQ(form.TrackBar11->value(), 7);
    EXPECT_TRUE(form.CheckBox1->isChecked());
    EXPECT_EQ(form.Label37->text(), QString::fromUtf8("Металл"));
    EXPECT_EQ(form.TrackBar2->value(), 2) << "the preset's -2 dB at 80 Hz";
    form.Form5->FormCreate();  // the effect window reads the effect switches
    EXPECT_TRUE(form.CheckBox8->isChecked());
    EXPECT_FALSE(form.CheckBox5->isChecked());
}

TEST_F(MainWindowLifeTest, CommandLineFileIsPlayedAndNotAddedTwice) {
    savePlaylist({a, b});
    TForm1 form;
    MainWindowLife life(form);
    ASSERT_TRUE(life.FormCreate({q(b)}));
    EXPECT_EQ(life.Audio()->EntryCount(), 2);
    EXPECT_EQ(life.Audio()->PlayState, TransportState::Playing);
    EXPECT_EQ(life.Audio()->GetCurrentIndex(), 1) << "the file named plays, not entry 0";
    EXPECT_EQ(life.Audio()->GetSourcePath(), q(b));
}

TEST_F(MainWindowLifeTest, DroppedFilesArriveInDropOrderAndTheFirstPlays) {
    TForm1 form;
    MainWindowLife life(form);
    ASSERT_TRUE(life.FormCreate({}));
    QMimeData mime;
    mime.setUrls({QUrl::fromLocalFile(q(c)), QUrl::fromLocalFile(q(a)),
                  QUrl(QStringLiteral("http://example.invalid/x.mp3"))});
    QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&form, &enter);
    EXPECT_TRUE(enter.isAccepted());
    QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&form, &drop);
    ASSERT_EQ(life.Audio()->EntryCount(), 2);
    EXPECT_EQ(life.Audio()->GetEntryFile(0), q(c));
    EXPECT_EQ(life.Audio()->GetEntryFile(1), q(a));
    EXPECT_EQ(life.Audio()->PlayState, TransportState::Playing);
    EXPECT_EQ(life.Audio()->GetCurrentIndex(), 0);
    EXPECT_EQ(form.ListBox1->count(), 2);
}

TEST_F(MainWindowLifeTest, CloseWritesTheSettingsAndReplacesTheSavedPlaylistWhole) {
    savePlaylist({a, b, c});
    TForm1 form;
    MainWindowLife life(form);
    ASSERT_TRUE(life.FormCreate({}));
    int asked = 0;
    QObject::connect(&life, &MainWindowLife::closeSettingsNeeded, [&](SavedSettings& s) {
        ++asked;
        s.main.showTrayIcon = true;
    });
    life.Audio()->ClearPlaylist();
    life.AddFiles({q(b)});
    form.TrackBar1->setValue(70);
    form.TrackBar11->setValue(30);
    form.CheckBox1->setChecked(true);
    form.CheckBox11->setChecked(true);
    form.Form5->ScrollBars[0]->setValue(44);
    form.ApplyEqualizerPreset(12);
    form.show();
    form.close();
    form.close();
    EXPECT_EQ(asked, 1) << "the close steps run once";

    SettingsStore store;
    EXPECT_EQ(store.readInteger("Main", "FirstRun", 1), 0);
    EXPECT_EQ(store.readInteger("Main", "Volume", 0), 70);
    EXPECT_EQ(store.readInteger("Main", "EqDepth", 0), 30);
    EXPECT_EQ(store.readInteger("Main", "EqualizerOn", 0), 1);
    EXPECT_EQ(store.readInteger("Main", "Reverb", 0), 1);
    EXPECT_EQ(store.readInteger("Main", "Chorus", 1), 0);
    EXPECT_EQ(store.readInteger("Main", "ShowTrayIcon", 0), 1);
    EXPECT_EQ(store.readInteger("Reverb", "ReverbTime", 0), 1000);
    EXPECT_EQ(store.readInteger("Chorus", "WetDryMix", 0), 44);
    EXPECT_EQ(store.readInteger("Main", "EqualizerPreset", 0), 12);
    const std::string pls = readFile(folder / "Default.pls");
    EXPECT_NE(pls.find("File1=" + b.string()), std::string::npos) << pls;
    EXPECT_EQ(pls.find("File2"), std::string::npos) << "nothing of the longer old list survives";
    EXPECT_NE(pls.find("NumberOfEntries=1"), std::string::npos);
    for (const auto& e : std::filesystem::directory_iterator(folder))
        EXPECT_TRUE(e.path().filename() == "Default.pls" || e.path().filename() == "AllMusik.aml")
            << "left behind: " << e.path();
}

// The window answers while files are added from its event loop (a timer posted as the
// add starts runs during it): the list commands are unavailable meanwhile, a drop waits
// for the add's end, and a close stops the add, then saves what was added.
TEST_F(MainWindowLifeTest, WhileFilesAreAddedTheWindowAnswersAndACloseEndsTheAdd) {
    const std::filesystem::path d = music / "d.wav", e = music / "e.wav";
    for (const auto& f : {d, e}) writeSineWav(f, 0.5);
    TForm1 form;
    MainWindowLife life(form);
    ASSERT_TRUE(life.FormCreate({}));
    life.Audio()->SetAddingReportPeriod(std::chrono::milliseconds(0));
    form.show();
    // Adds the files from an event loop, with `during` posted just before.
    const auto addFiles = [&](const QStringList& files, const std::function<void()>& during) {
        QEventLoop loop;
        QTimer::singleShot(0, &form, [&] {
            QTimer::singleShot(0, &form, during);
            life.AddFiles(files);
            loop.quit();
        });
        loop.exec();
    };

    QAction* addFolder = form.PopupMenu1->actions()[1];
    bool commandsOff = false;
    addFiles({q(a), q(b)}, [&] {
        commandsOff = !addFolder->isEnabled();
        QMimeData mime;
        mime.setUrls({QUrl::fromLocalFile(q(c))});
        QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &mime, Qt::LeftButton,
                              Qt::NoModifier);
        QApplication::sendEvent(&form, &enter);
        QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(&form, &drop);
        EXPECT_EQ(life.Audio()->EntryCount(), 1);
    });
    EXPECT_TRUE(commandsOff);
    EXPECT_TRUE(addFolder->isEnabled());
    ASSERT_EQ(life.Audio()->EntryCount(), 3);
    EXPECT_EQ(life.Audio()->GetEntryFile(2), q(c));
    EXPECT_EQ(life.Audio()->GetCurrentIndex(), 2) << "the drop's add played its file";
    EXPECT_EQ(form.ListBox1->count(), 3);

    addFiles({q(d), q(e)}, [&] {
        form.close();
        EXPECT_TRUE(form.isVisible()) << "not while adding";
    });
    EXPECT_FALSE(form.isVisible());
    EXPECT_EQ(life.Audio()->EntryCount(), 4);
    EXPECT_EQ(life.Audio()->GetSourcePath(), q(c)) << "the stopped add started nothing";
    const std::string pls = readFile(folder / "Default.pls");
    EXPECT_NE(pls.find("File4=" + d.string()), std::string::npos) << pls;
    EXPECT_NE(pls.find("NumberOfEntries=4"), std::string::npos) << pls;
}

TEST_F(MainWindowLifeTest, ACloseThatCannotSaveNamesTheFilesInOneBox) {
    savePlaylist({a, b});
    TForm1 form;
    MainWindowLife life(form);
    ASSERT_TRUE(life.FormCreate({}));
    life.AddFiles({q(c)});
    const std::string before = readFile(folder / "Default.pls");
    int boxes = 0;
    QString text;
    testing_support::whenShown<QMessageBox>([&](QMessageBox* box) {
        ++boxes;
        text = box->text();
        EXPECT_EQ(box->icon(), QMessageBox::Warning);
        box->accept();
    });
    {
        // As a full disk would.
        const testing_support::FileSizeLimit full(16);
        form.show();
        form.close();
        form.close();
    }
    EXPECT_EQ(boxes, 1);
    EXPECT_EQ(text, SaveFailureText({q(folder / "Default.pls"), q(SettingsStore::defaultPath())}));
    EXPECT_TRUE(text.startsWith("Не удалось сохранить:\n")) << text.toStdString();
    EXPECT_EQ(readFile(folder / "Default.pls"), before) << "the old list stays whole";
}

TEST_F(MainWindowLifeTest, TheBoxAtTheCloseClosesItself) {
    QElapsedTimer clock;
    clock.start();
    ShowSaveFailureAtClose(nullptr, {"/x/Default.pls"}, 1);
    EXPECT_LT(clock.elapsed(), 3000);
}

TEST_F(MainWindowLifeTest, OutputDeviceThatCannotOpenShowsTheErrorBoxAndWritesNothing) {
    const std::string saved = std::getenv("SDL_AUDIODRIVER") ? std::getenv("SDL_AUDIODRIVER") : "";
    ::setenv("SDL_AUDIODRIVER", "nonexistent", 1);
    QString title, text;
    QTimer watcher;
    QObject::connect(&watcher, &QTimer::timeout, [&] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            title = box->windowTitle();
            text = box->text();
            EXPECT_EQ(box->icon(), QMessageBox::Critical);
            box->accept();
        }
    });
    watcher.start(20);
    {
        TForm1 form;
        MainWindowLife life(form);
        EXPECT_FALSE(life.FormCreate({q(a)}));
        form.close();
    }
    ::setenv("SDL_AUDIODRIVER", saved.c_str(), 1);
    EXPECT_EQ(title, "Error");
    EXPECT_TRUE(text.startsWith("Can't initialize device\n(error code: ")) << text.toStdString();
    EXPECT_TRUE(text.endsWith(")"));
    EXPECT_NE(text, "Can't initialize device\n(error code: 0)");
    EXPECT_FALSE(std::filesystem::exists(SettingsStore::defaultPath()));
    EXPECT_FALSE(std::filesystem::exists(folder / "Default.pls"));
}
