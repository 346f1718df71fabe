#include "player/ui/playlist_box_rows.h"

void PlaylistBoxRows::ShowTitles(int count, std::function<QString(int)> title) {
    beginResetModel();
    titleCount_ = count;
    title_ = std::move(title);
    own_.clear();
    endResetModel();
}

void PlaylistBoxRows::Append(const QString& text) {
    const int row = rowCount();
    beginInsertRows(QModelIndex(), row, row);
    own_.append(text);
    endInsertRows();
}

void PlaylistBoxRows::Clear() {
    ShowTitles(0, {});
}

QString PlaylistBoxRows::Text(int row) const {
    if (row < 0 || row >= rowCount()) return {};
    return row < titleCount_ ? title_(row) : own_[row - titleCount_];
}

int PlaylistBoxRows::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : titleCount_ + static_cast<int>(own_.size());
}

QVariant PlaylistBoxRows::data(const QModelIndex& index, int role) const {
    if (role != Qt::DisplayRole && role != Qt::EditRole) return {};
    return Text(index.row());
}
