#pragma once
// The texts the audio object builds from a source: tag placeholders, the bracket rule,
// the format line, times, and the pieces of an internet stream's header lines.
#include <QString>
#include <QStringList>

namespace track_text {

inline const QString UnknownArtist = QStringLiteral("Неизвестный Исполнитель");
inline const QString UnknownAlbum = QStringLiteral("Неизвестный Альбом");
inline const QString UnknownGenre = QStringLiteral("Неизвестный жанр");

// A tag text for a one-line place (a label, a menu item): line breaks become spaces.
QString OneLine(QString text);
// A tag text as a library name: on one line and without blanks at both ends, so the name
// can stand as an INI section name and read back the same.
QString LibraryName(const QString& tag);
// The first "[" becomes "(" and the first "]" becomes ")"; later ones stay.
QString RoundFirstBrackets(QString name);
// "Freequency: 44100Hz 16 bits Stereo" and its 8-bit and mono forms.
QString FormatText(unsigned sampleRate, bool eightBit, unsigned channels);
// Milliseconds as a time of day in the long time format, "0:03:25": whole days are
// dropped and a negative value shows as 0.
QString LongTimeText(long long ms);

// Index of the last line that contains `key` without regard to case; -1 when none.
int FindTagLine(const QStringList& lines, const QString& key);
// The text after the line's first ":", spaces kept; the whole line without a ":".
QString TextAfterColon(const QString& line);
// The text between the line's first and second apostrophe (StreamTitle='...';); empty
// without a second one.
QString TextInApostrophes(const QString& line);
// The station's header lines: a run of NUL-terminated texts closed by an empty one, read
// up to at most `limit` bytes; a line the limit cuts is left out. Each line is taken as
// UTF-8, or as windows-1251 when it is not valid UTF-8.
QStringList HeaderLines(const char* block, int limit = 400);
// One text from a stream (UTF-8, else windows-1251); empty for null.
QString StreamText(const char* text);

}  // namespace track_text
