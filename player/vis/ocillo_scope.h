#pragma once

#include <QColor>
#include <QImage>

#include <array>
#include <cstdint>

// Waveform display: the sum of the two channels of 501 sample frames, as a line
// (Style 0), filled from the centre line (1), dots (2) or mirrored about the centre line
// with white tips (3).
class TOcilloScope {
public:
    // Sample frames one Draw takes: 2048 bytes of 16-bit stereo.
    static constexpr int kFrames = 512;

    TOcilloScope(int width, int height);

    QColor BackgroundColor = Qt::black;
    int Amplitude = 125;  // pixels for the full scale of both channels summed, over two
    QColor TraceColor{0x00, 0xFF, 0x00};
    int Style = 0;
    int FrameStep = 1;  // sample frames between neighbouring points
    bool ClearEachFrame = true;
    bool UseBackgroundImage = false;

    QImage FrameBitmap;
    QImage BackgroundBitmap;

    // Draws one frame from `samples` (kFrames frames of left and right, copied first) with
    // the trace from x = `x` and its centre line at `y`, then copies the whole frame onto
    // `target` (Format_RGB32) at (0, 0). Positive sample values go downward.
    void Draw(QImage& target, const std::int16_t* samples, int x, int y);

private:
    std::array<std::int16_t, 2 * kFrames> data_{};
};
