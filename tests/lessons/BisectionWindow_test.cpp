// Tests of the bisection window and its step table through their widgets: the √2 run and its
// table, stale and undefined verdicts, large start values, decimals, typing, picking, bars, the
// example list, printing and the launcher.
#include "lessons/BisectionWindow.h"

#include "app/LessonRegistry.h"
#include "app/SettingsDialog.h"
#include "core/CoordinateSystem.h"
#include "core/NumberText.h"
#include "core/WorldWindow.h"
#include "core/term/Term.h"
#include "lesson/PrintExportHooks.h"
#include "lessons/BisectionTableDialog.h"
#include "support/LessonWindowTest.h"
#include "support/TestTempDir.h"
#include "support/WholeTexts.h"

#include <QFileInfo>
#include <QHeaderView>
#include <QLabel>
#include <QListWidget>
#include <QPrinter>
#include <QPushButton>
#include <QScrollBar>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTimer>
#include <QToolButton>

#include <algorithm>
#include <memory>
#include <set>

namespace kurvex {
namespace {

using test::Control;
using test::TypeInto;

class BisectionWindowTest : public test::WindowFixture<BisectionWindow> {
protected:
    void SetUp() override
    {
        WindowFixture::SetUp();
        setWorld({-7, 7, -7, 7});
        Decimals = 2;
        TermBisection = "x^2-2";
    }

    void open()
    {
        window = std::make_unique<BisectionWindow>();
        window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    }
    template <class T> T* control(const char* name) const { return Control<T>(*window, name); }
    QLineEdit* edit(const char* name) const { return control<QLineEdit>(name); }
    QPushButton* stepButton() const { return control<QPushButton>("SpeedButton2"); }
    QString result() const { return control<QLabel>("Label12")->text(); }

    void typeInterval(const char* a, const char* b)
    {
        TypeInto(edit("Edit2"), QString::fromLatin1(a));
        TypeInto(edit("Edit3"), QString::fromLatin1(b));
    }
    // Presses "Wiederhole" until it is disabled; the intervals before each press that halved.
    std::vector<std::pair<double, double>> runToTheEnd()
    {
        std::vector<std::pair<double, double>> steps;
        for (int guard = 0; guard < 300 && stepButton()->isEnabled(); ++guard) {
            const std::pair<double, double> before{window->intervalA(), window->intervalB()};
            const int count = window->stepCount();
            stepButton()->click();
            if (window->stepCount() > count) {
                steps.push_back(before);
            }
        }
        EXPECT_FALSE(stepButton()->isEnabled()) << "the run did not end";
        return steps;
    }
    static std::vector<QString> column(const QTableWidget& table, int c)
    {
        std::vector<QString> out;
        for (int r = 0; r < table.rowCount(); ++r) {
            out.push_back(table.item(r, c) != nullptr ? table.item(r, c)->text() : QString());
        }
        return out;
    }
    // The band: rectangles over the plot's whole height in either band colour.
    static std::vector<CanvasCall> bands(const RecordingCanvas& c)
    {
        std::vector<CanvasCall> out;
        for (const CanvasCall& r : c.callsOf(CanvasOp::Rectangle)) {
            if ((r.brush.color == clRed || r.brush.color == clLime) && r.rect.top == 0 &&
                r.rect.bottom == PlotHeight) {
                out.push_back(r);
            }
        }
        return out;
    }
};

TEST_F(BisectionWindowTest, OpensWithItsStartStateAndFormNames)
{
    open();
    EXPECT_EQ(window->windowTitle(),
              QStringLiteral(
                  "Bisektion  -  Berechnung einer Nullstelle mit Hilfe fortgesetzter Intervallhalbierung"));
    EXPECT_TRUE(ModuleOpen);
    EXPECT_EQ(edit("Edit1")->text(), QStringLiteral("x^2-2"));
    EXPECT_TRUE(edit("Edit1")->hasFocus());
    EXPECT_EQ(edit("Edit2")->text(), QStringLiteral("0,00000"));
    EXPECT_EQ(edit("Edit3")->text(), QStringLiteral("0,00000"));
    EXPECT_EQ(edit("Edit4")->text(), QStringLiteral("5"));
    EXPECT_EQ(control<QLabel>("Label6")->text(), QStringLiteral("= 0,00001"));
    EXPECT_EQ(result(), QString());
    EXPECT_EQ(control<QLabel>("Panel2")->text(),
              QStringLiteral("  a = 0,00000  b = 0,00000  m = 0,00000\n  f(a) = -2,00000  f(m) = -2,00000"
                             "  f(a)*f(m) = 4,00000"));
    EXPECT_EQ(control<QLabel>("Label14")->text(),
              QStringLiteral("wenn f(a) * f(m) > 0  dann a := m  sonst  b := m"));
    EXPECT_EQ(control<QToolButton>("SpeedButton12")->toolTip(), QStringLiteral("Tabelle anzeigen"));
    EXPECT_EQ(control<QLabel>("Label1")->text(), QStringLiteral("Koordinatensys."));
    const struct {
        const char* name;
        const char* hint;
    } buttons[] = {{"SpeedButton1", "Zoom out"},        {"SpeedButton4", "Zoom in"},
                   {"SpeedButton3", "Aus Liste holen"}, {"SpeedButton7", "In Liste übernehmen"},
                   {"SpeedButton8", "Eintrag löschen"}, {"SpeedButton22", "Anfangswerte setzen"}};
    for (const auto& b : buttons) {
        ASSERT_NE(control<QToolButton>(b.name), nullptr);
        EXPECT_EQ(control<QToolButton>(b.name)->toolTip(), QString::fromUtf8(b.hint)) << b.name;
    }
    EXPECT_EQ(control<QPushButton>("SpeedButton6")->text(), QStringLiteral("&Beenden"));
    EXPECT_EQ(window->zoomCheckBox()->objectName(), QStringLiteral("BitCheckBox5"));
    // The plot takes the top four fifths of the box, the bars the rest.
    EXPECT_EQ(PlotHeight, window->plotBox()->height() / 5 * 4);
}

TEST_F(BisectionWindowTest, ResultAndStatusLineShowTheirWholeText)
{
    open();
    typeInterval("1", "2");
    runToTheEnd();
    EXPECT_EQ(test::CutText(*control<QLabel>("Label12")), "");
    EXPECT_EQ(test::CutText(*control<QLabel>("Panel2")), "");
    // Near the pole of 1/x the values run to ten digits before the comma.
    TypeInto(edit("Edit1"), QStringLiteral("1/x"));
    typeInterval("-1", "2");
    runToTheEnd();
    EXPECT_TRUE(control<QLabel>("Panel2")->text().endsWith(QStringLiteral("f(a)*f(m) = 274877906944,00000")))
        << control<QLabel>("Panel2")->text().toStdString();
    EXPECT_EQ(test::CutText(*control<QLabel>("Panel2")), "");
}

TEST_F(BisectionWindowTest, SquareRootOfTwoAndTheTableRowsMatchTheSteps)
{
    open();
    typeInterval("1", "2");
    const auto steps = runToTheEnd();
    ASSERT_EQ(steps.size(), 17u);
    EXPECT_TRUE(result().startsWith(QStringLiteral("x := (a + b) / 2 = 1,41421\nf(x) = ")))
        << result().toStdString();
    EXPECT_FALSE(stepButton()->isEnabled());

    BisectionTableDialog table(window->tableInput());
    const QTableWidget& grid = *table.table();
    const char* const headers[] = {"          a",  "          b",  "          m",
                                   "        f(a)", "        f(m)", "      f(a)*f(m)"};
    for (int c = 0; c < 6; ++c) {
        EXPECT_EQ(grid.horizontalHeaderItem(c)->text(), QString::fromLatin1(headers[c]));
    }
    ASSERT_EQ(grid.rowCount(), 17); // no "Keine Lösung!" row
    for (int r = 0; r < 17; ++r) {
        SCOPED_TRACE(r);
        EXPECT_EQ(grid.item(r, 0)->text().toStdString(),
                  BisectionNumber(steps[static_cast<std::size_t>(r)].first, 5));
        EXPECT_EQ(grid.item(r, 1)->text().toStdString(),
                  BisectionNumber(steps[static_cast<std::size_t>(r)].second, 5));
    }
    EXPECT_EQ(grid.item(0, 2)->text(), QStringLiteral("1,50000"));
    EXPECT_EQ(grid.item(0, 5)->text(), QStringLiteral("-0,25000")); // f(m) · f(a) = 0,25 · (-1)
    EXPECT_EQ(control<QPushButton>("SpeedButton2"), stepButton());
    EXPECT_EQ(table.findChild<QPushButton*>(QStringLiteral("BitBtn2"))->text(), QStringLiteral("&Weiter"));
}

TEST_F(BisectionWindowTest, TableColumnsHoldTheirLongestNumbers)
{
    TermBisection = "1/x";
    open();
    typeInterval("-1", "2");
    BisectionTableDialog table(window->tableInput());
    table.show();
    const QTableWidget& grid = *table.table();
    const QFontMetrics metrics(grid.font());
    const int margin = 2 * (grid.style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, &grid) + 1);
    bool sawTenDigits = false;
    for (int r = 0; r < grid.rowCount(); ++r) {
        for (int c = 0; c < grid.columnCount(); ++c) {
            const QTableWidgetItem* item = grid.item(r, c);
            if (item == nullptr) {
                continue;
            }
            sawTenDigits = sawTenDigits || item->text() == QStringLiteral("-8589934592,00000");
            EXPECT_LE(metrics.horizontalAdvance(item->text()) + margin, grid.columnWidth(c))
                << "row " << r << " column " << c << " " << item->text().toStdString();
        }
    }
    EXPECT_TRUE(sawTenDigits);
    // Every column shows whole, or a narrow screen lets the grid scroll to it.
    EXPECT_TRUE(grid.viewport()->width() >= grid.horizontalHeader()->length() ||
                grid.horizontalScrollBar()->isVisible());
}

TEST_F(BisectionWindowTest, ClickWithoutMovingAfterARunIsNoSolution)
{
    open();
    typeInterval("1", "2");
    runToTheEnd();
    ASSERT_TRUE(result().startsWith(QStringLiteral("x := ")));
    // A click at x = 5: a = b, the band is one line, and f(5) = 23 is no zero.
    const QPoint at(WorldToPixelX(5), 100);
    test::DragOnPlot(*window, at, at);
    EXPECT_NEAR(window->intervalA(), 5, 0.05);
    EXPECT_EQ(window->intervalA(), window->intervalB());
    EXPECT_TRUE(stepButton()->isEnabled());
    EXPECT_EQ(result(), QString());
    stepButton()->click();
    EXPECT_EQ(result(), QStringLiteral(" Keine Lösung!"));
    EXPECT_FALSE(stepButton()->isEnabled());
    BisectionTableDialog table(window->tableInput());
    ASSERT_EQ(table.table()->rowCount(), 2);
    EXPECT_EQ(table.table()->item(1, 2)->text(), QStringLiteral("Keine Lösung!"));
}

TEST_F(BisectionWindowTest, UndefinedValuesStopTheRunWithoutAGarbageBand)
{
    TermBisection = "1/x";
    open();
    typeInterval("-1", "1");
    RecordingCanvas canvas = test::RecordPicture(*window);
    ASSERT_EQ(bands(canvas).size(), 1u); // f(-1) = -1 and f(1) = 1: a sign change
    EXPECT_EQ(bands(canvas)[0].brush.color, clLime);
    stepButton()->click();
    EXPECT_EQ(result(), QStringLiteral(" Keine Lösung!"));
    EXPECT_FALSE(stepButton()->isEnabled());
    EXPECT_EQ(window->stepCount(), 0);
    EXPECT_EQ(window->intervalA(), -1);
    EXPECT_EQ(window->intervalB(), 1);
    EXPECT_TRUE(control<QLabel>("Panel2")->text().contains(QStringLiteral("f(m) = nicht definiert")));
    canvas = test::RecordPicture(*window);
    ASSERT_EQ(bands(canvas).size(), 1u);
    EXPECT_EQ(bands(canvas)[0].rect.left, WorldToPixelX(-1));
    EXPECT_EQ(bands(canvas)[0].rect.right, WorldToPixelX(1));

    // An end where f is undefined: no sign, so no coloured band at all.
    TypeInto(edit("Edit1"), QStringLiteral("sqrt(x)"));
    EXPECT_TRUE(bands(test::RecordPicture(*window)).empty());
    BisectionTableDialog table(window->tableInput());
    ASSERT_EQ(table.table()->rowCount(), 2);
    EXPECT_EQ(table.table()->item(0, 3)->text(), QStringLiteral("nicht definiert"));
    EXPECT_EQ(table.table()->item(1, 2)->text(), QStringLiteral("Keine Lösung!"));
    EXPECT_TRUE(messages.empty());
}

TEST_F(BisectionWindowTest, LargeStartValuesEndTheRunAndTheTableInBoundedSteps)
{
    TermBisection = "x-1e12-0,3";
    open();
    typeInterval("1E12", "1E13");
    const auto steps = runToTheEnd();
    EXPECT_LT(steps.size(), 200u);
    BisectionTableDialog table(window->tableInput());
    EXPECT_EQ(table.table()->rowCount(), static_cast<int>(steps.size()));
    // The dialog fits on the screen whatever the number of rows.
    TypeInto(edit("Edit4"), QStringLiteral("6"));
    TypeInto(edit("Edit1"), QStringLiteral("x"));
    typeInterval("-1E40", "1E40");
    BisectionTableDialog longTable(window->tableInput());
    EXPECT_LE(longTable.table()->rowCount(), kMaxReplayRows + 1);
    EXPECT_LE(longTable.height(), longTable.screen()->availableGeometry().height());
}

TEST_F(BisectionWindowTest, DecimalsSetTheBoundAndTheNumberText)
{
    open();
    typeInterval("1", "2");
    const struct {
        const char* typed;
        const char* shown;
        const char* bound;
        double tolerance;
        const char* a;
    } cases[] = {{"7", "4", "= 0,0001", 1e-4, "1,0000"},
                 {"x", "4", "= 0,0001", 1e-4, "1,0000"},
                 {"3", "3", "= 0,001", 1e-3, "1,000"},
                 {"6", "6", "= 0,000001", 1e-6, "1,000000"},
                 {"0", "4", "= 0,0001", 1e-4, "1,0000"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.typed);
        TypeInto(edit("Edit4"), QString::fromLatin1(c.typed));
        EXPECT_EQ(edit("Edit4")->text(), QString::fromLatin1(c.shown));
        EXPECT_EQ(control<QLabel>("Label6")->text(), QString::fromLatin1(c.bound));
        EXPECT_EQ(window->tolerance(), c.tolerance);
        EXPECT_EQ(edit("Edit2")->text(), QString::fromLatin1(c.a));
        EXPECT_TRUE(control<QLabel>("Panel2")->text().startsWith(QStringLiteral("  a = ") +
                                                                 QString::fromLatin1(c.a)));
    }
}

TEST_F(BisectionWindowTest, EditsAreNotRewrittenWhileTheUserTypes)
{
    open();
    typeInterval("1", "2");
    QLineEdit* a = edit("Edit2");
    a->setFocus();
    a->selectAll();
    QTest::keyClicks(a, QStringLiteral("1,2"));
    // A step, a resize and a refresh while typing leave the text alone.
    stepButton()->click();
    window->resize(window->width() - 20, window->height());
    QApplication::processEvents();
    window->refresh();
    EXPECT_EQ(a->text(), QStringLiteral("1,2"));
    EXPECT_EQ(window->stepCount(), 1);
    QTest::keyClick(a, Qt::Key_Return);
    // The new start value starts the run again from the whole start interval.
    EXPECT_EQ(window->intervalA(), 1.2);
    EXPECT_EQ(window->intervalB(), 2);
    EXPECT_EQ(window->stepCount(), 0);
    EXPECT_EQ(a->text(), QStringLiteral("1,20000"));
}

TEST_F(BisectionWindowTest, DragPicksTheIntervalInOrderAndZoomTakesTheDragWhenChecked)
{
    open();
    test::DragOnPlot(*window, {WorldToPixelX(2), 50}, {WorldToPixelX(1), 60});
    EXPECT_NEAR(window->intervalA(), 1, 0.05);
    EXPECT_NEAR(window->intervalB(), 2, 0.05);
    EXPECT_LT(window->intervalA(), window->intervalB());
    EXPECT_EQ(window->tableInput().startA, window->intervalA());
    EXPECT_EQ(edit("Edit2")->text(), QString::fromStdString(FormatNumber(5, window->intervalA())).trimmed());

    const WorldRect before = currentWorld();
    test::ClickBox(window->zoomCheckBox());
    test::DragOnPlot(*window, {100, 100}, {300, 300});
    EXPECT_NE(currentWorld(), before);
    EXPECT_NEAR(window->intervalA(), 1, 0.05); // the interval stays
}

TEST_F(BisectionWindowTest, BarsShowTheStartIntervalAndTwelveHalvings)
{
    open();
    typeInterval("1", "2");
    for (int i = 0; i < 15; ++i) {
        stepButton()->click();
    }
    ASSERT_EQ(window->stepCount(), 15);
    const RecordingCanvas canvas = test::RecordPicture(*window);
    std::set<int> rows;
    for (const CanvasCall& line : canvas.callsOf(CanvasOp::LineTo)) {
        const Point from = line.points[0];
        const Point to = line.points[1];
        if (from.y == to.y && from.y > PlotHeight && line.pen.color == clBlack) {
            rows.insert(from.y);
        }
    }
    const int h = PlotHeight / 60;
    EXPECT_EQ(rows.size(), 13u);
    EXPECT_EQ(*rows.begin(), PlotHeight + 2 * h);
    EXPECT_EQ(*rows.rbegin(), PlotHeight + 14 * h);
}

TEST_F(BisectionWindowTest, FetchingAnExampleStartsTheRunAgainAndTheListIsSavedOnClose)
{
    test::WriteBytes(programDir.filePath(QStringLiteral("Bsp7.txt")).toStdString(), "x^2-2\r\nx^3-2\r\n");
    open();
    typeInterval("1", "2");
    for (int i = 0; i < 5; ++i) {
        stepButton()->click();
    }
    QListWidget* list = control<QListWidget>("ListBox1");
    ASSERT_EQ(list->count(), 2);
    list->setCurrentRow(1);
    control<QToolButton>("SpeedButton3")->click();
    EXPECT_EQ(TermBisection, "x^3-2");
    EXPECT_EQ(window->stepCount(), 0);
    EXPECT_EQ(window->intervalA(), 1);
    EXPECT_EQ(window->intervalB(), 2);
    EXPECT_TRUE(stepButton()->isEnabled());

    control<QToolButton>("SpeedButton7")->click(); // already there
    EXPECT_EQ(list->count(), 2);
    TypeInto(edit("Edit1"), QStringLiteral("cos(x)-x"));
    control<QToolButton>("SpeedButton7")->click();
    EXPECT_EQ(list->count(), 3);
    list->setCurrentRow(0);
    control<QToolButton>("SpeedButton8")->click();
    control<QPushButton>("SpeedButton6")->click();
    EXPECT_EQ(test::ReadBytes(programDir.filePath(QStringLiteral("Bsp7.txt")).toStdString()),
              "x^3-2\r\ncos(x)-x\r\n");
    EXPECT_FALSE(ModuleOpen);
}

TEST_F(BisectionWindowTest, WindowAndTableAgreeAtATenthExactly)
{
    TermBisection = "0,1";
    open();
    typeInterval("0", "1");
    runToTheEnd();
    EXPECT_EQ(result(), QStringLiteral(" Keine Lösung!"));
    BisectionTableDialog table(window->tableInput());
    EXPECT_EQ(table.table()->item(table.table()->rowCount() - 1, 2)->text(), QStringLiteral("Keine Lösung!"));
}

TEST_F(BisectionWindowTest, TableButtonOpensTheTableAndWeiterClosesIt)
{
    open();
    typeInterval("1", "2");
    int rows = -1;
    QTimer::singleShot(0, [&] {
        for (QWidget* w : QApplication::topLevelWidgets()) {
            if (auto* table = qobject_cast<BisectionTableDialog*>(w);
                table != nullptr && table->isVisible()) {
                rows = table->table()->rowCount();
                table->findChild<QPushButton*>(QStringLiteral("BitBtn2"))->click();
            }
        }
    });
    control<QToolButton>("SpeedButton12")->click();
    EXPECT_EQ(rows, 17);
    EXPECT_EQ(window->stepCount(), 0); // the table changes nothing
}

TEST_F(BisectionWindowTest, PrintsToAFileAndExportsAMetafileWithTheBars)
{
    QTemporaryDir out;
    PrintExportHooks hooks;
    hooks.showError = [](QWidget*, const QString& m) { ADD_FAILURE() << m.toStdString(); };
    hooks.setupPrinter = [&](QWidget*, QPrinter& printer) {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(out.filePath(QStringLiteral("bisektion.pdf")));
        return true;
    };
    hooks.chooseFile = [&](QWidget*) {
        return std::optional<SaveChoice>(
            SaveChoice{out.filePath(QStringLiteral("bisektion.emf")), MetafileKind::Emf});
    };
    const ScopedPrintExportHooks scoped(hooks);
    open();
    typeInterval("1", "2");
    stepButton()->click();
    const QImage before = window->plotBox()->picture()->copy();
    control<QPushButton>("SpeedButton15")->click();
    control<QPushButton>("SpeedButton17")->click();
    EXPECT_GT(QFileInfo(out.filePath(QStringLiteral("bisektion.pdf"))).size(), 1000);
    EXPECT_GT(QFileInfo(out.filePath(QStringLiteral("bisektion.emf"))).size(), 1000);
    EXPECT_EQ(*window->plotBox()->picture(), before);
    EXPECT_FALSE(Printing);
}

TEST_F(BisectionWindowTest, LauncherEntryOpensTheWindow)
{
    const auto entries = AnalysisLessons();
    const auto entry = std::find_if(entries.begin(), entries.end(), [](const LessonEntry& e) {
        return std::string(e.caption) == "Bisektion  f(x) = 0";
    });
    ASSERT_NE(entry, entries.end());
    ASSERT_NE(entry->open, nullptr);
    bool seen = false;
    QTimer::singleShot(0, [&seen] {
        for (QWidget* w : QApplication::topLevelWidgets()) {
            if (auto* lesson = qobject_cast<BisectionWindow*>(w)) {
                seen = true;
                lesson->close();
            }
        }
    });
    entry->open(nullptr);
    EXPECT_TRUE(seen);
}

} // namespace
} // namespace kurvex
