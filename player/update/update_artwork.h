#pragma once
// The update window's own artwork: a globe for the server, a folder, a sheet for a file,
// and the picture at the window's left made of them.
#include <QPainter>
#include <QPixmap>
#include <QRectF>

void DrawGlobe(QPainter& p, const QRectF& bounds);
void DrawFolder(QPainter& p, const QRectF& bounds);
void DrawSheet(QPainter& p, QPointF centre);

QPixmap UpdateWizardPicture(QSize size);
