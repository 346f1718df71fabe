#pragma once
// The playlist panel's list box (ListBox1): a list view over PlaylistBoxRows, with the
// few item calls the window uses named as a list widget names them.
#include <QListView>
#include <QRect>
#include <QString>
#include <functional>

#include "player/ui/playlist_box_rows.h"

class PlaylistBox : public QListView {
    Q_OBJECT
public:
    explicit PlaylistBox(QWidget* parent);

    // Shows `count` rows whose texts `title` gives when a row is drawn or asked for.
    void ShowTitles(int count, std::function<QString(int)> title);
    // A row of text of its own after the others.
    void addItem(const QString& text);
    void clear();
    int count() const;
    QString text(int row) const;
    // -1 when no row is current.
    int currentRow() const;
    // Makes the row current and its only selected one; -1 or a row outside clears both.
    void setCurrentRow(int row);
    QRect rowRect(int row) const;

private:
    PlaylistBoxRows* rows_;  // owned as a child
};
