// The whole program from the launcher: every entry opens its window, which draws, takes one change
// as a user makes it, exports WMF and EMF that independent readers render, prints to PDF and
// closes, leaving the settings file and the example lists on disk as they were and Qt silent.
#include "app/CategoryList.h"
#include "app/LauncherWindow.h"
#include "app/LessonRegistry.h"
#include "app/SettingsDialog.h"
#include "core/Settings.h"
#include "lesson/LessonWindow.h"
#include "lesson/PrintExportHooks.h"
#include "support/LessonWindowTest.h"
#include "support/MetafileConverters.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPrinter>
#include <QPushButton>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <map>
#include <string>
#include <vector>

namespace kurvex {
namespace {

// Counts nothing and asks nothing: the launcher without its info window and exit question.
class QuietLauncher : public LauncherWindow {
protected:
    void showInfoWindow() override {}
    bool confirmExit() override { return true; }
};

// What a user changes in the window once it has drawn.
using Change = std::function<void(LessonWindow&)>;

Change typeTerm(const char* edit, const char* term)
{
    return [edit, term](LessonWindow& w) {
        test::typeInto(test::child<QLineEdit>(&w, edit), QString::fromUtf8(term));
    };
}

Change moveBar(const char* bar)
{
    return [bar](LessonWindow& w) {
        auto* b = test::child<QScrollBar>(&w, bar);
        b->setValue(b->value() + (b->value() < b->maximum() ? 1 : -1));
    };
}

// Several changes one after the other.
Change both(Change first, Change second)
{
    return [first, second](LessonWindow& w) {
        first(w);
        second(w);
    };
}

Change checkBox(const char* box)
{
    return [box](LessonWindow& w) { test::clickBox(test::child<BitCheckBox>(&w, box)); };
}

Change clickPoints()
{
    return [](LessonWindow& w) {
        const QSize s = w.plotBox()->size();
        for (const QPointF at :
             {QPointF(0.3, 0.6), QPointF(0.5, 0.4), QPointF(0.7, 0.5), QPointF(0.8, 0.3)}) {
            QTest::mouseClick(
                w.plotBox(), Qt::LeftButton, {},
                QPoint(static_cast<int>(s.width() * at.x()), static_cast<int>(s.height() * at.y())));
        }
    };
}

Change dragOnPlot()
{
    return [](LessonWindow& w) {
        const QSize s = w.plotBox()->size();
        test::dragOnPlot(w.plotBox(), QPoint(s.width() / 2, s.height() / 2),
                         QPoint(s.width() * 2 / 3, s.height() / 3));
    };
}

struct EntryCase {
    const char* caption;
    bool graphList; // "Funktionsgraphen" rather than "Analysis"
    Change change;
    std::vector<const char*> labels; // axis labels both readers must show
    int curvePoints = 20;            // points of the longest stroke both readers must show
};

void PrintTo(const EntryCase& c, std::ostream* os)
{
    *os << c.caption;
}

const EntryCase kEntries[] = {
    {"y = m  x + c", true, moveBar("ScrollBar1"), {"x", "y"}},
    {"y = a x² + b x + c", true, moveBar("ScrollBar2"), {"x", "y"}},
    {"y = a (x - u)² + v", true, moveBar("ScrollBar3"), {"x", "y"}},
    {"y = a f(x - u) + v", true, typeTerm("Edit12", "sin(x)"), {"x", "y"}},
    {"y = f(x) Parameter a, b, c, d", true, typeTerm("Edit1", "a*x^3-3x"), {"x", "y"}},
    {"Tangentenproblem", false, typeTerm("Edit1", "x^2/4"), {"x", "y"}},
    {"Differenzierbarkeit", false, typeTerm("Edit1", "x^2"), {"x", "y"}},
    {"Grenzwert - Stetigkeit", false, typeTerm("Edit1", "x^2/2"), {"x", "y"}},
    {"Folgen -  Grenzwert", false, typeTerm("Edit1", "1/n"), {"n", "a(n)"}, 0}, // points, no curve
    {"Bisektion  f(x) = 0", false, typeTerm("Edit1", "x^2-3"), {"x", "y"}},
    {"Unter- und Obersumme", false, typeTerm("Edit1", "x^2/4"), {"x", "y"}},
    {"Ortskurven - H, T, W", false, typeTerm("Edit1", "x^2-t*x"), {"x", "y"}},
    {"Ganzrationale Funktionen", false, dragOnPlot(), {"x", "y"}},
    {"f f' f''  Kurvendiskussion", false, typeTerm("Edit1", "x^3-3x"), {"x", "y"}},
    {"f  F    Integralfunktion", false, typeTerm("Edit1", "sin(t)"), {"x"}},
    {"Zuordnungen",
     false,
     both(typeTerm("Edit1", "x^2/2"), both(checkBox("BitCheckBox1"), checkBox("BitCheckBox3"))),
     {"x"}},
    {"Funktionsanpassung", false, clickPoints(), {"x", "y"}},
    {"sin cos    tan cot", false, moveBar("ScrollBar1"), {"y"}},
    {"Lineare Regression", false, both(clickPoints(), moveBar("ScrollBar1")), {"x", "y"}, 2}, // lines
};

// Every file of the folder with its bytes.
std::map<QString, QByteArray> filesIn(const QString& folder)
{
    std::map<QString, QByteArray> files;
    for (const QString& name : QDir(folder).entryList(QDir::Files)) {
        QFile f(QDir(folder).filePath(name));
        files[name] = f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<unreadable>");
    }
    return files;
}

// Qt's messages while a window runs; its notices about the offscreen platform are no fault.
std::vector<QString>* recorded = nullptr;
void recordMessage(QtMsgType, const QMessageLogContext&, const QString& message)
{
    if (recorded != nullptr && !message.contains(QStringLiteral("propagateSizeHints"))) {
        recorded->push_back(message);
    }
}

class EndToEndTest : public test::ProgramWindowFixture, public ::testing::WithParamInterface<EntryCase> {
protected:
    void SetUp() override
    {
        InstallApplicationDialogs();
        AnimationDelay = 0;
        // The program's folder as a teacher has it: the data files beside it and a settings file.
        const QDir data(QStringLiteral(KURVEX_SOURCE_DIR "/resources/data"));
        for (const QString& name : data.entryList(QDir::Files)) {
            QFile::copy(data.filePath(name), programDir.filePath(name));
        }
        SetDefaultSettings();
        ASSERT_EQ(SaveSettings(), "");
        LoadSettings();
        before = filesIn(programDir.path());

        PrintExportHooks hooks;
        hooks.chooseFile = [this](QWidget*) { return std::optional<SaveChoice>(choice); };
        hooks.confirmReplace = [](QWidget*, const QString&) { return true; };
        hooks.showError = [this](QWidget*, const QString& m) { errors.push_back(m); };
        // A page smaller than the picture asks before printing it smaller; no one is there to answer.
        hooks.confirmFitToPage = [](QWidget*, const QString&) { return true; };
        hooks.setupPrinter = [this](QWidget*, QPrinter& printer) {
            printer.setOutputFormat(QPrinter::PdfFormat);
            printer.setOutputFileName(out.filePath(QStringLiteral("druck.pdf")));
            return true;
        };
        scopedHooks = std::make_unique<ScopedPrintExportHooks>(hooks);
        recorded = &messages;
        previousHandler = qInstallMessageHandler(recordMessage);
    }
    void TearDown() override
    {
        qInstallMessageHandler(previousHandler);
        recorded = nullptr;
        scopedHooks.reset();
    }

    QPushButton* frameButton(LessonWindow& w, const char* text) const
    {
        for (QPushButton* b : w.findChildren<QPushButton*>()) {
            if (b->text() == QString::fromUtf8(text)) {
                return b;
            }
        }
        ADD_FAILURE() << "no button " << text;
        return nullptr;
    }

    // What the test does inside the open window.
    void useWindow(LessonWindow& w, const EntryCase& c)
    {
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
        c.change(w);
        for (const MetafileKind kind : {MetafileKind::Wmf, MetafileKind::Emf}) {
            const bool wmf = kind == MetafileKind::Wmf;
            SCOPED_TRACE(wmf ? "wmf" : "emf");
            choice = {out.filePath(wmf ? QStringLiteral("bild.wmf") : QStringLiteral("bild.emf")), kind};
            frameButton(w, "WMF - Datei")->click();
            const test::SvgRendering r = test::RenderMetafileAsSvg(choice.path, kind);
            ASSERT_EQ(r.error.toStdString(), "");
            EXPECT_GE(test::LongestStroke(r.svg, QStringLiteral("stroke")),
                      c.curvePoints); // a curve, not only axes
            const QString text = test::SvgText(r.svg);
            for (const char* label : c.labels) {
                EXPECT_TRUE(text.contains(QString::fromUtf8(label)))
                    << label << " not in " << text.toStdString();
            }
        }
        frameButton(w, "Drucken")->click();
        QFile pdf(out.filePath(QStringLiteral("druck.pdf")));
        EXPECT_TRUE(pdf.open(QIODevice::ReadOnly));
        EXPECT_TRUE(pdf.read(5).startsWith("%PDF"));
        EXPECT_GT(pdf.size(), 1000);
        w.reject();
    }

    QTemporaryDir out;
    SaveChoice choice;
    std::vector<QString> errors;
    std::vector<QString> messages;
    std::map<QString, QByteArray> before;
    std::unique_ptr<ScopedPrintExportHooks> scopedHooks;
    QtMessageHandler previousHandler = nullptr;
};

TEST_P(EndToEndTest, EntryOpensDrawsExportsPrintsAndCloses)
{
    const EntryCase& c = GetParam();
    QuietLauncher launcher;
    launcher.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&launcher));
    CategoryList* list = c.graphList ? launcher.graphList() : launcher.analysisList();
    int row = -1;
    for (int i = 0; i < list->count(); ++i) {
        row = list->caption(i) == QString::fromUtf8(c.caption) ? i : row;
    }
    ASSERT_GE(row, 0) << "no launcher entry " << c.caption;

    bool used = false;
    QTimer::singleShot(0, [&] {
        auto* w = qobject_cast<LessonWindow*>(QApplication::activeModalWidget());
        if (w == nullptr) {
            return;
        }
        used = true;
        useWindow(*w, c);
        w->reject();
    });
    QTest::mouseClick(list, Qt::LeftButton, {}, list->itemRect(row).center());
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);

    EXPECT_TRUE(used) << "no lesson window opened";
    EXPECT_TRUE(errors.empty()) << errors.front().toStdString();
    EXPECT_TRUE(QApplication::activeModalWidget() == nullptr);
    // The settings file and every example list as they were.
    EXPECT_EQ(filesIn(programDir.path()), before);
    for (const QString& m : messages) {
        ADD_FAILURE() << "Qt said: " << m.toStdString();
    }
}

// A new launcher entry must come with its end-to-end case.
TEST(EndToEndCoverage, EveryLauncherEntryHasItsCase)
{
    std::vector<std::string> captions;
    for (const auto lessons : {AnalysisLessons(), FunctionGraphLessons()}) {
        for (const LessonEntry& e : lessons) {
            captions.emplace_back(e.caption);
        }
    }
    ASSERT_EQ(captions.size(), 19U);
    for (const std::string& caption : captions) {
        const bool covered = std::any_of(std::begin(kEntries), std::end(kEntries),
                                         [&](const EntryCase& c) { return caption == c.caption; });
        EXPECT_TRUE(covered) << caption;
    }
}

INSTANTIATE_TEST_SUITE_P(Launcher, EndToEndTest, ::testing::ValuesIn(kEntries),
                         [](const ::testing::TestParamInfo<EntryCase>& info) {
                             std::string name;
                             for (const char ch : std::string(info.param.caption)) {
                                 if (std::isalnum(static_cast<unsigned char>(ch))) {
                                     name += ch;
                                 }
                             }
                             return name + "_" + std::to_string(info.index);
                         });

} // namespace
} // namespace kurvex
