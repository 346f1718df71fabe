#pragma once

#include <QDialog>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>

#include "player/ui/link_label.h"

// The About window: the program page with its credits and links, the version report of
// the program's files (made once, at creation) and a closing word. Every showing starts
// on the first page.
class TForm9 : public QDialog {
    Q_OBJECT
public:
    explicit TForm9(QWidget* parent = nullptr);

    // Opens the update window; the "Обновить" button stays disabled until one is given.
    void SetUpdateWindow(QWidget* window);

    QTabWidget* PageControl1;
    QWidget* TabSheet1;     // "Программа"
    QWidget* TabSheet2;     // "Версия"
    QWidget* TabSheet3;     // "Дополнительно"
    QLabel* Image1;         // the application's icon
    QLabel* Label1;         // name, version and date
    QLabel* Label2;         // what the sound is made with
    LinkLabel* Label3;      // the sound libraries' sites
    LinkLabel* Label4;      // the maker's site
    QPushButton* Button1;   // "Обновить"
    QPlainTextEdit* Memo1;  // the version report
    QPlainTextEdit* Memo2;  // the closing word
    QPushButton* OKButton;

protected:
    void showEvent(QShowEvent* event) override;

private:
    QWidget* updateWindow_ = nullptr;
};
