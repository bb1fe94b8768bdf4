// Program start: application object, syntax message box, and the launcher window.
#include "app/QtTranslations.h"
#include "app/Unit4.h"
#include "controls/EditRoutines.h"

#include <QApplication>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Kurvex"));
    kurvex::InstallQtTranslations();
    // The parser reports wrong terms through this box in every window from here on.
    kurvex::InstallSyntaxMessageBox();
    kurvex::TForm4 launcher;
    kurvex::Form4 = &launcher;
    launcher.show();
    return QApplication::exec();
}
