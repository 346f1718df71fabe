#include "player/desktop/media_player_service.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QMetaProperty>

#include <cstdlib>

#include "player/desktop/media_player_root.h"

namespace {

const QString kService = QStringLiteral("org.mpris.MediaPlayer2.zorvan");
const QString kPath = QStringLiteral("/org/mpris/MediaPlayer2");
const QString kPlayerInterface = QStringLiteral("org.mpris.MediaPlayer2.Player");

constexpr int kPollMs = 200;
// A position further than this from where playing would have taken it was a seek.
constexpr qlonglong kSeekToleranceUs = 1'500'000;

}  // namespace

MediaPlayerService::MediaPlayerService(TForm1& form, MainWindowLife& life)
    : transport_(new MediaPlayerTransport(this, form, life)) {
    new MediaPlayerRoot(this, form);
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected() || !bus.registerObject(kPath, this, QDBusConnection::ExportAdaptors))
        return;
    if (!bus.registerService(kService)) {
        bus.unregisterObject(kPath);
        return;
    }
    registered_ = true;
    announcedSources_ = transport_->PropertySources();
    announced_ = announcedProperties();
    lastPosition_ = transport_->Position();
    wasPlaying_ = transport_->PlaybackStatus() == QStringLiteral("Playing");
    sincePoll_.start();
    connect(&poll_, &QTimer::timeout, this, &MediaPlayerService::announceChanges);
    // A command from the bus is announced at once, not at the next poll.
    connect(transport_, &MediaPlayerTransport::Seeked, this, [this](qlonglong position) {
        lastPosition_ = position;
        sincePoll_.restart();
    });
    poll_.start(kPollMs);
}

MediaPlayerService::~MediaPlayerService() {
    if (!registered_) return;
    QDBusConnection bus = QDBusConnection::sessionBus();
    bus.unregisterService(kService);
    bus.unregisterObject(kPath);
}

QVariantMap MediaPlayerService::announcedProperties() const {
    QVariantMap properties;
    const QMetaObject* meta = transport_->metaObject();
    for (int i = meta->propertyOffset(); i < meta->propertyCount(); ++i) {
        const QMetaProperty property = meta->property(i);
        if (QLatin1String(property.name()) != QLatin1String("Position"))
            properties.insert(QString::fromLatin1(property.name()), property.read(transport_));
    }
    return properties;
}

void MediaPlayerService::announceChanges() {
    const MediaPlayerTransport::Sources sources = transport_->PropertySources();
    bool sameTrack = true;
    if (sources != announcedSources_) {
        announcedSources_ = sources;
        const QVariantMap now = announcedProperties();
        QVariantMap changed;
        for (auto it = now.cbegin(); it != now.cend(); ++it)
            if (announced_.value(it.key()) != it.value()) changed.insert(it.key(), it.value());
        sameTrack = !changed.contains(QStringLiteral("Metadata"));
        announced_ = now;
        if (!changed.isEmpty()) {
            QDBusMessage signal =
                QDBusMessage::createSignal(kPath, QStringLiteral("org.freedesktop.DBus.Properties"),
                                           QStringLiteral("PropertiesChanged"));
            signal << kPlayerInterface << changed << QStringList();
            QDBusConnection::sessionBus().send(signal);
        }
    }

    const qlonglong position = transport_->Position();
    const qlonglong expected = lastPosition_ + (wasPlaying_ ? sincePoll_.restart() * 1000 : 0);
    if (!wasPlaying_) sincePoll_.restart();
    const QString status = transport_->PlaybackStatus();
    if (sameTrack && status != QStringLiteral("Stopped") &&
        std::llabs(position - expected) > kSeekToleranceUs)
        emit transport_->Seeked(position);
    lastPosition_ = position;
    wasPlaying_ = status == QStringLiteral("Playing");
}
