// Program start: application object, title, and the launcher window.
#include <QApplication>
#include <QLabel>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Kurvex"));
    QLabel placeholder(QStringLiteral("Kurvex"));
    placeholder.resize(320, 120);
    placeholder.show();
    return QApplication::exec();
}
