// Tests of the mappings window through its widgets: arrows between the rails, an undefined f(x),
// halving and doubling, the x bar, the shared state it leaves, fixed arrows, the animation's speed,
// the example list, the term edit's length, printing and export, the launcher.
#include "lessons/MappingsWindow.h"

#include "app/LessonRegistry.h"
#include "app/SettingsDialog.h"
#include "controls/BitCheckBox.h"
#include "controls/EditRoutines.h"
#include "controls/ToggleSwitch.h"
#include "core/RecordList.h"
#include "core/Settings.h"
#include "lesson/PlotBox.h"
#include "lesson/PrintExportHooks.h"
#include "lesson/TermField.h"
#include "lesson/ValueRow.h"
#include "platform/RecordingCanvas.h"
#include "support/MetafileReader.h"
#include "support/WindowsState.h"

#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPointer>
#include <QPrinter>
#include <QPushButton>
#include <QScrollBar>
#include <QSlider>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <string>
#include <vector>

namespace kurvex {
namespace {

// A picture of 500 x 625 pixels: the Cartesian part 500 x 500, the x rail at row 595 (20/21 of the
// height) and the f(x) rail at row 521 (5/6).
constexpr int kWidth = 500;
constexpr int kHeight = 625;
constexpr int kXRailRow = 595;
constexpr int kFRailRow = 521;

int railColumn(double v, double lo, double hi)
{
    return static_cast<int>(std::nearbyint((v - lo) / (hi - lo) * kWidth));
}

class MappingsWindowTest : public test::ProgramWindowFixture {
protected:
    void SetUp() override
    {
        AnimationDelay = 0;
        AnimationSteps = 200;
        Decimals = 2;
        PointXP = 1.0;
        InstallApplicationDialogs();
    }
    void TearDown() override { window.reset(); }

    void open(const char* term = "x^2")
    {
        TermCovariation = term;
        window = std::make_unique<MappingsWindow>();
        window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
        window->setFixedLayerSize(QSize(kWidth, kHeight));
        window->refresh();
    }

    template <class T> T* control(const char* name) const { return test::child<T>(window.get(), name); }
    void click(const char* name) const { control<QToolButton>(name)->click(); }
    QString label(const char* name) const { return control<QLabel>(name)->text(); }
    RecordingCanvas record() const { return test::recordPicture(*window); }

    std::unique_ptr<MappingsWindow> window;
};

// Lines drawn with a black pen from a point on the x rail to one on the f(x) rail.
std::vector<CanvasCall> mappingArrows(const RecordingCanvas& c)
{
    std::vector<CanvasCall> out;
    for (const CanvasCall& call : c.callsOf(CanvasOp::LineTo)) {
        if (call.points[0].y == kXRailRow && call.points[1].y == kFRailRow) {
            out.push_back(call);
        }
    }
    return out;
}

std::vector<Point> diskCentres(const RecordingCanvas& c, TColor colour)
{
    std::vector<Point> out;
    for (const CanvasCall& call : c.callsOf(CanvasOp::Ellipse)) {
        if (call.brush.color == colour) {
            out.push_back({(call.rect.left + call.rect.right) / 2, (call.rect.top + call.rect.bottom) / 2});
        }
    }
    return out;
}

bool hasTickAt(const RecordingCanvas& c, int column, int row)
{
    const auto lines = c.callsOf(CanvasOp::LineTo);
    return std::any_of(lines.begin(), lines.end(), [&](const CanvasCall& l) {
        return l.points[0] == Point{column, row - 4} && l.points[1] == Point{column, row + 4};
    });
}

TEST_F(MappingsWindowTest, OpensWithBothRailsOnTheSettingsXRangeAndItsOwnControls)
{
    XMin = -3;
    XMax = 5;
    open();
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Zuordnungen"));
    EXPECT_EQ(window->rails(), (Rails{{-3, 5}, {-3, 5}}));
    EXPECT_EQ(control<QLineEdit>("Edit1")->text(), QStringLiteral("x^2"));
    EXPECT_EQ(control<QLineEdit>("Edit2")->text(), QStringLiteral("1,00"));
    EXPECT_EQ(label("Label9"), QStringLiteral("x =  1,00"));
    EXPECT_EQ(label("Label6"), QStringLiteral("f(x) =  1,00"));
    EXPECT_EQ(control<BitCheckBox>("BitCheckBox2")->text(), QStringLiteral("Zuordnungspfeil"));
    EXPECT_EQ(control<BitCheckBox>("BitCheckBox1")->text(), QStringLiteral("Funktionsgraph zeichnen"));
    EXPECT_EQ(control<BitCheckBox>("BitCheckBox3")->text(),
              QStringLiteral("Darstellung im kartesischen Koordinatensystem"));
    EXPECT_EQ(control<BitCheckBox>("BitCheckBox4")->text(), QStringLiteral("Funktionsterm erraten"));
    EXPECT_EQ(control<QToolButton>("SpeedButton13")->toolTip(), QStringLiteral("Zuordnungspfeil fixieren"));
    EXPECT_EQ(control<QToolButton>("SpeedButton11")->toolTip(), QStringLiteral("Zuordnungspfeil löschen"));
    EXPECT_EQ(control<QToolButton>("SpeedButton18")->toolTip(), QStringLiteral("Liste löschen"));
    for (const char* name : {"SpeedButton12", "SpeedButton1"}) {
        EXPECT_EQ(control<QToolButton>(name)->toolTip(), QStringLiteral("x-Bereich halbieren")) << name;
    }
    for (const char* name : {"SpeedButton24", "SpeedButton5"}) {
        EXPECT_EQ(control<QToolButton>(name)->toolTip(), QStringLiteral("x - Bereich verdoppeln")) << name;
    }
    EXPECT_EQ(control<QSlider>("TrackBar2")->minimum(), 1);
    EXPECT_EQ(control<QSlider>("TrackBar2")->maximum(), 40);
    EXPECT_EQ(control<QPushButton>("SpeedButton6")->text(), QStringLiteral("&Beenden"));
    // The rails' buttons take the place of zoom, pad and the zoom box.
    EXPECT_EQ(window->findChild<QWidget*>(QStringLiteral("BitCheckBox5")), nullptr);
    EXPECT_EQ(window->findChild<QWidget*>(QStringLiteral("SpeedButton22")), nullptr);
    EXPECT_FALSE(control<QWidget>("Panel6")->isVisible());
}

TEST_F(MappingsWindowTest, ArrowsOfXSquaredEndAtTheTicksOfTheirValues)
{
    XMin = -2;
    XMax = 2;
    open("x^2");
    click("SpeedButton5"); // the f(x) rail from -2..2 to -4..4
    click("SpeedButton5"); // and to -8..8
    ASSERT_EQ(window->rails(), (Rails{{-2, 2}, {-8, 8}}));
    for (const double x : {-2.0, -1.0, 0.0, 1.0}) {
        PointXP = x;
        click("SpeedButton13");
    }
    PointXP = 2.0;
    test::clickBox(control<BitCheckBox>("BitCheckBox2"));
    EXPECT_EQ(label("Label6"), QStringLiteral("f(x) =  4,00"));

    const RecordingCanvas c = record();
    const std::vector<CanvasCall> arrows = mappingArrows(c);
    ASSERT_EQ(arrows.size(), 5u);
    const auto heads = c.callsOf(CanvasOp::Polygon);
    for (std::size_t i = 0; i < arrows.size(); ++i) {
        const double x = -2.0 + static_cast<double>(i); // oldest fixed arrow first, the current x last
        SCOPED_TRACE(x);
        const Point p{railColumn(x, -2, 2), kXRailRow};
        const Point q{railColumn(x * x, -8, 8), kFRailRow};
        EXPECT_EQ(arrows[i].points[0], p);
        EXPECT_EQ(arrows[i].points[1], q);
        EXPECT_TRUE(hasTickAt(c, q.x, kFRailRow));
        const bool headAtQ = std::any_of(heads.begin(), heads.end(), [&](const CanvasCall& h) {
            return h.points.size() == 3 && h.points[0] == q && h.brush.color == clBlack;
        });
        EXPECT_TRUE(headAtQ);
    }
}

TEST_F(MappingsWindowTest, UndefinedValueShowsItsLabelAndOnlyTheXDot)
{
    PointXP = 0.0;
    open("1/x");
    test::clickBox(control<BitCheckBox>("BitCheckBox2"));
    test::clickBox(control<BitCheckBox>("BitCheckBox3"));
    EXPECT_EQ(label("Label6"), QStringLiteral("f(x) = nicht definiert"));
    EXPECT_EQ(label("Label9"), QStringLiteral("x =  0,00"));
    const RecordingCanvas c = record();
    EXPECT_TRUE(mappingArrows(c).empty());
    EXPECT_EQ(diskCentres(c, clRed), std::vector<Point>{Point({railColumn(0, -7, 7), kXRailRow})});
    EXPECT_TRUE(diskCentres(c, clBlue).empty());
    EXPECT_TRUE(diskCentres(c, clBlack).empty()); // no point on the graph either

    // Beside it a defined x maps as usual.
    PointXP = 2.0;
    click("SpeedButton13");
    PointXP = 0.0;
    window->fullRedraw();
    EXPECT_EQ(mappingArrows(record()).size(), 1u);
    EXPECT_EQ(label("Label6"), QStringLiteral("f(x) = nicht definiert"));
}

TEST_F(MappingsWindowTest, HalvingAndDoublingKeepEachRailsCentreAndTheWorldFollows)
{
    XMin = -2;
    XMax = 6;
    open();
    struct Step {
        const char* button;
        Rails rails;
        double step; // of the animation: renewed by halving and doubling only
    };
    const Step steps[] = {
        {"SpeedButton12", {{0, 4}, {-2, 6}}, 0.02},   {"SpeedButton12", {{1, 3}, {-2, 6}}, 0.01},
        {"SpeedButton24", {{0, 4}, {-2, 6}}, 0.02},   {"SpeedButton1", {{0, 4}, {0, 4}}, 0.02},
        {"SpeedButton5", {{0, 4}, {-2, 6}}, 0.02},    {"SpeedButton5", {{0, 4}, {-6, 10}}, 0.02},
        {"SpeedButton16", {{-7, 7}, {-6, 10}}, 0.02}, // "Anfangswerte setzen": x1, x2 of the settings
        {"SpeedButton4", {{-7, 7}, {-7, 7}}, 0.02},
    };
    for (const Step& s : steps) {
        SCOPED_TRACE(s.button);
        click(s.button);
        EXPECT_EQ(window->rails(), s.rails);
        // Printing and the settings dialog see the window's own range: x from the x rail, y from
        // the f(x) rail.
        EXPECT_EQ(currentWorld(), CartesianWorld(s.rails));
        EXPECT_DOUBLE_EQ(window->mappingStep(), s.step);
    }
}

TEST_F(MappingsWindowTest, XBarResolutionComesFromTheXRailAlone)
{
    open();
    QScrollBar* bar = control<QScrollBar>("ScrollBar1");
    EXPECT_EQ(bar->minimum(), 1);
    EXPECT_EQ(bar->maximum(), 1400);
    for (int i = 0; i < 16; ++i) {
        click("SpeedButton1"); // the f(x) rail down to a span of 14 / 2^16
    }
    ASSERT_LT(window->rails().f.span(), 0.001);
    window->refresh();
    EXPECT_EQ(bar->maximum(), 1400);
    bar->setValue(1050);
    EXPECT_DOUBLE_EQ(PointXP, -7 + 14 * 1050 / 1400.0);
    EXPECT_EQ(control<QLineEdit>("Edit2")->text(), QStringLiteral("3,50"));

    click("SpeedButton12"); // x rail -3.5..3.5: tick 0.5, still 1400 positions
    EXPECT_EQ(bar->maximum(), 1400);
    EXPECT_DOUBLE_EQ(PointXP, 3.5);
}

TEST_F(MappingsWindowTest, GraphInItsOwnColourLeavesTheSharedColoursAsTheyWere)
{
    GraphColor = clGreen;
    CurveColor = clPurple;
    NumberLineMode = true;
    open("x^2/4");
    test::clickBox(control<BitCheckBox>("BitCheckBox1"));
    const RecordingCanvas c = record();
    const auto lines = c.callsOf(CanvasOp::LineTo);
    const auto black = std::count_if(lines.begin(), lines.end(), [](const CanvasCall& l) {
        return l.pen.color == clBlack && l.points[0].y < kWidth && l.points[1].x == l.points[0].x + 1;
    });
    EXPECT_GT(black, 300); // a segment per pixel column of the graph
    EXPECT_TRUE(
        std::none_of(lines.begin(), lines.end(), [](const CanvasCall& l) { return l.pen.color == clGreen; }));
    window->fullRedraw();
    EXPECT_EQ(GraphColor, clGreen);
    EXPECT_EQ(CurveColor, clPurple);
    EXPECT_TRUE(NumberLineMode);
    EXPECT_EQ(PlotHeight, kWidth); // the plot is the Cartesian part again
}

TEST_F(MappingsWindowTest, FixedArrowsAreKeptNewestFirstWithTheXRailColour)
{
    open();
    QToolButton* deleteLast = control<QToolButton>("SpeedButton11");
    QToolButton* clearAll = control<QToolButton>("SpeedButton18");
    EXPECT_FALSE(deleteLast->isEnabled());
    for (const double x : {1.0, 2.0, 3.0}) {
        PointXP = x;
        click("SpeedButton13");
    }
    EXPECT_TRUE(deleteLast->isEnabled() && clearAll->isEnabled());
    EXPECT_EQ(ArrowOrder(ArrowList, 0.5), (std::vector<double>{1, 2, 3, 0.5}));
    ListRecord newest;
    ListGet(ArrowList, 1, newest);
    EXPECT_EQ(newest.color, clRed);
    click("SpeedButton11");
    EXPECT_EQ(ArrowOrder(ArrowList, 0.5), (std::vector<double>{1, 2, 0.5}));
    click("SpeedButton18");
    EXPECT_TRUE(ListEmpty(ArrowList));
    EXPECT_FALSE(deleteLast->isEnabled() || clearAll->isEnabled());
}

TEST_F(MappingsWindowTest, PressOnThePlotSetsXAtOnceAndADragFollows)
{
    open();
    test::dragOnPlot(window->plotBox(), QPoint(250, 100), QPoint(250, 100));
    EXPECT_DOUBLE_EQ(PointXP, RailValueAt(250, window->plotSize().width(), {-7, 7}));
    EXPECT_EQ(label("Label9"), QString::fromStdString(XValueText(PointXP, 2)));
    const int width = window->plotSize().width();
    test::dragOnPlot(window->plotBox(), QPoint(0, 50), QPoint(width / 4, 300));
    EXPECT_DOUBLE_EQ(PointXP, RailValueAt(width / 4, width, {-7, 7}));
    EXPECT_EQ(control<QLineEdit>("Edit2")->text(), NumberText(PointXP));
}

// Runs the animation until the timer has ticked n times, then turns the switch off.
void animateFor(ToggleSwitch* s, int ticks)
{
    int count = 0;
    QTimer timer;
    QObject::connect(&timer, &QTimer::timeout, [&] {
        if (++count >= ticks) {
            s->setChecked(false);
        }
    });
    timer.start(20);
    s->setChecked(true);
    emit s->clicked();
}

TEST_F(MappingsWindowTest, SpeedDividesTheAnimationStepAndTheDirectionButtonTurnsIt)
{
    open();
    ToggleSwitch* s = control<ToggleSwitch>("Switch1");
    animateFor(s, 5);
    const double fast = PointXP - 1.0;
    EXPECT_GE(fast, 0.07); // at least one whole step of 14 / 200

    PointXP = 1.0;
    control<QSlider>("TrackBar2")->setValue(40);
    animateFor(s, 5);
    const double slow = PointXP - 1.0;
    EXPECT_GE(slow, 0.0);
    EXPECT_LE(slow, 0.02); // a few fortieths of a step, snapped to the bar's hundredths
    EXPECT_FALSE(AnimationRunning);

    PointXP = 1.0;
    control<QSlider>("TrackBar2")->setValue(1);
    QTimer::singleShot(30, [this] { click("SpeedButton25"); });
    animateFor(control<ToggleSwitch>("Switch1"), 8);
    EXPECT_LT(window->mappingStep(), 0.0);
}

TEST_F(MappingsWindowTest, ExampleListTakesATermOnceAndKeepsItForTheNextOpening)
{
    open("x");
    QListWidget* list = control<QListWidget>("ListBox1");
    test::typeInto(control<QLineEdit>("Edit1"), QStringLiteral("sin(x)"));
    click("SpeedButton7");
    click("SpeedButton7");
    ASSERT_EQ(list->count(), 1);
    EXPECT_EQ(list->item(0)->text(), QStringLiteral("sin(x)"));
    window->reject();
    window.reset();
    QFile file(programDir.filePath(QStringLiteral("Bsp5.txt")));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), QByteArray("sin(x)\r\n"));

    open("x");
    list = control<QListWidget>("ListBox1");
    ASSERT_EQ(list->count(), 1);
    list->setCurrentRow(0);
    click("SpeedButton3");
    EXPECT_EQ(control<QLineEdit>("Edit1")->text(), QStringLiteral("sin(x)"));
    EXPECT_EQ(TermCovariation, "sin(x)");
    EXPECT_EQ(label("Label6"), QString::fromStdString(FValueText(std::sin(1.0), 2)));
}

// The list beside the program: every entry fetched fits the edit, compiles and draws its mapping.
TEST_F(MappingsWindowTest, ShippedExamplesEachShowTheirMapping)
{
    QFile shipped(QStringLiteral(KURVEX_SOURCE_DIR "/resources/data/Bsp5.txt"));
    ASSERT_TRUE(shipped.open(QIODevice::ReadOnly));
    writeProgramFile(QStringLiteral("Bsp5.txt"), shipped.readAll().toStdString());
    open("x");
    QListWidget* list = control<QListWidget>("ListBox1");
    ASSERT_GE(list->count(), 8);
    QLineEdit* edit = control<QLineEdit>("Edit1");
    for (int row = 0; row < list->count(); ++row) {
        SCOPED_TRACE(list->item(row)->text().toStdString());
        list->setCurrentRow(row);
        click("SpeedButton3");
        EXPECT_EQ(edit->text(), list->item(row)->text());
        EXPECT_LE(edit->text().size(), edit->maxLength());
        // At x = 1 every one of them has a value to map.
        EXPECT_NE(label("Label6"), QStringLiteral("f(x) = nicht definiert"));
    }
    EXPECT_TRUE(syntaxMessages.empty());
}

TEST_F(MappingsWindowTest, TypingStopsAtFortyCharactersButALongerExampleStaysWhole)
{
    const std::string longTerm = "x+" + std::string(48, '1');
    writeProgramFile(QStringLiteral("Bsp5.txt"), longTerm + "\r\n");
    open("x");
    QLineEdit* edit = control<QLineEdit>("Edit1");
    test::typeInto(edit, QString(45, QLatin1Char('2')));
    EXPECT_EQ(edit->text(), QString(40, QLatin1Char('2')));

    QListWidget* list = control<QListWidget>("ListBox1");
    list->setCurrentRow(0);
    click("SpeedButton3");
    EXPECT_EQ(edit->text().toStdString(), longTerm);
    EXPECT_EQ(TermCovariation, longTerm);
    QTest::keyClick(edit, Qt::Key_Backspace);
    EXPECT_EQ(edit->text().size(), 49); // still shortened from the keyboard
}

TEST_F(MappingsWindowTest, PrintKeepsTheScreenProportionsAndExportHoldsTheRails)
{
    open();
    QTemporaryDir out;
    std::vector<QString> errors;
    PrintExportHooks hooks;
    hooks.chooseFile = [&](QWidget*) {
        return std::optional<SaveChoice>(
            SaveChoice{out.filePath(QStringLiteral("zuordnung.wmf")), MetafileKind::Wmf});
    };
    hooks.showError = [&](QWidget*, const QString& m) { errors.push_back(m); };
    hooks.setupPrinter = [&](QWidget*, QPrinter& printer) {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(out.filePath(QStringLiteral("zuordnung.pdf")));
        return true;
    };
    const ScopedPrintExportHooks scoped(hooks);
    control<QPushButton>("SpeedButton17")->click();
    control<QPushButton>("SpeedButton15")->click();
    EXPECT_TRUE(errors.empty());
    EXPECT_TRUE(QFile::exists(out.filePath(QStringLiteral("zuordnung.pdf"))));
    QFile file(out.filePath(QStringLiteral("zuordnung.wmf")));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    const test::WmfFile wmf = test::ReadWmf(std::vector<std::uint8_t>(bytes.begin(), bytes.end()));
    EXPECT_EQ(wmf.error, "");
    EXPECT_EQ(wmf.boxRight, (kWidth + 1) * 2);
    EXPECT_EQ(wmf.boxBottom, static_cast<int>(std::lround((kWidth + 1) * 2 * 1.25))); // the rails' fifth
    EXPECT_FALSE(Printing);
    EXPECT_EQ(DrawScale, 1.0);

    PrintLayout layout;
    layout.plotWidth = 1654;
    layout.plotHeight = 2 * 1654; // whatever the frame computed from the tick steps
    layout.drawScale = 4.0;
    window->adjustPrintLayout(layout);
    EXPECT_EQ(layout.plotHeight, 1654); // the Cartesian part square, as on the screen
    EXPECT_EQ(layout.clip.bottom - layout.clip.top, static_cast<int>(std::nearbyint((1654 + 4) * 1.25)));
}

TEST_F(MappingsWindowTest, LauncherOpensItWithTheNumberLineModeOnlyWhileItIsOpen)
{
    QString title;
    bool numberLine = false;
    QPointer<MappingsWindow> shown;
    QTimer::singleShot(0, [&] {
        shown = qobject_cast<MappingsWindow*>(QApplication::activeModalWidget());
        if (shown) {
            title = shown->windowTitle();
            numberLine = NumberLineMode;
            shown->reject();
        }
    });
    OpenAnalysisLesson(7, nullptr);
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(title, QStringLiteral("Zuordnungen"));
    EXPECT_TRUE(numberLine);
    EXPECT_FALSE(NumberLineMode);
    EXPECT_FALSE(ModuleOpen);
    EXPECT_TRUE(shown.isNull());
}

} // namespace
} // namespace kurvex
