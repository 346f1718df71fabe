#include "player/ui/file_manager.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QFileInfo>
#include <QProcess>
#include <QUrl>

namespace {

void openFolder(const QString& folder) {
    QProcess::startDetached(QStringLiteral("xdg-open"), {folder});
}

}  // namespace

namespace file_manager {

void ShowFile(const QString& file) {
    const QFileInfo info(file);
    const QString folder = info.absolutePath();
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected()) {
        openFolder(folder);
        return;
    }
    QDBusMessage call = QDBusMessage::createMethodCall(
        QStringLiteral("org.freedesktop.FileManager1"),
        QStringLiteral("/org/freedesktop/FileManager1"),
        QStringLiteral("org.freedesktop.FileManager1"), QStringLiteral("ShowItems"));
    call << QStringList{QUrl::fromLocalFile(info.absoluteFilePath()).toString()} << QString();
    // Asynchronous: starting a file manager may take seconds, and the window stays live.
    auto* watcher = new QDBusPendingCallWatcher(bus.asyncCall(call));
    QObject::connect(watcher, &QDBusPendingCallWatcher::finished,
                     [folder](QDBusPendingCallWatcher* w) {
                         if (w->isError()) openFolder(folder);
                         w->deleteLater();
                     });
}

}  // namespace file_manager
