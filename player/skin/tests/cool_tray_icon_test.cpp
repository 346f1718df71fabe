// The tray icon on a desktop of the test's own: what reaches the tray's watcher and the
// notification server, and what the tray host's clicks do.
#include <gtest/gtest.h>

#include <QApplication>
#include <QMenu>
#include <QWidget>

#include "player/skin/cool_tray_icon.h"
#include "testing/desktop_session.h"

using testing_support::DesktopSession;

namespace {

class CoolTrayIconTest : public ::testing::Test {
protected:
    CoolTrayIconTest() {
        tray.SetIcon(QApplication::windowIcon());
        tray.SetHint(QStringLiteral("MediaPlayer"));
    }
    ~CoolTrayIconTest() override {
        tray.SetIconVisible(false);
        DesktopSession::WaitFor([] { return DesktopSession::Items().isEmpty(); });
        DesktopSession::ClearNotifications();
    }
    void ShowIcon() {
        tray.SetIconVisible(true);
        ASSERT_TRUE(DesktopSession::WaitFor([] { return DesktopSession::Items().size() == 1; }));
    }

    QWidget window;
    TCoolTrayIcon tray{&window};
};

bool registered() {
    return DesktopSession::Items().size() == 1;
}

}  // namespace

TEST_F(CoolTrayIconTest, ShowingAndHidingRegistersAndUnregistersAndARestartedTrayGetsItBack) {
    EXPECT_EQ(tray.TipText(), "MediaPlayer");
    ShowIcon();
    tray.SetIconVisible(false);
    EXPECT_TRUE(DesktopSession::WaitFor([] { return DesktopSession::Items().isEmpty(); }));

    // A hidden icon stays out of a tray that comes back; a visible one returns to it.
    DesktopSession::RestartServices();
    DesktopSession::ProcessEventsFor(500);
    EXPECT_TRUE(DesktopSession::Items().isEmpty());
    ShowIcon();
    DesktopSession::RestartServices();
    EXPECT_TRUE(DesktopSession::WaitFor(registered));
}

TEST_F(CoolTrayIconTest, BalloonsAreCutToTheirLimitsAndReplaceEachOther) {
    tray.ShowBalloon(QStringLiteral("hidden icon"), QStringLiteral("no balloon"), 1, 10);
    ShowIcon();
    const QString title = QString(60, QChar(u'З')) + QStringLiteral("абвгд");
    const QString text = QStringLiteral("Название: ") + QString(250, QChar(u'т')) +
                         QStringLiteral("\rИсполнитель: x\rАльбом: y");
    tray.ShowBalloon(title, text, 1, 10);
    ASSERT_TRUE(
        DesktopSession::WaitFor([] { return DesktopSession::Notifications().size() == 1; }));
    auto received = DesktopSession::Notifications();
    EXPECT_EQ(received[0].summary, title.left(63));
    EXPECT_EQ(received[0].body, text.left(255));
    EXPECT_EQ(received[0].timeoutMs, 10'000);
    EXPECT_EQ(received[0].replaces, 0u);

    tray.ShowBalloon(QStringLiteral("t"), QStringLiteral("a\rb <i>&"), 3, 2);
    ASSERT_TRUE(
        DesktopSession::WaitFor([] { return DesktopSession::Notifications().size() == 2; }));
    received = DesktopSession::Notifications();
    EXPECT_EQ(received[1].replaces, received[0].id) << "the earlier balloon is cleared";
    EXPECT_EQ(received[1].body, "a\nb <i>&") << "plain text for a server without markup";
    EXPECT_EQ(received[1].timeoutMs, 2000);
    EXPECT_EQ(DesktopSession::NotificationIcons(),
              QStringList({"dialog-information", "dialog-error"}));
}

TEST_F(CoolTrayIconTest, ClicksOpenTheMenuOrRunItsDefaultItemAsTheLeftPopupRuleSays) {
    QMenu menu;
    QAction* show = menu.addAction(QStringLiteral("Показать окно"));
    menu.addAction(QStringLiteral("Выход"));
    menu.setDefaultAction(show);
    QObject::connect(show, &QAction::triggered, &tray, &TCoolTrayIcon::RestoreMainWindow);
    tray.PopupMenu = &menu;
    ShowIcon();

    const auto click = [&](const char* method, bool twice) {
        DesktopSession::Click(QString::fromLatin1(method));
        if (twice) DesktopSession::Click(QString::fromLatin1(method));
        // Past the double-click time, so that the next click starts afresh.
        DesktopSession::ProcessEventsFor(QApplication::doubleClickInterval() + 150);
        const bool opened = menu.isVisible();
        menu.hide();
        return opened;
    };
    const struct {
        bool leftPopup;
        bool enabled;
        const char* method;
        bool twice;
        bool menuOpens;
        bool windowRestored;
    } cases[] = {
        {false, true, "ContextMenu", false, true, false},
        {false, true, "Activate", false, false, false},
        {false, true, "Activate", true, false, true},
        {true, true, "ContextMenu", false, true, false},
        {true, true, "Activate", false, true, false},
        {true, true, "Activate", true, true, false},
        {false, true, "SecondaryActivate", false, false, false},
        {false, false, "ContextMenu", false, false, false},
        {false, false, "Activate", true, false, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.method << (c.twice ? " twice" : "") << " leftPopup "
                                        << c.leftPopup << " enabled " << c.enabled);
        tray.LeftPopup = c.leftPopup;
        tray.Enabled = c.enabled;
        window.hide();
        EXPECT_EQ(click(c.method, c.twice), c.menuOpens);
        EXPECT_EQ(window.isVisible(), c.windowRestored);
    }
}

TEST_F(CoolTrayIconTest, HidingTheWindowTakesItFromTheScreenAndRestoringBringsItBack) {
    window.showMinimized();
    tray.HideMainWindow();
    EXPECT_FALSE(window.isVisible());
    tray.RestoreMainWindow();
    EXPECT_TRUE(window.isVisible());
    EXPECT_FALSE(window.isMinimized());
}
