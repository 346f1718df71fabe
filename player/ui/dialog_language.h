#pragma once
// The standard dialogs (open, save, folder, message boxes) speak the program's language:
// every text of the program is Russian, so Qt's own texts are taken in Russian too.
#include <QCoreApplication>

namespace dialog_language {

// Installs Qt's Russian translation into the application; false when it is not installed
// on this system (the dialogs then keep Qt's English).
bool InstallRussian(QCoreApplication& app);

}  // namespace dialog_language
