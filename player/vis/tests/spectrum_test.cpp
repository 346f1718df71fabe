#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <numbers>

#include "player/vis/spectrum.h"
#include "soundlib/spectrum.h"

namespace {

constexpr QRgb kBlack = 0xFF000000;
constexpr QRgb kGreen = 0xFF00FF00;
constexpr QRgb kYellow = 0xFFFFFF00;

using Fft = std::array<float, TSpectrum::kBins>;

Fft flat(float magnitude) {
    Fft fft;
    fft.fill(magnitude);
    return fft;
}

struct SpectrumTest : ::testing::Test {
    TSpectrum spectrum{537, 290};
    QImage target{537, 290, QImage::Format_RGB32};

    void draw(const Fft& fft) { spectrum.Draw(target, fft.data(), 20, -10); }

    // The rows of column x that have `color`, from the top.
    std::vector<int> rowsOf(int x, QRgb color) const {
        std::vector<int> rows;
        for (int y = 0; y < target.height(); ++y)
            if (target.pixel(x, y) == color) rows.push_back(y);
        return rows;
    }
    bool blank() const {
        for (int y = 0; y < target.height(); ++y)
            for (int x = 0; x < target.width(); ++x)
                if (target.pixel(x, y) != kBlack) return false;
        return true;
    }
};

TEST_F(SpectrumTest, BarsSinkByFiveAndPeaksByTwoUntilSilenceLeavesNothing) {
    draw(flat(0.125f));  // a mean of 0.125 is 250 pixels
    EXPECT_EQ(spectrum.Bars[0], 250);
    EXPECT_EQ(rowsOf(20, kGreen).front(), 30);
    EXPECT_EQ(rowsOf(20, kGreen).back(), 279);

    const Fft silence{};
    struct Step {
        int frames;  // silent frames drawn so far
        int barTop;  // -1: no bar
        int peakRow;
    };
    int drawn = 0;
    for (const Step step : {Step{1, 35, 32}, Step{10, 80, 50}, Step{49, 275, 128},
                            Step{50, -1, 130}, Step{124, -1, 278}}) {
        for (; drawn < step.frames; ++drawn) draw(silence);
        SCOPED_TRACE(step.frames);
        // Column 0 is 5 pixels wide with a gap of one.
        for (int x = 20; x < 25; ++x) {
            const auto bar = rowsOf(x, kGreen);
            if (step.barTop < 0) {
                EXPECT_TRUE(bar.empty());
            } else {
                ASSERT_FALSE(bar.empty());
                EXPECT_EQ(bar.front(), step.barTop);
                EXPECT_EQ(bar.back(), 279);
                EXPECT_EQ(bar.size(), 280u - step.barTop);
            }
            EXPECT_EQ(rowsOf(x, kYellow), std::vector<int>{step.peakRow});
        }
        EXPECT_TRUE(rowsOf(25, kGreen).empty() && rowsOf(25, kYellow).empty());
    }
    draw(silence);  // the peaks reach 0
    EXPECT_TRUE(blank());
    EXPECT_EQ(target, spectrum.FrameBitmap);
}

TEST_F(SpectrumTest, AFullScaleSineRaisesTheColumnsWhoseBinsHoldIt) {
    // A sine centred on bin 100 through the sound library's own transform: 0.5 there and
    // 0.25 in both neighbours, nothing elsewhere.
    constexpr int kBin = 100;
    std::array<float, soundlib::Spectrum::kSize> sine;
    for (std::size_t n = 0; n < sine.size(); ++n)
        sine[n] = static_cast<float>(std::sin(2 * std::numbers::pi * kBin * n / sine.size()));
    Fft fft;
    soundlib::Spectrum transform;
    ASSERT_TRUE(transform.magnitudes(sine.data(), fft.data()));

    spectrum.Style = 0;  // one pixel per column: column i at x = 20 + i
    draw(fft);
    for (int i = 0; i < 501; ++i) {
        // Column i averages bins i + 1 ... i + 10: columns 89 ... 100 see part of the
        // sine, columns 91 ... 98 all of it (a mean of about 0.1, 200 pixels).
        const int height = static_cast<int>(rowsOf(20 + i, kGreen).size());
        SCOPED_TRACE(i);
        if (i >= kBin - 11 + 2 && i <= kBin - 2)
            EXPECT_NEAR(height, 200, 3);
        else if (i >= kBin - 11 && i <= kBin)
            EXPECT_GT(height, 0);
        else
            EXPECT_EQ(height, 0);
    }
}

TEST_F(SpectrumTest, BarsAreCutAtTheirMaximumHeight) {
    draw(flat(0.5f));  // 1000 pixels before the cut
    EXPECT_EQ(spectrum.Bars[0], 275);
    EXPECT_EQ(spectrum.Peaks[84], 275);
    for (const int x : {20, 24, 524, 528}) {
        EXPECT_EQ(target.pixel(x, 5), kGreen);
        EXPECT_EQ(target.pixel(x, 4), kBlack);
    }
}

}  // namespace
