#include "player/ui/level_bar.h"

#include <QEvent>
#include <QPainter>
#include <QStyleOptionProgressBar>

#include <vector>

TLevelBar::TLevelBar(QWidget* parent) : QProgressBar(parent) {
    setAttribute(Qt::WA_OpaquePaintEvent);
}

bool TLevelBar::event(QEvent* event) {
    const bool handled = QProgressBar::event(event);
    // Polishing by a style sheet with rounded corners takes the attribute off.
    if (event->type() == QEvent::Polish || event->type() == QEvent::StyleChange)
        setAttribute(Qt::WA_OpaquePaintEvent);
    return handled;
}

void TLevelBar::ShowLevel(int level) {
    if (level == value()) return;
    // setValue repaints at once when updates are on; enabling them asks for a paint.
    setUpdatesEnabled(false);
    setValue(level);
    setUpdatesEnabled(true);
}

QPixmap TLevelBar::paintBackdrop() const {
    const qreal scale = devicePixelRatioF();
    QPixmap backdrop(size() * scale);
    backdrop.setDevicePixelRatio(scale);
    std::vector<QWidget*> ancestors;
    for (QWidget* above = parentWidget(); above != nullptr;
         above = above->isWindow() ? nullptr : above->parentWidget())
        ancestors.push_back(above);
    QPainter painter(&backdrop);
    for (auto it = ancestors.rbegin(); it != ancestors.rend(); ++it) {
        QWidget* ancestor = *it;
        const QPoint place = mapTo(ancestor, QPoint());
        // A window always fills its background; a child only when it is set to.
        const QWidget::RenderFlags flags = ancestor->isWindow() || ancestor->autoFillBackground()
                                               ? QWidget::DrawWindowBackground
                                               : QWidget::RenderFlags();
        ancestor->render(&painter, QPoint(), QRegion(QRect(place, size())), flags);
    }
    return backdrop;
}

void TLevelBar::paintEvent(QPaintEvent*) {
    const QPoint place = mapTo(window(), QPoint());
    const qint64 look = window()->palette().cacheKey();
    if (place != picturesPlace_ || look != picturesWindowLook_) {
        pictures_.clear();
        backdrop_ = QPixmap();
        picturesPlace_ = place;
        picturesWindowLook_ = look;
    }
    QPixmap& picture = pictures_[value()];
    if (picture.isNull()) {
        if (backdrop_.isNull()) backdrop_ = paintBackdrop();
        picture = backdrop_;
        QPainter painter(&picture);
        QStyleOptionProgressBar option;
        initStyleOption(&option);
        style()->drawControl(QStyle::CE_ProgressBar, &option, &painter, this);
    }
    QPainter(this).drawPixmap(0, 0, picture);
}

void TLevelBar::resizeEvent(QResizeEvent* event) {
    pictures_.clear();
    backdrop_ = QPixmap();
    QProgressBar::resizeEvent(event);
}

void TLevelBar::changeEvent(QEvent* event) {
    // The style, the palette or the enabled state changed, or the meter moved elsewhere.
    pictures_.clear();
    backdrop_ = QPixmap();
    QProgressBar::changeEvent(event);
}
