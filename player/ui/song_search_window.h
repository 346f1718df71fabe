#pragma once
// The song search "Поиск песни": lists the playlist's entries that contain a word in
// their title, their file's path or their lyrics, and plays the entry double-clicked.
// A small modeless window, created hidden after the main window and kept while hidden
// (word and category stay); every showing lists the whole playlist again. A search of a
// long playlist runs in slices between the window's events, so typing stays fluid.
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QTimer>
#include <QWidget>

#include "player/engine/song_search.h"

class TAudioObject;

class TForm7 : public QWidget {
    Q_OBJECT
public:
    explicit TForm7(TAudioObject& audio);

    // The whole list of the category.
    void FormShow();
    void ComboBox1Change();
    // The entries that contain the word; the whole list for an empty word.
    void Edit1Change();
    // Plays the entry that the selected row names.
    void ListBox1DblClick();

    // True while a search still has entries to go through.
    bool Searching() const;

    QLabel* Label1;
    QLineEdit* Edit1;  // the word
    QLabel* Label2;
    QComboBox* ComboBox1;  // by title, by file name, by a word of the lyrics
    QListWidget* ListBox1;

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    // None while the box holds a typed text that is none of its items.
    SongSearch::Category Category() const;
    void StartSearch(const QString& word);
    void ContinueSearch();

    TAudioObject& audio_;
    SongSearch search_;
    QTimer* SearchSlices;  // runs the rest of a search between events
};
