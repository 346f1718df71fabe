#pragma once
// What an internet stream says about itself: its station headers and the song now heard.
#include <QString>
#include <QStringList>

struct StreamTags {
    QString StationName;  // after the colon of the last "icy-name" line, blanks kept
    QString StationUrl;   // after the colon of the last "icy-url" line
    QString StreamTitle;  // between the apostrophes of StreamTitle='...';
    // The header lines in arrival order, then one line with the in-stream metadata.
    QStringList Lines;
};
