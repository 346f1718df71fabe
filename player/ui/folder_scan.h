#pragma once
// Which entries of a folder "add a folder" hands to the audio object.
#include <QString>
#include <QStringList>

namespace folder_scan {

// The extensions the scan accepts: the open dialog's filter up to and including
// "|Playlist ", so the playlist patterns are cut away.
QString ExtensionText();

// The files of `folder` itself (not of its subfolders, hidden ones included) whose
// extension, from the last full stop and upper-cased, is not empty and occurs anywhere in
// the upper-cased `extensionText` (".MP3" passes, and so do ".S" or ".MP"; ".PLS" does
// not). Subfolders are skipped even when their names carry such an extension. Each is
// given as folder + "/" + name, in the order the file system lists them.
QStringList EntriesToAdd(const QString& folder, const QString& extensionText = ExtensionText());

}  // namespace folder_scan
