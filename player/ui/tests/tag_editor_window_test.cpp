// The tag editor over the main window's playlist and the real audio object, on MP3 files
// made at build time: opening, loading, saving (read back by the tag library and by
// python3-mutagen), playback around a save, failed saves, the file manager.
#include <gtest/gtest.h>

#include <unistd.h>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTest>
#include <filesystem>

#include "player/engine/play_state.h"
#include "player/engine/song_tags.h"
#include "player/engine/tests/qt_print.h"
#include "player/ui/tag_editor_window.h"
#include "player/ui/tests/player_window_fixture.h"
#include "testing/file_size_limit.h"
#include "testing/modal_window.h"

namespace {

namespace fs = std::filesystem;
using testing_support::catchMessage;

// The file's tags as python3-mutagen reads them: the ID3v2 frames by their identifiers
// and the ID3v1 block's fields under "v1.".
QJsonObject readWithMutagen(const QString& file) {
    static const char* const script = R"(
import json, sys
from mutagen.id3 import ID3
name = sys.argv[1]
out = {}
tag = ID3(name, translate=False, load_v1=False)
out["version"] = "2.%d" % tag.version[1]
for frame in tag.values():
    key = frame.FrameID
    if key == "WXXX":
        out[key] = frame.url
    elif key == "USLT":
        out[key] = frame.text
    else:
        out[key] = str(frame.text[0])
v1 = open(name, "rb").read()[-128:]
if v1[:3] == b"TAG":
    text = lambda b: b.split(b"\0")[0].rstrip(b" ").decode("cp1251")
    out["v1.title"] = text(v1[3:33])
    out["v1.artist"] = text(v1[33:63])
    out["v1.album"] = text(v1[63:93])
    out["v1.year"] = text(v1[93:97])
    out["v1.comment"] = text(v1[97:125])
    out["v1.track"] = v1[126] if v1[125] == 0 else -1
    out["v1.genre"] = v1[127]
print(json.dumps(out))
)";
    QProcess python;
    python.start(QStringLiteral(ZORVAN_PYTHON), {"-c", script, file});
    python.waitForFinished(20000);
    EXPECT_EQ(python.exitCode(), 0) << python.readAllStandardError().toStdString();
    return QJsonDocument::fromJson(python.readAllStandardOutput()).object();
}

QByteArray bytesOf(const QString& file) {
    QFile f(file);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

struct TagEditorWindowTest : testing_support::PlayerWindowFixture {
    std::unique_ptr<TForm6> editor = std::make_unique<TForm6>(form);

    TagEditorWindowTest() { form.Form6 = editor.get(); }

    // Opens the editor on a row through the playlist menu and waits until it is active.
    void open(int row) {
        form.ListBox1->setCurrentRow(row);
        trigger(form.PopupMenu1, {"Редактор тегов..."});
        ASSERT_TRUE(activate(editor.get()));
    }
    // Another window comes in front, then the editor again.
    bool reactivate() { return activate(&form) && activate(editor.get()); }
    static bool activate(QWidget* window) {
        window->activateWindow();
        QDeadlineTimer deadline(5000);
        while (QApplication::activeWindow() != window && !deadline.hasExpired())
            QApplication::processEvents(QEventLoop::AllEvents, 20);
        return QApplication::activeWindow() == window;
    }
    QStringList boxes() const {
        QStringList texts;
        for (QLineEdit* box :
             {editor->Edit1, editor->Edit2, editor->Edit3, editor->Edit4, editor->Edit5,
              editor->Edit6, editor->Edit7, editor->Edit8, editor->Edit9, editor->Edit10,
              editor->Edit11, editor->Edit12, editor->Edit13, editor->Edit14, editor->Edit15})
            texts << box->text();
        return texts << editor->Memo1->toPlainText();
    }
};

TEST_F(TagEditorWindowTest, OpensOnlyOnASelectedMp3Row) {
    add({file("mono8.wav", "mono8.wav"), file("first.mp3", "first.mp3")});
    struct Case {
        int row;
        const char* message;
    };
    for (const Case& c :
         {Case{-1, "Не выбран объект"}, Case{0, "Данная опция доступна только для mp3 файлов"}}) {
        form.ListBox1->setCurrentRow(c.row);
        const auto message = catchMessage();
        form.TagEditor1Click();
        EXPECT_EQ(*message, QString::fromUtf8(c.message));
        EXPECT_FALSE(editor->isVisible());
    }
    open(1);  // ".mp3" in lower case
    EXPECT_TRUE(editor->isVisible());
    EXPECT_EQ(editor->windowTitle(), "Редактор MP3-тегов");
    EXPECT_EQ(editor->size(), QSize(513, 450));
    EXPECT_EQ(editor->Edit1->text(), "First Song");
    EXPECT_TRUE(form.isEnabled());  // modeless
}

TEST_F(TagEditorWindowTest, LoadsEveryFieldAndKeepsEditsUntilTheTitleIsEmpty) {
    const QString song = file("plain.mp3", "song.mp3");
    SongTags tags;
    const QStringList texts = {"Название",    "Исполнитель", "Альбом",  "7",
                               "1999",        "Rock",        "Заметка", "Композитор",
                               "Кодер",       "Права",       "rus",     "http://example.org/",
                               "Слова\nпесни"};
    for (int i = 0; i < texts.size(); ++i)
        tags[static_cast<SongTags::Field>(static_cast<int>(SongTags::Field::Title) + i)] = texts[i];
    ASSERT_TRUE(tags.save(song));
    add({song});
    open(0);
    const QString size = QString::number(QFileInfo(song).size()) + " Байт";
    EXPECT_EQ(boxes(),
              (QStringList{"Название", "Исполнитель", "Альбом", "7", "1999", "Rock", "Заметка",
                           "Композитор", "Права", "Кодер", "rus", "http://example.org/", song, size,
                           "00:00:00", "Слова\nпесни"}));
    EXPECT_FALSE(editor->BitBtn1->isEnabled());  // filling the boxes is no edit

    editor->Edit3->setText("Другой альбом");
    EXPECT_TRUE(editor->BitBtn1->isEnabled());
    ASSERT_TRUE(reactivate());
    EXPECT_EQ(editor->Edit3->text(), "Другой альбом");
    EXPECT_TRUE(editor->BitBtn1->isEnabled());  // still to be saved

    // An empty title loads the song again over the edits.
    editor->Edit1->clear();
    ASSERT_TRUE(reactivate());
    EXPECT_EQ(editor->Edit1->text(), "Название");
    EXPECT_EQ(editor->Edit3->text(), "Альбом");
    EXPECT_FALSE(editor->BitBtn1->isEnabled());
}

TEST_F(TagEditorWindowTest, LengthIsTheProbedOneAsAClockTime) {
    add({file("first.mp3", "first.mp3")});
    open(0);
    EXPECT_EQ(editor->Edit15->text(), "00:00:01");
    EXPECT_EQ(editor->Edit14->text(),
              QString::number(QFileInfo(audio.GetEntryFile(0)).size()) + " Байт");
}

TEST_F(TagEditorWindowTest, SavesTheBoxesAsBothTags) {
    const QString song = file("plain.mp3", "song.mp3");
    add({song});
    open(0);
    const struct {
        QLineEdit* box;
        const char* text;
    } edits[] = {{editor->Edit1, "Morning Beat"}, {editor->Edit2, "Артист"},
                 {editor->Edit3, "Album"},        {editor->Edit4, "3"},
                 {editor->Edit5, "2004"},         {editor->Edit6, "Jazz"},
                 {editor->Edit7, "note"},         {editor->Edit8, "Композитор"},
                 {editor->Edit9, "(c) Tavrel"},   {editor->Edit10, "Кодер"},
                 {editor->Edit11, "rus"},         {editor->Edit12, "http://example.org/"}};
    for (const auto& edit : edits) edit.box->setText(QString::fromUtf8(edit.text));
    editor->Memo1->setPlainText("Строка\nвторая");
    ASSERT_TRUE(editor->BitBtn1->isEnabled());
    QTest::mouseClick(editor->BitBtn1, Qt::LeftButton);
    EXPECT_FALSE(editor->BitBtn1->isEnabled());

    const SongTags read = SongTags::read(song);
    for (int i = 0; i < 12; ++i) {
        // The boxes hold the fields in table order, where encoder comes before copyright.
        static const SongTags::Field fields[] = {
            SongTags::Field::Title,   SongTags::Field::Artist,   SongTags::Field::Album,
            SongTags::Field::Track,   SongTags::Field::Year,     SongTags::Field::Genre,
            SongTags::Field::Comment, SongTags::Field::Composer, SongTags::Field::Copyright,
            SongTags::Field::Encoder, SongTags::Field::Language, SongTags::Field::Link};
        EXPECT_EQ(read[fields[i]], QString::fromUtf8(edits[i].text)) << i;
    }
    EXPECT_EQ(read[SongTags::Field::Lyrics], "Строка\nвторая");

    const QJsonObject peer = readWithMutagen(song);
    const QJsonObject expected{{"version", "2.3"},
                               {"TIT2", "Morning Beat"},
                               {"TPE1", "Артист"},
                               {"TALB", "Album"},
                               {"TRCK", "3"},
                               {"TYER", "2004"},
                               {"TCON", peer["TCON"]},
                               {"COMM", "note"},
                               {"TCOM", "Композитор"},
                               {"TCOP", "(c) Tavrel"},
                               {"TENC", "Кодер"},
                               {"TLAN", "rus"},
                               {"WXXX", "http://example.org/"},
                               {"USLT", "Строка\nвторая"},
                               {"v1.title", "Morning Beat"},
                               {"v1.artist", "Артист"},
                               {"v1.album", "Album"},
                               {"v1.year", "2004"},
                               {"v1.comment", "note"},
                               {"v1.track", 3},
                               {"v1.genre", 8}};
    EXPECT_EQ(peer, expected) << QJsonDocument(peer).toJson().toStdString();
    EXPECT_TRUE(peer["TCON"].toString().contains("Jazz") || peer["TCON"].toString() == "(8)")
        << peer["TCON"].toString().toStdString();
}

TEST_F(TagEditorWindowTest, SavingTheCurrentSongPlaysItAgainFromItsStart) {
    const QString first = file("first.mp3", "first.mp3");
    const QString second = file("second.mp3", "second.mp3");
    add({first, second});  // the first plays
    enum class Before { Playing, Paused };
    struct Case {
        const char* name;
        int row;
        Before before;
        bool restarts;
    };
    for (const Case& c :
         {Case{"playing", 0, Before::Playing, true}, Case{"paused", 0, Before::Paused, true},
          Case{"another song", 1, Before::Playing, false}}) {
        SCOPED_TRACE(c.name);
        audio.PlayEntry(0);
        QTest::qWait(300);
        if (c.before == Before::Paused) audio.Pause();
        const uint32_t channel = audio.Channel;
        const int position = audio.GetPosition();
        ASSERT_GT(position, 100);

        open(c.row);
        editor->Edit1->setText(QStringLiteral("Saved %1").arg(c.name));
        editor->BitBtn1Click();
        editor->close();
        EXPECT_EQ(SongTags::read(audio.GetEntryFile(c.row))[SongTags::Field::Title],
                  QStringLiteral("Saved %1").arg(c.name));
        EXPECT_EQ(audio.GetCurrentIndex(), 0);
        if (c.restarts) {
            EXPECT_NE(audio.Channel, channel);
            EXPECT_EQ(BASS_ChannelGetPosition(channel), -1);  // released
            EXPECT_EQ(BASS_ChannelIsActive(audio.Channel), SOUND_ACTIVE_PLAYING);
            EXPECT_LT(audio.GetPosition(), position);
            EXPECT_EQ(audio.Title, QStringLiteral("Saved %1").arg(c.name));
        } else {
            EXPECT_EQ(audio.Channel, channel);
            EXPECT_EQ(BASS_ChannelIsActive(channel), SOUND_ACTIVE_PLAYING);
            EXPECT_GE(audio.GetPosition(), position);
        }
        EXPECT_EQ(audio.PlayState, TransportState::Playing);
    }
}

TEST_F(TagEditorWindowTest, AFailedSaveSaysSoAndLeavesTheFileAsItWas) {
    const QString song = file("first.mp3", "song.mp3");
    add({song});
    const QByteArray before = bytesOf(song);
    struct Case {
        const char* name;
        std::function<void()> spoil;
        std::function<void()> mend;
    };
    std::unique_ptr<testing_support::FileSizeLimit> full;
    const Case cases[] = {
        {"read-only file", [&] { fs::permissions(song.toStdString(), fs::perms::owner_read); },
         [&] {
             fs::permissions(song.toStdString(), fs::perms::owner_read | fs::perms::owner_write);
         }},
        {"full disk", [&] { full = std::make_unique<testing_support::FileSizeLimit>(64); },
         [&] { full.reset(); }},
        {"vanished file", [&] { fs::rename(song.toStdString(), song.toStdString() + ".away"); },
         [&] {
             EXPECT_FALSE(fs::exists(song.toStdString()));  // not made anew
             fs::rename(song.toStdString() + ".away", song.toStdString());
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        // Root writes to read-only files; that case needs an ordinary user.
        if (std::string(c.name) == "read-only file" && geteuid() == 0) continue;
        open(0);
        editor->Edit1->setText("Never saved");
        c.spoil();
        const auto message = catchMessage();
        editor->BitBtn1Click();
        c.mend();
        EXPECT_EQ(*message, "Теги не сохранены: файл не удалось записать.");
        EXPECT_EQ(bytesOf(song), before);
        EXPECT_FALSE(fs::exists(song.toStdString() + "~"));
        editor->close();
    }
}

TEST_F(TagEditorWindowTest, ClosingForgetsTheSongAndTheNextOpeningLoadsTheSelectedOne) {
    add({file("first.mp3", "first.mp3"), file("second.mp3", "second.mp3")});
    open(0);
    editor->Edit2->setText("unsaved");
    QTest::mouseClick(editor->BitBtn2, Qt::LeftButton);
    EXPECT_FALSE(editor->isVisible());
    for (int i = 0; i < 14; ++i) EXPECT_EQ(boxes()[i], "") << i;
    open(1);
    EXPECT_EQ(editor->Edit1->text(), "Second Song");
    EXPECT_EQ(editor->Edit2->text(), "Other [x] [y]");
}

// The desktop's file manager on the test's session bus, as far as the editor uses it.
class FileManager : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.FileManager1")
public:
    QStringList shown;
public slots:
    void ShowItems(const QStringList& uris, const QString&) { shown = uris; }
};

TEST_F(TagEditorWindowTest, TheFolderButtonShowsTheSongInTheFileManager) {
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected()) GTEST_SKIP() << "no session bus";
    FileManager manager;
    ASSERT_TRUE(bus.registerObject("/org/freedesktop/FileManager1", &manager,
                                   QDBusConnection::ExportAllSlots));
    ASSERT_TRUE(bus.registerService("org.freedesktop.FileManager1"));
    const QString song = file("first.mp3", "с пробелом.mp3");
    add({song});
    open(0);
    QTest::mouseClick(editor->Button1, Qt::LeftButton);
    QDeadlineTimer deadline(5000);
    while (manager.shown.isEmpty() && !deadline.hasExpired())
        QApplication::processEvents(QEventLoop::AllEvents, 20);
    EXPECT_EQ(manager.shown, QStringList{QUrl::fromLocalFile(song).toString()});
    bus.unregisterService("org.freedesktop.FileManager1");
    bus.unregisterObject("/org/freedesktop/FileManager1");
}

}  // namespace

#include "tag_editor_window_test.moc"
