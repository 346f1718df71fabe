#include "player/skin/cool_tray_icon.h"

#include <QApplication>
#include <QCursor>
#include <QMenu>
#include <QSystemTrayIcon>
#include <QWidget>

#include "player/skin/desktop_notifier.h"

TCoolTrayIcon::TCoolTrayIcon(QWidget* mainWindow)
    : QObject(mainWindow),
      mainWindow_(mainWindow),
      tray_(new QSystemTrayIcon(this)),
      notifier_(new DesktopNotifier(this)),
      clicks_(QApplication::doubleClickInterval()) {
    clock_.start();
    connect(tray_, &QSystemTrayIcon::activated, this,
            [this](QSystemTrayIcon::ActivationReason reason) { Activated(reason); });
}

TCoolTrayIcon::~TCoolTrayIcon() {
    tray_->hide();
}

void TCoolTrayIcon::SetIcon(const QIcon& icon) {
    icon_ = icon;
    tray_->setIcon(icon);
}

void TCoolTrayIcon::SetHint(const QString& hint) {
    hint_ = hint;
    UpdateTip();
}

void TCoolTrayIcon::SetShowHint(bool showHint) {
    showHint_ = showHint;
    UpdateTip();
}

void TCoolTrayIcon::UpdateTip() {
    tray_->setToolTip(TipText());
}

QString TCoolTrayIcon::TipText() const {
    return tray_rules::TipText(hint_, showHint_);
}

void TCoolTrayIcon::SetIconVisible(bool visible) {
    iconVisible_ = visible;
    tray_->setVisible(visible);
}

void TCoolTrayIcon::RestoreMainWindow() {
    mainWindow_->showNormal();
    mainWindow_->raise();
    mainWindow_->activateWindow();
}

void TCoolTrayIcon::HideMainWindow() {
    mainWindow_->hide();
}

void TCoolTrayIcon::ShowBalloon(const QString& title, const QString& text, int iconKind,
                                int timeoutSeconds) {
    if (!iconVisible_) return;
    const QString shownTitle = tray_rules::BalloonTitle(title);
    const QString shownText = tray_rules::BalloonText(text);
    const int timeoutMs = timeoutSeconds * 1000;
    // Qt's balloon kinds are numbered as ours; another kind shows no icon.
    const auto qtKind = static_cast<QSystemTrayIcon::MessageIcon>(
        tray_rules::BalloonIconName(iconKind).isEmpty() ? 0 : iconKind);
    notifier_->Show(
        shownTitle, shownText, tray_rules::BalloonIconName(iconKind), timeoutMs,
        [=, tray = tray_] { tray->showMessage(shownTitle, shownText, qtKind, timeoutMs); });
}

void TCoolTrayIcon::Activated(int reason) {
    using tray_rules::MouseEvent;
    MouseEvent event = MouseEvent::Other;
    switch (reason) {
        case QSystemTrayIcon::Trigger:
            event = clicks_.LeftClickAt(clock_.elapsed());
            break;
        case QSystemTrayIcon::DoubleClick:
            event = MouseEvent::LeftDoubleClick;
            break;
        case QSystemTrayIcon::Context:
            event = MouseEvent::RightDown;
            break;
        default:
            break;
    }
    if (!PopupMenu) return;
    switch (tray_rules::ActionFor(event, LeftPopup, Enabled)) {
        case tray_rules::MouseAction::ShowMenu:
            PopupMenu->popup(QCursor::pos());
            break;
        case tray_rules::MouseAction::RunDefaultItem:
            if (QAction* item = PopupMenu->defaultAction()) item->trigger();
            break;
        case tray_rules::MouseAction::None:
            break;
    }
}
