// Draws the pictures the README shows: the launcher and two lesson windows, each as the program
// itself paints it, written as PNG files into the folder named on the command line. Run it
// offscreen (scripts/pictures.sh) so the pictures follow the program whenever it changes.
#include "app/LauncherWindow.h"
#include "app/LessonRegistry.h"
#include "app/SettingsDialog.h"
#include "controls/BitCheckBox.h"
#include "controls/EditRoutines.h"

#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QLineEdit>
#include <QTest>
#include <QTimer>

#include <cstdio>
#include <string>
#include <vector>

namespace {

// What the picture shows: a term entered in the term field and the boxes ticked (by name).
struct Lesson {
    const char* caption;
    const char* term;
    std::vector<const char*> ticked;
};

void enterTerm(QDialog& window, const char* term)
{
    auto* edit = window.findChild<QLineEdit*>(QStringLiteral("Edit1"));
    if (edit == nullptr) {
        return;
    }
    // Typed key by key, as the field tells a typed term from one set by the program.
    edit->setFocus();
    edit->selectAll();
    QTest::keyClicks(edit, QString::fromUtf8(term));
    QTest::keyClick(edit, Qt::Key_Return);
}

void tick(QDialog& window, const char* name)
{
    if (auto* box = window.findChild<kurvex::BitCheckBox*>(QString::fromLatin1(name))) {
        QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(6, box->height() / 2));
    }
}

// Sets up whichever lesson window is open once it has drawn, grabs it and closes it.
void grabLessonWhenShown(const Lesson& lesson, const QString& file, bool& written)
{
    QTimer::singleShot(300, [lesson, file, &written] {
        auto* window = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if (window == nullptr) {
            return;
        }
        enterTerm(*window, lesson.term);
        for (const char* name : lesson.ticked) {
            tick(*window, name);
        }
        QTimer::singleShot(300, [window, file, &written] {
            written = window->grab().save(file);
            window->reject();
        });
    });
}

bool pictureOfLesson(const Lesson& lesson, const QString& file, QWidget* launcher)
{
    for (const kurvex::LessonEntry& entry : kurvex::AnalysisLessons()) {
        if (std::string(entry.caption) == lesson.caption && entry.open != nullptr) {
            bool written = false;
            grabLessonWhenShown(lesson, file, written);
            kurvex::OpenAnalysisLesson(entry.imageIndex, launcher);
            return written;
        }
    }
    return false;
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <folder for the pictures>\n", argv[0]);
        return 2;
    }
    const QDir folder(QString::fromLocal8Bit(argv[1]));
    QDir().mkpath(folder.path());
    QApplication::setApplicationName(QStringLiteral("Kurvex"));
    kurvex::InstallSyntaxMessageBox();
    kurvex::InstallApplicationDialogs();

    kurvex::LauncherWindow launcher;
    kurvex::FirstResize = false; // no info window over the launcher
    launcher.show();
    QApplication::processEvents();
    bool ok = launcher.grab().save(folder.filePath(QStringLiteral("launcher.png")));
    const Lesson tangent{"Tangentenproblem", "1/4x^3-x", {"BitCheckBox1", "BitCheckBox3"}};
    const Lesson discussion{"f f' f''  Kurvendiskussion", "x^3-3x", {"BitCheckBox1", "BitCheckBox2"}};
    ok = pictureOfLesson(tangent, folder.filePath(QStringLiteral("tangent-problem.png")), &launcher) && ok;
    ok = pictureOfLesson(discussion, folder.filePath(QStringLiteral("curve-discussion.png")), &launcher) && ok;
    if (!ok) {
        std::fprintf(stderr, "not every picture could be written to %s\n", argv[1]);
        return 1;
    }
    return 0;
}
