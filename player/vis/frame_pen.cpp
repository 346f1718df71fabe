#include "player/vis/frame_pen.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

FramePen::FramePen(QImage& frame)
    : bits_(frame.bits()),
      stride_(frame.bytesPerLine()),
      width_(frame.width()),
      height_(frame.height()) {}

QImage FramePen::NewFrame(int width, int height, QColor color) {
    QImage frame(width, height, QImage::Format_RGB32);
    frame.fill(color);
    return frame;
}

void FramePen::Clear(QRgb color, const QImage* image) {
    Fill(color);
    if (image) Copy(*image);
}

void FramePen::Fill(QRgb color) {
    for (int y = 0; y < height_; ++y) std::fill_n(Row(y), width_, color);
}

void FramePen::SetPixel(int x, int y, QRgb color) {
    if (x >= 0 && x < width_ && y >= 0 && y < height_) Row(y)[x] = color;
}

void FramePen::FillRect(int left, int top, int width, int height, QRgb color) {
    const int x0 = std::max(left, 0);
    const int x1 = std::min(left + width, width_);
    const int y0 = std::max(top, 0);
    const int y1 = std::min(top + height, height_);
    if (x0 >= x1) return;
    for (int y = y0; y < y1; ++y) std::fill(Row(y) + x0, Row(y) + x1, color);
}

void FramePen::MoveTo(int x, int y) {
    penX_ = x;
    penY_ = y;
}

void FramePen::LineTo(int x, int y, QRgb color) {
    // Bresenham's walk, one pixel per step along the longer axis.
    int cx = penX_;
    int cy = penY_;
    const int dx = std::abs(x - cx);
    const int dy = -std::abs(y - cy);
    const int sx = cx < x ? 1 : -1;
    const int sy = cy < y ? 1 : -1;
    int error = dx + dy;
    for (;;) {
        SetPixel(cx, cy, color);
        if (cx == x && cy == y) break;
        const int twice = 2 * error;
        if (twice >= dy) {
            error += dy;
            cx += sx;
        }
        if (twice <= dx) {
            error += dx;
            cy += sy;
        }
    }
    MoveTo(x, y);
}

void FramePen::Copy(const QImage& from) {
    const int width = std::min(width_, from.width());
    const int height = std::min(height_, from.height());
    if (width <= 0) return;
    for (int y = 0; y < height; ++y)
        std::memcpy(Row(y), from.constScanLine(y), static_cast<std::size_t>(width) * sizeof(QRgb));
}
