#pragma once
// The program's icon in the desktop's tray: a picture with a tooltip, a menu on a click,
// hiding and restoring the main window, and balloons that announce what starts playing.
// QSystemTrayIcon speaks the tray protocols (a StatusNotifierItem on the session bus, or
// the X11 system tray); balloons go to the desktop's notification server, or are drawn
// by Qt where there is none.
//
// Mouse: the right button opens PopupMenu at the cursor; the left button opens it too
// when LeftPopup is set; a double-click runs the menu's default item unless LeftPopup
// is set. Nothing acts while Enabled is false. When the tray comes back (its host or
// watcher restarts), QSystemTrayIcon shows a visible icon in it again.
#include <QElapsedTimer>
#include <QIcon>
#include <QObject>
#include <QString>

#include "player/skin/tray_rules.h"

class QMenu;
class QSystemTrayIcon;
class QWidget;
class DesktopNotifier;

class TCoolTrayIcon : public QObject {
    Q_OBJECT
public:
    // `mainWindow` is the window that HideMainWindow and RestoreMainWindow act on.
    explicit TCoolTrayIcon(QWidget* mainWindow);
    ~TCoolTrayIcon() override;

    void SetIcon(const QIcon& icon);
    QIcon Icon() const { return icon_; }
    void SetHint(const QString& hint);
    QString Hint() const { return hint_; }
    void SetShowHint(bool showHint);
    bool ShowHint() const { return showHint_; }
    // True puts the icon into the tray, false takes it out. The tray may refuse an icon
    // without a picture; nothing is reported.
    void SetIconVisible(bool visible);
    bool IconVisible() const { return iconVisible_; }
    // The tooltip the tray shows now.
    QString TipText() const;

    bool LeftPopup = false;
    QMenu* PopupMenu = nullptr;
    bool Enabled = true;

    // The main window shown in its normal size, raised and activated.
    void RestoreMainWindow();
    // The main window hidden, with its taskbar entry. Without a visible icon nothing but
    // another start of the program brings it back.
    void HideMainWindow();
    // Replaces any balloon with this one: the title cut to 63 characters, the text to
    // 255, CR shown as a line break; iconKind 0 none, 1 information, 2 warning, 3 error.
    // Only a visible icon shows balloons.
    void ShowBalloon(const QString& title, const QString& text, int iconKind, int timeoutSeconds);

private:
    void Activated(int reason);
    void UpdateTip();

    QWidget* mainWindow_;
    QSystemTrayIcon* tray_;
    DesktopNotifier* notifier_;
    QIcon icon_;
    QString hint_;
    bool showHint_ = true;
    bool iconVisible_ = false;
    tray_rules::ClickSeparator clicks_;
    QElapsedTimer clock_;
};
