#include "player/ui/playlist_row_delegate.h"

#include <QApplication>
#include <QPainter>
#include <QStyle>

#include "player/ui/playlist_panel_text.h"

PlaylistRowDelegate::PlaylistRowDelegate(Source source, QObject* parent)
    : QStyledItemDelegate(parent), source_(std::move(source)) {}

void PlaylistRowDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                                const QModelIndex& index) const {
    const QRect r = option.rect;
    const bool selected = option.state & QStyle::State_Selected;
    painter->save();
    painter->fillRect(r, option.palette.color(selected ? QPalette::Highlight : QPalette::Base));
    QFont font = option.font;
    const int row = index.row();
    const bool entries = !source_.otherRows || !source_.otherRows();
    if (entries && source_.currentIndex && row == source_.currentIndex()) font.setBold(true);
    painter->setFont(font);
    painter->setPen(option.palette.color(selected ? QPalette::HighlightedText : QPalette::Text));
    const QString text = playlist_panel_text::RowText(row, index.data().toString(), numbered_);
    const int boxWidth = option.widget ? option.widget->width() : r.width();
    const QRect textBox(r.left() + 5, r.top(), boxWidth, r.height());
    painter->drawText(textBox, Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, text);
    if (entries) {
        const long long length = source_.entryLength ? source_.entryLength(row) : 0;
        const QRect lengthBox(r.left() + boxWidth - 60, r.top(), 60, r.height());
        painter->drawText(lengthBox, Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine,
                          playlist_panel_text::LengthText(length));
    }
    if (option.state & QStyle::State_HasFocus) {
        QStyleOptionFocusRect focus;
        focus.initFrom(option.widget);
        focus.rect = r;
        focus.backgroundColor = option.palette.color(QPalette::Highlight);
        QStyle* style = option.widget ? option.widget->style() : QApplication::style();
        style->drawPrimitive(QStyle::PE_FrameFocusRect, &focus, painter, option.widget);
    }
    painter->restore();
}

QSize PlaylistRowDelegate::sizeHint(const QStyleOptionViewItem& option, const QModelIndex&) const {
    return {option.rect.width(), RowHeight};
}
