// Qt's own dialog texts (file and print dialogs) in German, the program's language.
#pragma once

#include <QLocale>

namespace kurvex {

// Loads Qt's translations for the locale into the application; false when none are installed.
bool InstallQtTranslations(const QLocale& locale = QLocale(QLocale::German, QLocale::Germany));

} // namespace kurvex
