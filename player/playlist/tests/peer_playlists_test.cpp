// Real playlists from other players' test suites load into the entries our rules give.
#include <gtest/gtest.h>

#include <QProcess>
#include <QStandardPaths>
#include <QString>

#include <QDir>
#include <QStringList>

#include <filesystem>
#include <optional>

#include "platform/text.h"
#include "player/playlist/playlist.h"
#include "testing/peers.h"
#include "testing/temp_dir.h"

namespace {

struct Expected {
    const char* file;  // below playlists/
    int count;
    int index;              // an entry to look at
    const char* entryFile;  // "@" stands for the playlist's own folder
    const char* title;
    int length;
};

const Expected kPlaylists[] = {
    {"Clementine/tests/data/pls_one.pls", 1, 0, "@/filename with spaces.mp3", "Title", 123},
    {"Clementine/tests/data/pls_somafm.pls", 4, 0,
     "http://streamer-dtc-aa05.somafm.com:80/stream/1018",
     "SomaFM: Groove Salad (#1 128k mp3): A nicely chilled plate of ambient beats and grooves.",
     -1},
    {"Clementine/tests/data/pls_somafm.pls", 4, 3, "http://ice.somafm.com/groovesalad", nullptr,
     -1},
    {"Clementine/tests/data/secretagent.pls", 4, 0,
     "http://streamer-ntc-aa03.somafm.com:80/stream/1021",
     "SomaFM: Secret Agent (#1 128k mp3): The soundtrack for your stylish, mysterious, "
     "dangerous life. For Spies and PIs too!",
     -1},
    {"Clementine/tests/data/secretagent.pls", 4, 3, "http://ice.somafm.com/secretagent", nullptr,
     -1},
    {"totem-pl-parser/plparse/tests/BassDrive.pls", 12, 0,
     "http://shouthostdirect16.streams.bassdrive.com:8200",
     "(#1) Bassdrive - Worldwide Drum and Bass Radio", -1},
    // Every length line says "Length1": the first wins, the others are missing.
    {"totem-pl-parser/plparse/tests/BassDrive.pls", 12, 11,
     "http://us-tx1.streams.bassdrive.com:9000", "(#12) Bassdrive - Worldwide Drum and Bass Radio",
     0},
    // No NumberOfEntries at all: nothing is read.
    {"totem-pl-parser/plparse/tests/missing-items.pls", 0, -1, nullptr, nullptr, 0},
    {"totem-pl-parser/plparse/tests/emptyplaylist.pls", 0, -1, nullptr, nullptr, 0},
    {"totem-pl-parser/plparse/tests/O_G_Money_Snoop_Dogg.m3u", 1, 0, nullptr,
     "O G Money - Girl Gotta girlfriend Feat. O G Money, Snoop Dogg", -1},
    {"totem-pl-parser/plparse/tests/separator.m3u", 1, 0,
     "http://www.icradio.com/media-icrfs2/226313.mp3",
     "Music Tech Sessions (Friday 22 January 2010 20:00 - 00:00)", -1},
    {"totem-pl-parser/plparse/tests/radioclasica.mp3.m3u", 1, 0, nullptr, "Flumotion Stream", -1},
    {"totem-pl-parser/plparse/tests/relative.m3u", 1, 0, "@/3gpp-file.mp4", "3gpp-file", 0},
    // The unknown "#" lines between do not part the title from its address.
    {"totem-pl-parser/plparse/tests/radios-freebox.m3u", 1, 0, nullptr, "10001 - Europe 1", 0},
    {"totem-pl-parser/plparse/tests/live-streaming.m3u", 1, 0, "http://media.example.com/entire.ts",
     "", 5220},
    {"Clementine/tests/data/test.m3u", 239, 0,
     "/home/kadai/Music/COLLECTION/2003/Various Artists/Wolf's Rain O.S.T/20 - gravity.mp3",
     "gravity", 203},
    {"Clementine/tests/data/test.m3u", 239, 238, nullptr, "ほっぴンちょっぴン", 85},
};

}  // namespace

TEST(PeerPlaylists, LoadIntoTheEntriesOurRulesGive) {
    const auto peers = testing_support::peersDir();
    if (peers.empty()) GTEST_SKIP() << testing_support::kNoPeers;
    for (const auto& e : kPlaylists) {
        const std::filesystem::path path = peers / "playlists" / e.file;
        ASSERT_TRUE(std::filesystem::exists(path)) << path;
        const QString file = QString::fromStdString(path.string());
        TPlaylist list;
        ASSERT_TRUE(file.endsWith(".pls") ? list.LoadFromPls(file, true)
                                          : list.LoadFromM3u(file, true))
            << e.file;
        ASSERT_EQ(list.Titles().size(), list.Count());
        ASSERT_EQ(list.Lengths().size(), list.Count());
        EXPECT_EQ(list.Count(), e.count) << e.file;
        if (e.index < 0) continue;
        ASSERT_LT(e.index, list.Count()) << e.file;
        if (e.entryFile) {
            QString expected = QString::fromUtf8(e.entryFile);
            expected.replace("@", QString::fromStdString(path.parent_path().string()));
            EXPECT_EQ(list.FileAt(e.index), expected) << e.file;
        }
        if (e.title) {
            EXPECT_EQ(list.TitleAt(e.index), QString::fromUtf8(e.title)) << e.file;
        }
        EXPECT_EQ(list.LengthAt(e.index), e.length) << e.file;
    }
}

// Byte transforms of real files for shapes no suite ships.
TEST(PeerPlaylists, ByteOrderMarkAndCrLfVariants) {
    const auto peers = testing_support::peersDir();
    if (peers.empty()) GTEST_SKIP() << testing_support::kNoPeers;
    const auto source = peers / "playlists" / "Clementine/tests/data";
    testing_support::TempDir dir;
    const std::string bom = "\xEF\xBB\xBF";
    testing_support::writeFile(dir / "bom.pls",
                               bom + testing_support::readFile(source / "pls_one.pls"));
    std::string crlf;
    for (char c : testing_support::readFile(source / "pls_somafm.pls")) {
        if (c == '\n') crlf += '\r';
        crlf += c;
    }
    testing_support::writeFile(dir / "crlf.pls", crlf);
    TPlaylist list;
    ASSERT_TRUE(list.LoadFromPls(QString::fromStdString((dir / "bom.pls").string()), true));
    ASSERT_EQ(list.Count(), 1);
    EXPECT_EQ(list.TitleAt(0), "Title");
    ASSERT_TRUE(list.LoadFromPls(QString::fromStdString((dir / "crlf.pls").string()), true));
    ASSERT_EQ(list.Count(), 4);
    EXPECT_EQ(list.FileAt(3), "http://ice.somafm.com/groovesalad");
    // As a Windows editor saves "Unicode" text: the same entries.
    for (const char* name : {"pls_one.pls", "pls_somafm.pls"}) {
        const auto utf16 = dir / (std::string("utf16-") + name);
        testing_support::writeFile(utf16, "\xFF\xFE" + platform::text::utf8ToUtf16(
                                                           testing_support::readFile(source / name),
                                                           platform::text::Endian::Little));
        TPlaylist fromUtf8, fromUtf16;
        ASSERT_TRUE(fromUtf8.LoadFromPls(QString::fromStdString((source / name).string()), true));
        ASSERT_TRUE(fromUtf16.LoadFromPls(QString::fromStdString(utf16.string()), true));
        EXPECT_EQ(fromUtf16.Count(), fromUtf8.Count()) << name;
        EXPECT_EQ(fromUtf16.Titles(), fromUtf8.Titles()) << name;
        EXPECT_EQ(fromUtf16.Lengths(), fromUtf8.Lengths()) << name;
    }
}

namespace {

// Runs a program to its end (at most 30 s); its standard output, or nothing on failure.
std::optional<QString> run(const QString& program, const QStringList& args, const QString& cwd) {
    QProcess p;
    p.setWorkingDirectory(cwd);
    p.start(program, args);
    if (!p.waitForFinished(30000) || p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0)
        return std::nullopt;
    return QString::fromUtf8(p.readAllStandardOutput()).trimmed();
}

}  // namespace

// sox plays PLS and M3U files: what we save from a playlist with relative entries, in
// another folder, must still lead it to the same sound files.
TEST(PeerPlaylists, SoxPlaysWhatWeSaveElsewhere) {
    const QString sox = QStandardPaths::findExecutable("sox");
    if (sox.isEmpty()) GTEST_SKIP() << "sox is not installed";
    testing_support::TempDir dir;
    const QString root = QString::fromStdString(dir.path().string());
    const QString lists = root + QString::fromUtf8("/Списки");
    const QString saved = root + "/saved";
    ASSERT_TRUE(QDir().mkpath(lists + QString::fromUtf8("/Звук")) && QDir().mkpath(saved));
    for (const char* name : {"a.wav", "b.wav"}) {
        ASSERT_TRUE(run(sox,
                        {"-n", "-r", "8000", "-c", "1", QString::fromUtf8("Звук/") + name, "synth",
                         "0.2", "sine", "440"},
                        lists));
    }
    testing_support::writeFile(
        (lists + "/list.m3u").toStdString(),
        "#EXTM3U\r\n#EXTINF:200,A\r\nЗвук/a.wav\r\n#EXTINF:200,B\r\nЗвук\\b.wav\r\n");
    TPlaylist list;
    ASSERT_TRUE(list.LoadFromM3u(lists + "/list.m3u", true));
    ASSERT_TRUE(list.SaveToPls(saved + "/copy.pls"));
    ASSERT_TRUE(list.SaveToM3u(saved + "/copy.m3u"));
    for (const char* copy : {"copy.pls", "copy.m3u"}) {
        const QString out = root + "/out-" + copy + ".wav";
        ASSERT_TRUE(run(sox, {saved + "/" + copy, out}, "/")) << copy;
        EXPECT_EQ(run(QStandardPaths::findExecutable("soxi"), {"-s", out}, "/"), "3200") << copy;
    }
}
