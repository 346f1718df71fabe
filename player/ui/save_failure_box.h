#pragma once
// Telling the user that files the player keeps (settings, "Default.pls", the library
// index) could not be saved, so the changes of this session to them are lost. Saves fail
// when the disk is full or the folder cannot be written; the old files stay whole.
#include <QString>
#include <QStringList>

class QWidget;

// The box's text: the files, one a line, and what may have happened.
QString SaveFailureText(const QStringList& files);

// Shows the box and returns at once; it goes when the user closes it.
void ShowSaveFailure(QWidget* owner, const QStringList& files);

// Shows the box while the player closes: waits for the user, but closes by itself after
// `seconds`, so that the end of a session is not held up.
void ShowSaveFailureAtClose(QWidget* owner, const QStringList& files, int seconds);
