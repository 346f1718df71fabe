#pragma once
// What the tray icon makes of its texts and of the mouse, without any widget: the limits
// of the tooltip and the balloon, and which clicks open the menu or run its default item.
#include <QString>

namespace tray_rules {

inline constexpr int kMaxHint = 127;
inline constexpr int kMaxBalloonTitle = 63;
inline constexpr int kMaxBalloonText = 255;

// The tooltip: the hint cut to kMaxHint characters, or empty when hints are off.
QString TipText(const QString& hint, bool showHint);
// The balloon's title cut to kMaxBalloonTitle characters.
QString BalloonTitle(const QString& title);
// The balloon's text cut to kMaxBalloonText characters, its CR line breaks (alone or
// before LF) shown as line breaks.
QString BalloonText(const QString& text);
// The freedesktop icon name of a balloon icon kind: 0 none (empty), 1 information,
// 2 warning, 3 error; other kinds show no icon.
QString BalloonIconName(int iconKind);

enum class MouseEvent { LeftDown, LeftDoubleClick, RightDown, Other };
enum class MouseAction { None, ShowMenu, RunDefaultItem };

// The left button opens the menu only with leftPopup; a double-click runs the menu's
// default item unless leftPopup; the right button always opens the menu. Nothing acts
// while the icon is not enabled.
MouseAction ActionFor(MouseEvent event, bool leftPopup, bool enabled);

// Tells a double-click from two single clicks, for trays that report only clicks: a
// left click within the double-click time of the previous one is the double-click, and
// the click after it starts afresh.
class ClickSeparator {
public:
    explicit ClickSeparator(int doubleClickMs) : doubleClickMs_(doubleClickMs) {}
    MouseEvent LeftClickAt(qint64 ms);

private:
    int doubleClickMs_;
    qint64 previous_ = 0;
    bool pending_ = false;
};

}  // namespace tray_rules
