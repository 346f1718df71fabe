#pragma once

#include <QColor>
#include <QImage>

#include <array>
#include <cstdint>

class FramePen;

// Two waveforms wrapped round circles side by side: the left channel in TraceColor right
// of the centre, the right channel in red left of it, as outlines (Style 0), spokes from
// the circles' centres (1) or dots (2).
class TCircleScope {
public:
    // Sample frames one Draw takes: 2048 bytes of 16-bit stereo.
    static constexpr int kFrames = 512;

    TCircleScope(int width, int height);

    QColor BackgroundColor = Qt::black;
    int BaseRadius = 60;  // the radius for silence
    int Amplitude = 25;   // radius swing for a full-scale sample, over two
    QColor TraceColor{0xFF, 0xFF, 0xFF};
    int Style = 0;
    int FrameStep = 2;  // the drawing always takes every second frame
    bool ClearEachFrame = true;
    bool UseBackgroundImage = false;

    QImage FrameBitmap;
    QImage BackgroundBitmap;

    // Draws one frame from `samples` (kFrames frames of left and right, copied first) with
    // the circles' centres 20 pixels right and left of (`x`, `y`), then copies the whole
    // frame onto `target` (Format_RGB32) at (0, 0).
    void Draw(QImage& target, const std::int16_t* samples, int x, int y);

private:
    void DrawCircle(FramePen& pen, int channel, int centreX, int centreY, QRgb line,
                    QRgb dot) const;

    std::array<std::int16_t, 2 * kFrames> data_{};
};
