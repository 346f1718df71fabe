#pragma once
// A horizontal track bar that reports the mouse: presses, moves and releases are signalled
// after the bar has handled them, so a handler reads the position the mouse left. A left
// press on the groove puts the thumb under the mouse at once, as a seek bar should. A new
// value that leaves the thumb on the same pixels repaints nothing (a seek bar is set every
// tenth of a second, and moves a pixel far less often).
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
    void sliderChange(SliderChange change) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    QRect handleRect(int position) const;
    // The thumb's offset from its place at the minimum, as the style places it; the
    // style's span is asked only when the size, the style or the range changed.
    int handleOffset();

    int span_ = -1;         // pixels from the thumb at the minimum to it at the maximum
    int shownOffset_ = -1;  // the thumb's offset when the bar was last asked to repaint
};
