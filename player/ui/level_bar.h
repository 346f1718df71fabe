#pragma once
// A level meter: a progress bar whose picture for each level is drawn by the style once
// and kept (the style sheet's rounded border and gradient are costly to draw ten times a
// second), and that shows a new level with the window's next paint rather than at once,
// so both meters and whatever else changed in the same tick go out in one paint.
//
// The meter is opaque: what its ancestors paint under it is copied into its pictures, so
// a new level repaints the meter alone and none of the panel and skin beneath it, and the
// picture goes to the window as a plain copy rather than a blend.
#include <QHash>
#include <QPixmap>
#include <QProgressBar>

class TLevelBar : public QProgressBar {
public:
    explicit TLevelBar(QWidget* parent = nullptr);

    // setValue, painted with the next paint.
    void ShowLevel(int level);

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    // What the ancestors paint where the meter is, each with its own painting only.
    QPixmap paintBackdrop() const;

    QHash<int, QPixmap> pictures_;   // by value, for the present size, place and look
    QPixmap backdrop_;               // what lies under them
    QPoint picturesPlace_;           // the meter's place in the window they were drawn at
    qint64 picturesWindowLook_ = 0;  // the window's palette they were drawn with
};
