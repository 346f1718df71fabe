#pragma once
// The box that reports a failed start of the sound library: modal, owned by `owner`,
// caption "Error", the error icon, an OK button, and the text `message`, a line break and
// "(error code: N)". The same text goes to standard error, for logs. Returns when the
// user has closed the box.
#include <QString>

class QWidget;

QString startupErrorText(const QString& message, int code);
void showStartupError(QWidget* owner, const QString& message, int code);
