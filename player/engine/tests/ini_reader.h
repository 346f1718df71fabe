#pragma once
// A plain INI reader for checking written files from the outside: sections of lines
// "key=value", names as written, no case folding, no quotation rules.
#include <QFile>
#include <QMap>
#include <QString>
#include <QStringList>

using TPlainIni = QMap<QString, QMap<QString, QString>>;

inline TPlainIni ReadPlainIni(const QString& path) {
    QFile file(path);
    TPlainIni ini;
    if (!file.open(QIODevice::ReadOnly)) return ini;
    QString section;
    for (const QString& raw : QString::fromUtf8(file.readAll()).split('\n')) {
        const QString line = raw.trimmed();
        if (line.startsWith('[') && line.endsWith(']')) {
            section = line.mid(1, line.size() - 2);
            ini[section];
        } else if (const qsizetype eq = line.indexOf('='); eq > 0) {
            ini[section][line.left(eq)] = line.mid(eq + 1);
        }
    }
    return ini;
}
