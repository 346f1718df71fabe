#pragma once
// Balloons as desktop notifications: org.freedesktop.Notifications on the session bus.
// Every call is asynchronous, so a slow or stuck notification server never holds up the
// window thread. A new balloon replaces the one this notifier showed before.
#include <QObject>
#include <QString>
#include <functional>
#include <optional>

class DesktopNotifier : public QObject {
    Q_OBJECT
public:
    explicit DesktopNotifier(QObject* parent = nullptr);

    // Shows a balloon: `body` is plain text (escaped for servers that read markup),
    // `iconName` a freedesktop icon name or empty. `unanswered` runs instead when there
    // is no session bus or no server takes the notification.
    void Show(const QString& summary, const QString& body, const QString& iconName, int timeoutMs,
              std::function<void()> unanswered);

private:
    void Notify(const QString& summary, const QString& body, const QString& iconName, int timeoutMs,
                std::function<void()> unanswered);

    quint32 shownId_ = 0;
    std::optional<bool> serverReadsMarkup_;
};
