#pragma once
#include <QString>

// Shows a file in the desktop's file manager: its folder opened with the file selected
// (the file manager's session-bus interface), or, where no file manager answers there,
// the folder opened by the desktop's "open" action. Returns at once; the file manager
// answers later.
void ShowInFileManager(const QString& file);
