#include "testing/desktop_session.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusReply>
#include <QElapsedTimer>
#include <QIcon>
#include <QPixmap>
#include <cstdlib>
#include <memory>
#include <stdexcept>

#include "testing/child_process.h"

namespace testing_support {

namespace {

const QString kTestService = QStringLiteral("zorvan.test.Desktop");

// Starts a program and reads its output (warnings included) up to the first line that
// `wanted` accepts, which goes into `line`.
template <class Wanted>
std::unique_ptr<ChildProcess> startReporting(const std::vector<std::string>& argv,
                                             std::string& line, Wanted wanted) {
    auto child = std::make_unique<ChildProcess>(argv);
    while (true) {
        const auto next = child->readLine(std::chrono::seconds(20));
        if (!next) throw std::runtime_error("no answer from " + argv[0]);
        line = *next;
        if (wanted(line)) return child;
    }
}

class Desktop : public ::testing::Environment {
public:
    void SetUp() override {
        std::string line;
        bus_ =
            startReporting({"/usr/bin/dbus-daemon", "--session", "--nofork", "--print-address=1"},
                           line, [](const std::string& l) { return l.rfind("unix:", 0) == 0; });
        ::setenv("DBUS_SESSION_BUS_ADDRESS", line.c_str(), 1);
        display_ = startReporting({"/usr/bin/Xvfb", "-displayfd", "1", "-screen", "0", "800x600x24",
                                   "-nolisten", "tcp", "-ac"},
                                  line, [](const std::string& l) {
                                      return !l.empty() &&
                                             l.find_first_not_of("0123456789") == std::string::npos;
                                  });
        ::setenv("DISPLAY", (":" + line).c_str(), 1);
        ::setenv("QT_QPA_PLATFORM", "xcb", 1);
        StartServices();
        static int argc = 1;
        static char name[] = "zorvan-test";
        static char* argv[] = {name, nullptr};
        app_ = std::make_unique<QApplication>(argc, argv);
        QPixmap picture(22, 22);
        picture.fill(Qt::darkCyan);
        QApplication::setWindowIcon(QIcon(picture));
    }
    void TearDown() override {
        app_.reset();
        services_.reset();
        display_.reset();
        bus_.reset();
    }

    void StartServices() {
        std::string line;
        services_ = startReporting(
            {"/usr/bin/python3", std::string(ZORVAN_SOURCE_DIR) + "/testing/desktop_services.py"},
            line, [](const std::string& l) { return l == "ready"; });
    }
    void StopServices() {
        services_->kill(SIGTERM);
        services_->wait();
        services_.reset();
    }

private:
    std::unique_ptr<ChildProcess> bus_;
    std::unique_ptr<ChildProcess> display_;
    std::unique_ptr<ChildProcess> services_;
    std::unique_ptr<QApplication> app_;
};

Desktop* const desktop = static_cast<Desktop*>(::testing::AddGlobalTestEnvironment(new Desktop));

// The services answer asynchronously, so the window thread keeps serving the tray while
// it waits: a blocking call would leave the services' own calls to us unanswered.
QDBusMessage ask(const char* method, const QVariantList& arguments = {}) {
    QDBusMessage message = QDBusMessage::createMethodCall(
        kTestService, QStringLiteral("/Desktop"), kTestService, QString::fromLatin1(method));
    message.setArguments(arguments);
    QDBusPendingCall pending = QDBusConnection::sessionBus().asyncCall(message);
    DesktopSession::WaitFor([&] { return pending.isFinished(); }, 10000);
    return pending.reply();
}

}  // namespace

QStringList DesktopSession::Items() {
    return ask("Items").arguments().value(0).toStringList();
}

QList<ReceivedNotification> DesktopSession::Notifications() {
    QList<ReceivedNotification> received;
    const auto argument = ask("Received").arguments().value(0).value<QDBusArgument>();
    argument.beginArray();
    while (!argument.atEnd()) {
        ReceivedNotification n;
        argument.beginStructure();
        argument >> n.id >> n.app >> n.replaces >> n.summary >> n.body >> n.timeoutMs;
        argument.endStructure();
        received.append(n);
    }
    argument.endArray();
    return received;
}

QStringList DesktopSession::NotificationIcons() {
    return ask("Icons").arguments().value(0).toStringList();
}

void DesktopSession::ClearNotifications() {
    ask("Clear");
}

void DesktopSession::Click(const QString& method) {
    ask("Click", {method});
}

void DesktopSession::RestartServices() {
    desktop->StopServices();
    desktop->StartServices();
}

void DesktopSession::ProcessEventsFor(int ms) {
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < ms) QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
}

}  // namespace testing_support
