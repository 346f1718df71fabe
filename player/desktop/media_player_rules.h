#pragma once
// What the player's state looks like on the session bus's media-player interface: the
// playback status, the track's object path and metadata, times in microseconds, and
// which addresses a caller may hand over.
#include <QDBusObjectPath>
#include <QString>
#include <QVariantMap>
#include <optional>

#include "player/engine/play_state.h"

namespace media_player_rules {

// The track now loaded, as the audio object knows it.
struct Track {
    int entry = -1;  // playlist index; -1 when nothing is loaded
    QString source;  // file name or internet address
    QString title, artist, album;
    int lengthMs = 0;  // 0 when unknown (streams)
};

// "Playing", "Paused" or "Stopped"; a seek in progress counts as playing.
QString PlaybackStatus(TransportState state);
// "/org/mpris/MediaPlayer2/Track/<entry>", or the interface's "no track" path.
QDBusObjectPath TrackId(int entry);
QVariantMap Metadata(const Track& track);
// A file URI as its local path; an http or ftp address as it stands; nothing for other
// schemes or a malformed URI.
std::optional<QString> SourceFromUri(const QString& uri);

}  // namespace media_player_rules
