#include <gtest/gtest.h>

#include "player/skin/tray_rules.h"

using namespace tray_rules;

TEST(TrayRules, TextsAreCutToTheTrayLimitsAndCrBreaksLines) {
    const QString longHint(200, QChar(u'ж'));
    EXPECT_EQ(TipText(longHint, true), QString(127, QChar(u'ж')));
    EXPECT_EQ(TipText(QStringLiteral("MediaPlayer"), true), "MediaPlayer");
    EXPECT_EQ(TipText(QStringLiteral("MediaPlayer"), false), "");

    EXPECT_EQ(BalloonTitle(QString(70, QChar(u'я'))), QString(63, QChar(u'я')));
    // The cut counts the CR as one character, before it becomes a line break.
    const QString text = QStringLiteral("Название: ") + QString(243, QChar(u'x')) +
                         QStringLiteral("\rИсполнитель: y");
    ASSERT_EQ(text.size(), 10 + 243 + 15);
    EXPECT_EQ(BalloonText(text),
              QStringLiteral("Название: ") + QString(243, QChar(u'x')) + QStringLiteral("\nИ"));
    EXPECT_EQ(BalloonText(QStringLiteral("a\rb\r\nc\nd")), "a\nb\nc\nd");
}

TEST(TrayRules, BalloonIconKinds) {
    const struct {
        int kind;
        const char* name;
    } cases[] = {
        {0, ""}, {1, "dialog-information"}, {2, "dialog-warning"}, {3, "dialog-error"}, {4, ""},
        {-1, ""}};
    for (const auto& c : cases) EXPECT_EQ(BalloonIconName(c.kind), c.name) << c.kind;
}

TEST(TrayRules, MouseActions) {
    using E = MouseEvent;
    using A = MouseAction;
    const struct {
        E event;
        bool leftPopup;
        bool enabled;
        A action;
    } cases[] = {
        {E::LeftDown, false, true, A::None},
        {E::LeftDown, true, true, A::ShowMenu},
        {E::LeftDoubleClick, false, true, A::RunDefaultItem},
        {E::LeftDoubleClick, true, true, A::None},
        {E::RightDown, false, true, A::ShowMenu},
        {E::RightDown, true, true, A::ShowMenu},
        {E::Other, true, true, A::None},
        {E::RightDown, false, false, A::None},
        {E::LeftDoubleClick, false, false, A::None},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ActionFor(c.event, c.leftPopup, c.enabled), c.action)
            << static_cast<int>(c.event) << " leftPopup " << c.leftPopup << " enabled "
            << c.enabled;
}

TEST(TrayRules, TwoClicksWithinTheDoubleClickTimeAreOneDoubleClick) {
    ClickSeparator clicks(400);
    EXPECT_EQ(clicks.LeftClickAt(1000), MouseEvent::LeftDown);
    EXPECT_EQ(clicks.LeftClickAt(1300), MouseEvent::LeftDoubleClick);
    // A third quick click starts a new pair instead of making a second double-click.
    EXPECT_EQ(clicks.LeftClickAt(1500), MouseEvent::LeftDown);
    EXPECT_EQ(clicks.LeftClickAt(2000), MouseEvent::LeftDown) << "too late for a pair";
    EXPECT_EQ(clicks.LeftClickAt(2400), MouseEvent::LeftDoubleClick);
}
