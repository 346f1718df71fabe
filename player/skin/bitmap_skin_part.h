#pragma once

#include <QColor>
#include <QImage>
#include <QPixmap>

#include "player/skin/object_skin.h"

// A bitmap skin part: it shows Glyph at its top-left corner and its region is the set of the
// glyph's pixels whose colour is not TransparentColor. The key-colour pixels are left out
// when painting, so the window behind shows through them. Created visible.
class TBitmapSkinPart : public TObjectSkin {
    Q_OBJECT
public:
    explicit TBitmapSkinPart(QWidget* parent);

    const QImage& Glyph() const { return glyph_; }
    QColor TransparentColor() const { return transparentColor_; }
    bool ShowImage() const { return showImage_; }

    // Copies the picture and repaints; the region already built is kept, so pressed and
    // released looks never change the part's shape.
    void SetGlyph(const QImage& glyph);
    // A changed colour frees the region and repaints.
    void SetTransparentColor(QColor color);
    // A changed value shows or hides the part.
    void SetShowImage(bool show);

    // Built once from the glyph at the first request: one rectangle per run of opaque pixels
    // of a row, at the part's place in its parent.
    std::optional<QRegion> GetRegion() override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void PreparePicture();

    QImage glyph_;
    QColor transparentColor_{0x80, 0x00, 0x80};
    bool showImage_ = true;
    QPixmap picture_;
};
