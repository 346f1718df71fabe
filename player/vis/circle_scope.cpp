#include "player/vis/circle_scope.h"

#include <algorithm>
#include <cmath>

#include "player/vis/frame_pen.h"

TCircleScope::TCircleScope(int width, int height)
    : FrameBitmap(FramePen::NewFrame(width, height, BackgroundColor)),
      BackgroundBitmap(FramePen::NewFrame(width, height, Qt::black)) {}

void TCircleScope::Draw(QImage& target, const std::int16_t* samples, int x, int y) {
    std::copy_n(samples, data_.size(), data_.begin());
    FramePen pen(FrameBitmap);
    if (ClearEachFrame)
        pen.Clear(BackgroundColor.rgb(), UseBackgroundImage ? &BackgroundBitmap : nullptr);
    const QRgb trace = TraceColor.rgb();
    DrawCircle(pen, 0, x + 20, y, trace, trace);
    DrawCircle(pen, 1, x - 20, y, qRgb(0xFF, 0x00, 0x00), trace);
    FramePen(target).Copy(FrameBitmap);
}

void TCircleScope::DrawCircle(FramePen& pen, int channel, int centreX, int centreY, QRgb line,
                              QRgb dot) const {
    // Point i takes frame 2 i at the angle i / 256 of a turn of 6.28 radians, so the 255
    // points end a little short of the start, and the closing line spans the gap.
    const auto point = [&](int i) {
        const int sample = data_[2 * static_cast<std::size_t>(2 * i) + channel];
        const int r = static_cast<int>(sample / 65535.0 * Amplitude) + BaseRadius;
        const double angle = i / 256.0 * 6.28;
        return QPoint(centreX + static_cast<int>(std::sin(angle) * r),
                      centreY + static_cast<int>(std::cos(angle) * r));
    };
    const QPoint first = point(0);
    pen.MoveTo(first.x(), first.y());
    for (int i = 1; i <= 254; ++i) {
        const QPoint p = point(i);
        switch (Style) {
            case 0:
                pen.LineTo(p.x(), p.y(), line);
                break;
            case 1:
                pen.MoveTo(centreX, centreY);
                pen.LineTo(p.x(), p.y(), line);
                break;
            case 2:
                pen.SetPixel(p.x(), p.y(), dot);
                break;
            default:
                break;
        }
    }
    pen.LineTo(first.x(), first.y(), line);
}
