// Program start: application object, syntax message box, and the launcher window.
#include "app/LauncherWindow.h"
#include "app/QtTranslations.h"
#include "app/SettingsDialog.h"
#include "controls/EditRoutines.h"

#include <QApplication>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Kurvex"));
    kurvex::InstallQtTranslations();
    // The parser reports wrong terms through this box in every window from here on.
    kurvex::InstallSyntaxMessageBox();
    kurvex::InstallApplicationDialogs();
    kurvex::LauncherWindow launcher;
    launcher.show();
    return QApplication::exec();
}
