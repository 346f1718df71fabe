#pragma once

#include <QColor>
#include <QImage>
#include <QSize>
#include <QVector>

// A list of glyphs of one size, kept with their alpha. A glyph is handed out as an opaque
// bitmap on a transparent key colour, the form a TBitmapSkinPart takes: pixels that are
// mostly transparent become the key, the others are laid over the matte colour (the window's
// design colour, so soft edges blend into it) and never come out equal to the key.
class ImageList {
public:
    ImageList(QSize size, QColor matte);

    QSize Size() const { return size_; }
    int Count() const { return glyphs_.size(); }
    // The glyph is scaled to the list's size when it has another one.
    void Add(const QImage& glyph);
    // The glyph at `index` on the key colour; a null image for an index out of range.
    QImage GetBitmap(int index, QColor transparentColor) const;

private:
    QSize size_;
    QColor matte_;
    QVector<QImage> glyphs_;
};
