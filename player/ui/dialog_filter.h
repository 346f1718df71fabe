#pragma once
// File-dialog filters written as "description|patterns|description|patterns", patterns
// separated by ";", turned into the form Qt's dialogs take.
#include <QString>

namespace dialog_filter {

// "Playlist|*.pls;*.m3u" gives "Playlist (*.pls *.m3u)"; pairs are joined by ";;". A
// description that already ends in its patterns in brackets is kept as it is.
QString ToQt(const QString& pairs);

}  // namespace dialog_filter
