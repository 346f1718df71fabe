#pragma once

#include <QColor>
#include <QImage>

#include <array>

// Frequency display: columns of bars (Style 1) or one-pixel lines (Style 0) that jump up
// to the spectrum's level and sink by BarDecay pixels a frame, with peak marks that sink
// by PeakDecay. The fields may be changed between frames.
class TSpectrum {
public:
    // Magnitudes one Draw takes: those of a 1024-point FFT.
    static constexpr int kBins = 512;

    // Both bitmaps get this size; the fields take the values below.
    TSpectrum(int width, int height);

    QColor BackgroundColor = Qt::black;
    int MaxBarHeight = 275;
    QColor BarColor{0x00, 0xFF, 0x00};
    QColor PeakMarkColor{0xFF, 0xFF, 0x00};
    int Style = 1;    // 0 lines, 1 bars
    int BinStep = 1;  // bins between neighbouring columns
    bool ClearEachFrame = true;
    bool UseBackgroundImage = false;  // BackgroundBitmap is copied over the cleared frame
    int PeakDecay = 2;
    int BarDecay = 5;
    int BarWidth = 5;  // with a gap of one pixel
    bool ShowPeakMarks = true;
    std::array<int, 513> Peaks{};
    std::array<int, 513> Bars{};

    QImage FrameBitmap;       // Format_RGB32; each frame is drawn here
    QImage BackgroundBitmap;  // Format_RGB32, black until someone paints it

    // Draws one frame from `fft` (kBins magnitudes, copied first) with the columns from
    // x = `x` and their base line at `y` + the frame's height, then copies the whole frame
    // onto `target` (Format_RGB32) at (0, 0).
    void Draw(QImage& target, const float* fft, int x, int y);

private:
    std::array<float, kBins> data_{};
};
