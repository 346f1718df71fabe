#include "player/ui/dialog_language.h"

#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace dialog_language {

bool InstallRussian(QCoreApplication& app) {
    auto* translator = new QTranslator(&app);
    const bool loaded =
        translator->load(QLocale(QLocale::Russian, QLocale::Russia), QStringLiteral("qtbase"),
                         QStringLiteral("_"), QLibraryInfo::path(QLibraryInfo::TranslationsPath));
    if (loaded && QCoreApplication::installTranslator(translator)) return true;
    delete translator;
    return false;
}

}  // namespace dialog_language
