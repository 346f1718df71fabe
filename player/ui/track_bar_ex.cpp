#include "player/ui/track_bar_ex.h"

#include <QMouseEvent>
#include <QStyle>
#include <QStyleOptionSlider>

TrackBarEx::TrackBarEx(QWidget* parent) : QSlider(Qt::Horizontal, parent) {}

void TrackBarEx::mousePressEvent(QMouseEvent* event) {
    QStyleOptionSlider option;
    initStyleOption(&option);
    const QRect handle =
        style()->subControlRect(QStyle::CC_Slider, &option, QStyle::SC_SliderHandle, this);
    if (event->button() == Qt::LeftButton && !handle.contains(event->position().toPoint())) {
        const int span = width() - handle.width();
        const int x = event->position().toPoint().x() - handle.width() / 2;
        setValue(QStyle::sliderValueFromPosition(minimum(), maximum(), x, span));
    }
    QSlider::mousePressEvent(event);
    emit MouseDown(event->button());
}

void TrackBarEx::mouseMoveEvent(QMouseEvent* event) {
    QSlider::mouseMoveEvent(event);
    emit MouseMove(event->buttons());
}

void TrackBarEx::mouseReleaseEvent(QMouseEvent* event) {
    QSlider::mouseReleaseEvent(event);
    emit MouseUp(event->button());
}
