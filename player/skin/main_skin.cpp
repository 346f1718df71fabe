#include "player/skin/main_skin.h"

#include <QMouseEvent>

TMainSkin::TMainSkin(QWidget* parent) : QWidget(parent) {}

std::optional<QRegion> TMainSkin::GetRegion() {
    return Region;
}

void TMainSkin::FreeRegion() {
    Region.reset();
}

void TMainSkin::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) leftPressed_ = true;
    emit MouseDown(event->button(), event->position().toPoint());
}

void TMainSkin::mouseReleaseEvent(QMouseEvent* event) {
    const QPoint pos = event->position().toPoint();
    if (event->button() == Qt::LeftButton) {
        const bool clicked = leftPressed_ && rect().contains(pos);
        leftPressed_ = false;
        if (clicked) emit Click();
    }
    emit MouseUp(event->button(), pos);
}
