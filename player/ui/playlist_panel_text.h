#pragma once
// The texts of the playlist panel: row titles, row lengths, the totals line, and the
// names the save commands write to.
#include <QFontMetrics>
#include <QString>

namespace playlist_panel_text {

// Titles longer than 30 characters keep their first 28 and end in "...".
QString CutTitle(const QString& title);
// The drawn row: "12 - Intro" for row 11 with numbering on, else the cut title alone.
QString RowText(int index, const QString& title, bool numbered);
// The text as it fits `width` pixels of `metrics`: whole when it fits, else cut and ended
// in "..." (only "..." or nothing when even that is too wide).
QString FitWidth(const QString& text, const QFontMetrics& metrics, int width);
// An entry's length as "nn:ss"; whole hours are dropped (75 minutes show "15:00").
QString LengthText(long long ms);
// A time as "hh:nn:ss"; whole days are dropped and a negative time shows as zero.
QString ClockText(long long ms);
// "Общее время: hh:nn:ss Всего песен: N".
QString TotalsText(long long totalMs, int count);
// The totals line while a long add goes on: "Добавление: N из M".
QString AddingText(int done, int total);
// The M3U file a save to `path` writes: ".m3u" appended unless the extension already
// is ".m3u" in any case ("mix.txt" gives "mix.txt.m3u").
QString M3uSavePath(const QString& path);

}  // namespace playlist_panel_text
