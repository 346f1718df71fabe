#include "player/skin/image_list.h"

#include <QPainter>

namespace {
// Below this coverage a pixel counts as background.
constexpr int kOpaqueFrom = 96;
}  // namespace

ImageList::ImageList(QSize size, QColor matte) : size_(size), matte_(matte) {}

void ImageList::Add(const QImage& glyph) {
    QImage image = glyph.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    if (image.size() != size_)
        image = image.scaled(size_, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    glyphs_.append(image);
}

QImage ImageList::GetBitmap(int index, QColor transparentColor) const {
    if (index < 0 || index >= glyphs_.size()) return {};
    const QImage& glyph = glyphs_[index];
    QImage over(size_, QImage::Format_RGB32);
    over.fill(matte_);
    {
        QPainter painter(&over);
        painter.drawImage(0, 0, glyph);
    }
    const QRgb key = transparentColor.rgb();
    QImage bitmap(size_, QImage::Format_RGB32);
    for (int y = 0; y < size_.height(); ++y) {
        const auto* alpha = reinterpret_cast<const QRgb*>(glyph.constScanLine(y));
        const auto* colour = reinterpret_cast<const QRgb*>(over.constScanLine(y));
        auto* out = reinterpret_cast<QRgb*>(bitmap.scanLine(y));
        for (int x = 0; x < size_.width(); ++x) {
            QRgb pixel = qAlpha(alpha[x]) < kOpaqueFrom ? key : colour[x];
            // An opaque pixel that happens to match the key is nudged off it by one step.
            if (qAlpha(alpha[x]) >= kOpaqueFrom && (pixel | 0xFF000000u) == key) pixel ^= 1;
            out[x] = pixel | 0xFF000000u;
        }
    }
    return bitmap;
}
