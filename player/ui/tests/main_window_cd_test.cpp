// CD mode of the main window on disc images made by sox: drive items, the track list,
// playing, seeking, the next track after the last, two drives, a disc taken out and put
// back, and leaving CD mode. The sound library renders offline, driven by the tests.
#include <gtest/gtest.h>

#include <QApplication>
#include <QPainter>
#include <QTest>

#include <cstring>
#include <filesystem>
#include <functional>

#include "player/engine/audio_object.h"
#include "player/ui/main_window.h"
#include "soundlib/soundlib.h"
#include "soundlib/soundlib_cd.h"
#include "soundlib/tests/fixtures.h"
#include "testing/cd_image.h"
#include "testing/temp_dir.h"

namespace {

namespace fs = std::filesystem;
using testing_support::CdImageTrack;

constexpr int kSecond = 176'400;

// Twelve tones of a second, the first of 15 s, and a data track.
std::vector<CdImageTrack> albumTracks() {
    std::vector<CdImageTrack> tracks{{1125, 440}};
    for (int k = 1; k < 12; ++k) tracks.push_back({75, 500 + 150 * k});
    tracks.push_back({150, 0});
    return tracks;
}
const std::vector<CdImageTrack> kSecondDisc{{150, 3000}, {150, 3500}};

// The images, named in ZORVAN_CD_IMAGES before the sound library first lists its drives
// (once a process: this test runs in a process of its own).
struct Discs {
    testing_support::TempDir dir;
    fs::path album, second, loose;
    Discs() {
        album = testing_support::writeCdImage(dir.path(), "album", albumTracks());
        second = testing_support::writeCdImage(dir.path(), "second", kSecondDisc);
        loose = testing_support::writeCdImage(dir.path(), "loose", kSecondDisc);
        const std::string list = album.string() + ":" + second.string() + ":" + loose.string();
        setenv("ZORVAN_CD_IMAGES", list.c_str(), 1);
    }
};
const Discs& discs() {
    static const Discs made;
    return made;
}

class OfflineSound : public ::testing::Environment {
public:
    void SetUp() override {
        discs();
        ASSERT_NE(BASS_Init(0, 44100, SOUND_INIT_OFFLINE, nullptr, nullptr), 0);
    }
    void TearDown() override { BASS_Free(); }
};
[[maybe_unused]] const auto* const kSound = ::testing::AddGlobalTestEnvironment(new OfflineSound);

// The left side's tone, from its rising zero crossings.
double toneHz(const std::vector<std::int16_t>& samples) {
    int rises = 0;
    for (std::size_t i = 2; i < samples.size(); i += 2)
        rises += samples[i - 2] < 0 && samples[i] >= 0;
    return rises * 44100.0 / static_cast<double>(samples.size() / 2);
}

long bytesReadByThisThread() {
    const std::string text = testing_support::readFile("/proc/thread-self/io");
    return std::stol(text.substr(text.find("rchar:") + 6));
}

struct CdModeTest : ::testing::Test {
    testing_support::TempDir dir;
    TForm1 form;
    TAudioObject audio{form, dir / "AllMusik.aml"};

    CdModeTest() {
        AudioObject = &audio;
        form.TrackBar1->setValue(100);
        form.BuildCdDriveItems();
    }
    ~CdModeTest() override {
        audio.DropChannel();
        AudioObject = nullptr;
    }

    QAction* driveItem(const fs::path& image) {
        for (QAction* action : form.PopupMenu4->actions())
            if (action->text().startsWith(QString::fromStdString(image.string()) + ": "))
                return action;
        return nullptr;
    }
    // Chooses the drive's item; the CD timer's ticks are then the test's own.
    void enter(const fs::path& image) {
        QAction* item = driveItem(image);
        ASSERT_TRUE(item) << image;
        item->trigger();
        ASSERT_TRUE(form.Timer3->isActive());
        form.Timer3->stop();
    }
    void ticks(int count) {
        for (int i = 0; i < count; ++i) form.Timer3Timer();
    }
    QStringList rows() const {
        QStringList texts;
        for (int i = 0; i < form.ListBox1->count(); ++i) texts << form.ListBox1->text(i);
        return texts;
    }
    void doubleClick(int row) {
        form.ListBox1->setCurrentRow(row);
        form.ListBox1DblClick();
    }
    // Plays `frames` frames of the live channel, then lets posted notifications run.
    std::vector<std::int16_t> play(std::size_t frames) {
        auto played = soundlib_test::renderPlayed(audio.Channel, frames);
        QApplication::processEvents();
        return played;
    }
    std::uint32_t playing() const { return BASS_CD_StreamGetTrack(audio.Channel); }
    std::uint32_t drive(const fs::path& image) const {
        std::uint32_t number = 0;
        while (BASS_CD_GetDriveLetter(number) && image != BASS_CD_GetDriveLetter(number)) ++number;
        return number;
    }
};

TEST_F(CdModeTest, DriveItemsFollowTheFixedItemsAndEnterCdModeWithTheDiscsTracks) {
    const QList<QAction*> items = form.PopupMenu4->actions();
    ASSERT_GE(items.size(), 10);
    EXPECT_EQ(items[6]->text(), "Открыть файл");
    const std::uint32_t album = drive(discs().album);
    EXPECT_EQ(
        items[7 + static_cast<int>(album)]->text(),
        QString::fromStdString(discs().album.string()) + ": " + BASS_CD_GetDriveDescription(album));
    EXPECT_FALSE(items[7]->icon().isNull());

    audio.Channel = BASS_CD_StreamCreate(album, 1, 0);
    ASSERT_NE(audio.Channel, 0u);
    enter(discs().album);
    EXPECT_TRUE(form.CdMode);
    EXPECT_EQ(form.CdDrive, static_cast<int>(album));
    EXPECT_EQ(audio.Channel, 0u);
    EXPECT_FALSE(form.Timer1->isActive());
    EXPECT_FALSE(form.Timer2->isActive());
    EXPECT_EQ(form.Label33->text(), "Данная опция неподдерживается для CD");
    EXPECT_EQ(form.Label34->text(), "CD");
    EXPECT_EQ(form.Label26->text(), "00:00");
    EXPECT_EQ(form.ListBox1->count(), 0);

    // The list comes on the fourth tick.
    ticks(3);
    EXPECT_EQ(form.ListBox1->count(), 0);
    ticks(1);
    const QStringList list = rows();
    ASSERT_EQ(list.size(), 13);
    EXPECT_EQ(list[0], "Track 01 (00:15)");
    EXPECT_EQ(list[1], "Track 02 (00:01)");
    EXPECT_EQ(list[11], "Track 12 (00:01)");
    EXPECT_EQ(list[12], "Track 13 (data)");
}

TEST_F(CdModeTest, ATrackPlaysItsToneFromItsStartAndSeeksBySeconds) {
    const std::string bin =
        testing_support::readFile(fs::path(discs().album).replace_extension(".bin"));
    const long readBefore = bytesReadByThisThread();
    enter(discs().album);
    ticks(4);
    const auto tracks = albumTracks();
    for (const int row : {3, 0}) {
        doubleClick(row);
        EXPECT_EQ(playing(), drive(discs().album) << 16 | static_cast<std::uint32_t>(row));
        auto played = play(44100 / 2);
        played.resize(44100);
        EXPECT_NEAR(toneHz(played), tracks[row].hz, 3) << row;
        std::vector<std::int16_t> start(2 * 1000);
        std::memcpy(start.data(), bin.data() + testing_support::cdTrackOffset(tracks, row), 4000);
        EXPECT_TRUE(std::equal(start.begin(), start.end(), played.begin())) << row;
    }
    EXPECT_EQ(form.Label26->text(), "00:15");
    EXPECT_EQ(form.TrackBarEx1->maximum(), 15);

    play(44100);
    ticks(4);
    EXPECT_EQ(form.Label27->text(), "00:02");
    EXPECT_EQ(form.TrackBarEx1->value(), 2);
    form.TrackBarEx1->setValue(9);
    emit form.TrackBarEx1->MouseUp(Qt::LeftButton);
    EXPECT_EQ(BASS_ChannelGetPosition(audio.Channel), 9 * kSecond);
    play(4410);
    ticks(4);
    EXPECT_EQ(form.Label27->text(), "00:09");
    EXPECT_EQ(form.TrackBarEx1->value(), 9);
    // Seconds of sectors were played, read on the stream's own thread: this one read
    // CUE sheets and the window's own files, less than one second of CD audio.
    EXPECT_LT(bytesReadByThisThread() - readBefore, kSecond);
}

TEST_F(CdModeTest, TheLastAudioTrackIsFollowedByTheFirst) {
    enter(discs().album);
    ticks(4);
    doubleClick(11);
    EXPECT_EQ(form.Label26->text(), "00:01");
    play(2 * 44100);
    EXPECT_EQ(playing() & 0xFFFF, 0u);
    EXPECT_EQ(form.ListBox1->currentRow(), 0);
    EXPECT_EQ(form.Label26->text(), "00:15");
    EXPECT_EQ(BASS_ChannelIsActive(audio.Channel), std::uint32_t{SOUND_ACTIVE_PLAYING});
}

TEST_F(CdModeTest, TheSecondDriveItemPlaysFromTheSecondImage) {
    enter(discs().album);
    ticks(4);
    doubleClick(1);
    enter(discs().second);
    EXPECT_EQ(audio.Channel, 0u);
    EXPECT_FALSE(form.Timer1->isActive());
    EXPECT_FALSE(form.Timer2->isActive());
    ticks(4);
    EXPECT_EQ(rows(), QStringList({"Track 01 (00:02)", "Track 02 (00:02)"}));
    doubleClick(1);
    EXPECT_EQ(playing(), drive(discs().second) << 16 | 1u);
    EXPECT_NEAR(toneHz(play(22050)), 3500, 3);
}

TEST_F(CdModeTest, ADiscTakenOutEmptiesTheListWithinFourTicksAndComesBack) {
    const fs::path away = discs().dir / "loose.away";
    enter(discs().loose);
    ticks(4);
    ASSERT_EQ(form.ListBox1->count(), 2);
    fs::rename(discs().loose, away);
    ticks(4);
    EXPECT_EQ(form.ListBox1->count(), 0);
    ticks(8);
    EXPECT_EQ(form.ListBox1->count(), 0);
    fs::rename(away, discs().loose);
    ticks(4);
    EXPECT_EQ(form.ListBox1->count(), 2);

    // Taken out while a track plays: the track ends, no next one starts, the list empties.
    doubleClick(0);
    play(4410);
    fs::rename(discs().loose, away);
    play(10 * 44100);
    EXPECT_EQ(BASS_ChannelIsActive(audio.Channel), std::uint32_t{SOUND_ACTIVE_STOPPED});
    ticks(4);
    EXPECT_EQ(audio.Channel, 0u);
    EXPECT_EQ(form.ListBox1->count(), 0);
    fs::rename(away, discs().loose);
}

TEST_F(CdModeTest, LoadingSourcesLeavesCdModeWithThePlaylistAndTheNormalTimers) {
    const fs::path tune = dir / "tune.wav";
    ASSERT_EQ(
        std::system(("sox -n -r 44100 -c 2 '" + tune.string() + "' synth 1 sine 300").c_str()), 0);
    audio.AddSources({QString::fromStdString(tune.string())});
    form.RefreshPlaylistView();
    const QStringList playlist = rows();
    ASSERT_EQ(playlist.size(), 1);

    // Rows are drawn with the playlist's length column, but not in CD mode.
    const auto lengthColumnInk = [this] {
        QImage image(form.ListBox1->width(), 13, QImage::Format_RGB32);
        QPainter painter(&image);
        QStyleOptionViewItem option;
        option.rect = image.rect();
        option.widget = form.ListBox1;
        option.font = form.ListBox1->font();
        option.palette = form.ListBox1->palette();
        form.ListBox1Rows->paint(&painter, option, form.ListBox1->model()->index(0, 0));
        painter.end();
        // Pixels other than the row's fill, taken from its last column.
        const QRgb fill = image.pixel(image.width() - 1, 0);
        int ink = 0;
        for (int x = image.width() - 60; x < image.width(); ++x)
            for (int y = 0; y < image.height(); ++y) ink += image.pixel(x, y) != fill;
        return ink;
    };
    EXPECT_GT(lengthColumnInk(), 0);

    for (const auto& load : std::vector<std::function<void()>>{
             [this] { form.DefaultPlaylistCommand(); },
             [this] {
                 QTimer::singleShot(0, [] {
                     if (auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget()))
                         dialog->reject();
                 });
                 form.OpenFilesCommand();
             }}) {
        enter(discs().album);
        ticks(4);
        ASSERT_EQ(form.ListBox1->count(), 13);
        EXPECT_EQ(lengthColumnInk(), 0);
        load();
        EXPECT_FALSE(form.CdMode);
        EXPECT_EQ(rows(), playlist);
        EXPECT_TRUE(form.Timer1->isActive());
        EXPECT_TRUE(form.Timer2->isActive());
        EXPECT_FALSE(form.Timer3->isActive());
        EXPECT_EQ(form.Label34->text(), "");
        EXPECT_EQ(BASS_CD_StreamGetTrack(audio.Channel), 0xFFFFFFFFu);
    }
}

}  // namespace
