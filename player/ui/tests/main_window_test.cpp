#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QMouseEvent>
#include <QPushButton>
#include <QTranslator>

#include <set>
#include <vector>

#include "player/ui/dialog_language.h"
#include "player/ui/main_window.h"
#include "player/vis/vis_window.h"
#include "testing/image_difference.h"

namespace {

const QColor kSkyBlue(0xA6, 0xCA, 0xF0);
const QColor kPurple(0x80, 0x00, 0x80);
const QColor kFuchsia(0xFF, 0x00, 0xFF);

class MainWindowTest : public ::testing::Test {
protected:
    // Shows the window and lets its first paint shape it.
    void showShaped() {
        form.show();
        for (int i = 0; i < 50 && form.mask().isEmpty(); ++i) QCoreApplication::processEvents();
        ASSERT_FALSE(form.mask().isEmpty());
    }

    TForm1 form;
};

TEST_F(MainWindowTest, IsASkyBlueBorderlessWindowOfItsDesignSize) {
    EXPECT_EQ(form.windowTitle(), "Tavrel");
    EXPECT_EQ(form.size(), QSize(854, 497));
    EXPECT_TRUE(form.windowFlags() & Qt::FramelessWindowHint);
    EXPECT_EQ(form.palette().color(QPalette::Window), kSkyBlue);
    EXPECT_EQ(form.ParentSkin1->geometry(), QRect(0, 0, 841, 489));
    EXPECT_EQ(form.ParentSkin2->geometry(), QRect(15, 148, 258, 29));
}

TEST_F(MainWindowTest, ShapeIsTheUnionOfTheFourPanels) {
    showShaped();
    const QRegion shape = form.mask();
    struct Case {
        QPoint point;
        bool inside;
    };
    for (const Case& c : {Case{{276, 132}, true}, Case{{276, 320}, true}, Case{{700, 92}, true},
                          Case{{704, 344}, true}, Case{{0, 132}, true}, Case{{832, 92}, true},
                          Case{{0, 80}, false}, Case{{552, 184}, false}, Case{{568, 0}, false},
                          Case{{832, 480}, false}, Case{{100, 40}, false}, Case{{560, 100}, false},
                          Case{{276, 196}, false}, Case{{845, 490}, false}})
        EXPECT_EQ(shape.contains(c.point), c.inside) << c.point.x() << "," << c.point.y();
    // Every opaque pixel of the button bar lies inside the shape.
    for (TBitmapSkinPart* button : form.ParentSkin2->findChildren<TBitmapSkinPart*>()) {
        const QRegion opaque = button->GetRegion()->translated(form.ParentSkin2->pos());
        EXPECT_FALSE(opaque.isEmpty());
        EXPECT_EQ(shape.intersected(opaque), opaque) << button->toolTip().toStdString();
    }
}

TEST_F(MainWindowTest, FirstPaintLiftsThePanelControlsOntoTheSkin) {
    const QPoint designed = form.Label27->pos() + form.RoundRectSkinPart1->pos();
    showShaped();
    EXPECT_EQ(form.Label27->parentWidget(), form.ParentSkin1);
    EXPECT_EQ(form.Label27->pos(), designed);
    EXPECT_TRUE(form.Label27->isVisible());
    EXPECT_EQ(form.ListBox1->parentWidget(), form.ParentSkin1);
    EXPECT_EQ(form.Memo1->parentWidget(), form.ParentSkin1);
    EXPECT_FALSE(form.Memo1->isVisible());
}

TEST_F(MainWindowTest, SlidersHaveTheirRangesAndOnlyFinishedFeaturesAreEnabled) {
    struct Case {
        QSlider* slider;
        int min, max, position;
        bool topIsMin;
    };
    for (const Case& c :
         {Case{form.TrackBarEx1, 0, 100, 0, false}, Case{form.TrackBar1, 0, 100, 0, false},
          Case{form.TrackBar2, -15, 15, 0, true}, Case{form.TrackBar10, -15, 15, 0, true},
          Case{form.TrackBar11, 1, 36, 18, true}, Case{form.trkSpeed, 50, 150, 100, false}}) {
        SCOPED_TRACE(c.slider->objectName().toStdString());
        EXPECT_EQ(c.slider->minimum(), c.min);
        EXPECT_EQ(c.slider->maximum(), c.max);
        EXPECT_EQ(c.slider->value(), c.position);
        EXPECT_EQ(c.slider->orientation() == Qt::Vertical && c.slider->invertedAppearance(),
                  c.topIsMin);
        // The band bars wait for the equalizer switch.
        EXPECT_EQ(c.slider->isEnabled(), c.slider != form.TrackBar2 && c.slider != form.TrackBar10);
    }
    for (QWidget* control : std::initializer_list<QWidget*>{form.Label37, form.Label40})
        EXPECT_FALSE(control->isEnabled()) << control->objectName().toStdString();
    for (QWidget* control : std::initializer_list<QWidget*>{
             form.ListBox1, form.Panel6, form.BitmapSkinPart2, form.BitmapSkinPart10,
             form.BitmapSkinPart11, form.CheckBox1, form.CheckBox2, form.CheckBox5,
             form.CheckBox11})
        EXPECT_TRUE(control->isEnabled()) << control->objectName().toStdString();
}

TEST_F(MainWindowTest, ButtonBarHasItsTenButtons) {
    struct Case {
        TBitmapSkinPart* part;
        QRect geometry;
        const char* hint;
        QColor key;
    };
    for (const Case& c : {
             Case{form.BitmapSkinPart2, {0, 0, 29, 29}, "Воспроизвести", kSkyBlue},
             Case{form.BitmapSkinPart3, {29, 2, 20, 27}, "Остановить", kPurple},
             Case{form.BitmapSkinPart5, {48, 5, 20, 20}, "Предыдущая дорожка", kPurple},
             Case{form.BitmapSkinPart6, {66, 5, 20, 20}, "Следующая дорожка", kPurple},
             Case{form.BitmapSkinPart1, {85, 5, 20, 20}, "Выключить", kPurple},
             Case{form.BitmapSkinPart4, {104, 3, 20, 24}, "Изменить цвет", kFuchsia},
             Case{form.BitmapSkinPart8, {130, 2, 20, 24}, "Перемешивание", kPurple},
             Case{form.BitmapSkinPart9, {152, 5, 20, 18}, "Слова песни", kPurple},
             Case{form.BitmapSkinPart7, {173, 5, 18, 18}, "Список воспроизведения", kPurple},
             Case{form.BitmapSkinPart10, {200, 5, 18, 18}, "Визуализация", kPurple},
             Case{form.BitmapSkinPart11, {224, 5, 18, 18}, "Аудио настройки", kPurple},
         }) {
        SCOPED_TRACE(c.hint);
        EXPECT_EQ(c.part->parentWidget(), form.ParentSkin2);
        EXPECT_EQ(c.part->geometry(), c.geometry);
        EXPECT_EQ(c.part->toolTip(), QString::fromUtf8(c.hint));
        EXPECT_EQ(c.part->TransparentColor(), c.key);
        EXPECT_EQ(c.part->Glyph().size(), c.geometry.size());
    }
}

TEST_F(MainWindowTest, GlyphListsHaveTheirSizesAndDistinctButtonShapedGlyphs) {
    struct Case {
        const ImageList* list;
        QSize size;
        int count;
        std::vector<QColor> keys;  // the key colour each glyph is shown on
    };
    const std::vector<QColor> purple(8, kPurple);
    for (const Case& c : {
             Case{&form.ImageList1, {29, 29}, 4, std::vector<QColor>(4, kSkyBlue)},
             Case{&form.ImageList2, {20, 27}, 2, purple},
             Case{&form.ImageList3, {20, 20}, 6, purple},
             Case{&form.ImageList4, {20, 24}, 4, {kFuchsia, kFuchsia, kPurple, kPurple}},
             Case{&form.ImageList5, {20, 18}, 2, purple},
             Case{&form.ImageList6, {18, 18}, 8, purple},
         }) {
        EXPECT_EQ(c.list->Size(), c.size);
        ASSERT_EQ(c.list->Count(), c.count);
        std::set<QByteArray> seen;
        for (int i = 0; i < c.count; ++i) {
            SCOPED_TRACE(c.size.width() * 100 + i);
            const QImage glyph = c.list->GetBitmap(i, c.keys[i]);
            const QRgb key = c.keys[i].rgb();
            EXPECT_EQ(glyph.pixel(0, 0), key);  // rounded corners are cut out
            EXPECT_EQ(glyph.pixel(c.size.width() - 1, c.size.height() - 1), key);
            EXPECT_NE(glyph.pixel(c.size.width() / 2, c.size.height() / 2), key);
            EXPECT_NE(glyph.pixel(c.size.width() / 2, 1), key);
            seen.insert(
                QByteArray(reinterpret_cast<const char*>(glyph.constBits()), glyph.sizeInBytes()));
        }
        EXPECT_EQ(static_cast<int>(seen.size()), c.count);
    }
}

TEST_F(MainWindowTest, ColourButtonStepsThroughTheWindowColours) {
    showShaped();
    const QImage released = form.BitmapSkinPart4->Glyph();
    const auto send = [this](QEvent::Type type) {
        QMouseEvent event(type, QPointF(10, 12), form.BitmapSkinPart4->mapToGlobal(QPointF(10, 12)),
                          Qt::LeftButton,
                          type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton,
                          Qt::NoModifier);
        QCoreApplication::sendEvent(form.BitmapSkinPart4, &event);
    };
    std::vector<QColor> seen;
    for (int press = 0; press < 7; ++press) {
        send(QEvent::MouseButtonPress);
        EXPECT_NE(form.BitmapSkinPart4->Glyph(), released);
        send(QEvent::MouseButtonRelease);
        EXPECT_EQ(form.BitmapSkinPart4->Glyph(), released);
        seen.push_back(form.palette().color(QPalette::Window));
    }
    EXPECT_EQ(seen, (std::vector<QColor>{QColor(0, 255, 0), QColor(255, 255, 0), QColor(0, 128, 0),
                                         QColor(255, 0, 0), kSkyBlue, QColor(0, 0, 255),
                                         QColor(0, 255, 0)}));
    EXPECT_EQ(form.ParentSkin1->palette().color(QPalette::Window), QColor(0, 255, 0));
    EXPECT_EQ(form.ListBox1->palette().color(QPalette::Base), kSkyBlue);
}

TEST_F(MainWindowTest, VisualisationButtonShowsTheWindowOverTheTopEdgeAndItFollows) {
    TForm4 vis(&form);
    form.AttachVisWindow(&vis);
    form.move(100, 400);
    showShaped();
    const auto send = [](QWidget* to, QEvent::Type type) {
        QMouseEvent event(type, QPointF(9, 9), to->mapToGlobal(QPointF(9, 9)), Qt::LeftButton,
                          type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton,
                          Qt::NoModifier);
        QCoreApplication::sendEvent(to, &event);
    };
    const auto glyph = [this](int index) {
        return form.ImageList6.GetBitmap(index, form.BitmapSkinPart10->TransparentColor());
    };
    const auto press = [&] {
        send(form.BitmapSkinPart10, QEvent::MouseButtonPress);
        send(form.BitmapSkinPart10, QEvent::MouseButtonRelease);
    };
    // Placed at the left edge, 300 - 90 pixels above the top, while still hidden.
    EXPECT_FALSE(vis.isVisible());
    EXPECT_EQ(vis.pos(), QPoint(100, 190));
    EXPECT_EQ(form.BitmapSkinPart10->Glyph(), glyph(4));

    send(form.BitmapSkinPart10, QEvent::MouseButtonPress);
    EXPECT_EQ(form.BitmapSkinPart10->Glyph(), glyph(5));
    send(form.BitmapSkinPart10, QEvent::MouseButtonRelease);
    EXPECT_TRUE(vis.isVisible());
    EXPECT_TRUE(form.VisShown);
    form.move(160, 450);
    EXPECT_EQ(vis.pos(), QPoint(160, 240));

    press();
    EXPECT_FALSE(vis.isVisible());
    EXPECT_FALSE(form.VisShown);
    EXPECT_EQ(form.BitmapSkinPart10->Glyph(), glyph(4));
    form.move(120, 430);
    EXPECT_EQ(vis.pos(), QPoint(120, 220));

    // Closed by its own double-click, the window turns the button off, so the next press
    // shows it again.
    press();
    ASSERT_TRUE(vis.isVisible());
    send(vis.PaintBox1, QEvent::MouseButtonDblClick);
    EXPECT_FALSE(vis.isVisible());
    EXPECT_FALSE(form.VisShown);
    EXPECT_EQ(form.BitmapSkinPart10->Glyph(), glyph(4));
    press();
    EXPECT_TRUE(vis.isVisible());
    EXPECT_EQ(form.BitmapSkinPart10->Glyph(), glyph(5));
}

TEST_F(MainWindowTest, CloseImageClosesTheWindow) {
    showShaped();
    QMouseEvent release(QEvent::MouseButtonRelease, QPointF(5, 5),
                        form.Image1->mapToGlobal(QPointF(5, 5)), Qt::LeftButton, Qt::NoButton,
                        Qt::NoModifier);
    QCoreApplication::sendEvent(form.Image1, &release);
    EXPECT_FALSE(form.isVisible());
}

// Counts the paints a widget gets.
struct PaintCount : QObject {
    int paints = 0;
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint) ++paints;
        return false;
    }
};

TEST_F(MainWindowTest, SeekBarAndLevelMetersPaintOnlyWhatChangedAndLookAsBefore) {
    showShaped();
    // The window's own timers would set the seek bar and the meters to the idle engine's
    // zero while the test waits.
    form.Timer1->stop();
    form.Timer2->stop();
    // Updates reach the window later (posted, or after a short timer); all its controls
    // due a paint are painted together, so once a probe beside them has been painted,
    // every paint asked for before has arrived.
    QWidget probe(form.TrackBarEx1->parentWidget());
    probe.setGeometry(form.TrackBarEx1->x(), form.TrackBarEx1->geometry().bottom() + 4, 2, 2);
    probe.setAttribute(Qt::WA_OpaquePaintEvent);  // its paint leaves the window beneath alone
    probe.show();
    PaintCount probed;
    probe.installEventFilter(&probed);
    const auto settle = [&] {
        probed.paints = 0;
        probe.update();
        QElapsedTimer waited;
        waited.start();
        while (probed.paints == 0 && waited.elapsed() < 10'000)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        ASSERT_GT(probed.paints, 0) << "the window was not painted";
    };
    PaintCount seek, level;
    form.TrackBarEx1->installEventFilter(&seek);
    form.ProgressBar1->installEventFilter(&level);

    // A three-minute song on a bar some 500 pixels wide: 100 ms moves the thumb by none.
    form.TrackBarEx1->setRange(0, 180'000);
    form.TrackBarEx1->setValue(60'000);
    settle();
    seek.paints = 0;
    form.TrackBarEx1->setValue(60'100);
    settle();
    EXPECT_EQ(seek.paints, 0);
    form.TrackBarEx1->setValue(61'000);
    settle();
    EXPECT_GT(seek.paints, 0);

    // A new level is painted with the next paint, not at once, and nothing beneath the
    // meter is painted with it.
    TLevelBar* meter = form.ProgressBar1;
    PaintCount under;
    form.installEventFilter(&under);
    meter->parentWidget()->installEventFilter(&under);
    settle();
    level.paints = under.paints = 0;
    meter->ShowLevel(77);
    EXPECT_EQ(level.paints, 0);
    settle();
    EXPECT_GT(level.paints, 0);
    EXPECT_EQ(under.paints, 0);
    EXPECT_EQ(meter->value(), 77);

    // In the window it looks as a plain bar of the same style and value in its place does,
    // also after the window's colour changed.
    QProgressBar plain(meter->parentWidget());
    plain.setGeometry(meter->geometry());
    plain.setOrientation(Qt::Vertical);
    plain.setRange(0, 128);
    plain.setTextVisible(false);
    plain.setStyleSheet(meter->styleSheet());
    plain.setValue(77);
    const QRect place(meter->mapTo(&form, QPoint()), meter->size());
    const auto shown = [&](QWidget* bar) {
        (bar == meter ? static_cast<QWidget*>(&plain) : meter)->hide();
        bar->show();
        settle();
        return form.grab(place).toImage().convertToFormat(QImage::Format_RGB32);
    };
    for (const QColor& window : {kSkyBlue, QColor(0x60, 0x20, 0x20)}) {
        QPalette colours = form.palette();
        colours.setColor(QPalette::Window, window);
        form.setPalette(colours);
        const QImage kept = shown(meter);
        const QImage drawn = shown(&plain);
        ASSERT_EQ(kept.size(), drawn.size());
        // The kept picture is blended once more: edge pixels may round one step apart.
        EXPECT_LE(testing_support::WorstChannelDifference(kept, drawn), 2)
            << window.name().toStdString();
    }
}

TEST(DialogLanguage, StandardDialogsSpeakRussian) {
    if (!dialog_language::InstallRussian(*QCoreApplication::instance()))
        GTEST_SKIP() << "Qt's translations are not installed";
    QFileDialog dialog(nullptr, "Выбрать музыкальные файлы");
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    const auto* buttons = dialog.findChild<QDialogButtonBox*>();
    ASSERT_TRUE(buttons);
    EXPECT_EQ(buttons->button(QDialogButtonBox::Cancel)->text(), "Отмена");
    EXPECT_EQ(buttons->button(QDialogButtonBox::Open)->text(), "&Открыть");
    // Back to Qt's own texts for the tests that follow.
    qDeleteAll(QCoreApplication::instance()->findChildren<QTranslator*>());
}

}  // namespace
