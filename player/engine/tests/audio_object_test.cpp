#include "player/engine/audio_object.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTest>
#include <QTimer>

#include "player/engine/tests/qt_print.h"

#include <chrono>
#include <filesystem>
#include <functional>
#include <memory>
#include <set>

#include "player/engine/tests/ini_reader.h"
#include "player/engine/tests/recording_view.h"
#include "soundlib/net/tests/stream_server.h"
#include "soundlib/soundlib.h"
#include "testing/file_size_limit.h"
#include "testing/qt_path.h"
#include "testing/sound_device.h"
#include "testing/temp_dir.h"

namespace {

namespace fs = std::filesystem;

// The sound files made at build time.
const fs::path kFixtures = ENGINE_FIXTURES_DIR;

using testing_support::q;

struct AudioObjectTest : ::testing::Test {
    testing_support::TempDir dir;
    RecordingView view;
    TAudioObject audio{view, dir / "AllMusik.aml"};

    // A copy of a fixture under another name in the test's folder.
    QString file(const char* fixture, const char* name) {
        fs::copy_file(kFixtures / fixture, dir / name);
        return q(dir / name);
    }
    TPlainIni index() const { return ReadPlainIni(q(dir / "AllMusik.aml")); }
    int channelState() const { return static_cast<int>(BASS_ChannelIsActive(audio.Channel)); }
};

TEST_F(AudioObjectTest, AddSourcesMeasuresReadsTagsAndPlaysTheFirstNewEntry) {
    const QString first = file("first.mp3", "first.mp3");
    const QString song = file("plain.mp3", "Song.mp3");
    const QString wav = file("mono8.wav", "mono8.wav");
    audio.AddSources({first, song, wav});

    ASSERT_EQ(audio.EntryCount(), 3);
    EXPECT_EQ(audio.GetEntryTitle(0), "First Song");
    EXPECT_EQ(audio.GetEntryTitle(1), "Song");       // no tags: the file name
    EXPECT_EQ(audio.GetEntryTitle(2), "mono8.wav");  // no tag reader: the name as it is
    EXPECT_NEAR(audio.EntryLength(0), 1000, 30);
    EXPECT_NEAR(audio.EntryLength(1), 500, 30);
    EXPECT_EQ(audio.EntryLength(2), 500);
    EXPECT_EQ(audio.TotalLength(),
              audio.EntryLength(0) + audio.EntryLength(1) + audio.EntryLength(2));

    // With Shuffle off the first new entry starts.
    EXPECT_EQ(audio.GetCurrentIndex(), 0);
    EXPECT_EQ(audio.GetSourcePath(), first);
    EXPECT_EQ(audio.PlayState, TransportState::Playing);
    EXPECT_EQ(channelState(), SOUND_ACTIVE_PLAYING);
    EXPECT_EQ(view.speedPosition, 100);
    EXPECT_EQ(view.seekMaximum, audio.SeekLength);
    EXPECT_NEAR(audio.SeekLength, 1000, 30);
    EXPECT_EQ(view.totalTime, audio.SeekLength >= 1000 ? "0:00:01" : "0:00:00");
    EXPECT_EQ(view.format, "Freequency: 44100Hz 16 bits Stereo");
    EXPECT_EQ(view.effectReapplies, 1);
    EXPECT_EQ(view.playGlyph, PlayGlyph::Pause);
    EXPECT_EQ(view.selectedRow, 0);
    EXPECT_EQ(view.listCaption, "Default");
    EXPECT_TRUE(view.balloons.empty());
    // The channel length in bytes: 16-bit stereo at 44100 Hz.
    EXPECT_NEAR(audio.TrackLength, 176400, 176400 * 3 / 100);

    // Labels and fields of the song that started.
    EXPECT_EQ(audio.Title, "First Song");
    EXPECT_EQ(audio.Artist, "Shared");
    EXPECT_EQ(view.info.Artist, "Исполнитель: Shared");
    EXPECT_EQ(view.info.Title, "Название: First Song");
    EXPECT_EQ(view.info.Album, "Альбом: Common");
    EXPECT_EQ(view.info.Year, "Год: 2001");
    EXPECT_EQ(view.info.Track, "Дорожка: 1");
    EXPECT_EQ(view.info.Genre, "Жанр: Rock");
    EXPECT_EQ(view.info.Heading, "Информация о композиции");

    // Every file is in the index with its length in ms; placeholders stand for tags.
    TPlainIni ini = index();
    EXPECT_EQ(ini["AllMusik"]["TotalArtist"], "2");
    EXPECT_EQ(ini["AllMusik"]["Artist1"], "Shared");
    EXPECT_EQ(ini["AllMusik"]["Artist2"], "Неизвестный Исполнитель");
    EXPECT_EQ(ini["Неизвестный Исполнитель"]["NumberНеизвестный Исполнитель"], "2");
    EXPECT_EQ(ini["Неизвестный Исполнитель"]["FileTit1"], "Song");
    EXPECT_EQ(ini["Неизвестный Исполнитель"]["FileLen1"], QString::number(audio.EntryLength(1)));
    EXPECT_EQ(ini["AНеизвестный Альбом"]["File2"], wav);
    EXPECT_EQ(ini["Неизвестный жанр"]["NumberНеизвестный жанр"], "2");
    EXPECT_EQ(ini["Shared"]["FileLen1"], QString::number(audio.EntryLength(0)));
    EXPECT_EQ(view.menus[int(LibraryKind::Artists)],
              QStringList({"Shared", "Неизвестный Исполнитель"}));
    EXPECT_EQ(view.menus[int(LibraryKind::Genres)], QStringList({"Rock", "Неизвестный жанр"}));

    // Adding the same files again adds nothing, changes no index, and plays the first of
    // them, not the entry after the last.
    const std::string indexBefore = testing_support::readFile(dir / "AllMusik.aml");
    audio.AddSources({song, first});
    EXPECT_EQ(audio.EntryCount(), 3);
    EXPECT_EQ(audio.GetCurrentIndex(), 1);
    EXPECT_EQ(audio.GetSourcePath(), song);
    EXPECT_EQ(testing_support::readFile(dir / "AllMusik.aml"), indexBefore);
}

TEST_F(AudioObjectTest, PlaylistFilesReplaceTheListAndOtherNamesOnlyNameIt) {
    const QString a = file("plain.mp3", "a.mp3");
    const QString b = file("plain.mp3", "b.mp3");
    const QString c = file("plain.mp3", "c.mp3");
    audio.AddSources({a, b, c});
    testing_support::writeFile(dir / "list.pls",
                               "[playlist]\nFile1=" + b.toStdString() + "\nTitle1=B\nLength1=7\n" +
                                   "File2=" + a.toStdString() + "\nNumberOfEntries=2\n");
    audio.AddSources({q(dir / "list.pls")});
    ASSERT_EQ(audio.EntryCount(), 2);
    EXPECT_EQ(audio.GetEntryTitle(0), "B");
    EXPECT_EQ(audio.EntryLength(0), 7);
    // The old count was 3, which the new list does not reach: entry 0 plays.
    EXPECT_EQ(audio.GetCurrentIndex(), 0);
    EXPECT_EQ(audio.GetSourcePath(), b);
    EXPECT_EQ(view.listCaption, "Текущий список: list");

    testing_support::writeFile(dir / "notes.txt", "not a list");
    // Lists that are not there to read (a station's list by its address, a mistyped name)
    // leave the playlist as it is.
    audio.AddSources({q(dir / "notes.txt"), q(dir / "c.s"), "http://radio.test/listen.pls",
                      q(dir / "lsit.m3u"), q(dir / "gone.pls")});
    EXPECT_EQ(audio.EntryCount(), 2);
    EXPECT_EQ(view.listCaption, "Текущий список: list");  // the last list's name again
    EXPECT_EQ(audio.GetCurrentIndex(), 0);                // from the last entry, wrapped
}

TEST_F(AudioObjectTest, UnopenableFileIsEnteredButNothingPlays) {
    testing_support::writeFile(dir / "broken.mp3", std::string(4096, 'x'));
    audio.AddSources({q(dir / "broken.mp3")});
    ASSERT_EQ(audio.EntryCount(), 1);
    EXPECT_EQ(audio.GetEntryTitle(0), "broken");
    EXPECT_EQ(audio.EntryLength(0), -1);
    EXPECT_EQ(audio.Channel, 0u);
    EXPECT_EQ(audio.PlayState, TransportState::NotReady);  // unchanged
    EXPECT_EQ(audio.GetSourcePath(), q(dir / "broken.mp3"));
    EXPECT_EQ(view.effectReapplies, 0);
    TPlainIni ini = index();
    EXPECT_EQ(ini["Неизвестный Исполнитель"]["File1"], q(dir / "broken.mp3"));
    EXPECT_EQ(ini["Неизвестный Исполнитель"]["FileLen1"], "-1");
}

TEST_F(AudioObjectTest, NextAndPreviousWrapAndShuffleNeverRepeats) {
    QStringList files;
    for (const char* name : {"0.mp3", "1.mp3", "2.mp3"}) files << file("plain.mp3", name);
    audio.AddSources(files);
    audio.PlayEntry(2);
    audio.PlayNext();
    EXPECT_EQ(audio.GetCurrentIndex(), 0);
    EXPECT_EQ(audio.GetSourcePath(), files[0]);
    audio.PlayPrevious();
    EXPECT_EQ(audio.GetCurrentIndex(), 2);
    audio.PlayEntry(7);  // out of range: ignored
    EXPECT_EQ(audio.GetCurrentIndex(), 2);

    audio.Shuffle = true;
    std::set<int> seen;
    for (int i = 0; i < 60; ++i) {
        const int before = audio.GetCurrentIndex();
        audio.PlayNext();
        EXPECT_NE(audio.GetCurrentIndex(), before);
        seen.insert(audio.GetCurrentIndex());
    }
    EXPECT_EQ(seen.size(), 3u);
    const int at = audio.GetCurrentIndex();
    audio.PlayPrevious();  // shuffle plays no part going back
    EXPECT_EQ(audio.GetCurrentIndex(), (at + 2) % 3);

    // Two entries alternate, one replays, also with Shuffle on.
    audio.DeleteEntry(2);
    audio.PlayEntry(0);
    audio.PlayNext();
    EXPECT_EQ(audio.GetCurrentIndex(), 1);
    audio.PlayNext();
    EXPECT_EQ(audio.GetCurrentIndex(), 0);
    audio.DeleteEntry(1);
    audio.PlayNext();
    EXPECT_EQ(audio.GetCurrentIndex(), 0);

    // A current index left beyond the end by deletions: back goes to the last entry.
    audio.CurrentIndex = 5;
    audio.PlayPrevious();
    EXPECT_EQ(audio.GetCurrentIndex(), 0);
    audio.ClearPlaylist();
    audio.PlayNext();  // nothing at all on an empty list
    audio.PlayPrevious();
    EXPECT_EQ(audio.GetCurrentIndex(), 0);
}

TEST_F(AudioObjectTest, PauseResumeStopAndPositionsInMilliseconds) {
    const QString first = file("first.mp3", "first.mp3");
    audio.PlaySource(first);
    ASSERT_NE(audio.Channel, 0u);
    audio.Pause();
    EXPECT_EQ(audio.PlayState, TransportState::Paused);
    EXPECT_EQ(channelState(), SOUND_ACTIVE_PAUSED);
    audio.SetPosition(500);
    EXPECT_NEAR(audio.GetPosition(), 500, 5);
    audio.Resume();
    EXPECT_EQ(audio.PlayState, TransportState::Playing);
    EXPECT_EQ(channelState(), SOUND_ACTIVE_PLAYING);
    audio.Stop();
    EXPECT_EQ(audio.PlayState, TransportState::Stopped);
    EXPECT_EQ(channelState(), SOUND_ACTIVE_STOPPED);
    EXPECT_NE(audio.Channel, 0u);  // stopped, still open

    // Playing the source again starts it from its beginning on a new channel.
    const std::uint32_t stopped = audio.Channel;
    audio.PlaySource(audio.GetSourcePath());
    EXPECT_NE(audio.Channel, stopped);
    EXPECT_LT(audio.GetPosition(), 300);
    EXPECT_EQ(BASS_ChannelIsActive(stopped), static_cast<uint32_t>(SOUND_ACTIVE_STOPPED));

    audio.Channel = 0;  // as stopping from the main window leaves it
    EXPECT_EQ(audio.GetPosition(), 0);
}

TEST_F(AudioObjectTest, ProbedLengthsOfEveryKind) {
    struct Case {
        QString path;
        int ms;  // -1: cannot be opened
    };
    const Case cases[] = {
        {file("first.mp3", "a.mp3"), 1000}, {file("tone.ogg", "b.ogg"), 500},
        {file("mono8.wav", "c.WAV"), 500},  {file("tone.wma", "d.wma"), 500},
        {file("tune.mod", "e.MOD"), 7680},  {q(dir / "missing.mp3"), -1},
        {"http://127.0.0.1:9/x.mp3", -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path.toStdString());
        const int ms = audio.ProbeLength(c.path);
        if (c.ms < 0) {
            EXPECT_EQ(ms, -1);
        } else {
            EXPECT_NEAR(ms, c.ms, 30);
        }
    }
}

TEST_F(AudioObjectTest, PlaysTrackerModulesOfOtherMakers) {
    const fs::path peers = fs::path(ZORVAN_PEERS_DIR) / "modules";
    if (!fs::exists(peers)) GTEST_SKIP() << "no peer material at " << peers;
    for (const char* name :
         {"debian/tecnoballz-data/high-score.mod", "debian/pingus-data/gd-giirm.s3m",
          "debian/pingus-data/gd-matth.it", "debian/heroes-sound-tracks/intro.xm",
          "libxmp/test-dev/data/m/fall1.mtm"}) {
        SCOPED_TRACE(name);
        const QString path = q(peers / name);
        EXPECT_GT(audio.ProbeLength(path), 1000);
        audio.PlaySource(path);
        EXPECT_EQ(channelState(), SOUND_ACTIVE_PLAYING);
        EXPECT_EQ(view.format, "Freequency: 44100Hz 16 bits Stereo");
    }
}

TEST_F(AudioObjectTest, FormatTextBalloonAndTagPlaceholders) {
    audio.ShowInfoInTray = true;
    audio.PlaySource(file("mono8.wav", "mono8.wav"));
    EXPECT_EQ(view.format, "Freequency: 8000Hz 8 bits Mono");
    ASSERT_EQ(view.balloons.size(), 1u);
    EXPECT_EQ(view.balloons[0].title, "Информация о композиции");
    EXPECT_EQ(
        view.balloons[0].text,
        "Название: mono8.wav\rИсполнитель: Неизвестный Исполнитель\rАльбом: Неизвестный Альбом");
    EXPECT_EQ(view.balloons[0].iconKind, 1);
    EXPECT_EQ(view.balloons[0].timeoutSeconds, 10);

    audio.ReadTrackInfo(file("plain.mp3", "Song.mp3"));
    EXPECT_EQ(audio.Title, "Song");
    EXPECT_EQ(audio.Artist, "Неизвестный Исполнитель");
    EXPECT_EQ(audio.Album, "Неизвестный Альбом");
    EXPECT_EQ(audio.Genre, "Неизвестный жанр");
    EXPECT_EQ(view.info.Artist, "Исполнитель: ");
    EXPECT_EQ(view.info.Album, "Альбом: ");

    audio.ReadTrackInfo(file("second.mp3", "second.mp3"));
    EXPECT_EQ(audio.Artist, "Other (x) [y]");
    EXPECT_EQ(view.info.Artist, "Исполнитель: Other [x] [y]");  // the label shows the tag

    // Tag texts on several lines show on the labels' one line each.
    const auto textFrame = [](const std::string& id, const std::string& text) {
        const auto size = static_cast<char>(text.size() + 1);
        return id + std::string{0, 0, 0, size, 0, 0, 0} + text;
    };
    const std::string frames = textFrame("TPE1", "Line\nBreak") + textFrame("TIT2", "Two\r\nLines");
    const fs::path lines = dir / "lines.mp3";
    testing_support::writeFile(lines, std::string("ID3\3\0\0\0\0\0", 9) +
                                          static_cast<char>(frames.size()) + frames +
                                          testing_support::readFile(kFixtures / "plain.mp3"));
    audio.ReadTrackInfo(q(lines));
    EXPECT_EQ(view.info.Artist, "Исполнитель: Line Break");
    EXPECT_EQ(view.info.Title, "Название: Two  Lines");

    audio.PlayWma(file("tone.wma", "tone.wma"));
    EXPECT_EQ(audio.PlayState, TransportState::Playing);
    EXPECT_EQ(view.format, "Freequency: 44100Hz 16 bits Stereo");
    EXPECT_EQ(view.balloons.size(), 2u);
}

TEST_F(AudioObjectTest, IndexTakesTheLengthOfTheVeryFileEnteredOnPlay) {
    const QString first = file("first.mp3", "first.mp3");
    const QString plain = file("plain.mp3", "plain.mp3");
    testing_support::writeFile(dir / "list.m3u", "#EXTM3U\n#EXTINF:0,x\n" + first.toStdString() +
                                                     "\n#EXTINF:0,y\n" + plain.toStdString() +
                                                     "\n");
    audio.LoadPlaylistFile(q(dir / "list.m3u"), true);
    EXPECT_EQ(view.listCaption, "Текущий список: list");
    audio.PlayEntry(0);
    audio.PlayEntry(1);  // the previous channel's length in bytes must not reach the index
    TPlainIni ini = index();
    EXPECT_EQ(ini["Shared"]["FileLen1"], QString::number(audio.ProbeLength(first)));
    EXPECT_EQ(ini["Неизвестный Исполнитель"]["FileLen1"],
              QString::number(audio.ProbeLength(plain)));
}

TEST_F(AudioObjectTest, AnIndexThatCannotBeSavedIsToldToTheViewOnce) {
    const QString first = file("first.mp3", "first.mp3");
    const QString plain = file("plain.mp3", "plain.mp3");
    const testing_support::FileSizeLimit full(16);
    audio.AddSources({first});
    audio.AddSources({plain});
    EXPECT_EQ(view.unsavedFiles, QStringList{q(dir / "AllMusik.aml")});
}

TEST_F(AudioObjectTest, ChoosingLibraryNamesAndAllMusic) {
    audio.PlayAllMusic();  // an empty index: the list is cleared and nothing plays
    EXPECT_EQ(audio.EntryCount(), 0);
    EXPECT_EQ(view.playlistViewClears, 1);
    EXPECT_EQ(audio.Channel, 0u);

    const QString first = file("first.mp3", "first.mp3");
    const QString second = file("second.mp3", "second.mp3");
    const QString plain = file("plain.mp3", "plain.mp3");
    audio.AddSources({first, second, plain});

    // A fresh start builds the same menus from the index.
    RecordingView restarted;
    TAudioObject again(restarted, dir / "AllMusik.aml");
    again.BuildLibraryMenus();
    EXPECT_EQ(restarted.menus, view.menus);
    EXPECT_EQ(restarted.menus[int(LibraryKind::Albums)],
              QStringList({"Common", "Неизвестный Альбом"}));

    // The artist "Shared" and the genre "Shared" share a section: both files load.
    again.LibraryNameChosen(LibraryKind::Genres, "Shared");
    ASSERT_EQ(again.EntryCount(), 2);
    EXPECT_EQ(again.GetEntryFile(0), first);
    EXPECT_EQ(again.GetEntryFile(1), second);
    EXPECT_EQ(again.GetSourcePath(), first);
    EXPECT_EQ(restarted.playlistViewRefreshes, 1);

    again.LibraryNameChosen(LibraryKind::Albums, "Common");
    EXPECT_EQ(again.EntryCount(), 2);
    again.LibraryNameChosen(LibraryKind::Artists, "Nobody");  // no files: nothing happens
    EXPECT_EQ(again.EntryCount(), 2);
    EXPECT_EQ(restarted.playlistViewClears, 2);

    // All music: every artist's files with the indexed titles and lengths, entry 0 plays.
    // The genre put the second file into the artist's shared section without a title or
    // length; it comes first there, so the artist's own later listing is a duplicate.
    fs::remove(dir / "plain.mp3");  // not opened to be listed
    again.PlayAllMusic();
    ASSERT_EQ(again.EntryCount(), 3);
    EXPECT_EQ(again.GetEntryTitle(0), "First Song");
    EXPECT_EQ(again.GetEntryFile(1), second);
    EXPECT_EQ(again.GetEntryTitle(1), "Error");
    EXPECT_EQ(again.EntryLength(1), 0);
    EXPECT_EQ(again.GetEntryTitle(2), "plain");
    EXPECT_EQ(again.EntryLength(2), audio.EntryLength(2));
    EXPECT_EQ(again.GetCurrentIndex(), 0);
    EXPECT_EQ(again.GetSourcePath(), first);
}

TEST_F(AudioObjectTest, SortFollowsTheLoadedTitle) {
    const QString first = file("first.mp3", "first.mp3");
    const QString b = file("plain.mp3", "b.mp3");
    const QString a = file("plain.mp3", "a.mp3");
    audio.AddSources({first, b, a});
    audio.PlayEntry(2);  // "a"
    audio.SortByTitle();
    EXPECT_EQ(audio.GetEntryTitle(0), "First Song");
    EXPECT_EQ(audio.GetEntryTitle(1), "a");
    EXPECT_EQ(audio.GetCurrentIndex(), 1);
    EXPECT_EQ(audio.IndexOfFile(b), 2);
    EXPECT_EQ(audio.IndexOfFile(b.toUpper()), -1);  // another file on Linux
}

// A radio server on loopback that sends station headers and titles every 1024 bytes.
std::string radioConfig(const char* mode) {
    return std::string(R"({"mode": ")") + mode + R"(", "body": ")" +
           (kFixtures / "first.mp3").string() +
           R"(", "loop": true, "metaint": 1024, "rate": 64000, "timeout": 30,
               "titles": [{"at": 0, "text": "StreamTitle='Night Song';"}]})";
}

// Whether this build of the sound library opens internet addresses at all.
bool internetStreamsBuiltIn() {
    BASS_StreamCreateURL("http://127.0.0.1:9/", 0, 0, nullptr, nullptr);
    return BASS_ErrorGetCode() != SOUND_ERROR_NOTAVAIL;
}

TEST_F(AudioObjectTest, InternetAddressTitlesFromTheStation) {
    if (!internetStreamsBuiltIn()) GTEST_SKIP() << "the sound library has no internet part";
    using soundlib::net::testing::StreamServer;
    const StreamServer radio(radioConfig("icy"));
    const QString address = QString::fromStdString(radio.url("/live.mp3"));
    // A temporary connection, closed again.
    EXPECT_EQ(audio.MakeEntryTitle(address), "Loop Radio http://radio.test/ - Night Song");
    EXPECT_EQ(audio.Channel, 0u);

    // Added, the address stands as its title until the station's headers arrive, and the
    // stream connects while the caller goes on.
    audio.AddSources({address});
    ASSERT_EQ(audio.EntryCount(), 1);
    EXPECT_EQ(audio.EntryLength(0), -1);  // a stream cannot be measured
    EXPECT_EQ(audio.GetEntryTitle(0), address);
    EXPECT_EQ(audio.PlayState, TransportState::Playing);
    EXPECT_TRUE(audio.Connecting());
    EXPECT_EQ(view.seekMaximum, 0);  // no position for a live stream
    ASSERT_TRUE(QTest::qWaitFor([&] { return audio.Channel != 0; }, 10'000));
    EXPECT_FALSE(audio.Connecting());
    ASSERT_TRUE(QTest::qWaitFor([&] { return audio.GetEntryTitle(0) != address; }, 10'000));
    EXPECT_EQ(audio.GetEntryTitle(0), "Loop Radio http://radio.test/ - Night Song");
    EXPECT_EQ(view.entryTitleArrivals, 1);

    // It starts like a file: the format line, the effects and the pause glyph, and the
    // information panel with the station and the song.
    EXPECT_EQ(channelState(), SOUND_ACTIVE_PLAYING);
    EXPECT_EQ(view.format, "Freequency: 44100Hz 16 bits Stereo");
    EXPECT_EQ(view.effectReapplies, 1);
    EXPECT_EQ(view.playGlyph, PlayGlyph::Pause);
    EXPECT_EQ(view.info.Artist, "Исполнитель: Loop Radio");
    EXPECT_EQ(view.info.Title, "Название: Night Song");
    EXPECT_EQ(view.info.Album, "Альбом: http://radio.test/");
    EXPECT_EQ(view.info.Year, "Год: ");
    EXPECT_EQ(view.info.Genre, "Жанр: Test");
    EXPECT_TRUE(view.balloons.empty());

    // The stream now open is asked on its own channel, whatever the case of the address.
    const StreamTags live = audio.ReadStreamTags(QString());
    EXPECT_EQ(live.StationName, "Loop Radio");
    EXPECT_EQ(live.Lines.last(), "StreamTitle='Night Song';");
    EXPECT_EQ(audio.MakeEntryTitle(" " + address.toUpper() + " "),
              "Loop Radio http://radio.test/ - Night Song");
    EXPECT_FALSE(audio.SourceEnded());

    // A server without station headers, and an address nothing listens on.
    const StreamServer plain(R"({"mode": "file", "body": ")" + (kFixtures / "first.mp3").string() +
                             R"(", "timeout": 30})");
    EXPECT_EQ(audio.MakeEntryTitle(QString::fromStdString(plain.url("/a.mp3"))), "Unknown Host");
    EXPECT_EQ(audio.MakeEntryTitle("http://127.0.0.1:9/dead.mp3"), "Unknown Host");
}

TEST_F(AudioObjectTest, StreamTitleChangesReachThePanelAndTheEndIsReported) {
    if (!internetStreamsBuiltIn()) GTEST_SKIP() << "the sound library has no internet part";
    using soundlib::net::testing::StreamServer;
    // About three seconds of audio with a new title after the first second, then the
    // server closes.
    const StreamServer radio(R"({"mode": "icy", "body": ")" ZORVAN_NET_TONE
                             R"(", "loop": true, "metaint": 1024, "rate": 16000,
                                 "total": 48000, "timeout": 30,
                                 "headers": ["icy-name:Short Radio", "icy-genre:Jazz"],
                                 "titles": [{"at": 0, "text": "StreamTitle='One';"},
                                            {"at": 16000, "text": "StreamTitle='Two';"}]})");
    ASSERT_TRUE(audio.PlayUrl(QString::fromStdString(radio.url("/short"))));
    ASSERT_TRUE(QTest::qWaitFor([&] { return audio.Channel != 0; }, 10'000));
    EXPECT_EQ(view.info.Title, "Название: One");
    EXPECT_EQ(view.info.Genre, "Жанр: Jazz");
    ASSERT_TRUE(QTest::qWaitFor(
        [&] {
            audio.RefreshStreamInfo();
            return view.info.Title == "Название: Two";
        },
        10'000));
    EXPECT_EQ(audio.Title, "Two");
    EXPECT_EQ(audio.Artist, "Short Radio");
    QElapsedTimer heard;
    heard.start();
    EXPECT_TRUE(QTest::qWaitFor([&] { return audio.SourceEnded(); }, 15'000));
    EXPECT_GT(heard.elapsed(), 1000);  // not before the audio sent was heard
}

TEST_F(AudioObjectTest, SilentServerNeverHoldsTheCaller) {
    if (!internetStreamsBuiltIn()) GTEST_SKIP() << "the sound library has no internet part";
    using soundlib::net::testing::StreamServer;
    const StreamServer silent(R"({"mode": "silent", "timeout": 30})");
    BASS_SetConfig(SOUND_CONFIG_NET_TIMEOUT, 1000);
    QElapsedTimer clock;
    clock.start();
    const QString address = QString::fromStdString(silent.url("/x.mp3"));
    audio.AddSources({address});
    EXPECT_LT(clock.elapsed(), 300);
    EXPECT_EQ(audio.PlayState, TransportState::Playing);
    EXPECT_TRUE(audio.Connecting());
    // The open fails: nothing plays and the state says so; the entry's title gives up.
    EXPECT_TRUE(QTest::qWaitFor([&] { return !audio.Connecting(); }, 10'000));
    EXPECT_EQ(audio.PlayState, TransportState::Stopped);
    EXPECT_EQ(view.playGlyph, PlayGlyph::Play);
    EXPECT_EQ(audio.Channel, 0u);
    EXPECT_TRUE(QTest::qWaitFor([&] { return audio.GetEntryTitle(0) == "Unknown Host"; }, 10'000));

    // A connection overtaken by another source is dropped when it arrives.
    audio.PlayUrl(QString::fromStdString(silent.url("/y")));
    const QString song = file("plain.mp3", "song.mp3");
    audio.PlaySource(song);
    EXPECT_FALSE(audio.Connecting());
    QTest::qWait(1500);
    EXPECT_EQ(audio.GetSourcePath(), song);
    EXPECT_EQ(audio.PlayState, TransportState::Playing);
    BASS_SetConfig(SOUND_CONFIG_NET_TIMEOUT, 5000);
}

}  // namespace

// A large add measured on worker threads gives what measuring one file after another
// gives: the same entries, titles and lengths, the same index byte for byte, the same
// menus and the same song playing.
TEST(AddSourcesProbing, WorkerThreadsGiveWhatOneThreadGives) {
    testing_support::TempDir dir;
    const char* const fixtures[] = {"first.mp3", "second.mp3", "plain.mp3", "counted.mp3",
                                    "mono8.wav", "tone.ogg",   "tone.wma",  "tune.mod"};
    const char* const extensions[] = {".mp3", ".mp3", ".mp3", ".MP3",
                                      ".wav", ".ogg", ".wma", ".mod"};
    fs::create_directories(dir / "music");
    testing_support::writeFile(dir / "music" / "broken.mp3", std::string(4096, 'x'));
    QStringList names;
    for (int i = 0; i < 1000; ++i) {
        const std::size_t kind = static_cast<std::size_t>(i) % std::size(fixtures);
        const fs::path path = dir / "music" / ("song " + std::to_string(i) + extensions[kind]);
        fs::copy_file(kFixtures / fixtures[kind], path);
        names << q(path);
        // Now and then a name seen before, a broken file, a missing one and an address.
        if (i % 97 == 0) names << names[i / 2];
        if (i % 211 == 0) names << q(dir / "music" / "broken.mp3");
        if (i % 307 == 0) names << q(dir / "music" / "missing.mp3");
    }
    names.insert(500, "http://127.0.0.1:9/x.mp3");
    // A playlist in the middle replaces what came before it.
    testing_support::writeFile(dir / "music" / "list.pls",
                               "[playlist]\nFile1=" + names[3].toStdString() +
                                   "\nTitle1=Listed\nLength1=7\nNumberOfEntries=1\n");
    names.insert(300, q(dir / "music" / "list.pls"));

    struct Run {
        QString folder;
        RecordingView view;
        std::unique_ptr<TAudioObject> audio;
    };
    const auto add = [&](const char* folder, int threads) {
        auto run = std::make_unique<Run>();
        run->folder = q(dir / folder);
        fs::create_directories(dir / folder);
        run->audio = std::make_unique<TAudioObject>(run->view, dir / folder / "AllMusik.aml");
        run->audio->SetProbeThreads(threads);
        run->audio->AddSources(names.mid(0, 2));
        run->audio->AddSources(names);
        EXPECT_TRUE(run->audio->SavePls(run->folder + "/list.pls"));
        return run;
    };
    const auto one = add("one", 0);
    const auto many = add("many", 4);

    EXPECT_GT(one->audio->EntryCount(), 650);
    EXPECT_EQ(many->audio->EntryCount(), one->audio->EntryCount());
    for (const char* file : {"AllMusik.aml", "list.pls"}) {
        SCOPED_TRACE(file);
        const std::string expected = testing_support::readFile(dir / "one" / file);
        EXPECT_FALSE(expected.empty());
        EXPECT_TRUE(testing_support::readFile(dir / "many" / file) == expected);
    }
    EXPECT_EQ(many->view.menus, one->view.menus);
    EXPECT_EQ(many->audio->GetCurrentIndex(), one->audio->GetCurrentIndex());
    EXPECT_EQ(many->audio->GetSourcePath(), one->audio->GetSourcePath());
    EXPECT_EQ(many->audio->SeekLength, one->audio->SeekLength);
    EXPECT_EQ(many->audio->Title, one->audio->Title);
    EXPECT_EQ(many->view.info.Title, one->view.info.Title);
    EXPECT_EQ(many->view.listCaption, one->view.listCaption);
    // Whatever progress was shown counts up within the names given.
    for (const auto* run : {one.get(), many.get()}) {
        const std::vector<int>& shown = run->view.addingProgress;
        EXPECT_TRUE(std::is_sorted(shown.begin(), shown.end()));
        EXPECT_TRUE(shown.empty() || shown.back() <= names.size());
    }
}

// When the add starts no file (an address comes first), the panel keeps the tags of the
// last file added, with workers as without.
TEST(AddSourcesProbing, ThePanelShowsTheLastFileAddedWhenNoFileStarts) {
    testing_support::TempDir dir;
    const QStringList names = {"http://127.0.0.1:9/x.mp3", q(kFixtures / "second.mp3"),
                               q(kFixtures / "first.mp3")};
    for (const int threads : {0, 2}) {
        SCOPED_TRACE(threads);
        RecordingView view;
        TAudioObject audio(view, dir / ("AllMusik" + std::to_string(threads) + ".aml"));
        audio.SetProbeThreads(threads);
        audio.AddSources(names);
        EXPECT_EQ(audio.GetCurrentIndex(), 0);
        EXPECT_EQ(view.info.Title, "Название: First Song");
        EXPECT_EQ(view.info.Artist, "Исполнитель: Shared");
        audio.DropChannel();
    }
}

namespace {

// Handles the window's pending events at every report, as the main window does.
struct AnsweringView : RecordingView {
    void ShowAddingProgress(int done, int total) override {
        RecordingView::ShowAddingProgress(done, total);
        QCoreApplication::processEvents();
    }
};

// An audio object whose add reports after every name to a view that handles events.
struct AnsweringAudio {
    AnsweringView view;
    TAudioObject audio;
    AnsweringAudio(const fs::path& index, int threads) : audio(view, index) {
        audio.SetProbeThreads(threads);
        audio.SetAddingReportPeriod(std::chrono::milliseconds(0));
    }
};

struct AddResult {
    QStringList entries;  // file, title and length of each
    std::string index;
    int current = 0;
    QString source;
    TransportState state = TransportState::NotReady;
};

AddResult resultOf(const TAudioObject& audio, const fs::path& index) {
    AddResult result{{},
                     testing_support::readFile(index),
                     audio.GetCurrentIndex(),
                     audio.GetSourcePath(),
                     audio.PlayState};
    for (int i = 0; i < audio.EntryCount(); ++i)
        result.entries << audio.GetEntryFile(i) + '|' + audio.GetEntryTitle(i) + '|' +
                              QString::number(audio.EntryLength(i));
    return result;
}

}  // namespace

// Events handled while an add reports its progress (a timer posted before it here) may
// call the audio object: changes of the playlist wait for the add's end, choices of
// another entry are refused, and a close stops the add after the name it is on. The
// outcome is what the same calls give one after another.
TEST(AddSourcesAnswering, CallsDuringAnAddWaitOrAreRefused) {
    testing_support::TempDir dir;
    fs::create_directories(dir / "music");
    QStringList names, more;
    const char* const fixtures[] = {"first.mp3", "second.mp3", "plain.mp3", "mono8.wav"};
    for (int i = 0; i < 12; ++i) {
        const std::string fixture = fixtures[i % 4];
        const fs::path path =
            dir / "music" / ("song " + std::to_string(i) + fixture.substr(fixture.size() - 4));
        fs::copy_file(kFixtures / fixture, path);
        (i < 9 ? names : more) << q(path);
    }
    struct Case {
        const char* name;
        std::function<void(TAudioObject&)> calls;  // while the add runs
        bool refused;  // else the same calls made after the add give the same outcome
    };
    const Case cases[] = {
        {"another add waits", [&](TAudioObject& a) { a.AddSources(more); }, false},
        {"a clear waits", [](TAudioObject& a) { a.ClearPlaylist(); }, false},
        {"a deletion, a sort and a list wait",
         [&](TAudioObject& a) {
             a.DeleteEntry(0);
             a.SortByTitle();
             a.LoadPlaylistFile(q(dir / "none.pls"), false);
         },
         false},
        {"another entry is refused",
         [](TAudioObject& a) {
             a.PlayNext();
             a.PlayPrevious();
             a.PlayEntry(0);
         },
         true},
    };
    for (const int threads : {0, 2}) {
        for (const Case& c : cases) {
            SCOPED_TRACE(std::string(c.name) + ", threads " + std::to_string(threads));
            const fs::path folder = dir / (std::string(c.name) + std::to_string(threads));
            fs::create_directories(folder / "alone");
            RecordingView aloneView;
            TAudioObject alone(aloneView, folder / "alone" / "AllMusik.aml");
            alone.SetProbeThreads(threads);
            alone.AddSources(names);
            if (!c.refused) c.calls(alone);

            AnsweringAudio run(folder / "AllMusik.aml", threads);
            bool handled = false;
            QTimer::singleShot(0, [&] {
                handled = run.audio.Adding();
                c.calls(run.audio);
            });
            run.audio.AddSources(names);
            EXPECT_TRUE(handled);
            EXPECT_FALSE(run.audio.Adding());
            EXPECT_FALSE(run.view.addingChanges.empty());
            EXPECT_FALSE(run.view.addingChanges.back());
            const AddResult expected = resultOf(alone, folder / "alone" / "AllMusik.aml");
            const AddResult got = resultOf(run.audio, folder / "AllMusik.aml");
            EXPECT_EQ(got.entries, expected.entries);
            EXPECT_TRUE(got.index == expected.index);
            EXPECT_EQ(got.current, expected.current);
            EXPECT_EQ(got.source, expected.source);
            EXPECT_EQ(got.state, expected.state);
            run.audio.DropChannel();
            alone.DropChannel();
        }

        // A close: the add stops after the name it is on, what it added stays, nothing
        // starts, and what waited for its end runs before it returns; no add follows.
        SCOPED_TRACE(threads);
        const fs::path folder = dir / ("close" + std::to_string(threads));
        fs::create_directories(folder / "alone");
        AnsweringAudio run(folder / "AllMusik.aml", threads);
        TAudioObject& audio = run.audio;
        bool closed = false;
        QTimer::singleShot(0, [&] {
            audio.StopAdding();
            audio.AfterAdding([&] { closed = !audio.Adding(); });
            audio.AddSources(more);
        });
        audio.AddSources(names);
        EXPECT_TRUE(closed);
        ASSERT_EQ(audio.EntryCount(), 1);
        EXPECT_EQ(audio.GetEntryFile(0), names[0]);
        EXPECT_TRUE(audio.GetSourcePath().isEmpty());
        EXPECT_EQ(audio.PlayState, TransportState::NotReady);
        RecordingView aloneView;
        TAudioObject alone(aloneView, folder / "alone" / "AllMusik.aml");
        alone.AddSources(names.mid(0, 1));
        EXPECT_TRUE(testing_support::readFile(folder / "AllMusik.aml") ==
                    testing_support::readFile(folder / "alone" / "AllMusik.aml"));
        audio.AddSources(more);
        EXPECT_EQ(audio.EntryCount(), 1);
        alone.DropChannel();
    }
}
