// Program start: application object, title, and the launcher window.
#include "app/Unit4.h"

#include <QApplication>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Kurvex"));
    kurvex::TForm4 launcher;
    kurvex::Form4 = &launcher;
    launcher.show();
    return QApplication::exec();
}
