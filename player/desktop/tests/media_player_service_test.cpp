// The player on a private session bus as desktops reach it: Debian's playerctl drives and
// reads it while the window shows the same, changes are announced, and the real program
// opens addresses and quits through its close steps.
#include "player/desktop/media_player_service.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>

#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QElapsedTimer>
#include <QProcess>
#include <QUrl>

#include "player/app/program_folder.h"
#include "player/app/settings_store.h"
#include "player/engine/audio_object.h"
#include "player/main_window_life.h"
#include "player/ui/main_window.h"
#include "testing/child_process.h"
#include "testing/desktop_session.h"
#include "testing/player_window.h"
#include "testing/qt_path.h"
#include "testing/temp_dir.h"
#include "testing/wav_fixture.h"

using testing_support::DesktopSession;
using testing_support::readFile;
using testing_support::writeFile;

namespace {

const std::string kZorvan = std::string(ZORVAN_BINARY_DIR) + "/bin/zorvan";
const std::filesystem::path kTagged = std::filesystem::path(ENGINE_FIXTURES_DIR) / "first.mp3";

using testing_support::q;

// playerctl's answer, with the event loop running so that a player in this process
// answers it.
std::string playerctl(const QStringList& arguments) {
    QProcess process;
    process.start(QStringLiteral(ZORVAN_PLAYERCTL),
                  QStringList{QStringLiteral("-p"), QStringLiteral("zorvan")} + arguments);
    const bool done =
        DesktopSession::WaitFor([&] { return process.state() == QProcess::NotRunning; }, 10'000);
    EXPECT_TRUE(done) << "playerctl " << arguments.join(' ').toStdString();
    if (!done) process.kill();
    return process.readAllStandardOutput().trimmed().toStdString();
}

// The Player interface's PropertiesChanged and Seeked, as another client of the bus sees
// them.
class BusObserver : public QObject {
    Q_OBJECT
public:
    BusObserver()
        : connection_(QDBusConnection::connectToBus(QDBusConnection::SessionBus,
                                                    QStringLiteral("observer"))) {
        const QString path = QStringLiteral("/org/mpris/MediaPlayer2");
        connection_.connect(QString(), path, QStringLiteral("org.freedesktop.DBus.Properties"),
                            QStringLiteral("PropertiesChanged"), this,
                            SLOT(propertiesChanged(QString, QVariantMap, QStringList)));
        connection_.connect(QString(), path, QStringLiteral("org.mpris.MediaPlayer2.Player"),
                            QStringLiteral("Seeked"), this, SLOT(seeked(qlonglong)));
    }
    ~BusObserver() override { QDBusConnection::disconnectFromBus(QStringLiteral("observer")); }

    QList<QVariantMap> changes;
    QList<qlonglong> seeks;

private slots:
    void propertiesChanged(const QString& interface, const QVariantMap& changed,
                           const QStringList&) {
        if (interface == QStringLiteral("org.mpris.MediaPlayer2.Player")) changes.append(changed);
    }
    void seeked(qlonglong position) { seeks.append(position); }

private:
    QDBusConnection connection_;
};

class MediaPlayerServiceTest : public ::testing::Test {
protected:
    testing_support::TempDir music;
    std::filesystem::path one = music / "one.wav", two = music / "two.wav";

    void SetUp() override {
        std::filesystem::remove_all(programDataFolder());
        std::filesystem::create_directories(programDataFolder());
        std::filesystem::remove(SettingsStore::defaultPath());
        writeSineWav(one, 6.0);
        writeSineWav(two, 6.0, 660.0);
        ASSERT_TRUE(std::filesystem::exists(kTagged));
        std::string pls = "[playlist]\n";
        int n = 0;
        for (const auto& f : {one, two, kTagged}) {
            const auto i = std::to_string(++n);
            pls += "File" + i + "=" + f.string() + "\nTitle" + i + "=" + f.stem().string() +
                   "\nLength" + i + "=1000\n";
        }
        writeFile(programDataFolder() / "Default.pls", pls + "NumberOfEntries=3\nVersion=2\n");
    }

    // The program's main window and its service, as main() makes them.
    struct Program {
        TForm1 form;
        MainWindowLife life{form};
        std::unique_ptr<MediaPlayerService> service;

        Program() {
            if (!life.FormCreate({})) throw std::runtime_error("no start");
            service = std::make_unique<MediaPlayerService>(form, life);
            form.show();
        }
        ~Program() {
            service.reset();
            form.close();
        }
        TAudioObject& audio() { return *life.Audio(); }
    };
};

double seconds(const std::string& text) {
    bool ok = false;
    const double value = QString::fromStdString(text).toDouble(&ok);
    return ok ? value : -1.0;
}

}  // namespace

TEST_F(MediaPlayerServiceTest, PlayerctlDrivesTheWindowAndReadsWhatItShows) {
    Program program;
    ASSERT_TRUE(program.service->registered());
    TAudioObject& audio = program.audio();
    TForm1& form = program.form;
    // The window shows the title after its caption.
    const auto titleShown = [&] {
        return form.Label29->text().section(QStringLiteral(": "), 1).toStdString();
    };
    const auto statusShown = [&](const char* text) {
        return DesktopSession::WaitFor(
            [&] { return form.Label2->text() == QString::fromUtf8(text); });
    };

    EXPECT_EQ(playerctl({"status"}), "Stopped") << "nothing loaded yet";
    EXPECT_EQ(playerctl({"play"}), "");
    EXPECT_EQ(audio.PlayState, TransportState::Playing);
    EXPECT_EQ(audio.GetCurrentIndex(), 0);
    EXPECT_TRUE(statusShown("Воспроизведение"));
    EXPECT_EQ(playerctl({"status"}), "Playing");
    EXPECT_EQ(playerctl({"metadata", "--format",
                         "{{xesam:title}}|{{mpris:length}}|{{xesam:url}}|{{mpris:trackid}}"}),
              titleShown() + "|6000000|" + QUrl::fromLocalFile(q(one)).toString().toStdString() +
                  "|'/org/mpris/MediaPlayer2/Track/0'")
        << "playerctl quotes an object path";
    EXPECT_EQ(titleShown(), "one.wav");

    // Absolute and relative positions; the answer matches the audio object within 0.3 s.
    playerctl({"position", "3"});
    EXPECT_NEAR(audio.GetPosition(), 3000, 300);
    EXPECT_NEAR(seconds(playerctl({"position"})), audio.GetPosition() / 1000.0, 0.3);
    playerctl({"position", "1-"});
    EXPECT_NEAR(audio.GetPosition(), 2000, 300);
    const int beforeEnd = audio.GetPosition();
    QElapsedTimer clock;
    clock.start();
    playerctl({"position", "30"});
    EXPECT_NEAR(audio.GetPosition(), beforeEnd + clock.elapsed(), 300) << "past the end is ignored";

    playerctl({"pause"});
    EXPECT_EQ(audio.PlayState, TransportState::Paused);
    EXPECT_TRUE(statusShown("Приостановлено"));
    EXPECT_EQ(playerctl({"status"}), "Paused");
    playerctl({"play-pause"});
    EXPECT_EQ(audio.PlayState, TransportState::Playing);

    playerctl({"volume", "0.4"});
    EXPECT_EQ(form.TrackBar1->value(), 40);
    form.TrackBar1->setValue(75);
    EXPECT_EQ(playerctl({"volume"}), "0.750000");

    playerctl({"next"});
    EXPECT_EQ(audio.GetCurrentIndex(), 1);
    EXPECT_EQ(playerctl({"metadata", "xesam:title"}), "two.wav");
    EXPECT_EQ(titleShown(), "two.wav");
    playerctl({"previous"});
    EXPECT_EQ(audio.GetCurrentIndex(), 0);

    // The tagged song: its tags as the window shows them. It is short, so it is paused
    // at once.
    playerctl({"previous"});
    playerctl({"pause"});
    ASSERT_EQ(audio.GetCurrentIndex(), 2);
    EXPECT_EQ(
        playerctl({"metadata", "--format", "{{xesam:title}}|{{xesam:artist}}|{{xesam:album}}"}),
        "First Song|Shared|Common");
    EXPECT_EQ(titleShown(), "First Song");

    playerctl({"shuffle", "On"});
    EXPECT_TRUE(audio.Shuffle);
    EXPECT_EQ(playerctl({"shuffle"}), "On");

    playerctl({"stop"});
    EXPECT_EQ(audio.PlayState, TransportState::Stopped);
    EXPECT_TRUE(statusShown("Остановлено"));
    EXPECT_EQ(playerctl({"status"}), "Stopped");
}

TEST_F(MediaPlayerServiceTest, ChangesAndSeeksAreAnnounced) {
    Program program;
    ASSERT_TRUE(program.service->registered());
    BusObserver observer;
    const auto announced = [&](const QString& property, const QVariant& value) {
        return DesktopSession::WaitFor([&] {
            for (const QVariantMap& change : observer.changes)
                if (change.contains(property) && change.value(property) == value) return true;
            return false;
        });
    };
    const auto trackOf = [](const QVariantMap& change) {
        const QVariant metadata = change.value(QStringLiteral("Metadata"));
        if (!metadata.canConvert<QDBusArgument>()) return QString();
        return qdbus_cast<QVariantMap>(metadata.value<QDBusArgument>())
            .value(QStringLiteral("mpris:trackid"))
            .value<QDBusObjectPath>()
            .path();
    };

    playerctl({"play"});
    EXPECT_TRUE(announced("PlaybackStatus", "Playing"));
    observer.changes.clear();
    playerctl({"next"});
    EXPECT_TRUE(DesktopSession::WaitFor([&] {
        for (const QVariantMap& change : observer.changes)
            if (trackOf(change) == "/org/mpris/MediaPlayer2/Track/1") return true;
        return false;
    })) << "a track change";

    // The window's own controls are announced as well.
    program.form.TrackBar1->setValue(20);
    EXPECT_TRUE(announced("Volume", 0.2));
    program.form.SetShuffle(true);
    EXPECT_TRUE(announced("Shuffle", true));

    playerctl({"position", "4"});
    EXPECT_TRUE(DesktopSession::WaitFor([&] { return !observer.seeks.isEmpty(); }));
    EXPECT_NEAR(observer.seeks.value(0), 4'000'000, 300'000);
    observer.seeks.clear();
    program.form.SeekBy(-3000);  // the window's "Перемотать назад"
    EXPECT_TRUE(DesktopSession::WaitFor([&] { return !observer.seeks.isEmpty(); }))
        << "a seek in the window";
    EXPECT_NEAR(observer.seeks.value(0), 1'000'000, 400'000);
}

TEST_F(MediaPlayerServiceTest, TheProgramOpensAnAddressAndQuitsThroughItsCloseSteps) {
    std::filesystem::remove(programDataFolder() / "Default.pls");
    testing_support::ChildProcess player({kZorvan});
    QDBusConnectionInterface* bus = QDBusConnection::sessionBus().interface();
    ASSERT_TRUE(DesktopSession::WaitFor(
        [&] { return bus->isServiceRegistered(QStringLiteral("org.mpris.MediaPlayer2.zorvan")); },
        20'000));

    EXPECT_EQ(playerctl({"open", "smb://host/share/song.mp3"}), "");
    playerctl({"open", QUrl::fromLocalFile(q(two)).toString()});
    EXPECT_TRUE(DesktopSession::WaitFor([] { return playerctl({"status"}) == "Playing"; }));
    EXPECT_EQ(playerctl({"metadata", "xesam:url"}),
              QUrl::fromLocalFile(q(two)).toString().toStdString());

    QDBusMessage quit = QDBusMessage::createMethodCall(
        QStringLiteral("org.mpris.MediaPlayer2.zorvan"), QStringLiteral("/org/mpris/MediaPlayer2"),
        QStringLiteral("org.mpris.MediaPlayer2"), QStringLiteral("Quit"));
    EXPECT_EQ(QDBusConnection::sessionBus().call(quit).type(), QDBusMessage::ReplyMessage);
    const auto status = player.wait(std::chrono::seconds(20));
    ASSERT_TRUE(status);
    EXPECT_TRUE(WIFEXITED(*status) && WEXITSTATUS(*status) == 0);
    const std::string pls = readFile(programDataFolder() / "Default.pls");
    EXPECT_NE(pls.find("File1=" + two.string()), std::string::npos) << pls;
    EXPECT_NE(pls.find("NumberOfEntries=1"), std::string::npos) << pls;
    EXPECT_EQ(SettingsStore().readInteger("Main", "FirstRun", 1), 0);
}

TEST_F(MediaPlayerServiceTest, WithoutASessionBusTheProgramRunsAsBefore) {
    testing_support::ChildProcess player({kZorvan},
                                         {"DBUS_SESSION_BUS_ADDRESS=unix:path=/nonexistent/bus"});
    ASSERT_TRUE(testing_support::waitForPlayerWindow());
    EXPECT_FALSE(QDBusConnection::sessionBus().interface()->isServiceRegistered(
        QStringLiteral("org.mpris.MediaPlayer2.zorvan")));
    player.kill(SIGTERM);
    const auto status = player.wait(std::chrono::seconds(20));
    ASSERT_TRUE(status);
    EXPECT_TRUE(WIFEXITED(*status) && WEXITSTATUS(*status) == 0);
}

#include "media_player_service_test.moc"
