#include "player/ui/dialog_filter.h"

#include <QStringList>

namespace dialog_filter {

QString ToQt(const QString& pairs) {
    const QStringList parts = pairs.split(QLatin1Char('|'));
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        const QString patterns = parts[i + 1].split(QLatin1Char(';')).join(QLatin1Char(' '));
        const QString bracketed = QStringLiteral("(") + patterns + QStringLiteral(")");
        // Qt reads the patterns from the last brackets of the description, so they are
        // always added; "Any file (*.*)" only shows them once.
        filters << (parts[i].endsWith(bracketed) ? parts[i]
                                                 : parts[i] + QLatin1Char(' ') + bracketed);
    }
    return filters.join(QStringLiteral(";;"));
}

}  // namespace dialog_filter
