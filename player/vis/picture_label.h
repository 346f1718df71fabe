#pragma once
// A label that keeps the picture of its text: over a drawing repainted twenty times a
// second it is repainted as often, and laying its text out anew each time costs more
// than the drawing. The picture is made again when the text, the size or the look changes,
// by an unshown twin label (a widget cannot render itself while it paints).
#include <QLabel>
#include <QPixmap>

class PictureLabel : public QLabel {
public:
    explicit PictureLabel(QWidget* parent = nullptr) : QLabel(parent) {}

protected:
    void paintEvent(QPaintEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    QLabel twin_;
    QPixmap picture_;
    QString pictureText_;
};
