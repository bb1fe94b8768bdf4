// Qt's own dialog texts (file and print dialogs) in the user's language.
#pragma once

#include <QLocale>

namespace kurvex {

// Loads Qt's translations for the locale into the application; false when none are installed.
bool InstallQtTranslations(const QLocale& locale = QLocale::system());

} // namespace kurvex
