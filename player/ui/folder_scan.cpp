#include "player/ui/folder_scan.h"

#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <algorithm>

#include "player/engine/source_rules.h"

namespace folder_scan {

namespace {

bool isDigit(QChar c) {
    return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}

// The end of the run of digits that starts at `from`.
qsizetype digitsEnd(const QString& s, qsizetype from) {
    while (from < s.size() && isDigit(s[from])) ++from;
    return from;
}

// The run of digits [from, end) without its leading zeros (one zero stays for "000").
QStringView numberIn(const QString& s, qsizetype from, qsizetype end) {
    while (from < end - 1 && s[from] == QLatin1Char('0')) ++from;
    return QStringView(s).mid(from, end - from);
}

int compareNames(const QString& a, const QString& b) {
    qsizetype i = 0, j = 0;
    while (i < a.size() && j < b.size()) {
        if (isDigit(a[i]) && isDigit(b[j])) {
            const qsizetype endA = digitsEnd(a, i), endB = digitsEnd(b, j);
            const QStringView x = numberIn(a, i, endA), y = numberIn(b, j, endB);
            // Without leading zeros, the longer number is the larger one.
            if (x.size() != y.size()) return x.size() < y.size() ? -1 : 1;
            if (const int c = x.compare(y)) return c;
            i = endA;
            j = endB;
        } else {
            const int c =
                QStringView(a).mid(i, 1).compare(QStringView(b).mid(j, 1), Qt::CaseInsensitive);
            if (c != 0) return c;
            ++i;
            ++j;
        }
    }
    if (i < a.size() || j < b.size()) return i < a.size() ? 1 : -1;
    return a.compare(b);
}

}  // namespace

bool NameBefore(const QString& a, const QString& b) {
    return compareNames(a, b) < 0;
}

QString ExtensionText() {
    const QString filter = source_rules::OpenFilter();
    return filter.left(filter.size() - 21);
}

QStringList EntriesToAdd(const QString& folder, const QString& extensionText) {
    const QString accepted = extensionText.toUpper();
    QString base = folder;
    if (!base.endsWith(QLatin1Char('/'))) base += QLatin1Char('/');
    QStringList names;
    QDirIterator it(folder, QDir::Files | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    while (it.hasNext()) {
        it.next();
        const QString name = it.fileName();
        const QString extension = source_rules::UpperExtension(name);
        if (!extension.isEmpty() && accepted.contains(extension)) names << name;
    }
    std::sort(names.begin(), names.end(), NameBefore);
    QStringList entries;
    for (const QString& name : names) entries << base + name;
    return entries;
}

}  // namespace folder_scan
