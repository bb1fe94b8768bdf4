// Differentiability window through its widgets: empty pieces at opening, a kink and a jump at P,
// the tangent of the left piece, a wrong piece, "Bsp9.txt"; and for both windows the launcher,
// printing, metafile files and the clipboard.
#include "tests/lessons/TangentWindowTestSupport.h"

#include "app/LessonRegistry.h"
#include "controls/BitCheckBox.h"
#include "lesson/PlotBox.h"
#include "lesson/TermField.h"
#include "lessons/DifferentiabilityWindow.h"
#include "support/MetafileReader.h"

#include <QClipboard>
#include <QMimeData>
#include <QPointer>
#include <QPrinter>
#include <QPushButton>
#include <QTimer>

#include <algorithm>
#include <cstdlib>

namespace kurvex {
namespace {

using test::ReadBytes;
using test::SegmentsIn;
using test::WriteBytes;

using DifferentiabilityWindowTest = test::TangentWindowFixture<DifferentiabilityWindow>;

// Whether a line of the graph joins the rows of the two values (a jump drawn as a wall).
bool JoinsRows(const std::vector<test::Segment>& graph, double y1, double y2)
{
    const int top = std::min(WorldToPixelY(y1), WorldToPixelY(y2));
    const int bottom = std::max(WorldToPixelY(y1), WorldToPixelY(y2));
    return std::any_of(graph.begin(), graph.end(), [&](const test::Segment& s) {
        return std::min(s.from.y, s.to.y) <= top + 1 && std::max(s.from.y, s.to.y) >= bottom - 1;
    });
}

bool HasRow(const std::vector<test::Segment>& graph, double y, double xFrom, double xTo)
{
    const int row = WorldToPixelY(y);
    return std::any_of(graph.begin(), graph.end(), [&](const test::Segment& s) {
        return s.from.y == row && s.to.y == row && s.from.x >= WorldToPixelX(xFrom) &&
               s.to.x <= WorldToPixelX(xTo);
    });
}

TEST_F(DifferentiabilityWindowTest, OpensWithEmptyPiecesWhateverTheyWere)
{
    TermPiece1 = "x^2";
    TermPiece2 = "x";
    PointXP = 1;
    PointXQ = 3;
    open();
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Differenzierbarkeit"));
    EXPECT_TRUE(control<QLineEdit>("Edit1")->text().isEmpty());
    EXPECT_TRUE(control<QLineEdit>("Edit3")->text().isEmpty());
    EXPECT_EQ(window->secantSlopeText(), QStringLiteral("0")); // f = 0 on both sides
    EXPECT_TRUE(syntaxMessages.empty());

    typeInto("Edit1", QStringLiteral("x^2"));
    typeInto("Edit3", QStringLiteral("2x-1"));
    EXPECT_EQ(TermPiece1, "x^2");
    EXPECT_EQ(TermPiece2, "2x-1");
    EXPECT_EQ(window->secantSlopeText(), QStringLiteral("2")); // (f2(3) − f1(1)) / 2
    typeInto("Edit5", QStringLiteral("0"));
    EXPECT_EQ(window->secantSlopeText(), QStringLiteral("1"));
    EXPECT_DOUBLE_EQ(EvaluateTerm(ParsedTerm2, 2, 0, 0, 0, 0, 0, 0), 3.0);
}

TEST_F(DifferentiabilityWindowTest, KinkOfTheAbsoluteValueAndTheTangentOfTheLeftPiece)
{
    PointXP = 0;
    PointXQ = 2;
    open();
    typeInto("Edit1", QStringLiteral("-x"));
    typeInto("Edit3", QStringLiteral("x"));
    EXPECT_EQ(window->secantSlopeText(), QStringLiteral("1"));
    typeInto("Edit5", QStringLiteral("-2"));
    EXPECT_EQ(window->secantSlopeText(), QStringLiteral("-1"));
    QTest::mouseClick(control<BitCheckBox>("BitCheckBox1"), Qt::LeftButton, {}, QPoint(6, 6));
    EXPECT_EQ(window->tangentSlopeText(), QStringLiteral("-1"));
    typeInto("Edit5", QStringLiteral("0"));
    EXPECT_EQ(window->secantSlopeText(), QStringLiteral("nicht definiert!"));
    EXPECT_TRUE(test::AllOnLine(SegmentsIn(record(), TangentLineColor), -1, 0));
}

TEST_F(DifferentiabilityWindowTest, JumpAtPIsNotJoinedAndTheTangentIsTheLeftPiece)
{
    PointXP = 1;
    PointXQ = 3;
    open();
    typeInto("Edit1", QStringLiteral("0"));
    typeInto("Edit3", QStringLiteral("1"));
    EXPECT_EQ(window->secantSlopeText(), QStringLiteral("0,5"));
    typeInto("Edit5", QStringLiteral("1"));
    EXPECT_EQ(window->tangentSlopeText(), QStringLiteral("0"));
    auto graph = SegmentsIn(record(), GraphColor);
    EXPECT_TRUE(HasRow(graph, 0, -7, 1));
    EXPECT_TRUE(HasRow(graph, 1, 1, 7));
    EXPECT_FALSE(JoinsRows(graph, 0, 1));

    // The default example: 1/4 x² up to P at 1, 1/x after it.
    typeInto("Edit1", QStringLiteral("1/4x^2"));
    typeInto("Edit3", QStringLiteral("1/x"));
    graph = SegmentsIn(record(), GraphColor);
    EXPECT_FALSE(JoinsRows(graph, 0.25, 1));
}

TEST_F(DifferentiabilityWindowTest, WrongPieceIsReportedOnceAndTheFrameWaitsForAGoodOne)
{
    PointXP = 1;
    PointXQ = 2;
    open();
    typeInto("Edit1", QStringLiteral("x"));
    typeInto("Edit3", QStringLiteral("2x"));
    EXPECT_EQ(window->secantSlopeText(), QStringLiteral("3"));
    typeInto("Edit3", QStringLiteral("2*(x+"));
    ASSERT_EQ(syntaxMessages.size(), 1u);
    EXPECT_EQ(TermPiece2, "2*(x+");
    EXPECT_EQ(window->secantSlopeText(), QStringLiteral("3"));
    // The next frame draws the wrong piece as 0, and says nothing again.
    window->refresh();
    EXPECT_EQ(window->secantSlopeText(), QStringLiteral("-1"));
    EXPECT_EQ(syntaxMessages.size(), 1u);
}

TEST_F(DifferentiabilityWindowTest, ExamplesArePairsOfPieces)
{
    open();
    close();
    EXPECT_EQ(ReadBytes(dir.file("Bsp9.txt")), "1/4x^2;1/x\r\n1\r\n3\r\n-7\r\n7\r\n-3\r\n11\r\n");

    WriteBytes(dir.file("Bsp9.txt"), "x^2\r\n1\r\n3\r\n-7\r\n7\r\n-3\r\n11\r\n");
    open();
    typeInto("Edit1", QStringLiteral("x^2"));
    typeInto("Edit3", QStringLiteral("2x-1"));
    click("SpeedButton4");
    click("SpeedButton4"); // the same pair
    typeInto("Edit3", QStringLiteral("sin(pi*x)"));
    click("SpeedButton4"); // the same f1 with another f2
    auto* list = control<QListWidget>("ListBox1");
    ASSERT_EQ(list->count(), 3);
    EXPECT_EQ(list->item(2)->text(), QStringLiteral("x^2;sin(\u03C0*x)"));

    // A line without ";" is all f2.
    list->setCurrentRow(0);
    click("SpeedButton1");
    EXPECT_TRUE(control<QLineEdit>("Edit1")->text().isEmpty());
    EXPECT_EQ(control<QLineEdit>("Edit3")->text(), QStringLiteral("x^2"));
    EXPECT_EQ(window->secantSlopeText(), QStringLiteral("4,5")); // (9 − 0) / (3 − 1): f1 = 0 at P
    list->setCurrentRow(1);
    click("SpeedButton1");
    EXPECT_EQ(control<QLineEdit>("Edit1")->text(), QStringLiteral("x^2"));
    EXPECT_EQ(control<QLineEdit>("Edit3")->text(), QStringLiteral("2x-1"));
    close();
    EXPECT_EQ(ReadBytes(dir.file("Bsp9.txt")), "x^2\r\n1\r\n3\r\n-7\r\n7\r\n-3\r\n11\r\n"
                                               "x^2;2x-1\r\n1\r\n2\r\n-7\r\n7\r\n-3\r\n11\r\n"
                                               "x^2;sin(\xF0*x)\r\n1\r\n2\r\n-7\r\n7\r\n-3\r\n11\r\n");
}

// ---------------------------------------------------------------------------------------------
// Both windows: launcher, printing, metafile files and the clipboard

TEST_F(DifferentiabilityWindowTest, LauncherEntriesOpenBothWindows)
{
    const std::pair<const char*, QString> entries[] = {
        {"Tangentenproblem", QStringLiteral("Tangentenproblem")},
        {"Differenzierbarkeit", QStringLiteral("Differenzierbarkeit")}};
    for (const auto& [caption, title] : entries) {
        SCOPED_TRACE(caption);
        const auto lessons = AnalysisLessons();
        const auto entry = std::find_if(lessons.begin(), lessons.end(), [&](const LessonEntry& e) {
            return std::string(e.caption) == caption;
        });
        ASSERT_NE(entry, lessons.end());
        ASSERT_NE(entry->open, nullptr);
        QString shownTitle;
        QPointer<QWidget> shown;
        QTimer::singleShot(0, [&] {
            shown = QApplication::activeModalWidget();
            if (shown) {
                shownTitle = shown->windowTitle();
                qobject_cast<QDialog*>(shown.data())->reject();
            }
        });
        OpenAnalysisLesson(entry->imageIndex, nullptr);
        QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        EXPECT_EQ(shownTitle, title);
        EXPECT_TRUE(shown.isNull());
        EXPECT_FALSE(ModuleOpen);
    }
}

template <class W> void ExportFromWindow(const test::TempDir& dir, std::vector<std::string>& errors)
{
    SaveChoice choice;
    PrintExportHooks hooks;
    hooks.chooseFile = [&](QWidget*) { return std::optional<SaveChoice>(choice); };
    hooks.confirmReplace = [](QWidget*, const QString&) { return true; };
    hooks.showError = [&](QWidget*, const QString& m) { errors.push_back(m.toStdString()); };
    hooks.setupPrinter = [&](QWidget*, QPrinter& printer) {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(QString::fromStdString(dir.file("druck.pdf")));
        return true;
    };
    const ScopedPrintExportHooks scoped(hooks);
    TermText = "x^2";
    TermPiece1 = "x^2";
    W window;
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    window.setDisplay({true, true, true, true, true});
    window.fixSecant();
    window.refresh();
    const QImage before = window.plotBox()->picture()->copy();
    const auto press = [&](const char* name) {
        QTest::mouseClick(window.template findChild<QPushButton*>(QString::fromLatin1(name)), Qt::LeftButton);
    };

    press("SpeedButton15");
    EXPECT_GT(ReadBytes(dir.file("druck.pdf")).size(), 1000u);
    for (const MetafileKind kind : {MetafileKind::Wmf, MetafileKind::Emf}) {
        choice = {QString::fromStdString(dir.file(kind == MetafileKind::Wmf ? "bild.wmf" : "bild.emf")),
                  kind};
        press("SpeedButton17");
    }
    const std::string wmf = ReadBytes(dir.file("bild.wmf"));
    const test::WmfFile read = test::ReadWmf(std::vector<std::uint8_t>(wmf.begin(), wmf.end()));
    EXPECT_EQ(read.error, "");
    EXPECT_GT(ReadBytes(dir.file("bild.emf")).size(), 100u);
    press("SpeedButton23");
    const QMimeData* mime = QApplication::clipboard()->mimeData();
    ASSERT_NE(mime, nullptr);
    EXPECT_TRUE(mime->hasFormat(QStringLiteral("image/x-wmf")));

    EXPECT_FALSE(Printing);
    EXPECT_EQ(DrawScale, 1.0);
    EXPECT_EQ(*window.plotBox()->picture(), before);
    window.reject();
}

TEST_F(DifferentiabilityWindowTest, PrintingMetafilesAndClipboardFromBothWindows)
{
    {
        SCOPED_TRACE("Tangentenproblem");
        ExportFromWindow<TangentProblemWindow>(dir, fileMessages);
    }
    {
        SCOPED_TRACE("Differenzierbarkeit");
        ExportFromWindow<DifferentiabilityWindow>(dir, fileMessages);
    }
    EXPECT_TRUE(fileMessages.empty());
}

} // namespace
} // namespace kurvex
