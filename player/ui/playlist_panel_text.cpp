#include "player/ui/playlist_panel_text.h"

#include <string>

#include "player/engine/source_rules.h"

namespace playlist_panel_text {

namespace {

constexpr long long kDayMs = 86'400'000;

QString twoDigits(long long value) {
    return QStringLiteral("%1").arg(value, 2, 10, QLatin1Char('0'));
}

}  // namespace

QString CutTitle(const QString& title) {
    // Characters, not UTF-16 units, so a cut never splits a surrogate pair.
    const std::u32string characters = title.toStdU32String();
    if (characters.size() <= 30) return title;
    return QString::fromStdU32String(characters.substr(0, 28)) + QStringLiteral("...");
}

QString RowText(int index, const QString& title, bool numbered) {
    const QString text = CutTitle(title);
    return numbered ? QString::number(index + 1) + QStringLiteral(" - ") + text : text;
}

QString FitWidth(const QString& text, const QFontMetrics& metrics, int width) {
    if (metrics.horizontalAdvance(text) <= width) return text;
    const QString dots = QStringLiteral("...");
    // The longest beginning that fits with the dots, found by halving.
    qsizetype fits = 0, tooLong = text.size();
    while (tooLong - fits > 1) {
        const qsizetype middle = (fits + tooLong) / 2;
        if (metrics.horizontalAdvance(text.left(middle) + dots) <= width) {
            fits = middle;
        } else {
            tooLong = middle;
        }
    }
    if (fits > 0) return text.left(fits) + dots;
    return metrics.horizontalAdvance(dots) <= width ? dots : QString();
}

QString LengthText(long long ms) {
    const long long seconds = ms < 0 ? 0 : ms % kDayMs / 1000;
    return twoDigits(seconds / 60 % 60) + QLatin1Char(':') + twoDigits(seconds % 60);
}

QString ClockText(long long ms) {
    const long long seconds = ms < 0 ? 0 : ms % kDayMs / 1000;
    return twoDigits(seconds / 3600) + QLatin1Char(':') + twoDigits(seconds / 60 % 60) +
           QLatin1Char(':') + twoDigits(seconds % 60);
}

QString TotalsText(long long totalMs, int count) {
    return QStringLiteral("Общее время: ") + ClockText(totalMs) + QStringLiteral(" Всего песен: ") +
           QString::number(count);
}

QString AddingText(int done, int total) {
    return QStringLiteral("Добавление: ") + QString::number(done) + QStringLiteral(" из ") +
           QString::number(total);
}

QString M3uSavePath(const QString& path) {
    return source_rules::UpperExtension(path) == QLatin1String(".M3U") ? path : path + ".m3u";
}

}  // namespace playlist_panel_text
