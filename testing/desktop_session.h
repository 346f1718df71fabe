#pragma once
// A desktop of the test's own for tests of the tray and of balloons: a private session
// bus (dbus-daemon), an X server (Xvfb), and the desktop's services on that bus (a
// StatusNotifier watcher with its host and a notification server, desktop_services.py),
// then the one QApplication on the xcb platform. Test binaries that use it add
// desktop_session.cpp instead of the plain Qt environment.
#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QString>
#include <QStringList>

namespace testing_support {

struct ReceivedNotification {
    quint32 id;
    QString app;
    quint32 replaces;
    QString summary;
    QString body;
    int timeoutMs;
};

class DesktopSession {
public:
    // The tray items registered with the watcher now ("service/path").
    static QStringList Items();
    // Every notification received since the last ClearNotifications.
    static QList<ReceivedNotification> Notifications();
    static QStringList NotificationIcons();
    static void ClearNotifications();
    // A click as the tray host reports it: "Activate" (primary button), "ContextMenu"
    // (menu button) or "SecondaryActivate" (middle button), on every item.
    static void Click(const QString& method);
    // Ends the desktop's services and starts them afresh, as when the tray restarts.
    static void RestartServices();

    // Runs the event loop until `done` holds or `ms` passed; the last value of `done`.
    template <class Done>
    static bool WaitFor(Done done, int ms = 5000);
    static void ProcessEventsFor(int ms);
};

}  // namespace testing_support

template <class Done>
bool testing_support::DesktopSession::WaitFor(Done done, int ms) {
    QDeadlineTimer deadline(ms);
    while (!done()) {
        if (deadline.hasExpired()) return done();
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    }
    return true;
}
