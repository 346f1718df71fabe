#include "player/ui/playlist_box.h"

#include <QItemSelectionModel>

PlaylistBox::PlaylistBox(QWidget* parent) : QListView(parent), rows_(new PlaylistBoxRows(this)) {
    setModel(rows_);
}

void PlaylistBox::ShowTitles(int count, std::function<QString(int)> title) {
    rows_->ShowTitles(count, std::move(title));
}

void PlaylistBox::addItem(const QString& text) {
    rows_->Append(text);
}

void PlaylistBox::clear() {
    rows_->Clear();
}

int PlaylistBox::count() const {
    return rows_->rowCount();
}

QString PlaylistBox::text(int row) const {
    return rows_->Text(row);
}

int PlaylistBox::currentRow() const {
    return currentIndex().row();
}

void PlaylistBox::setCurrentRow(int row) {
    selectionModel()->setCurrentIndex(rows_->index(row), QItemSelectionModel::ClearAndSelect);
}

QRect PlaylistBox::rowRect(int row) const {
    return visualRect(rows_->index(row));
}
