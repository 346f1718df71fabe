#pragma once
// The rows of the playlist box: first a number of titles read from their owner only when
// a row is shown (the playlist's titles: a long playlist costs no copy of them and no
// item per row), then rows of text held here (a disc's tracks).
#include <QAbstractListModel>
#include <QString>
#include <QStringList>
#include <functional>

class PlaylistBoxRows : public QAbstractListModel {
public:
    using QAbstractListModel::QAbstractListModel;

    // Replaces every row with `count` rows whose texts `title` gives.
    void ShowTitles(int count, std::function<QString(int)> title);
    void Append(const QString& text);
    void Clear();
    QString Text(int row) const;

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;

private:
    int titleCount_ = 0;
    std::function<QString(int)> title_;
    QStringList own_;
};
