#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstdint>

#include "player/vis/circle_scope.h"

namespace {

constexpr QRgb kBlack = 0xFF000000;
constexpr QRgb kWhite = 0xFFFFFFFF;
constexpr QRgb kRed = 0xFFFF0000;
constexpr QRgb kLightGreen = 0xFF88FF44;

using Block = std::array<std::int16_t, 2 * TCircleScope::kFrames>;

struct CircleScopeTest : ::testing::Test {
    TCircleScope scope{537, 290};
    QImage target{537, 290, QImage::Format_RGB32};

    void draw(const Block& block) { scope.Draw(target, block.data(), 250, 145); }

    // Checks that every pixel of `color` lies in the band of distances from `centre`;
    // returns how many there are. Truncating each coordinate of a point takes up to 1.4
    // pixels off its radius.
    int ringPixels(QRgb color, QPoint centre, double inner, double outer) const {
        int count = 0;
        for (int y = 0; y < target.height(); ++y)
            for (int x = 0; x < target.width(); ++x) {
                if (target.pixel(x, y) != color) continue;
                ++count;
                const double r = std::hypot(x - centre.x(), y - centre.y());
                EXPECT_TRUE(r >= inner && r <= outer) << x << "," << y << " r " << r;
            }
        return count;
    }
};

TEST_F(CircleScopeTest, SilenceGivesTwoCirclesOfRadius60BesideTheCentre) {
    draw(Block{});
    // A circle of radius 60 has about 2 pi 60 = 377 pixels; the red one is drawn last and
    // covers the white one where they cross.
    EXPECT_GT(ringPixels(kWhite, {270, 145}, 58, 60.5), 320);
    EXPECT_GT(ringPixels(kRed, {230, 145}, 58, 60.5), 320);
    EXPECT_EQ(target.pixel(270, 205), kWhite);  // the first point of each, straight down
    EXPECT_EQ(target.pixel(230, 205), kRed);
    EXPECT_EQ(target.pixel(270, 145), kBlack);
}

TEST_F(CircleScopeTest, LoudSamplesWidenTheRadiusByAtMostTwelve) {
    Block block;
    for (std::size_t i = 0; i < block.size(); i += 2) {
        block[i] = 32767;       // left: 60 + 12
        block[i + 1] = -32768;  // right: 60 - 12
    }
    draw(block);
    EXPECT_GT(ringPixels(kWhite, {270, 145}, 70, 72.5), 300);
    EXPECT_GT(ringPixels(kRed, {230, 145}, 46, 48.5), 250);
}

TEST_F(CircleScopeTest, SpokesAndDotsDrawFromTheSamePoints) {
    scope.TraceColor = QColor(0x88, 0xFF, 0x44);
    scope.Style = 1;
    draw(Block{});
    // Spokes fill each disc: the horizontal ones reach out from the centres.
    EXPECT_EQ(target.pixel(300, 145), kLightGreen);
    EXPECT_EQ(target.pixel(200, 145), kRed);
    EXPECT_EQ(target.pixel(230, 145), kRed);
    scope.Style = 2;
    draw(Block{});
    // Dots only, both circles' in the trace colour; the closing step leaves one red dot.
    EXPECT_EQ(target.pixel(300, 145), kBlack);
    EXPECT_LE(ringPixels(kRed, {230, 145}, 59.5, 60.5), 1);
    EXPECT_GT(ringPixels(kLightGreen, {250, 145}, 0, 80.5), 400);
}

}  // namespace
