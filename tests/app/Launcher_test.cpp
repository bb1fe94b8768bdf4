// Tests of the launcher: start defaults, lesson dispatch and modes, info and exit question, help
// window, cursors.
#include "app/CategoryList.h"
#include "app/HelpWindow.h"
#include "app/InfoWindow.h"
#include "app/LauncherWindow.h"
#include "app/LessonRegistry.h"
#include "app/QtTranslations.h"
#include "controls/Cursors.h"
#include "core/Settings.h"
#include "core/term/Term.h"
#include "lesson/PrintExportHooks.h"
#include "numeric/SineFit.h"

#include "support/TestTempDir.h"
#include "support/WindowsState.h"

#include <QApplication>
#include <QLabel>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <QTranslator>

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <fcntl.h>
#include <memory>
#include <stdexcept>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace kurvex {
namespace {

// Counts the info windows and answers the exit question without showing anything.
class QuietLauncher : public LauncherWindow {
public:
    using LauncherWindow::LauncherWindow;
    int infoShown = 0;
    bool answer = false;
    bool realQuestion = false;

protected:
    void showInfoWindow() override { ++infoShown; }
    bool confirmExit() override { return realQuestion ? LauncherWindow::confirmExit() : answer; }
};

struct Opened {
    int imageIndex;
    std::string window;
    bool sequenceMode;
    bool numberLineMode;
    double xMin; // the settings were reloaded when this is the file's (here: default) value
    int startTab;
};

class LauncherTest : public test::ProgramWindowFixture {
protected:
    void SetUp() override
    {
        // No settings file in the fixture's program folder: LoadSettings gives the defaults (XMin -7).
        launcher_ = std::make_unique<QuietLauncher>();
        SetLessonHook([this](const LessonEntry& e, QWidget* owner) {
            EXPECT_EQ(owner, launcher_.get());
            opened_.push_back({e.imageIndex, e.windowName, SequenceMode, NumberLineMode, XMin, StartTab});
        });
    }
    void TearDown() override
    {
        SetLessonHook({});
        ShowInfoAtStartAndExit = true;
        launcher_.reset();
    }
    void clickEach(CategoryList* list)
    {
        launcher_->show();
        for (int row = 0; row < list->count(); ++row) {
            XMin = 123.0; // an unsaved zoom
            QTest::mouseClick(list, Qt::LeftButton, {}, list->itemRect(row).center());
            EXPECT_FALSE(SequenceMode);
            EXPECT_FALSE(NumberLineMode);
        }
    }

    std::unique_ptr<QuietLauncher> launcher_;
    std::vector<Opened> opened_;
};

struct ListCase {
    const char* caption;
    int imageIndex;
    const char* window;
};

TEST_F(LauncherTest, StartSetsTheRunTimeDefaults)
{
    NewModel = SequenceMode = NumberLineMode = PiAxis = TraceMode = false;
    ResultDigits = PolyDegree = NumeratorDegree = DenominatorDegree = RegModel = 7;
    AutoTicks = FirstResize = false;
    DrawScale = 3.0;
    QuietLauncher launcher;
    EXPECT_TRUE(NewModel);
    EXPECT_TRUE(AutoTicks);
    EXPECT_TRUE(FirstResize);
    EXPECT_FALSE(SequenceMode || NumberLineMode || PiAxis || TraceMode);
    EXPECT_EQ(RegModel, 0);
    EXPECT_EQ(ResultDigits, 3);
    EXPECT_EQ(PolyDegree, 3);
    EXPECT_EQ(NumeratorDegree, 1);
    EXPECT_EQ(DenominatorDegree, 1);
    EXPECT_EQ(DrawScale, 1.0);
    EXPECT_EQ(ProgramDir, QCoreApplication::applicationDirPath().toStdString() + "/");
    EXPECT_EQ(launcher.windowTitle(), "Kurvex v3.9");
    EXPECT_EQ(launcher.infoButton()->text(), "&Info");
    EXPECT_EQ(launcher.exitButton()->text(), "&Beenden");
    EXPECT_EQ(launcher.exitButton()->toolTip(), "Programm beenden");
}

// The form's component names stay on the controls, so each one can be traced to the form.
TEST_F(LauncherTest, ControlsCarryTheirFormNames)
{
    EXPECT_EQ(launcher_->findChild<CategoryList*>(QStringLiteral("CategoryButtons1")),
              launcher_->analysisList());
    EXPECT_EQ(launcher_->findChild<CategoryList*>(QStringLiteral("CategoryButtons2")),
              launcher_->graphList());
    EXPECT_EQ(launcher_->findChild<QToolButton*>(QStringLiteral("SpeedButton1")), launcher_->infoButton());
    EXPECT_EQ(launcher_->findChild<QToolButton*>(QStringLiteral("SpeedButton2")), launcher_->exitButton());
    EXPECT_NE(launcher_->findChild<QWidget*>(QStringLiteral("Panel1")), nullptr);
    EXPECT_NE(launcher_->findChild<QWidget*>(QStringLiteral("Panel2")), nullptr);

    const std::unique_ptr<InfoWindow> info = std::make_unique<InfoWindow>(nullptr);
    EXPECT_EQ(info->findChild<QLabel*>(QStringLiteral("Label9")), info->mailLabel());
    EXPECT_EQ(info->findChild<QLabel*>(QStringLiteral("Label10")), info->webLabel());
    EXPECT_EQ(info->findChild<QToolButton*>(QStringLiteral("SpeedButton1")), info->okButton());

    const std::unique_ptr<HelpWindow> help = std::make_unique<HelpWindow>(nullptr);
    EXPECT_EQ(help->findChild<QPlainTextEdit*>(QStringLiteral("Memo1")), help->textView());
}

TEST_F(LauncherTest, AnalysisItemsReloadSettingsAndSwitchModesAround)
{
    const std::vector<ListCase> expected{
        {"Funktionsanpassung", 30, "TForm30"},        {"Tangentenproblem", 11, "TForm8"},
        {"Lineare Regression", 40, "TForm40"},        {"Differenzierbarkeit", 20, "TForm20"},
        {"Ganzrationale Funktionen", 6, "TForm17"},   {"Grenzwert - Stetigkeit", 8, "TForm11"},
        {"f f' f''  Kurvendiskussion", 12, "TForm3"}, {"Folgen -  Grenzwert", 15, "TForm15"},
        {"f  F    Integralfunktion", 13, "TForm7"},   {"Bisektion  f(x) = 0", 10, "TForm13"},
        {"Ortskurven - H, T, W", 14, "TForm16"},      {"Zuordnungen", 7, "TForm12"},
        {"Unter- und Obersumme", 21, "TForm21"},      {"sin cos    tan cot", 9, "TForm5"},
    };
    CategoryList* list = launcher_->analysisList();
    EXPECT_EQ(list->category(), "Analysis");
    ASSERT_EQ(list->count(), 14);
    clickEach(list);
    ASSERT_EQ(opened_.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        const Opened& o = opened_[i];
        SCOPED_TRACE(expected[i].caption);
        EXPECT_EQ(list->caption(static_cast<int>(i)), QString::fromUtf8(expected[i].caption));
        EXPECT_EQ(o.imageIndex, expected[i].imageIndex);
        EXPECT_EQ(o.window, expected[i].window);
        EXPECT_EQ(o.sequenceMode, o.imageIndex == 15);
        EXPECT_EQ(o.numberLineMode, o.imageIndex == 7);
        EXPECT_DOUBLE_EQ(o.xMin, -7.0);
    }
}

TEST_F(LauncherTest, GraphItemsSetTheStartTabWithoutReloading)
{
    const std::vector<ListCase> expected{{"y = m  x + c", 1, "FunctionGraphWindow"},
                                         {"y = a x² + b x + c", 2, "FunctionGraphWindow"},
                                         {"y = a (x - u)² + v", 3, "FunctionGraphWindow"},
                                         {"y = a f(x - u) + v", 4, "FunctionGraphWindow"},
                                         {"y = f(x) Parameter a, b, c, d", 5, "FunctionGraphWindow"}};
    CategoryList* list = launcher_->graphList();
    EXPECT_EQ(list->category(), "Funktionsgraphen");
    ASSERT_EQ(list->count(), 5);
    clickEach(list);
    ASSERT_EQ(opened_.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        SCOPED_TRACE(expected[i].caption);
        EXPECT_EQ(list->caption(static_cast<int>(i)), QString::fromUtf8(expected[i].caption));
        EXPECT_EQ(opened_[i].window, expected[i].window);
        EXPECT_EQ(opened_[i].startTab, expected[i].imageIndex - 1);
        EXPECT_DOUBLE_EQ(opened_[i].xMin, 123.0); // FunctionGraphWindow loads the settings itself
    }
}

TEST_F(LauncherTest, UnknownIndexesAndMissingWindowsOpenNothing)
{
    for (int index : {0, 1, 5, 16, 99, -1})
        OpenAnalysisLesson(index, launcher_.get());
    for (int index : {0, 6, 30})
        OpenFunctionGraph(index, launcher_.get());
    EXPECT_TRUE(opened_.empty());

    SetLessonHook({});
    const auto before = QApplication::topLevelWidgets().size();
    for (const LessonEntry& e : AnalysisLessons())
        if (!e.open)
            OpenAnalysisLesson(e.imageIndex, launcher_.get());
    EXPECT_EQ(QApplication::topLevelWidgets().size(), before);
    EXPECT_FALSE(SequenceMode || NumberLineMode);
}

TEST_F(LauncherTest, ModesAreClearedHoweverTheLessonEnds)
{
    SetLessonHook([](const LessonEntry&, QWidget*) { throw std::runtime_error("window failed"); });
    EXPECT_THROW(OpenAnalysisLesson(15, launcher_.get()), std::runtime_error);
    EXPECT_FALSE(SequenceMode);
    EXPECT_THROW(OpenAnalysisLesson(7, launcher_.get()), std::runtime_error);
    EXPECT_FALSE(NumberLineMode);
}

TEST_F(LauncherTest, InfoAtFirstShowAndBeforeEveryExitQuestion)
{
    launcher_->show();
    QTest::qWait(20);
    EXPECT_EQ(launcher_->infoShown, 1);
    EXPECT_FALSE(FirstResize);
    launcher_->hide();
    launcher_->show();
    QTest::qWait(20);
    EXPECT_EQ(launcher_->infoShown, 1); // only once at start

    launcher_->answer = false; // Abbrechen
    launcher_->exitButton()->click();
    EXPECT_TRUE(launcher_->isVisible());
    EXPECT_EQ(launcher_->infoShown, 2);

    launcher_->answer = true;
    launcher_->close();
    EXPECT_FALSE(launcher_->isVisible());
    EXPECT_EQ(launcher_->infoShown, 3);

    launcher_->infoButton()->click();
    EXPECT_EQ(launcher_->infoShown, 4);

    ShowInfoAtStartAndExit = false;
    launcher_->show();
    launcher_->close();
    EXPECT_EQ(launcher_->infoShown, 4);
}

TEST_F(LauncherTest, SettingsFileThatCannotBeReadIsReportedOnceWhenTheLauncherShows)
{
    writeProgramFile(QStringLiteral("Kurvex.ini"), std::string("[Animation]\r\nSchrittzahl=350\r\n\0", 32));
    std::vector<QString> errors;
    const QuietLauncher* shown = nullptr;
    int infoBeforeMessage = -1;
    PrintExportHooks hooks;
    hooks.showError = [&](QWidget*, const QString& message) {
        errors.push_back(message);
        infoBeforeMessage = shown->infoShown;
    };
    const ScopedPrintExportHooks scoped(hooks);
    QuietLauncher launcher(nullptr, programDir.path());
    shown = &launcher;
    launcher.show();
    QTest::qWait(20);
    launcher.hide();
    launcher.show();
    QTest::qWait(20);

    ASSERT_EQ(errors.size(), 1u);
    EXPECT_EQ(errors[0], QStringLiteral("Die Datei \"%1/Kurvex.ini\" konnte nicht gelesen werden (keine "
                                        "Textdatei oder unbekannte Zeichenkodierung). Es gelten die "
                                        "Standardwerte; die Datei bleibt unverändert.")
                             .arg(programDir.path()));
    EXPECT_EQ(infoBeforeMessage, 0) << "the info window comes after the message";
    EXPECT_EQ(launcher.infoShown, 1);
}

TEST_F(LauncherTest, ExitQuestionIsGermanAndCancelKeepsRunning)
{
    ShowInfoAtStartAndExit = false;
    launcher_->show();
    launcher_->realQuestion = true;
    QString text;
    QStringList buttons;
    QTimer::singleShot(0, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        text = box->text();
        for (QAbstractButton* b : box->buttons())
            buttons << b->text();
        box->button(QMessageBox::Cancel)->click();
    });
    launcher_->close();
    EXPECT_EQ(text, "Programm beenden?");
    buttons.sort();
    EXPECT_EQ(buttons, (QStringList{"Abbrechen", "OK"}));
    EXPECT_TRUE(launcher_->isVisible());
}

TEST(InfoWindow, LinksOpenMailAndWebAndOkCloses)
{
    std::vector<QUrl> urls;
    const auto saved = InfoWindow::urlOpener();
    InfoWindow::urlOpener() = [&](const QUrl& u) {
        urls.push_back(u);
        return true;
    };
    QPointer<InfoWindow> info = new InfoWindow(nullptr);
    info->show();
    EXPECT_EQ(info->windowTitle(), "Info");
    EXPECT_EQ(info->mailLabel()->toolTip(), "E-Mail senden");
    EXPECT_EQ(info->webLabel()->toolTip(), "Internetverbindung herstellen");
    QTest::mouseClick(info->mailLabel(), Qt::LeftButton);
    QTest::mouseClick(info->webLabel(), Qt::LeftButton);
    ASSERT_EQ(urls.size(), 2u);
    EXPECT_EQ(urls[0].toString(), "mailto:" + info->mailLabel()->text());
    EXPECT_EQ(urls[1].toString(), info->webLabel()->text());
    // The glyph sits beside the text, not at the far end of a wide button.
    EXPECT_LE(info->okButton()->width(), info->okButton()->sizeHint().width() + 10);

    // Without a program for the link the user is told so.
    InfoWindow::urlOpener() = [](const QUrl&) { return false; };
    std::vector<QString> notices;
    PrintExportHooks hooks;
    hooks.showError = [&](QWidget*, const QString& text) { notices.push_back(text); };
    {
        const ScopedPrintExportHooks scoped(hooks);
        QTest::mouseClick(info->webLabel(), Qt::LeftButton);
    }
    ASSERT_EQ(notices.size(), 1u);
    EXPECT_TRUE(notices[0].contains(info->webLabel()->text()));
    info->okButton()->click();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(info.isNull()); // freed on close
    InfoWindow::urlOpener() = saved;
}

TEST(HelpWindow, ShowsTheSyntaxTextAndClosesOnAClick)
{
    const std::string savedDir = ProgramDir;
    const QTemporaryDir empty;
    ProgramDir = empty.path().toStdString() + "/";
    EXPECT_TRUE(LoadHelpText().contains("Hilfe.txt")); // a notice instead of a missing file

    ProgramDir = std::string(KURVEX_SOURCE_DIR) + "/resources/data/";
    QPointer<HelpWindow> help = new HelpWindow(nullptr);
    ProgramDir = savedDir;
    help->show();
    EXPECT_EQ(help->windowTitle(), "Hilfe");
    EXPECT_TRUE(help->textView()->isReadOnly());
    const QStringList lines = help->textView()->toPlainText().split('\n');
    ASSERT_GT(lines.size(), 40);
    EXPECT_EQ(lines[0], " Ein Funktionsterm darf folgende Funktionen enthalten:");
    EXPECT_EQ(lines[2], " abs       sgn       int       maxint    fak       deg       rad");
    for (const char* expected :
         {" Erlaubte Rechenoperatoren     +  -  *  /  ^   (  )", " Vordefinierte Konstanten      pi  e",
          " Funktiosterme  Variable x   Parameter t, a, b, c, d", " Folgen Index (Variable) n",
          " Syntaxregeln für die Eingabe der Rechen- und Funktionsterme:",
          " - Bei Bruchtermen muss ggf. geklammert werden.", " - Scharparameter sind t, a, b, c.",
          " Fakultät       fak(n)     fak(0) = 0! = 1;  fak(n)= n! = 1*2*3*...*n",
          " Gaußsche Summenfunktion (Fehlerintegral)   phi(x)", " Konstanten pi, e"})
        EXPECT_TRUE(lines.contains(QString::fromUtf8(expected))) << expected;
    QTest::mouseClick(help->textView()->viewport(), Qt::LeftButton);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(help.isNull());
}

// The help text in the program folder of the test, shown in a help window.
class HelpTextTest : public test::LessonWindowFixture {
protected:
    static std::string helpPath() { return ProgramDir + kHelpFileName; }
    static QString shownText() { return HelpWindow(nullptr).textView()->toPlainText(); }
};

TEST_F(HelpTextTest, WindowsBytesAndEveryLineEndReadAsTheOtherFiles)
{
    // Windows-1252 with CR alone: the other line ends are the shared reader's rule.
    test::WriteBytes(helpPath(), " f\xFCr Terme\r k\xF6nnen\r");
    EXPECT_EQ(shownText(), QStringLiteral(" für Terme\n können"));
}

TEST_F(HelpTextTest, FifoGivesANoticeNamingTheCauseInsteadOfHanging)
{
    ASSERT_EQ(::mkfifo(helpPath().c_str(), 0644), 0);
    // Were the FIFO opened for reading, this writer would let that open return instead of hanging.
    std::atomic<bool> done{false};
    std::thread writer([&] {
        while (!done) {
            const int fd = ::open(helpPath().c_str(), O_WRONLY | O_NONBLOCK);
            if (fd >= 0) {
                ::close(fd);
                return;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
    });
    const QString fifoNotice = shownText();
    done = true;
    writer.join();
    EXPECT_EQ(fifoNotice,
              QStringLiteral(" Die Hilfedatei \"%1\" konnte nicht gelesen werden (keine gewöhnliche Datei).")
                  .arg(QString::fromStdString(helpPath())));
}

TEST(Cursors, SevenDrawnCursorsInTheLaunchersOrder)
{
    LoadCursors();
    const int shapes[] = {4, 1, 3, 2, 5, 6, 7};
    for (int slot = 1; slot <= 7; ++slot) {
        EXPECT_EQ(CursorShapeOfSlot(slot), shapes[slot - 1]);
        EXPECT_EQ(ProgramCursor(slot).shape(), Qt::BitmapCursor) << slot;
    }
    EXPECT_EQ(ProgramCursor(0).shape(), Qt::ArrowCursor);
    EXPECT_EQ(ProgramCursor(8).shape(), Qt::ArrowCursor);
}

// The file and print dialogs are Qt's own; their buttons speak German beside the program's texts.
TEST(QtTranslationsTest, StandardDialogButtonsInGerman)
{
    ASSERT_TRUE(InstallQtTranslations()) << "Qt's German translations are missing: run scripts/setup.sh";
    EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "Cancel"), QStringLiteral("Abbrechen"));
    EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "Save"), QStringLiteral("Speichern"));
    for (QTranslator* t :
         QCoreApplication::instance()->findChildren<QTranslator*>(Qt::FindDirectChildrenOnly)) {
        QCoreApplication::removeTranslator(t);
        delete t;
    }
}

} // namespace
} // namespace kurvex
