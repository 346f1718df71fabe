#include "player/vis/paint_box.h"

#include <QMouseEvent>
#include <QPainter>

PaintBox::PaintBox(QSize size, QWidget* parent)
    : QWidget(parent), Canvas(size, QImage::Format_RGB32) {
    Canvas.fill(Qt::black);
    resize(size);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void PaintBox::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    painter.drawImage(event->rect(), Canvas, event->rect());
}

void PaintBox::mousePressEvent(QMouseEvent* event) {
    event->ignore();
}

void PaintBox::mouseDoubleClickEvent(QMouseEvent* event) {
    event->accept();
    emit DblClick();
}
