#include <gtest/gtest.h>

#include <array>

#include "player/vis/digit_strip.h"
#include "player/vis/time_readout.h"

namespace {

constexpr int kCell = digit_strip::kCellWidth;

// Cell `cell` of the strip, columns [from, to).
QImage cellOf(const QImage& strip, int cell, int width = kCell) {
    return strip.copy(cell * kCell, 0, width, digit_strip::kHeight);
}

TEST(DigitStripTest, HoldsTenDistinctDigitsAColonAndBlanks) {
    const QImage strip = digit_strip::Make();
    ASSERT_EQ(strip.size(), QSize(279, 14));
    const QImage blank = cellOf(strip, digit_strip::kBlankCell);
    // A blank cell is the panel alone: each row one colour.
    for (int y = 0; y < blank.height(); ++y)
        for (int x = 1; x < kCell; ++x) ASSERT_EQ(blank.pixel(x, y), blank.pixel(0, y));
    for (int a = 0; a < 10; ++a) {
        EXPECT_NE(cellOf(strip, a), blank) << a;
        for (int b = a + 1; b < 10; ++b) EXPECT_NE(cellOf(strip, a), cellOf(strip, b)) << a << b;
    }
    for (const int cell : {11, 13, 14, 15, 16}) EXPECT_EQ(cellOf(strip, cell), blank) << cell;
    const QImage colon = cellOf(strip, digit_strip::kColonCell);
    EXPECT_NE(colon.copy(0, 0, 6, 14), blank.copy(0, 0, 6, 14));
    EXPECT_EQ(colon.copy(6, 0, 10, 14), blank.copy(6, 0, 10, 14));
}

TEST(TimeReadoutTest, ShowsMinutesSecondsAndHundredthsInStripCells) {
    struct Case {
        int ms;
        std::array<int, 8> cells;
    };
    const Case cases[] = {
        {0, {0, 0, 12, 0, 0, 12, 0, 0}},
        {205'470, {0, 3, 12, 2, 5, 12, 4, 7}},      // 3:25.47
        {6'000'000, {10, 0, 12, 0, 0, 12, 0, 0}},   // 100 minutes: a blank cell
        {7'259'990, {12, 0, 12, 5, 9, 12, 9, 9}},   // 120 minutes: the colon
        {12'000'000, {20, 0, 12, 0, 0, 12, 0, 0}},  // 200 minutes: beyond the strip
    };
    const QImage strip = digit_strip::Make();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.ms);
        EXPECT_EQ(time_readout::Cells(c.ms), c.cells);
        for (const int top : {50, 250}) {
            QImage canvas(537, 290, QImage::Format_RGB32);
            canvas.fill(Qt::black);
            time_readout::Draw(canvas, strip, c.ms, top);
            for (std::size_t i = 0; i < 8; ++i) {
                // A cell shows up to where the next one starts.
                const int left = time_readout::kCellLeft[i];
                const int width =
                    i < 7 ? std::min(kCell, time_readout::kCellLeft[i + 1] - left) : kCell;
                const int cell =
                    c.cells[i] < digit_strip::kCells ? c.cells[i] : digit_strip::kBlankCell;
                EXPECT_EQ(canvas.copy(left, top, width, 14), cellOf(strip, cell, width)) << i;
            }
            // Nothing else is touched.
            EXPECT_EQ(canvas.pixel(202, top), qRgb(0, 0, 0));
            EXPECT_EQ(canvas.pixel(325, top), qRgb(0, 0, 0));
            EXPECT_EQ(canvas.pixel(250, top - 1), qRgb(0, 0, 0));
            EXPECT_EQ(canvas.pixel(250, top + 14), qRgb(0, 0, 0));
        }
    }
}

}  // namespace
