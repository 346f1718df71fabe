#pragma once
// Shows Qt texts readably in test failures.
#include <QString>
#include <QStringList>
#include <ostream>

inline void PrintTo(const QString& s, std::ostream* os) {
    *os << '"' << s.toStdString() << '"';
}
inline void PrintTo(const QStringList& list, std::ostream* os) {
    *os << '{';
    for (const QString& s : list) {
        PrintTo(s, os);
        *os << ' ';
    }
    *os << '}';
}
