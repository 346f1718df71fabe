// The tray icon and the settings dialog in the program, on a desktop of the test's own:
// start-up reads the tray settings, the dialog's boxes act at once and are written back at
// close, a song start announces itself, and a hidden window comes back.
#include <gtest/gtest.h>
#include <sched.h>
#include <sys/resource.h>
#include <unistd.h>

#include <QApplication>
#include <QMessageBox>
#include <QTimer>
#include <thread>

#include "platform/message_window.h"
#include "player/app/program_folder.h"
#include "player/app/settings_store.h"
#include "player/app/single_copy.h"
#include "player/engine/audio_object.h"
#include "player/main_window_life.h"
#include "player/ui/main_window.h"
#include "player/ui/settings_dialog.h"
#include "testing/desktop_session.h"
#include "testing/temp_dir.h"
#include "testing/wav_fixture.h"

using testing_support::DesktopSession;

namespace {

class TrayProgramTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::filesystem::remove_all(programDataFolder());
        std::filesystem::remove(SettingsStore::defaultPath());
        DesktopSession::ClearNotifications();
    }

    static void storeTrayOptions(bool icon, bool info, bool leftPopUp) {
        SettingsStore store;
        store.writeBool("Main", "ShowTrayIcon", icon);
        store.writeBool("Main", "ShowInfoInTray", info);
        store.writeBool("Main", "LeftPopUp", leftPopUp);
    }

    // The program's windows as main() makes them.
    struct Program {
        TForm1 form;
        MainWindowLife life{form};
        std::unique_ptr<TForm8> form8;

        explicit Program(const QStringList& arguments = {}) {
            if (!life.FormCreate(arguments)) throw std::runtime_error("no start");
            form8 = std::make_unique<TForm8>(form);
            QObject::connect(&life, &MainWindowLife::closeSettingsNeeded, form8.get(),
                             &TForm8::StoreTrayOptions);
            form.show();
        }
        ~Program() { form.close(); }
    };

    static bool registered() { return DesktopSession::Items().size() == 1; }
    static bool unregistered() { return DesktopSession::Items().isEmpty(); }
};

}  // namespace

TEST_F(TrayProgramTest, TrayBoxesStartFromTheSettingsActAtOnceAndAreWrittenAtClose) {
    storeTrayOptions(true, true, true);
    {
        Program program;
        EXPECT_TRUE(DesktopSession::WaitFor(registered));
        EXPECT_EQ(program.form.CoolTrayIcon1->TipText(), "MediaPlayer");
        TForm8& dialog = *program.form8;
        EXPECT_FALSE(dialog.isVisible()) << "created hidden";
        EXPECT_TRUE(dialog.CheckBox1->isChecked());
        EXPECT_TRUE(dialog.CheckBox2->isChecked());
        EXPECT_TRUE(dialog.CheckBox4->isChecked());
        EXPECT_FALSE(dialog.CheckBox3->isChecked());
        EXPECT_EQ(dialog.TrackBar1->value(), 1);
        EXPECT_TRUE(program.form.CoolTrayIcon1->LeftPopup);
        EXPECT_TRUE(AudioObject->ShowInfoInTray);

        program.form.SettingsCommand();
        EXPECT_TRUE(dialog.isVisible());
        dialog.CheckBox1->click();
        EXPECT_TRUE(DesktopSession::WaitFor(unregistered)) << "the icon leaves at once";
        dialog.CheckBox4->click();
        EXPECT_FALSE(program.form.CoolTrayIcon1->LeftPopup);
        dialog.CheckBox2->click();
        EXPECT_FALSE(AudioObject->ShowInfoInTray);
    }
    {
        SettingsStore store;
        EXPECT_EQ(store.readInteger("Main", "ShowTrayIcon", -1), 0);
        EXPECT_EQ(store.readInteger("Main", "ShowInfoInTray", -1), 0);
        EXPECT_EQ(store.readInteger("Main", "LeftPopUp", -1), 0);
    }
    Program next;
    DesktopSession::ProcessEventsFor(300);
    EXPECT_TRUE(unregistered()) << "the next start leaves the icon out";
    EXPECT_FALSE(next.form8->CheckBox1->isChecked());
    next.form8->CheckBox1->click();
    EXPECT_TRUE(DesktopSession::WaitFor(registered));
}

TEST_F(TrayProgramTest, ASongStartShowsOneBalloonWithTheSongsTexts) {
    storeTrayOptions(true, true, false);
    testing_support::TempDir music;
    const auto song = music / "a song.wav";
    writeSineWav(song, 1.0);
    Program program({QString::fromStdString(song.string())});
    ASSERT_TRUE(DesktopSession::WaitFor([] { return !DesktopSession::Notifications().isEmpty(); }));
    DesktopSession::ProcessEventsFor(200);
    const auto received = DesktopSession::Notifications();
    ASSERT_EQ(received.size(), 1);
    EXPECT_EQ(received[0].app, "zorvan-test");
    EXPECT_EQ(received[0].summary, "Информация о композиции");
    EXPECT_EQ(received[0].body, "Название: " + AudioObject->Title + "\nИсполнитель: " +
                                    AudioObject->Artist + "\nАльбом: " + AudioObject->Album);
    EXPECT_EQ(received[0].timeoutMs, 10'000);
    EXPECT_EQ(DesktopSession::NotificationIcons(), QStringList{"dialog-information"});
}

TEST_F(TrayProgramTest, AHiddenWindowComesBackFromTheTrayAndFromASecondStart) {
    storeTrayOptions(true, false, false);
    Program program;
    ASSERT_TRUE(DesktopSession::WaitFor(registered));
    program.form.HideToTrayCommand();
    EXPECT_FALSE(program.form.isVisible());
    DesktopSession::Click(QStringLiteral("Activate"));
    DesktopSession::Click(QStringLiteral("Activate"));
    EXPECT_TRUE(DesktopSession::WaitFor([&] { return program.form.isVisible(); }))
        << "a double-click runs \"Показать окно\"";

    // Without an icon only another start of the program brings the window back.
    program.form8->CheckBox1->click();
    program.form.HideToTrayCommand();
    ASSERT_FALSE(program.form.isVisible());
    bool handedOver = false;
    std::thread secondStart(
        [&] { handedOver = handOverToRunningCopy(platform::currentProgramPath()); });
    EXPECT_TRUE(DesktopSession::WaitFor([&] { return program.form.isVisible(); }));
    DesktopSession::WaitFor([&] { return handedOver; });
    secondStart.join();
    EXPECT_TRUE(handedOver);
}

TEST_F(TrayProgramTest, NumberingBoxNumbersTheRowsAtOnce) {
    Program program;
    AudioObject->Playlist.AddEntry("/a.mp3", "Intro", 0);
    AudioObject->Playlist.AddEntry("/b.mp3", "1 - Intro", 0);
    AudioObject->CurrentIndex = -1;
    program.form.RefreshPlaylistView();
    program.form.ListBox1->setCurrentRow(-1);
    program.form.ListBox1->clearFocus();
    const auto row = [&](int index) {
        QApplication::processEvents();
        return program.form.ListBox1->viewport()
            ->grab(program.form.ListBox1->rowRect(index))
            .toImage();
    };
    const QImage titledAsNumbered = row(1);
    const QImage plain = row(0);
    program.form8->CheckBox3->click();
    EXPECT_EQ(row(0), titledAsNumbered) << "row 0 reads \"1 - Intro\"";
    program.form8->CheckBox3->click();
    EXPECT_EQ(row(0), plain);
}

TEST_F(TrayProgramTest, PriorityBarSetsTheSchedulingOfTheProcess) {
    if (::geteuid() != 0) GTEST_SKIP() << "raising priority needs CAP_SYS_NICE";
    Program program;
    QSlider* bar = program.form8->TrackBar1;
    bar->setValue(3);
    const int realTime = ::sched_getscheduler(0);
    bar->setValue(2);
    const int high = ::getpriority(PRIO_PROCESS, 0);
    bar->setValue(0);
    const int idle = ::sched_getscheduler(0);
    bar->setValue(1);
    EXPECT_EQ(realTime, SCHED_RR);
    EXPECT_EQ(high, -12);
    EXPECT_EQ(idle, SCHED_IDLE);
    EXPECT_EQ(::sched_getscheduler(0), SCHED_OTHER);
    EXPECT_EQ(::getpriority(PRIO_PROCESS, 0), 0);
}

TEST_F(TrayProgramTest, OptionTestShowsTheResamplingQuality) {
    Program program;
    QStringList shown;
    QTimer closer;
    QObject::connect(&closer, &QTimer::timeout, [&] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            shown << box->text();
            box->accept();
        }
    });
    closer.start(20);
    program.form8->Button1->click();
    EXPECT_EQ(shown, QStringList{"3"});
}

TEST_F(TrayProgramTest, ExitFromTheTrayMenuEndsTheProgramWhileTheWindowIsHidden) {
    storeTrayOptions(true, false, false);
    Program program;
    program.form.SettingsCommand();
    program.form.HideToTrayCommand();
    QAction* exit = nullptr;
    for (QAction* item : program.form.PopupMenu2->actions())
        if (item->text() == "Выход") exit = item;
    ASSERT_TRUE(exit);
    QTimer::singleShot(0, exit, &QAction::trigger);
    QTimer::singleShot(5000, [] { QCoreApplication::exit(99); });
    EXPECT_EQ(QApplication::exec(), 0) << "the event loop ended with the main window";
    EXPECT_EQ(SettingsStore().readInteger("Main", "FirstRun", 1), 0) << "the close steps ran";
}
