#include "player/playlist/internet_address.h"

namespace internet_address {

bool IsSource(const QString& name) {
    return name.startsWith(QLatin1String("http://"), Qt::CaseInsensitive) ||
           name.startsWith(QLatin1String("ftp://"), Qt::CaseInsensitive);
}

bool IsEntryTitle(const QString& name) {
    return name.startsWith(QLatin1String("http:"), Qt::CaseInsensitive) ||
           name.startsWith(QLatin1String("ftp:"), Qt::CaseInsensitive);
}

}  // namespace internet_address
