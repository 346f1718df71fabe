#include "player/skin/bitmap_skin_part.h"

#include <QBitmap>
#include <QPainter>

TBitmapSkinPart::TBitmapSkinPart(QWidget* parent) : TObjectSkin(parent) {
    show();
}

void TBitmapSkinPart::SetGlyph(const QImage& glyph) {
    glyph_ = glyph.convertToFormat(QImage::Format_RGB32);
    PreparePicture();
    update();
}

void TBitmapSkinPart::SetTransparentColor(QColor color) {
    if (color == transparentColor_) return;
    transparentColor_ = color;
    FreeRegion();
    PreparePicture();
    update();
}

void TBitmapSkinPart::SetShowImage(bool show) {
    if (show == showImage_) return;
    showImage_ = show;
    setVisible(show);
    update();
}

std::optional<QRegion> TBitmapSkinPart::GetRegion() {
    if (Region) return Region;
    const QRgb key = transparentColor_.rgb() & RGB_MASK;
    const QPoint origin = pos();
    QRegion region;
    for (int y = 0; y < glyph_.height(); ++y) {
        const auto* row = reinterpret_cast<const QRgb*>(glyph_.constScanLine(y));
        int x = 0;
        while (x < glyph_.width()) {
            while (x < glyph_.width() && (row[x] & RGB_MASK) == key) ++x;
            const int start = x;
            while (x < glyph_.width() && (row[x] & RGB_MASK) != key) ++x;
            if (x > start) region += QRect(origin.x() + start, origin.y() + y, x - start, 1);
        }
    }
    Region = region;
    return Region;
}

void TBitmapSkinPart::PreparePicture() {
    if (glyph_.isNull()) {
        picture_ = QPixmap();
        return;
    }
    picture_ = QPixmap::fromImage(glyph_);
    picture_.setMask(QBitmap::fromImage(
        glyph_.createMaskFromColor(transparentColor_.rgb() | 0xFF000000u, Qt::MaskInColor)));
}

void TBitmapSkinPart::paintEvent(QPaintEvent*) {
    if (picture_.isNull()) return;
    QPainter painter(this);
    painter.drawPixmap(0, 0, picture_);
}
