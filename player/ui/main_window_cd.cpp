// The main window's CD mode: drive items in the quick-access menu, the disc's tracks in
// the playlist box, the 50 ms CD timer, and each track followed by the next.
#include <QStyle>
#include <cmath>

#include "player/engine/audio_object.h"
#include "player/ui/cd_mode_rules.h"
#include "player/ui/main_window.h"
#include "soundlib/soundlib.h"
#include "soundlib/soundlib_cd.h"

namespace {

// The flags the window gives every CD stream; the sound library defines none of them.
constexpr std::uint32_t kCdStreamFlags = 0x10000;

// Runs on the sound library's mixer thread: the work belongs to the window thread.
void CdTrackEnded(std::uint32_t, std::uint32_t channel, std::uint32_t, void* user) {
    auto* form = static_cast<TForm1*>(user);
    QMetaObject::invokeMethod(
        form, [form, channel] { form->EndOfCdTrack(channel); }, Qt::QueuedConnection);
}

// The audio track after `track` on the drive's disc, wrapping to the first; data tracks
// are passed over. -1 when the disc has no audio track.
int NextAudioTrack(int drive, int track) {
    const std::int32_t count = BASS_CD_GetTracks(static_cast<std::uint32_t>(drive));
    for (int step = 1; step <= count; ++step) {
        const int next = (track + step) % count;
        if (BASS_CD_GetTrackLength(static_cast<std::uint32_t>(drive),
                                   static_cast<std::uint32_t>(next)) != -1)
            return next;
    }
    return -1;
}

}  // namespace

void TForm1::BuildCdDriveItems() {
    CdMode = false;
    CdDrive = 0;
    CdPeakLeft = CdPeakRight = 0;
    CdTick = 0;
    SeekDragging = false;
    const QIcon image = style()->standardIcon(QStyle::SP_DriveCDIcon);
    for (std::uint32_t drive = 0; const char* description = BASS_CD_GetDriveDescription(drive);
         ++drive) {
        const QString caption = QString::fromUtf8(BASS_CD_GetDriveLetter(drive)) +
                                QStringLiteral(": ") + QString::fromUtf8(description);
        QAction* item = PopupMenu4->addAction(image, QString(caption).replace('&', "&&"));
        connect(item, &QAction::triggered, this,
                [this, drive] { EnterCdMode(static_cast<int>(drive)); });
        ListCommands << item;
    }
}

void TForm1::EnterCdMode(int drive) {
    CdDrive = drive;
    if (AudioObject) AudioObject->DropChannel();
    ListBox1->clear();
    TrackBarEx1->setValue(0);
    // Set rather than flipped, so that choosing a drive from CD mode keeps the CD timer.
    Timer3->start();
    Timer1->stop();
    Timer2->stop();
    Label2->clear();
    Label26->setText(QStringLiteral("00:00"));
    Label27->setText(QStringLiteral("00:00"));
    for (QLabel* label : {Label28, Label29, Label30, Label31, Label32}) label->clear();
    Label33->setText(QStringLiteral("Данная опция неподдерживается для CD"));
    Label34->setText(QStringLiteral("CD"));
    Label35->clear();
    CdMode = true;
}

void TForm1::LeaveCdMode() {
    if (AudioObject) AudioObject->DropChannel();
    ListBox1->clear();
    RefreshPlaylistView();
    Timer3->stop();
    Timer1->start();
    Timer2->start();
    TrackBarEx1->setValue(0);
    Label2->clear();
    Label26->setText(QStringLiteral("00:00"));
    Label27->setText(QStringLiteral("00:00"));
    Label34->clear();
    Label35->clear();
    CdMode = false;
}

void TForm1::ListCdTracks() {
    ListBox1->clear();
    if (AudioObject) AudioObject->DropChannel();
    const auto drive = static_cast<std::uint32_t>(CdDrive);
    const std::int32_t count = BASS_CD_GetTracks(drive);
    for (int track = 0; track < count; ++track) {
        ListBox1->addItem(cd_mode_rules::TrackRowText(
            track, BASS_CD_GetTrackLength(drive, static_cast<std::uint32_t>(track))));
    }
}

void TForm1::PlayCdTrack(int drive, int track) {
    if (!AudioObject) return;
    AudioObject->DropChannel();
    const std::uint32_t channel = BASS_CD_StreamCreate(
        static_cast<std::uint32_t>(drive), static_cast<std::uint32_t>(track), kCdStreamFlags);
    AudioObject->Channel = channel;
    BASS_ChannelSetSync(channel, SOUND_SYNC_END, 0, &CdTrackEnded, this);
    const std::int64_t length = BASS_StreamGetLength(channel);
    TrackBarEx1->setMaximum(
        static_cast<int>(std::max<std::int64_t>(length, 0) / cd_mode_rules::kBytesPerSecond));
    BASS_StreamPlay(channel, 0, 0);
    Label26->setText(cd_mode_rules::TrackLengthText(
        track, BASS_CD_GetTrackLength(static_cast<std::uint32_t>(drive),
                                      static_cast<std::uint32_t>(track))));
    ReapplyEffects();
}

void TForm1::EndOfCdTrack(std::uint32_t channel) {
    // A track chosen, or CD mode left, after this end was posted makes it stale.
    if (!CdMode || !AudioObject || channel != AudioObject->Channel) return;
    const std::uint32_t playing = BASS_CD_StreamGetTrack(channel);
    if (playing == 0xFFFFFFFFu) return;
    const int drive = static_cast<int>(playing >> 16);
    const int next = NextAudioTrack(drive, static_cast<int>(playing & 0xFFFF));
    if (next < 0) return;
    ListBox1->setCurrentRow(next);
    PlayCdTrack(drive, next);
}

void TForm1::Timer3Timer() {
    const std::uint32_t channel = AudioObject ? AudioObject->Channel : 0;
    const std::int32_t level = BASS_ChannelGetLevel(channel);
    const auto side = [level](int shift) {
        return level == -1
                   ? 0
                   : static_cast<int>((static_cast<std::uint32_t>(level) >> shift) & 0xFFFF);
    };
    CdPeakLeft = cd_mode_rules::FallingPeak(CdPeakLeft, side(0));
    CdPeakRight = cd_mode_rules::FallingPeak(CdPeakRight, side(16));
    ProgressBar1->ShowLevel(CdPeakRight);
    ProgressBar2->ShowLevel(CdPeakLeft);
    if (++CdTick % 4 != 0) return;
    if (BASS_ChannelIsActive(channel) != SOUND_ACTIVE_STOPPED) {
        const auto seconds = static_cast<std::int64_t>(
            std::lround(BASS_ChannelBytes2Seconds(channel, BASS_ChannelGetPosition(channel))));
        if (!SeekDragging) TrackBarEx1->setValue(static_cast<int>(seconds));
        Label27->setText(cd_mode_rules::TimeText(seconds));
    } else if (ListBox1->count() == 0) {
        ListCdTracks();
    } else if (!BASS_CD_IsReady(static_cast<std::uint32_t>(CdDrive))) {
        // The disc is gone: the list is built again once one is back.
        if (AudioObject) AudioObject->DropChannel();
        ListBox1->clear();
    }
}
