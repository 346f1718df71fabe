#pragma once

#include <QRegion>
#include <QWidget>

#include <optional>

// Base of the skin components: a widget that may own a region, kept in the coordinates of
// its parent widget. Subclasses that know how build the region on the first request and keep
// it until FreeRegion. Mouse presses and releases are reported as signals so that the window
// that carries the component binds them, as it binds any control's.
class TMainSkin : public QWidget {
    Q_OBJECT
public:
    explicit TMainSkin(QWidget* parent = nullptr);

    // The component's region, built first where the class knows how; nullopt when it has none.
    virtual std::optional<QRegion> GetRegion();
    // Drops the kept region; the next GetRegion builds it again.
    void FreeRegion();

signals:
    void MouseDown(Qt::MouseButton button, QPoint pos);
    void MouseUp(Qt::MouseButton button, QPoint pos);
    // A left press and release that both fall inside the component; sent before MouseUp.
    void Click();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

    std::optional<QRegion> Region;

private:
    bool leftPressed_ = false;
};
