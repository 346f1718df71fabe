#include "player/skin/tray_rules.h"

namespace tray_rules {

QString TipText(const QString& hint, bool showHint) {
    return showHint ? hint.left(kMaxHint) : QString();
}

QString BalloonTitle(const QString& title) {
    return title.left(kMaxBalloonTitle);
}

QString BalloonText(const QString& text) {
    QString shown = text.left(kMaxBalloonText);
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    shown.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return shown;
}

QString BalloonIconName(int iconKind) {
    switch (iconKind) {
        case 1:
            return QStringLiteral("dialog-information");
        case 2:
            return QStringLiteral("dialog-warning");
        case 3:
            return QStringLiteral("dialog-error");
        default:
            return {};
    }
}

MouseAction ActionFor(MouseEvent event, bool leftPopup, bool enabled) {
    if (!enabled) return MouseAction::None;
    switch (event) {
        case MouseEvent::LeftDown:
            return leftPopup ? MouseAction::ShowMenu : MouseAction::None;
        case MouseEvent::LeftDoubleClick:
            return leftPopup ? MouseAction::None : MouseAction::RunDefaultItem;
        case MouseEvent::RightDown:
            return MouseAction::ShowMenu;
        case MouseEvent::Other:
            break;
    }
    return MouseAction::None;
}

MouseEvent ClickSeparator::LeftClickAt(qint64 ms) {
    const bool second = pending_ && ms - previous_ <= doubleClickMs_;
    pending_ = !second;
    previous_ = ms;
    return second ? MouseEvent::LeftDoubleClick : MouseEvent::LeftDown;
}

}  // namespace tray_rules
