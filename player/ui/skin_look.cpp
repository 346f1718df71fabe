#include "player/ui/skin_look.h"

#include <QLinearGradient>
#include <QPainterPath>

namespace skin_look {

QString StyleSheet() {
    return QStringLiteral(R"(
QLabel#Label27 {
    background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 #06142e, stop:1 #123061);
    color: #8ee8ff; border: 1px solid #061026; border-radius: 5px; padding: 0px 6px;
}
QLabel#Panel6 {
    border: 1px solid #2a5596; border-radius: 4px; color: #0b2a55;
    background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 #f4f9ff, stop:1 #b9d4f2);
}
QLabel#Panel6:disabled { color: #55739c; }
QSlider::groove:horizontal {
    height: 6px; border: 1px solid #0a224a; border-radius: 3px;
    background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 #0d2a5a, stop:1 #3a6cb4);
}
QSlider::sub-page:horizontal {
    border: 1px solid #0a224a; border-radius: 3px;
    background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 #9fe3ff, stop:1 #2f8fe0);
}
QSlider::handle:horizontal {
    width: 12px; height: 12px; margin: -4px 0; border-radius: 6px; border: 1px solid #0a224a;
    background: qradialgradient(cx:0.4, cy:0.3, radius:0.8, fx:0.4, fy:0.3,
                                stop:0 #ffffff, stop:0.5 #a9cdf5, stop:1 #2f68c2);
}
QSlider::groove:vertical {
    width: 6px; border: 1px solid #0a224a; border-radius: 3px;
    background: qlineargradient(x1:0, y1:0, x2:1, y2:0, stop:0 #0d2a5a, stop:1 #3a6cb4);
}
QSlider::handle:vertical {
    width: 16px; height: 8px; margin: 0 -6px; border-radius: 3px; border: 1px solid #0a224a;
    background: qlineargradient(x1:0, y1:0, x2:0, y2:1,
                                stop:0 #ffffff, stop:0.5 #a9cdf5, stop:1 #2f68c2);
}
QSlider::sub-page:horizontal:disabled { background: #5d7fae; }
QSlider::handle:vertical:disabled { background: #9db4d4; }
QSlider::handle:horizontal:disabled { background: #9db4d4; }
QListView#ListBox1 { border: 1px solid #4f7cb8; border-radius: 4px; }
QProgressBar {
    border: 1px solid #0a224a; border-radius: 3px; background: #0b1d3d;
}
QProgressBar::chunk:vertical {
    border-radius: 2px;
    background: qlineargradient(x1:0, y1:1, x2:0, y2:0,
                                stop:0 #2ee06a, stop:0.65 #e8e23a, stop:1 #ff4a30);
}
)");
}

void PaintPanel(QPainter& painter, const QRect& panel, int cornerWidth, int cornerHeight,
                const QColor& windowColor) {
    const QRectF plate = QRectF(panel).adjusted(0.5, 0.5, -0.5, -0.5);
    QLinearGradient light(plate.topLeft(), plate.bottomLeft());
    light.setColorAt(0.0, windowColor.lighter(118));
    light.setColorAt(0.35, windowColor);
    light.setColorAt(1.0, windowColor.darker(112));
    // The window's shape approximates its corner ellipses from inside; a slightly wider
    // rounding keeps the painted rim within the shape all along the corners.
    const qreal rx = cornerWidth / 2.0 + 1.5;
    const qreal ry = cornerHeight / 2.0 + 1.5;
    QPainterPath outline;
    outline.addRoundedRect(plate, rx, ry);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(windowColor.darker(165), 1.0));
    painter.setBrush(light);
    painter.drawPath(outline);
    // A thin highlight just inside the rim, brightest along the top edge.
    QLinearGradient rim(plate.topLeft(), plate.bottomLeft());
    rim.setColorAt(0.0, QColor(255, 255, 255, 150));
    rim.setColorAt(0.5, QColor(255, 255, 255, 0));
    QPainterPath inner;
    inner.addRoundedRect(plate.adjusted(1.0, 1.0, -1.0, -1.0), rx - 1.0, ry - 1.0);
    painter.setPen(QPen(QBrush(rim), 1.0));
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(inner);
}

}  // namespace skin_look
