#pragma once
// The animation shown while update files download: sheets travelling from a server to a
// folder. Drawn by the program itself, one frame a tick while active.
#include <QTimer>
#include <QWidget>

class BusyAnimation : public QWidget {
    Q_OBJECT
public:
    explicit BusyAnimation(QWidget* parent = nullptr);

    void setActive(bool active);
    bool active() const { return timer_.isActive(); }
    int frame() const { return frame_; }

    static constexpr int kFrames = 24;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QTimer timer_;
    int frame_ = 0;
};
