#include "player/ui/track_bar_ex.h"

#include <QMouseEvent>
#include <QResizeEvent>
#include <QStyle>
#include <QStyleOptionSlider>
#include <cstdlib>

TrackBarEx::TrackBarEx(QWidget* parent) : QSlider(Qt::Horizontal, parent) {}

QRect TrackBarEx::handleRect(int position) const {
    QStyleOptionSlider option;
    initStyleOption(&option);
    option.sliderPosition = position;
    return style()->subControlRect(QStyle::CC_Slider, &option, QStyle::SC_SliderHandle, this);
}

int TrackBarEx::handleOffset() {
    if (span_ < 0) span_ = std::abs(handleRect(maximum()).x() - handleRect(minimum()).x());
    return QStyle::sliderPositionFromValue(minimum(), maximum(), sliderPosition(), span_);
}

void TrackBarEx::sliderChange(SliderChange change) {
    if (change != SliderValueChange) span_ = -1;
    const int offset = handleOffset();
    if (change == SliderValueChange && offset == shownOffset_) return;
    shownOffset_ = offset;
    QSlider::sliderChange(change);
}

// A new size or look repaints the whole bar: the next value is measured afresh.
void TrackBarEx::resizeEvent(QResizeEvent* event) {
    span_ = -1;
    shownOffset_ = -1;
    QSlider::resizeEvent(event);
}

void TrackBarEx::changeEvent(QEvent* event) {
    span_ = -1;
    shownOffset_ = -1;
    QSlider::changeEvent(event);
}

void TrackBarEx::mousePressEvent(QMouseEvent* event) {
    const QRect handle = handleRect(sliderPosition());
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
