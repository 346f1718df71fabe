#include "player/vis/picture_label.h"

#include <QPainter>

void PictureLabel::paintEvent(QPaintEvent*) {
    const qreal scale = devicePixelRatioF();
    if (picture_.isNull() || pictureText_ != text() || picture_.size() != size() * scale) {
        twin_.setFont(font());
        twin_.setPalette(palette());
        twin_.setAlignment(alignment());
        twin_.setText(text());
        twin_.resize(size());
        picture_ = QPixmap(size() * scale);
        picture_.setDevicePixelRatio(scale);
        picture_.fill(Qt::transparent);
        twin_.render(&picture_, QPoint(), QRegion(), QWidget::RenderFlags());
        pictureText_ = text();
    }
    QPainter(this).drawPixmap(0, 0, picture_);
}

void PictureLabel::changeEvent(QEvent* event) {
    picture_ = QPixmap();  // the font, the palette or the style changed
    QLabel::changeEvent(event);
}
