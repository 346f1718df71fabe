#include "player/skin/desktop_notifier.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QStringList>
#include <QVariantMap>

namespace {

const QString kService = QStringLiteral("org.freedesktop.Notifications");
const QString kPath = QStringLiteral("/org/freedesktop/Notifications");

QDBusMessage call(const char* method) {
    return QDBusMessage::createMethodCall(kService, kPath, kService, QString::fromLatin1(method));
}

// Runs `done` with the reply when it arrives, on this thread.
template <class Reply, class Done>
void whenAnswered(QObject* context, const QDBusMessage& message, Done done) {
    auto* watcher =
        new QDBusPendingCallWatcher(QDBusConnection::sessionBus().asyncCall(message), context);
    QObject::connect(watcher, &QDBusPendingCallWatcher::finished, context,
                     [done](QDBusPendingCallWatcher* w) {
                         done(Reply(*w));
                         w->deleteLater();
                     });
}

}  // namespace

DesktopNotifier::DesktopNotifier(QObject* parent) : QObject(parent) {}

void DesktopNotifier::Show(const QString& summary, const QString& body, const QString& iconName,
                           int timeoutMs, std::function<void()> unanswered) {
    if (!QDBusConnection::sessionBus().isConnected()) {
        unanswered();
        return;
    }
    if (serverReadsMarkup_) {
        Notify(summary, body, iconName, timeoutMs, std::move(unanswered));
        return;
    }
    // The server's capabilities decide whether the body must be escaped.
    whenAnswered<QDBusPendingReply<QStringList>>(
        this, call("GetCapabilities"), [=, this](const QDBusPendingReply<QStringList>& reply) {
            if (!reply.isError())
                serverReadsMarkup_ = reply.value().contains(QStringLiteral("body-markup"));
            Notify(summary, body, iconName, timeoutMs, unanswered);
        });
}

void DesktopNotifier::Notify(const QString& summary, const QString& body, const QString& iconName,
                             int timeoutMs, std::function<void()> unanswered) {
    QDBusMessage notify = call("Notify");
    notify << QCoreApplication::applicationName() << shownId_ << iconName << summary
           << (serverReadsMarkup_.value_or(false) ? body.toHtmlEscaped() : body) << QStringList()
           << QVariantMap() << timeoutMs;
    whenAnswered<QDBusPendingReply<quint32>>(
        this, notify, [this, unanswered](const QDBusPendingReply<quint32>& reply) {
            if (reply.isError()) {
                unanswered();
                return;
            }
            shownId_ = reply.value();
        });
}
