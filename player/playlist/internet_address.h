#pragma once
// The two ways the player tells an internet address from a file name, in one place:
// sources and playlist lines start with a scheme and "//", entry titles only with the
// scheme and its colon. Both ignore case.
#include <QString>

namespace internet_address {

// "http://..." or "ftp://...": played as a stream, kept as it is in playlists.
bool IsSource(const QString& name);
// "http:..." or "ftp:...": an entry whose title comes from the stream's headers.
bool IsEntryTitle(const QString& name);

}  // namespace internet_address
