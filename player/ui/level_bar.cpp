#include "player/ui/level_bar.h"

#include <QPainter>
#include <QStyleOptionProgressBar>

void TLevelBar::ShowLevel(int level) {
    if (level == value()) return;
    // setValue repaints at once when updates are on; enabling them asks for a paint.
    setUpdatesEnabled(false);
    setValue(level);
    setUpdatesEnabled(true);
}

void TLevelBar::paintEvent(QPaintEvent*) {
    QPixmap& picture = pictures_[value()];
    if (picture.isNull()) {
        const qreal scale = devicePixelRatioF();
        picture = QPixmap(size() * scale);
        picture.setDevicePixelRatio(scale);
        picture.fill(Qt::transparent);
        QPainter painter(&picture);
        QStyleOptionProgressBar option;
        initStyleOption(&option);
        style()->drawControl(QStyle::CE_ProgressBar, &option, &painter, this);
    }
    QPainter(this).drawPixmap(0, 0, picture);
}

void TLevelBar::resizeEvent(QResizeEvent* event) {
    pictures_.clear();
    QProgressBar::resizeEvent(event);
}

void TLevelBar::changeEvent(QEvent* event) {
    pictures_.clear();  // the style, the palette or the enabled state changed
    QProgressBar::changeEvent(event);
}
