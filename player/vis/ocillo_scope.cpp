#include "player/vis/ocillo_scope.h"

#include <algorithm>

#include "player/vis/frame_pen.h"

TOcilloScope::TOcilloScope(int width, int height)
    : FrameBitmap(FramePen::NewFrame(width, height, BackgroundColor)),
      BackgroundBitmap(FramePen::NewFrame(width, height, Qt::black)) {}

void TOcilloScope::Draw(QImage& target, const std::int16_t* samples, int x, int y) {
    std::copy_n(samples, data_.size(), data_.begin());
    FramePen pen(FrameBitmap);
    if (ClearEachFrame)
        pen.Clear(BackgroundColor.rgb(), UseBackgroundImage ? &BackgroundBitmap : nullptr);
    const QRgb trace = TraceColor.rgb();
    const QRgb tip = qRgb(0xFF, 0xFF, 0xFF);
    for (int i = 0; i <= 500; ++i) {
        // Frames past the block read as silence.
        const long frame = static_cast<long>(i) * FrameStep;
        const int v = frame >= 0 && frame < kFrames
                          ? data_[2 * static_cast<std::size_t>(frame)] +
                                data_[2 * static_cast<std::size_t>(frame) + 1]
                          : 0;
        const int d = static_cast<int>(v / 131070.0 * Amplitude);
        const int px = x + i;
        if (i == 0) {
            pen.MoveTo(px, y + d);
            continue;
        }
        switch (Style) {
            case 0:
                pen.LineTo(px, y + d, trace);
                break;
            case 1:
                pen.MoveTo(px, y);
                pen.LineTo(px, y + d, trace);
                break;
            case 2:
                pen.SetPixel(px, y + d, trace);
                break;
            case 3:
                for (const int end : {y - d, y + d}) {
                    pen.MoveTo(px, y);
                    pen.LineTo(px, end, trace);
                    pen.SetPixel(px, end, tip);
                }
                break;
            default:
                break;
        }
    }
    FramePen(target).Copy(FrameBitmap);
}
