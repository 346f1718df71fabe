#pragma once
// A horizontal track bar that reports the mouse: presses, moves and releases are signalled
// after the bar has handled them, so a handler reads the position the mouse left. A left
// press on the groove puts the thumb under the mouse at once, as a seek bar should.
#include <QSlider>

class TrackBarEx : public QSlider {
    Q_OBJECT
public:
    explicit TrackBarEx(QWidget* parent = nullptr);

signals:
    void MouseDown(Qt::MouseButton button);
    void MouseMove(Qt::MouseButtons buttons);
    void MouseUp(Qt::MouseButton button);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
};
