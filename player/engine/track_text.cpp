#include "player/engine/track_text.h"

#include <string_view>

#include "platform/text.h"

namespace track_text {

QString OneLine(QString text) {
    return text.replace(QLatin1Char('\r'), QLatin1Char(' '))
        .replace(QLatin1Char('\n'), QLatin1Char(' '));
}

QString LibraryName(const QString& tag) {
    return OneLine(tag).trimmed();
}

QString RoundFirstBrackets(QString name) {
    const qsizetype open = name.indexOf(QLatin1Char('['));
    if (open >= 0) name[open] = QLatin1Char('(');
    const qsizetype close = name.indexOf(QLatin1Char(']'));
    if (close >= 0) name[close] = QLatin1Char(')');
    return name;
}

QString FormatText(unsigned sampleRate, bool eightBit, unsigned channels) {
    return QStringLiteral("Freequency: ") + QString::number(sampleRate) + QStringLiteral("Hz ") +
           (eightBit ? QStringLiteral("8") : QStringLiteral("16")) + QStringLiteral(" bits ") +
           (channels == 1 ? QStringLiteral("Mono") : QStringLiteral("Stereo"));
}

QString LongTimeText(long long ms) {
    const long long seconds = ms < 0 ? 0 : (ms / 1000) % 86400;
    return QStringLiteral("%1:%2:%3")
        .arg(seconds / 3600)
        .arg(seconds / 60 % 60, 2, 10, QLatin1Char('0'))
        .arg(seconds % 60, 2, 10, QLatin1Char('0'));
}

int FindTagLine(const QStringList& lines, const QString& key) {
    for (int i = static_cast<int>(lines.size()) - 1; i >= 0; --i) {
        if (lines[i].contains(key, Qt::CaseInsensitive)) return i;
    }
    return -1;
}

QString TextAfterColon(const QString& line) {
    const qsizetype colon = line.indexOf(QLatin1Char(':'));
    return colon < 0 ? line : line.mid(colon + 1);
}

QString TextInApostrophes(const QString& line) {
    const qsizetype first = line.indexOf(QLatin1Char('\''));
    if (first < 0) return {};
    const qsizetype second = line.indexOf(QLatin1Char('\''), first + 1);
    return second < 0 ? QString() : line.mid(first + 1, second - first - 1);
}

namespace {

QString decoded(std::string_view bytes) {
    return QString::fromStdString(platform::text::decodeFileText(bytes));
}

}  // namespace

QString StreamText(const char* text) {
    return text == nullptr ? QString() : decoded(text);
}

QStringList HeaderLines(const char* block, int limit) {
    QStringList lines;
    if (block == nullptr) return lines;
    int start = 0;
    for (int i = 0; i < limit; ++i) {
        if (block[i] != '\0') continue;
        if (i == start) break;  // the empty text that closes the block
        lines << decoded(std::string_view(block + start, static_cast<std::size_t>(i - start)));
        start = i + 1;
    }
    return lines;
}

}  // namespace track_text
