#pragma once

#include <QLabel>

// A label that carries one or more web links: it turns bold while the mouse is over it
// and opens a clicked address through the desktop's "open" action.
class LinkLabel : public QLabel {
    Q_OBJECT
public:
    LinkLabel(const QString& html, QWidget* parent);

protected:
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    void setBold(bool bold);
};
