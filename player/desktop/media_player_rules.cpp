#include "player/desktop/media_player_rules.h"

#include <QStringList>
#include <QUrl>

namespace media_player_rules {

QString PlaybackStatus(TransportState state) {
    switch (state) {
        case TransportState::Playing:
        case TransportState::Seeking:
            return QStringLiteral("Playing");
        case TransportState::Paused:
            return QStringLiteral("Paused");
        default:
            return QStringLiteral("Stopped");
    }
}

QDBusObjectPath TrackId(int entry) {
    if (entry < 0)
        return QDBusObjectPath(QStringLiteral("/org/mpris/MediaPlayer2/TrackList/NoTrack"));
    return QDBusObjectPath(QStringLiteral("/org/mpris/MediaPlayer2/Track/%1").arg(entry));
}

QVariantMap Metadata(const Track& track) {
    QVariantMap map;
    map.insert(QStringLiteral("mpris:trackid"), QVariant::fromValue(TrackId(track.entry)));
    if (track.entry < 0 && track.source.isEmpty()) return map;
    if (track.lengthMs > 0)
        map.insert(QStringLiteral("mpris:length"), static_cast<qlonglong>(track.lengthMs) * 1000);
    map.insert(QStringLiteral("xesam:title"), track.title);
    if (!track.artist.isEmpty())
        map.insert(QStringLiteral("xesam:artist"), QStringList{track.artist});
    if (!track.album.isEmpty()) map.insert(QStringLiteral("xesam:album"), track.album);
    const QUrl url = track.source.contains(QStringLiteral("://"))
                         ? QUrl(track.source)
                         : QUrl::fromLocalFile(track.source);
    map.insert(QStringLiteral("xesam:url"), url.toString(QUrl::FullyEncoded));
    return map;
}

namespace {

// A line break would split the entry's line in the saved playlist.
bool hasControlCharacter(const QString& text) {
    for (const QChar c : text)
        if (c.unicode() < 0x20 || c.unicode() == 0x7F) return true;
    return false;
}

}  // namespace

std::optional<QString> SourceFromUri(const QString& uri) {
    const QUrl url(uri, QUrl::StrictMode);
    if (!url.isValid() || hasControlCharacter(uri)) return std::nullopt;
    const QString scheme = url.scheme().toLower();
    if (scheme == QStringLiteral("file") && url.isLocalFile()) {
        const QString path = url.toLocalFile();
        if (path.isEmpty() || hasControlCharacter(path)) return std::nullopt;
        return path;
    }
    if ((scheme == QStringLiteral("http") || scheme == QStringLiteral("ftp")) &&
        !url.host().isEmpty())
        return uri;
    return std::nullopt;
}

}  // namespace media_player_rules
