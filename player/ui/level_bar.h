#pragma once
// A level meter: a progress bar whose picture for each level is drawn by the style once
// and kept (the style sheet's rounded border and gradient are costly to draw ten times a
// second), and that shows a new level with the window's next paint rather than at once,
// so both meters and whatever else changed in the same tick go out in one paint.
#include <QHash>
#include <QPixmap>
#include <QProgressBar>

class TLevelBar : public QProgressBar {
public:
    explicit TLevelBar(QWidget* parent = nullptr) : QProgressBar(parent) {}

    // setValue, painted with the next paint.
    void ShowLevel(int level);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    QHash<int, QPixmap> pictures_;  // by value, for the present size and look
};
