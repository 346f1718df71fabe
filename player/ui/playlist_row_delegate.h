#pragma once
// Draws the playlist box's rows: a fixed height of 13 pixels, the row filled with the
// box's colour (the highlight when selected), the title cut to 30 characters at
// (left + 5, top), bold for the current entry, numbered when the switch is on, the entry's
// length "nn:ss" at (left + box width - 60, top), a focus rectangle on the focused row.
#include <QStyledItemDelegate>
#include <functional>

class PlaylistRowDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    // Where the rows' facts come from: the current entry's index, an entry's length in ms.
    struct Source {
        std::function<int()> currentIndex;
        std::function<long long(int)> entryLength;
        // True while the rows are not playlist entries (a disc's tracks, whose rows carry
        // their lengths): no bold mark and no length column then.
        std::function<bool()> otherRows;
    };
    PlaylistRowDelegate(Source source, QObject* parent);

    // The settings dialog's numbering switch; the box must be repainted after a change.
    void SetNumbered(bool numbered) { numbered_ = numbered; }
    bool Numbered() const { return numbered_; }

    static constexpr int RowHeight = 13;

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;

private:
    Source source_;
    bool numbered_ = false;
};
