#pragma once
// The update window's own artwork: a globe for the server, a folder, a sheet for a file,
// and the picture at the window's left made of them.
#include <QPainter>
#include <QPixmap>
#include <QRectF>

namespace update_artwork {

void drawGlobe(QPainter& p, const QRectF& bounds);
void drawFolder(QPainter& p, const QRectF& bounds);
void drawSheet(QPainter& p, QPointF centre);

QPixmap wizardPicture(QSize size);

}  // namespace update_artwork
