#include "player/desktop/media_player_transport.h"

#include <algorithm>
#include <cmath>

#include "player/desktop/media_player_rules.h"
#include "player/engine/audio_object.h"
#include "player/main_window_life.h"
#include "player/ui/main_window.h"

MediaPlayerTransport::MediaPlayerTransport(QObject* service, TForm1& form, MainWindowLife& life)
    : QDBusAbstractAdaptor(service), form_(form), life_(life) {}

TAudioObject& MediaPlayerTransport::audio() const {
    return *life_.Audio();
}

bool MediaPlayerTransport::loaded() const {
    return !audio().GetSourcePath().isEmpty();
}

QString MediaPlayerTransport::PlaybackStatus() const {
    return media_player_rules::PlaybackStatus(audio().PlayState);
}

bool MediaPlayerTransport::Shuffle() const {
    return audio().Shuffle;
}

void MediaPlayerTransport::SetShuffle(bool on) {
    form_.SetShuffle(on);
}

QVariantMap MediaPlayerTransport::Metadata() const {
    const TAudioObject& a = audio();
    if (!loaded()) return media_player_rules::Metadata({});
    return media_player_rules::Metadata(
        {a.GetCurrentIndex(), a.GetSourcePath(), a.Title, a.Artist, a.Album, a.SeekLength});
}

double MediaPlayerTransport::Volume() const {
    return static_cast<double>(form_.TrackBar1->value()) / form_.TrackBar1->maximum();
}

void MediaPlayerTransport::SetVolume(double volume) {
    if (std::isnan(volume)) return;
    const double bar = std::clamp(volume, 0.0, 1.0) * form_.TrackBar1->maximum();
    form_.TrackBar1->setValue(static_cast<int>(std::lround(bar)));
}

qlonglong MediaPlayerTransport::Position() const {
    return static_cast<qlonglong>(audio().GetPosition()) * 1000;
}

bool MediaPlayerTransport::CanGoNext() const {
    return audio().EntryCount() > 0;
}

bool MediaPlayerTransport::CanPlay() const {
    return loaded() || audio().EntryCount() > 0;
}

bool MediaPlayerTransport::CanSeek() const {
    return loaded() && audio().SeekLength > 0;
}

MediaPlayerTransport::Sources MediaPlayerTransport::PropertySources() const {
    const TAudioObject& a = audio();
    return {a.PlayState,
            a.Shuffle,
            form_.TrackBar1->value(),
            a.EntryCount(),
            a.GetCurrentIndex(),
            a.SeekLength,
            a.GetSourcePath(),
            a.Title,
            a.Artist,
            a.Album};
}

void MediaPlayerTransport::Next() {
    form_.MenuPlayNext();
}

void MediaPlayerTransport::Previous() {
    form_.MenuPlayPrevious();
}

void MediaPlayerTransport::Pause() {
    if (audio().PlayState == TransportState::Playing) form_.TogglePlayPause();
}

void MediaPlayerTransport::PlayPause() {
    if (audio().PlayState == TransportState::NotReady)
        Play();
    else
        form_.TogglePlayPause();
}

void MediaPlayerTransport::Stop() {
    form_.StopPlayback();
}

void MediaPlayerTransport::Play() {
    TAudioObject& a = audio();
    switch (a.PlayState) {
        case TransportState::Playing:
            return;
        case TransportState::NotReady:
            // As a double-click on the current row.
            if (a.EntryCount() > 0)
                a.PlayEntry(std::clamp(a.GetCurrentIndex(), 0, a.EntryCount() - 1));
            return;
        default:
            form_.TogglePlayPause();
    }
}

void MediaPlayerTransport::Seek(qlonglong offset) {
    if (!CanSeek()) return;
    const qlonglong left = static_cast<qlonglong>(audio().SeekLength) * 1000 - Position();
    if (offset > left) {
        Next();
        return;
    }
    // Back at most to the start, so the milliseconds fit the window's operation.
    form_.SeekBy(static_cast<int>(
        std::max<qlonglong>(offset / 1000, -static_cast<qlonglong>(audio().GetPosition()))));
    emit Seeked(Position());
}

void MediaPlayerTransport::SetPosition(const QDBusObjectPath& trackId, qlonglong position) {
    if (!CanSeek() ||
        trackId.path() != media_player_rules::TrackId(audio().GetCurrentIndex()).path())
        return;
    if (position < 0 || position > static_cast<qlonglong>(audio().SeekLength) * 1000) return;
    form_.SeekBy(static_cast<int>(position / 1000 - audio().GetPosition()));
    emit Seeked(Position());
}

void MediaPlayerTransport::OpenUri(const QString& uri) {
    if (const auto source = media_player_rules::SourceFromUri(uri)) life_.AddFiles({*source});
}
