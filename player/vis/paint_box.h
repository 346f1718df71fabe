#pragma once

#include <QImage>
#include <QWidget>

// A drawing surface of a fixed size: what is drawn into Canvas shows on the next paint.
// Mouse presses are left to the parent (the window's skin drags the window from them); a
// double-click is reported.
class PaintBox : public QWidget {
    Q_OBJECT
public:
    PaintBox(QSize size, QWidget* parent);

    QImage Canvas;  // Format_RGB32, black at first

signals:
    void DblClick();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
};
