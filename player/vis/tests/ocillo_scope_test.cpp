#include <gtest/gtest.h>

#include <array>
#include <cstdint>

#include "player/vis/ocillo_scope.h"

namespace {

constexpr QRgb kBlack = 0xFF000000;
constexpr QRgb kGreen = 0xFF00FF00;
constexpr QRgb kWhite = 0xFFFFFFFF;

using Block = std::array<std::int16_t, 2 * TOcilloScope::kFrames>;

struct OcilloScopeTest : ::testing::Test {
    TOcilloScope scope{537, 290};
    QImage target{537, 290, QImage::Format_RGB32};

    void draw(const Block& block) { scope.Draw(target, block.data(), 20, 145); }
};

TEST_F(OcilloScopeTest, SilenceIsAFlatLineAtTheCentre) {
    draw(Block{});
    for (int y = 0; y < target.height(); ++y)
        for (int x = 0; x < target.width(); ++x)
            ASSERT_EQ(target.pixel(x, y), y == 145 && x >= 20 && x <= 520 ? kGreen : kBlack)
                << x << "," << y;
}

TEST_F(OcilloScopeTest, EachStyleDrawsTheTraceItsWay) {
    // Both channels at half scale: (16384 + 16384) / 131070 x 125 = 31 pixels downward.
    Block block;
    block.fill(16384);
    struct Probe {
        int y;
        QRgb color;
    };
    struct Case {
        int style;
        std::vector<Probe> probes;  // in every column after the first
    };
    const Case cases[] = {
        {0, {{176, kGreen}, {175, kBlack}, {150, kBlack}, {145, kBlack}}},
        {1, {{145, kGreen}, {160, kGreen}, {176, kGreen}, {177, kBlack}, {114, kBlack}}},
        {2, {{176, kGreen}, {150, kBlack}, {145, kBlack}}},
        {3,
         {{114, kWhite},
          {115, kGreen},
          {145, kGreen},
          {175, kGreen},
          {176, kWhite},
          {113, kBlack},
          {177, kBlack}}},
    };
    for (const Case& c : cases) {
        scope.Style = c.style;
        draw(block);
        for (const int x : {21, 200, 520})
            for (const Probe& p : c.probes)
                EXPECT_EQ(target.pixel(x, p.y), p.color)
                    << "style " << c.style << " at " << x << "," << p.y;
        EXPECT_EQ(target.pixel(521, 176), kBlack);
    }
}

TEST_F(OcilloScopeTest, PositiveSamplesGoDownAndTheChannelsAdd) {
    Block block{};
    block[2 * 100] = 32767;   // frame 100, left only: 31 pixels down
    block[2 * 200] = -32768;  // frame 200, left and right at full scale: 62 up
    block[2 * 200 + 1] = -32768;
    draw(block);
    EXPECT_EQ(target.pixel(120, 176), kGreen);
    EXPECT_EQ(target.pixel(120, 177), kBlack);
    EXPECT_EQ(target.pixel(220, 83), kGreen);
    EXPECT_EQ(target.pixel(220, 82), kBlack);
}

TEST_F(OcilloScopeTest, ABackgroundImageShowsUnderTheTraceAndUnclearedFramesAddUp) {
    scope.BackgroundBitmap.setPixel(5, 5, qRgb(1, 2, 3));
    scope.UseBackgroundImage = true;
    draw(Block{});
    EXPECT_EQ(target.pixel(5, 5), qRgb(1, 2, 3));
    EXPECT_EQ(target.pixel(100, 145), kGreen);
    Block block;
    block.fill(16384);
    scope.ClearEachFrame = false;
    draw(block);
    EXPECT_EQ(target.pixel(100, 145), kGreen);  // the last frame's trace stays
    EXPECT_EQ(target.pixel(100, 176), kGreen);
}

}  // namespace
