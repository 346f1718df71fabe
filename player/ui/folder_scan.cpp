#include "player/ui/folder_scan.h"

#include <QDir>
#include <QDirIterator>
#include <QFileInfo>

#include "player/engine/source_rules.h"

namespace folder_scan {

QString ExtensionText() {
    const QString filter = source_rules::OpenFilter();
    return filter.left(filter.size() - 21);
}

QStringList EntriesToAdd(const QString& folder, const QString& extensionText) {
    const QString accepted = extensionText.toUpper();
    QString base = folder;
    if (!base.endsWith(QLatin1Char('/'))) base += QLatin1Char('/');
    QStringList entries;
    QDirIterator it(folder, QDir::Files | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    while (it.hasNext()) {
        it.next();
        const QString name = it.fileName();
        const QString extension = source_rules::UpperExtension(name);
        if (!extension.isEmpty() && accepted.contains(extension)) entries << base + name;
    }
    return entries;
}

}  // namespace folder_scan
