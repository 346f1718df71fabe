#include "player/update/busy_animation.h"

#include <QPainter>
#include <algorithm>
#include <cmath>

#include "player/update/update_artwork.h"

BusyAnimation::BusyAnimation(QWidget* parent) : QWidget(parent) {
    timer_.setInterval(60);
    connect(&timer_, &QTimer::timeout, this, [this] {
        frame_ = (frame_ + 1) % kFrames;
        update();
    });
}

void BusyAnimation::setActive(bool on) {
    if (on == active()) return;
    if (on)
        timer_.start();
    else
        timer_.stop();
    update();
}

void BusyAnimation::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF area = QRectF(rect()).adjusted(8, 16, -8, -8);
    const qreal h = std::min<qreal>(area.height(), 56);
    const qreal top = area.center().y() - h / 2;
    const QRectF globe(area.left(), top, h, h);
    const QRectF folder(area.right() - h * 1.2, top + h * 0.2, h * 1.2, h * 0.8);
    update_artwork::drawGlobe(p, globe);
    update_artwork::drawFolder(p, folder);
    if (!active()) return;
    // Sheets on their way, one starting every third of the cycle, along an arc.
    const QPointF from(globe.right(), globe.center().y());
    const QPointF to(folder.center().x(), folder.top());
    for (int k = 0; k < 3; ++k) {
        const qreal t = std::fmod((frame_ + k * kFrames / 3.0) / kFrames, 1.0);
        const qreal x = from.x() + (to.x() - from.x()) * t;
        const qreal y = from.y() + (to.y() - from.y()) * t - std::sin(t * M_PI) * h * 0.7;
        update_artwork::drawSheet(p, QPointF(x, y));
    }
}
