// The visualisation window on the real audio object, playing the engine's sound files
// through the dummy output device.
#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QSignalSpy>
#include <QTest>

#include <array>
#include <filesystem>

#include "player/engine/audio_object.h"
#include "player/engine/tests/recording_view.h"
#include "player/vis/vis_window.h"
#include "soundlib/soundlib.h"
#include "testing/image_difference.h"
#include "testing/sound_device.h"
#include "testing/temp_dir.h"

namespace {

namespace fs = std::filesystem;

const fs::path kFixtures = PLAYER_FIXTURES_DIR;

constexpr QRgb kBlack = 0xFF000000;
constexpr QRgb kWhite = 0xFFFFFFFF;
constexpr QRgb kRed = 0xFFFF0000;
constexpr QRgb kGreen = 0xFF00FF00;
constexpr QRgb kOrange = 0xFFFF8844;
constexpr QRgb kCyan = 0xFF00FFFF;
constexpr QRgb kLightGreen = 0xFF88FF44;

struct VisWindowTest : ::testing::Test {
    testing_support::TempDir dir;
    RecordingView view;
    TAudioObject audio{view, dir / "AllMusik.aml"};
    TForm4 form;

    VisWindowTest() { AudioObject = &audio; }
    ~VisWindowTest() override { AudioObject = nullptr; }

    QAction* item(const QString& submenu, const QString& caption) const {
        for (QAction* sub : form.PopupMenu1->actions())
            if (sub->text() == submenu && sub->menu())
                for (QAction* action : sub->menu()->actions())
                    if (action->text() == caption) return action;
        return nullptr;
    }
    void play(const char* fixture) {
        audio.PlaySource(QString::fromStdString((kFixtures / fixture).string()));
        ASSERT_EQ(BASS_ChannelIsActive(audio.Channel), SOUND_ACTIVE_PLAYING);
        QTest::qWait(250);  // some of it heard
    }
    int pixelsOf(QRgb color) const {
        const QImage& canvas = form.PaintBox1->Canvas;
        int count = 0;
        for (int y = 0; y < canvas.height(); ++y)
            for (int x = 0; x < canvas.width(); ++x) count += canvas.pixel(x, y) == color;
        return count;
    }
};

TEST_F(VisWindowTest, IsABlackRoundedWindowWithItsControlsInPlace) {
    EXPECT_EQ(form.size(), QSize(592, 300));
    EXPECT_TRUE(form.windowFlags() & Qt::FramelessWindowHint);
    EXPECT_EQ(form.palette().color(QPalette::Window), QColor(Qt::black));
    EXPECT_EQ(form.VisMode, 2);
    EXPECT_EQ(form.Timer1->interval(), 50);
    EXPECT_EQ(form.ParentSkin1->size(), QSize(575, 295));
    EXPECT_EQ(form.Nums.size(), QSize(279, 14));
    EXPECT_EQ(form.Label2->font().pixelSize(), 16);
    EXPECT_TRUE(form.Label2->font().bold());
    EXPECT_EQ(form.Label1->font().pixelSize(), 13);

    form.show();
    for (int i = 0; i < 50 && form.mask().isEmpty(); ++i) QCoreApplication::processEvents();
    // The controls lie on the skin at their places on the rounded part (at x = -1).
    EXPECT_EQ(form.PaintBox1->parentWidget(), form.ParentSkin1);
    EXPECT_EQ(form.PaintBox1->geometry(), QRect(-1, 0, 537, 290));
    EXPECT_EQ(form.Label2->pos(), QPoint(49, 37));
    EXPECT_EQ(form.Label1->pos(), QPoint(47, 57));
    const QRegion shape = form.mask();
    for (const QPoint inside : {QPoint(270, 145), QPoint(0, 145), QPoint(551, 145)})
        EXPECT_TRUE(shape.contains(inside)) << inside.x() << "," << inside.y();
    for (const QPoint outside :
         {QPoint(1, 1), QPoint(551, 289), QPoint(560, 145), QPoint(270, 295)})
        EXPECT_FALSE(shape.contains(outside)) << outside.x() << "," << outside.y();
}

TEST_F(VisWindowTest, TheTimerRunsOnlyWhileTheWindowIsShownAndADoubleClickClosesIt) {
    EXPECT_FALSE(form.Timer1->isActive());
    form.show();
    EXPECT_TRUE(form.Timer1->isActive());
    QSignalSpy closed(&form, &TForm4::Closed);
    QTest::mouseDClick(form.PaintBox1, Qt::LeftButton, {}, {200, 200});
    EXPECT_FALSE(form.isVisible());
    EXPECT_FALSE(form.Timer1->isActive());
    EXPECT_EQ(closed.count(), 1);
}

TEST_F(VisWindowTest, EachMenuItemSetsItsDisplayStyleAndColour) {
    // Drawn from a flat spectrum (bars 250 high), a silent block for the circles and a
    // half-scale block for the waveform (31 pixels either side of the centre line).
    std::array<float, TSpectrum::kBins> fft;
    fft.fill(0.125f);
    std::array<std::int16_t, 1024> silence{};
    std::array<std::int16_t, 1024> half;
    half.fill(16384);
    struct Probe {
        int x, y;
        QRgb color;
    };
    struct Case {
        const char* submenu;
        const char* caption;
        int visMode;
        std::vector<Probe> probes;
    };
    const Case cases[] = {
        // Bars five wide with a gap: x 25 is a gap, x 526 the last bar.
        {"Диаграмма", "Частотная", 2, {{24, 279, kGreen}, {25, 279, kBlack}, {526, 279, kGreen}}},
        // Lines: one per pixel, x 20 ... 520.
        {"Диаграмма", "Сплошная", 2, {{25, 279, kGreen}, {520, 31, kGreen}, {526, 279, kBlack}}},
        {"Диаграмма", "Огненная Буря", 2, {{25, 279, kOrange}, {526, 279, kBlack}}},
        {"Диаграмма", "Небесная", 2, {{25, 279, kCyan}, {526, 279, kBlack}}},
        // Spokes fill the discs; the outline leaves them empty.
        {"Круговая", "Бабочка", 0, {{300, 145, kLightGreen}, {200, 145, kRed}}},
        {"Круговая", "Силует", 0, {{300, 145, kBlack}, {270, 205, kLightGreen}, {230, 205, kRed}}},
        {"Временная", "Двойная", 1, {{100, 114, kWhite}, {100, 130, kGreen}, {100, 176, kWhite}}},
        {"Временная", "Сплошная", 1, {{100, 114, kBlack}, {100, 160, kGreen}, {100, 176, kGreen}}},
        {"Временная", "Линейная", 1, {{100, 160, kBlack}, {100, 176, kGreen}, {100, 145, kBlack}}},
    };
    QImage canvas(537, 290, QImage::Format_RGB32);
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.submenu) + " > " + c.caption);
        QAction* action = item(QString::fromUtf8(c.submenu), QString::fromUtf8(c.caption));
        ASSERT_NE(action, nullptr);
        form.VisMode = -1;
        action->trigger();
        EXPECT_EQ(form.VisMode, c.visMode);
        form.Spectrum.Peaks.fill(0);
        form.Spectrum.Bars.fill(0);
        if (c.visMode == 2) form.Spectrum.Draw(canvas, fft.data(), 20, -10);
        if (c.visMode == 1) form.OcilloScope.Draw(canvas, half.data(), 20, 145);
        if (c.visMode == 0) form.CircleScope.Draw(canvas, silence.data(), 250, 145);
        for (const Probe& p : c.probes)
            EXPECT_EQ(canvas.pixel(p.x, p.y), p.color) << p.x << "," << p.y;
    }
    EXPECT_EQ(form.PopupMenu1->actions().size(), 3);
}

TEST_F(VisWindowTest, ATickDrawsThePlayingChannelAndOnlyRefreshesTheLabelsOtherwise) {
    play("first.mp3");  // a 440 Hz tone, "First Song" by "Shared"
    form.Timer1Timer();
    EXPECT_EQ(form.Label2->text(), "First Song");
    EXPECT_EQ(form.Label1->text(), "Shared");
    // 440 Hz lies in bin 10: the first columns' bars stand, the time shows at y 50.
    EXPECT_GT(pixelsOf(qRgb(0x00, 0xFF, 0x00)), 200);
    EXPECT_NE(form.PaintBox1->Canvas.copy(203, 50, 16, 14),
              form.PaintBox1->Canvas.copy(203, 70, 16, 14));

    form.VisMode = 1;
    form.Timer1Timer();
    EXPECT_GT(pixelsOf(qRgb(0x00, 0xFF, 0x00)), 400);  // the wave, over 500 columns

    for (const auto stop : {&TAudioObject::Pause, &TAudioObject::Stop}) {
        (audio.*stop)();
        const QImage before = form.PaintBox1->Canvas.copy();
        form.Label2->setText(QString());
        form.Label1->setText(QString());
        form.Timer1Timer();
        EXPECT_EQ(form.PaintBox1->Canvas, before);
        EXPECT_EQ(form.Label2->text(), "First Song");
        EXPECT_EQ(form.Label1->text(), "Shared");
    }
}

}  // namespace

TEST_F(VisWindowTest, TheKeptPicturesOfTheLabelsShowTheirTextsAsPlainLabelsDo) {
    QLabel* title = form.Label2;
    QLabel plain;
    plain.setFont(title->font());
    QPalette colours = title->palette();  // the window's black too, not only the white ink
    colours.setColor(QPalette::Window, colours.color(QPalette::Window));
    plain.setPalette(colours);
    for (const char* text : {"First Song", "Другая песня, длиннее", "First Song"}) {
        // One size for all: a new text alone must renew the picture.
        title->setText(QString::fromUtf8(text));
        title->resize(300, 24);
        plain.setText(title->text());
        plain.resize(300, 24);
        const QImage kept = title->grab().toImage().convertToFormat(QImage::Format_RGB32);
        const QImage drawn = plain.grab().toImage().convertToFormat(QImage::Format_RGB32);
        ASSERT_EQ(kept.size(), drawn.size()) << text;
        // The kept picture is blended once more: edge pixels may round one step apart.
        EXPECT_LE(testing_support::WorstChannelDifference(kept, drawn), 2) << text;
    }
}
