// Qt's own dialog texts (file and print dialogs) in German, the program's language.
#include "app/QtTranslations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

#include <memory>

namespace kurvex {

bool InstallQtTranslations(const QLocale& locale)
{
    // The standard dialogs' buttons and labels would otherwise stay English beside our German.
    auto translator = std::make_unique<QTranslator>();
    if (!translator->load(locale, QStringLiteral("qtbase"), QStringLiteral("_"),
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        return false;
    }
    translator->setParent(QCoreApplication::instance());
    return QCoreApplication::installTranslator(translator.release());
}

} // namespace kurvex
