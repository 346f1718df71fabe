#pragma once
// Registers a top-level widget as a window that other processes can find and message
// (see platform/message_window.h), and serves their messages on the window thread
// through a QSocketNotifier. The registered visibility follows the widget's.
//
// Handling: WM_USER restores the window (shown, not minimised); a foreground request
// raises and activates it; WM_CLOSE closes it; WM_COPYDATA restores a minimised window,
// reads the block as a path and emits pathArrived (synchronously, before the sender gets
// its answer: 1 when the path was taken, 0 otherwise).
//
// A WM_COPYDATA path is taken whole: up to its first NUL, as UTF-8 or else windows-1251,
// up to the size of a data block (kMaxCopyDataBytes). An empty path is not taken.
#include <QObject>
#include <QString>
#include <memory>
#include <optional>
#include <string_view>

#include "platform/message_window.h"

class QSocketNotifier;
class QWidget;

class WindowMessageBridge : public QObject, private platform::WindowMessageHandler {
    Q_OBJECT
public:
    // Throws std::runtime_error when the window cannot be registered.
    WindowMessageBridge(QWidget* window, const QString& className, const QString& caption);
    ~WindowMessageBridge() override;

    const platform::MessageWindow& registration() const { return *registration_; }

    static std::optional<QString> pathFromCopyData(std::string_view data);

signals:
    void pathArrived(const QString& path);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    std::int64_t copyData(std::uint64_t identifier, std::string_view data) override;
    void posted(std::uint32_t message, std::uint64_t wParam, std::uint64_t lParam) override;
    void foregroundRequested() override;
    void restore();

    QWidget* window_;
    std::unique_ptr<platform::MessageWindow> registration_;
    QSocketNotifier* notifier_;
};
