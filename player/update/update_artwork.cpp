#include "player/update/update_artwork.h"

#include <QLinearGradient>
#include <QPainterPath>
#include <QPolygonF>

namespace update_artwork {

void drawGlobe(QPainter& p, const QRectF& bounds) {
    const qreal h = bounds.height();
    QRadialGradient sea(bounds.center() - QPointF(h / 6, h / 6), h / 1.5);
    sea.setColorAt(0, QColor(120, 180, 240));
    sea.setColorAt(1, QColor(20, 70, 150));
    p.setPen(QPen(QColor(20, 50, 110), 1.5));
    p.setBrush(sea);
    p.drawEllipse(bounds);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(200, 230, 255, 160), 1));
    p.drawEllipse(bounds.adjusted(bounds.width() / 4, 0, -bounds.width() / 4, 0));
    p.drawLine(QPointF(bounds.left(), bounds.center().y()),
               QPointF(bounds.right(), bounds.center().y()));
    p.drawLine(QPointF(bounds.center().x(), bounds.top()),
               QPointF(bounds.center().x(), bounds.bottom()));
}

void drawFolder(QPainter& p, const QRectF& bounds) {
    const qreal h = bounds.height();
    QPainterPath tab;
    tab.addRoundedRect(QRectF(bounds.left(), bounds.top(), bounds.width() * 0.42, h * 0.3), 3, 3);
    p.setPen(QPen(QColor(150, 110, 20), 1.5));
    p.setBrush(QColor(240, 200, 90));
    p.drawPath(tab);
    p.drawRoundedRect(bounds.adjusted(0, h * 0.15, 0, 0), 4, 4);
}

void drawSheet(QPainter& p, QPointF centre) {
    const QRectF sheet(centre.x() - 6, centre.y() - 8, 12, 16);
    p.setPen(QPen(QColor(90, 90, 110), 1));
    p.setBrush(Qt::white);
    p.drawRect(sheet);
    for (int line = 0; line < 3; ++line) {
        const qreal y = sheet.top() + 4 + 4 * line;
        p.drawLine(QPointF(sheet.left() + 2, y), QPointF(sheet.right() - 2, y));
    }
}

QPixmap wizardPicture(QSize size) {
    QPixmap picture(size);
    QPainter p(&picture);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient sky(0, 0, 0, size.height());
    sky.setColorAt(0, QColor(16, 40, 96));
    sky.setColorAt(1, QColor(70, 130, 200));
    p.fillRect(picture.rect(), sky);

    const qreal w = size.width();
    const QRectF globe(w * 0.15, size.height() * 0.12, w * 0.7, w * 0.7);
    drawGlobe(p, globe);
    // An arrow from the globe down into the folder.
    const qreal x = w / 2;
    const qreal top = globe.bottom() + 6;
    const qreal bottom = size.height() * 0.72;
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(120, 220, 120));
    p.drawRect(QRectF(x - 5, top, 10, bottom - top - 12));
    p.drawPolygon(QPolygonF(
        {QPointF(x - 14, bottom - 14), QPointF(x + 14, bottom - 14), QPointF(x, bottom)}));
    drawFolder(p, QRectF(w * 0.25, bottom + 2, w * 0.5, w * 0.35));
    return picture;
}

}  // namespace update_artwork
