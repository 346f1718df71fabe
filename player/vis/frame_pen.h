#pragma once

#include <QImage>

// Draws on a 32-bit frame (QImage::Format_RGB32) by writing pixels straight into its rows:
// the renderers redraw a whole frame twenty times a second, so drawing here allocates
// nothing and costs no painter set-up. Everything is clipped to the image. Like a device
// context, the pen has a current place that MoveTo sets and LineTo draws from.
class FramePen {
public:
    // Takes the image's pixels for writing (detaching the image if it is shared).
    explicit FramePen(QImage& frame);

    // A frame of the renderers' format and this size, filled with `color`.
    static QImage NewFrame(int width, int height, QColor color);

    void Fill(QRgb color);
    // The start of a renderer's frame: `color` everywhere, then `image` (when there is one)
    // over it.
    void Clear(QRgb color, const QImage* image);
    void SetPixel(int x, int y, QRgb color);
    void FillRect(int left, int top, int width, int height, QRgb color);
    void MoveTo(int x, int y);
    // A line from the current place to (x, y), both ends drawn; the pen ends at (x, y).
    void LineTo(int x, int y, QRgb color);
    // Copies `from` (of the same format) onto the frame at (0, 0), as far as both reach.
    void Copy(const QImage& from);

private:
    QRgb* Row(int y) const { return reinterpret_cast<QRgb*>(bits_ + y * stride_); }

    uchar* bits_;
    qsizetype stride_;
    int width_;
    int height_;
    int penX_ = 0;
    int penY_ = 0;
};
