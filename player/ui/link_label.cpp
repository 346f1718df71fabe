#include "player/ui/link_label.h"

#include <QDesktopServices>
#include <QUrl>

LinkLabel::LinkLabel(const QString& html, QWidget* parent) : QLabel(html, parent) {
    setTextFormat(Qt::RichText);
    setTextInteractionFlags(Qt::LinksAccessibleByMouse);
    setOpenExternalLinks(false);
    setCursor(Qt::PointingHandCursor);
    connect(this, &QLabel::linkActivated, this,
            [](const QString& address) { QDesktopServices::openUrl(QUrl(address)); });
}

void LinkLabel::enterEvent(QEnterEvent* event) {
    setBold(true);
    QLabel::enterEvent(event);
}

void LinkLabel::leaveEvent(QEvent* event) {
    setBold(false);
    QLabel::leaveEvent(event);
}

void LinkLabel::setBold(bool bold) {
    QFont f = font();
    f.setBold(bold);
    setFont(f);
}
