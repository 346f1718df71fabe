#include "player/ui/application_icon.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QRadialGradient>

namespace {

QPixmap drawnAt(int size) {
    QPixmap picture(size, size);
    picture.fill(Qt::transparent);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF disc(0.5, 0.5, size - 1.0, size - 1.0);
    QRadialGradient gloss(disc.center() - QPointF(size * 0.15, size * 0.2), size * 0.75);
    gloss.setColorAt(0.0, QColor(0x9F, 0xD4, 0xFF));
    gloss.setColorAt(0.5, QColor(0x1E, 0x6F, 0xD9));
    gloss.setColorAt(1.0, QColor(0x0A, 0x2E, 0x7A));
    painter.setPen(QPen(QColor(0x06, 0x1E, 0x52), size / 32.0));
    painter.setBrush(gloss);
    painter.drawEllipse(disc);
    QPainterPath play;
    play.moveTo(size * 0.38, size * 0.27);
    play.lineTo(size * 0.76, size * 0.5);
    play.lineTo(size * 0.38, size * 0.73);
    play.closeSubpath();
    painter.setPen(Qt::NoPen);
    painter.setBrush(Qt::white);
    painter.drawPath(play);
    return picture;
}

}  // namespace

QIcon applicationIcon() {
    QIcon icon;
    for (const int size : {16, 22, 24, 32, 48, 64, 128}) icon.addPixmap(drawnAt(size));
    return icon;
}
