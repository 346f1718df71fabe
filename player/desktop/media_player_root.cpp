#include "player/desktop/media_player_root.h"

#include "player/ui/main_window.h"

MediaPlayerRoot::MediaPlayerRoot(QObject* service, TForm1& form)
    : QDBusAbstractAdaptor(service), form_(form) {}

QString MediaPlayerRoot::Identity() const {
    return QStringLiteral("Zorvan");
}

QString MediaPlayerRoot::DesktopEntry() const {
    return QStringLiteral("zorvan");
}

QStringList MediaPlayerRoot::SupportedUriSchemes() const {
    return {QStringLiteral("file"), QStringLiteral("http"), QStringLiteral("ftp")};
}

QStringList MediaPlayerRoot::SupportedMimeTypes() const {
    // The build's list of the player's types, separated by commas.
    return QString::fromLatin1(ZORVAN_MIME_TYPES).split(u',', Qt::SkipEmptyParts);
}

void MediaPlayerRoot::Raise() {
    form_.CoolTrayIcon1->RestoreMainWindow();
}

void MediaPlayerRoot::Quit() {
    QMetaObject::invokeMethod(&form_, &QWidget::close, Qt::QueuedConnection);
}
