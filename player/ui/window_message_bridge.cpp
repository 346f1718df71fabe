#include "player/ui/window_message_bridge.h"

#include <QEvent>
#include <QSocketNotifier>
#include <QWidget>

#include "platform/text.h"

WindowMessageBridge::WindowMessageBridge(QWidget* window, const QString& className,
                                         const QString& caption)
    : QObject(window),
      window_(window),
      registration_(std::make_unique<platform::MessageWindow>(
          platform::WindowIdentity{className.toStdString(), caption.toStdString(),
                                   platform::currentProgramPath(), window->isVisible()},
          static_cast<platform::WindowMessageHandler&>(*this))),
      notifier_(new QSocketNotifier(registration_->fd(), QSocketNotifier::Read, this)) {
    connect(notifier_, &QSocketNotifier::activated, this,
            [this] { registration_->processPending(); });
    window_->installEventFilter(this);
}

WindowMessageBridge::~WindowMessageBridge() {
    notifier_->setEnabled(false);
}

std::optional<QString> WindowMessageBridge::pathFromCopyData(std::string_view data) {
    data = data.substr(0, data.find('\0'));
    if (data.empty() || data.size() > platform::kMaxCopyDataBytes) return std::nullopt;
    return QString::fromStdString(platform::text::decodeFileText(data));
}

bool WindowMessageBridge::eventFilter(QObject* watched, QEvent* event) {
    if (watched == window_ && (event->type() == QEvent::Show || event->type() == QEvent::Hide))
        registration_->setVisible(event->type() == QEvent::Show);
    return QObject::eventFilter(watched, event);
}

std::int64_t WindowMessageBridge::copyData(std::uint64_t, std::string_view data) {
    if (window_->isMinimized()) restore();
    const auto path = pathFromCopyData(data);
    if (!path) return 0;
    emit pathArrived(*path);
    return 1;
}

void WindowMessageBridge::posted(std::uint32_t message, std::uint64_t, std::uint64_t) {
    if (message == platform::WM_USER) restore();
    if (message == platform::WM_CLOSE) window_->close();
}

void WindowMessageBridge::foregroundRequested() {
    window_->raise();
    window_->activateWindow();
}

void WindowMessageBridge::restore() {
    window_->showNormal();
    window_->raise();
}
