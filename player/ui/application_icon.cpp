#include "player/ui/application_icon.h"

#include <QPainter>
#include <QPixmap>

#include "player/ui/transport_glyphs.h"

QImage applicationIconImage(int size) {
    QImage picture(size, size, QImage::Format_ARGB32_Premultiplied);
    picture.fill(Qt::transparent);
    QPainter painter(&picture);
    transport_glyphs::PaintPlayButton(painter, size);
    return picture;
}

QIcon applicationIcon() {
    QIcon icon;
    for (const int size : kApplicationIconSizes)
        icon.addPixmap(QPixmap::fromImage(applicationIconImage(size)));
    return icon;
}
