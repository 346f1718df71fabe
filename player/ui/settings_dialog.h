#pragma once
// The settings dialog "Настройки": the process priority, the tray icon's options, row
// numbers in the playlist, and a test of two sound-library options. A small modeless
// window, created hidden after the main window and shown by its "Настройки..." items.
// Every control acts at once; there is no OK or Cancel.
//
// The three tray boxes are the live values of "ShowTrayIcon", "LeftPopUp" and
// "ShowInfoInTray" while the program runs: they start from the tray icon and the audio
// object, and the main window's close writes them back (StoreTrayOptions). The
// priority and the numbering are not kept: each start is at normal priority, unnumbered.
#include <QCheckBox>
#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QSlider>
#include <QWidget>

#include "player/app/saved_settings.h"

class TForm1;

class TForm8 : public QWidget {
    Q_OBJECT
public:
    // Reads the tray icon of `form1` and the global AudioObject, which must be set.
    explicit TForm8(TForm1& form1);

    // Position 0..3: idle, normal, high, real-time; what the system refuses is left.
    void TrackBar1Change(int position);
    void CheckBox1Click();
    void CheckBox2Click();
    void CheckBox3Click();
    void CheckBox4Click();
    // Sets option 10 to 3 and option 8 to 1, says "Error" after each refusal, then shows
    // option 10's value.
    void Button1Click();

    // Writes the three tray boxes into the settings the close stores.
    void StoreTrayOptions(SavedSettings& settings) const;

    QLabel* Label1;
    QLabel* Label2;
    QLabel* Label3;
    QSlider* TrackBar1;  // priority, 0 low .. 3 high
    QLabel* Label4;      // heading of the tray boxes
    QFrame* Bevel1;
    QCheckBox* CheckBox1;  // tray icon shown
    QCheckBox* CheckBox4;  // menu on the left button too
    QCheckBox* CheckBox2;  // balloon when a song starts
    QCheckBox* CheckBox3;  // numbered playlist rows
    QPushButton* Button1;

private:
    void ShowMessage(const QString& text);

    TForm1& form1_;
};
