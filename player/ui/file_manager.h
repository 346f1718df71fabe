#pragma once
// Showing a file in the desktop's file manager.
#include <QString>

namespace file_manager {

// The file's folder opened with the file selected (the file manager's session-bus
// interface), or, where no file manager answers there, the folder opened by the
// desktop's "open" action. Returns at once; the file manager answers later.
void ShowFile(const QString& file);

}  // namespace file_manager
