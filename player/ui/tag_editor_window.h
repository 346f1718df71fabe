#pragma once
// The MP3 tag editor "Редактор MP3-тегов": a small modeless window over the playlist row
// selected in the main window. It loads the row's song when it becomes active while its
// title box is empty (so switching away and back keeps unsaved edits), writes the edited
// texts back as the file's tags, and forgets the song when it closes. Created hidden
// after the main window and shown by the playlist menu's "Редактор тегов...".
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QWidget>
#include <array>
#include <utility>

#include "player/engine/song_tags.h"

class TForm1;

class TForm6 : public QWidget {
    Q_OBJECT
public:
    // Works on the playlist box of `form1` and the global AudioObject.
    explicit TForm6(TForm1& form1);

    // Unless the title box holds text: loads the selected row's song, OK disabled.
    void FormActivate();
    // Any edit enables OK.
    void Edit1Change();
    // Writes the boxes as the song's tags. The song being played is released for the
    // write and played again from its start; a failed write says so.
    void BitBtn1Click();
    void BitBtn2Click();
    // Empties the boxes and forgets the song.
    void FormClose();
    // Shows the song's folder in the desktop's file manager.
    void Button1Click();

    QFrame* Panel1;
    QLineEdit* Edit13;  // location
    QPushButton* Button1;
    QLineEdit* Edit1;       // title
    QLineEdit* Edit2;       // artist
    QLineEdit* Edit3;       // album
    QLineEdit* Edit4;       // track
    QLineEdit* Edit5;       // year
    QLineEdit* Edit6;       // genre
    QLineEdit* Edit7;       // comment
    QLineEdit* Edit8;       // composer
    QLineEdit* Edit10;      // encoder
    QLineEdit* Edit9;       // copyright
    QLineEdit* Edit11;      // language
    QLineEdit* Edit12;      // link
    QPlainTextEdit* Memo1;  // lyrics
    QPushButton* BitBtn1;   // OK
    QPushButton* BitBtn2;   // Close
    QLineEdit* Edit14;      // size
    QLineEdit* Edit15;      // length

protected:
    bool event(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    QLineEdit* CreateEdit(const char* name, const char* label, int left, int top, int width,
                          bool editable = true);
    // The song of the selected row, empty when no MP3 row is selected.
    QString SelectedSong() const;
    // The editable one-line boxes in tab order, each with the field it shows.
    std::array<std::pair<QLineEdit*, SongTags::Field>, 12> FieldBoxes() const;

    TForm1& form1_;
    SongTags song_;     // as last loaded
    QString fileName_;  // the song being edited; empty when none
};
