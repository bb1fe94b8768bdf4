// Tests of the function-graph window: tabs, parameter rows and their guard, vertex, slope triangle,
// tangent, fixed curves, spectrum, animations, term messages, launcher and export.
#include "lessons/FunctionGraphWindow.h"

#include "app/SettingsDialog.h"

#include "app/LessonRegistry.h"
#include "controls/BitCheckBox.h"
#include "controls/ColorButton.h"
#include "controls/EditRoutines.h"
#include "controls/StyleComboBoxes.h"
#include "controls/ToggleSwitch.h"
#include "core/CoordinateSystem.h"
#include "core/FunctionGraph.h"
#include "core/RecordList.h"
#include "core/Settings.h"
#include "core/WorldWindow.h"
#include "lesson/PlotBox.h"
#include "lesson/PrintExportHooks.h"
#include "lesson/ValueRow.h"
#include "platform/RecordingCanvas.h"
#include "support/MetafileConverters.h"
#include "support/LessonWindowTest.h"
#include "support/MetafileReader.h"
#include "support/WindowsState.h"

#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPointer>
#include <QPushButton>
#include <QScrollBar>
#include <QSlider>
#include <QTabBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <iterator>
#include <memory>
#include <string>
#include <tuple>
#include <vector>

namespace kurvex {
namespace {

// Copies of shared variables; calling the result writes them back.
// Each test has its own empty program folder (no settings file: the built-in defaults) and gets
// the shared state back afterwards.
class FunctionGraphWindowTest : public test::ProgramWindowFixture {
protected:
    void SetUp() override
    {
        AnimationDelay = 0;
        InstallApplicationDialogs();
    }

    void TearDown() override { window.reset(); }

    void open(int tab)
    {
        StartTab = tab;
        window = std::make_unique<FunctionGraphWindow>();
        window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    }

    // A world window with exactly 50 pixels per unit on the plot as it is now.
    void exactWorld()
    {
        const QSize s = window->plotBox()->size();
        setWorld({-7, -7 + s.width() / 50.0, 7 - s.height() / 50.0, 7});
        window->refresh();
    }

    // The picture drawn onto a recording canvas through the same passes as printing.
    RecordingCanvas record() { return test::recordPicture(*window); }

    void typeInto(QLineEdit* edit, const QString& text)
    {
        edit->setFocus();
        edit->selectAll();
        QTest::keyClicks(edit, text);
        QTest::keyClick(edit, Qt::Key_Return);
    }

    // Terms are typed after opening: the window loads the settings, which replace the variables.
    void enterTerm(const char* term)
    {
        typeInto(control<QTabBar>("TabControl1")->currentIndex() == 3 ? control<QLineEdit>("Edit12")
                                                                      : control<QLineEdit>("Edit1"),
                 QString::fromUtf8(term));
    }

    void clickBox(BitCheckBox* box)
    {
        QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(6, box->height() / 2));
    }

    // The window's control of that form name; a missing one fails the test.
    template <class T> T* control(const char* name) const { return test::child<T>(window.get(), name); }

    QScrollBar* bar(int row) const { return window->row(row).bar(); }

    void dragOnPlot(QPoint from, QPoint to) const { test::dragOnPlot(window->plotBox(), from, to); }

    void writeSettings(const std::string& text) const
    {
        writeProgramFile(QStringLiteral("Kurvex.ini"), text);
    }

    // Turns the switch on and runs its loop; every 20 ms stop(tick) says whether to turn it off.
    static void animate(ToggleSwitch* s, const std::function<void()>& loop,
                        const std::function<bool(int)>& stop)
    {
        int ticks = 0;
        QTimer timer;
        QObject::connect(&timer, &QTimer::timeout, [&] {
            if (stop(++ticks)) {
                s->setChecked(false);
            }
        });
        timer.start(20);
        s->setChecked(true);
        loop();
    }
    static std::function<bool(int)> afterTicks(int n)
    {
        return [n](int tick) { return tick >= n; };
    }

    // Everything the window reads or writes in the shared state.
    std::vector<std::string>& messages = syntaxMessages;
    std::unique_ptr<FunctionGraphWindow> window;
};

bool hasPoint(const std::vector<Point>& pts, Point p, int tolerance = 0)
{
    return std::any_of(pts.begin(), pts.end(), [&](Point q) {
        return std::abs(q.x - p.x) <= tolerance && std::abs(q.y - p.y) <= tolerance;
    });
}

// End points of every line drawn in the colour.
std::vector<Point> linePoints(const RecordingCanvas& c, TColor color)
{
    std::vector<Point> pts;
    for (const CanvasCall& call : c.callsOf(CanvasOp::LineTo)) {
        if (call.pen.color == color) {
            pts.insert(pts.end(), call.points.begin(), call.points.end());
        }
    }
    return pts;
}

// Polygons filled in the triangle colour (the axes' arrow heads are polygons too).
std::vector<CanvasCall> trianglePolygons(const RecordingCanvas& c)
{
    std::vector<CanvasCall> out;
    const auto all = c.callsOf(CanvasOp::Polygon);
    std::copy_if(all.begin(), all.end(), std::back_inserter(out), [](const CanvasCall& call) {
        return call.brush.color == TriangleColor && call.brush.style == BrushStyle::Solid;
    });
    return out;
}

Point pixel(double x, double y)
{
    return {WorldToPixelX(x), WorldToPixelY(y)};
}

// ---------------------------------------------------------------------------------------------
// Tabs

TEST_F(FunctionGraphWindowTest, OpensOnTheStartTabWithItsKindAndControls)
{
    struct TabCase {
        int tab;
        int kind;
        bool cRow, dRow, panel4, trackBar1, vertexBoxes;
        const char* label4;
        const char* captionB;
    };
    const TabCase cases[] = {
        {0, kKindLine, false, false, true, true, false, nullptr, "c ="},
        {1, kKindQuadratic, true, false, false, false, true, nullptr, "b ="},
        {2, kKindVertexForm, true, false, false, false, true, nullptr, "u ="},
        {3, kKindShifted, true, false, true, false, false, "f(x) =", "u ="},
        {4, kKindTerm, true, true, true, false, false, "  y =", "b ="},
    };
    for (const TabCase& c : cases) {
        open(c.tab);
        SCOPED_TRACE(c.tab);
        EXPECT_EQ(control<QTabBar>("TabControl1")->currentIndex(), c.tab);
        EXPECT_EQ(CurveKind, c.kind);
        EXPECT_EQ(control<QLabel>("Label8")->text(), control<QTabBar>("TabControl1")->tabText(c.tab));
        EXPECT_EQ((&window->row(2))->isVisible(), c.cRow);
        EXPECT_EQ((&window->row(3))->isVisible(), c.dRow);
        EXPECT_EQ(control<QWidget>("Panel4")->isVisible(), c.panel4);
        EXPECT_EQ(control<QSlider>("TrackBar1")->isVisible(), c.trackBar1);
        EXPECT_EQ(control<BitCheckBox>("BitCheckBox6")->isVisible(), c.vertexBoxes);
        EXPECT_EQ(control<BitCheckBox>("BitCheckBox4")->isVisible(), c.tab >= 3);
        EXPECT_EQ(window->helpButton()->isVisible(), c.tab >= 3);
        EXPECT_EQ(control<QLineEdit>("Edit1")->isVisible(), c.tab == 4);
        EXPECT_EQ(control<QLineEdit>("Edit12")->isVisible(), c.tab == 3);
        if (c.label4 != nullptr) {
            EXPECT_EQ(control<QLabel>("Label4")->text(), QString::fromUtf8(c.label4));
        }
        EXPECT_EQ(window->row(1).captionLabel()->text(), QString::fromUtf8(c.captionB));
        window.reset();
    }
}

TEST_F(FunctionGraphWindowTest, DerivativeStaysOverARefreshAndGoesWithTabsZeroToTwo)
{
    for (const int tab : {0, 1, 2}) {
        open(4);
        clickBox(control<BitCheckBox>("BitCheckBox1"));
        ASSERT_TRUE(ShowDerivative);
        window->refresh();
        EXPECT_TRUE(ShowDerivative);
        EXPECT_TRUE(control<BitCheckBox>("BitCheckBox1")->Checked());
        control<QTabBar>("TabControl1")->setCurrentIndex(3);
        EXPECT_TRUE(ShowDerivative);
        control<QTabBar>("TabControl1")->setCurrentIndex(tab);
        EXPECT_FALSE(ShowDerivative) << tab;
        EXPECT_FALSE(control<BitCheckBox>("BitCheckBox1")->Checked()) << tab;
        window.reset();
    }
}

TEST_F(FunctionGraphWindowTest, CurveAndDerivativeOfBothTermTabs)
{
    // Tab 4: x² and 2x; tab 3 with a = 2, u = 1, v = 3: 2(x - 1)² + 3 and 4(x - 1), at x = 2.
    const struct {
        int tab;
        Point curve;
        Point derivative;
    } cases[] = {{4, {2, 4}, {2, 4}}, {3, {2, 5}, {2, 4}}};
    for (const auto& k : cases) {
        open(k.tab);
        enterTerm("x^2");
        exactWorld();
        SetCurrentParams({k.tab == 3 ? 2.0 : 1.0, k.tab == 3 ? 1.0 : 0.0, k.tab == 3 ? 3.0 : 0.0, 0, 0});
        GraphColor = 0x0000AA;
        Deriv1Color = 0x00AA00;
        window->refresh();
        clickBox(control<BitCheckBox>("BitCheckBox1"));
        const RecordingCanvas c = record();
        EXPECT_TRUE(hasPoint(linePoints(c, 0x0000AA), pixel(k.curve.x, k.curve.y), 2)) << k.tab;
        EXPECT_TRUE(hasPoint(linePoints(c, 0x00AA00), pixel(k.derivative.x, k.derivative.y), 2)) << k.tab;
        window.reset();
    }
}

// ---------------------------------------------------------------------------------------------
// Vertex

TEST_F(FunctionGraphWindowTest, VertexTextAndMarkByTab)
{
    open(1);
    exactWorld();
    SetCurrentParams({1, -2, 0, 0, 0});
    window->refresh();
    EXPECT_TRUE(control<QLabel>("Label5")->isHidden());
    clickBox(control<BitCheckBox>("BitCheckBox6"));
    EXPECT_TRUE(control<QLabel>("Label5")->isVisible());
    EXPECT_EQ(control<QLabel>("Label5")->text(), QStringLiteral("S(1,00|-1,00)"));
    const RecordingCanvas c = record();
    const Point v = pixel(1, -1);
    const auto ellipses = c.callsOf(CanvasOp::Ellipse);
    ASSERT_EQ(ellipses.size(), 1u);
    EXPECT_EQ(ellipses[0].rect, (Rect{v.x - 3, v.y - 3, v.x + 4, v.y + 4}));
    EXPECT_EQ(ellipses[0].pen.width, 2);

    // Tab 2 shows (u|v) itself; values on the bar grid, which a refresh snaps to.
    control<QTabBar>("TabControl1")->setCurrentIndex(2);
    SetCurrentParams({-0.52, 1.2, -2.24, 0, 0});
    window->refresh();
    EXPECT_EQ(control<QLabel>("Label5")->text(), QStringLiteral("S(1,20|-2,24)"));

    // Left on in tab 4: neither text nor mark.
    control<QTabBar>("TabControl1")->setCurrentIndex(4);
    EXPECT_TRUE(window->vertexMarked());
    EXPECT_FALSE(control<QLabel>("Label5")->isVisible());
    EXPECT_EQ(record().count(CanvasOp::Ellipse), 0u);
}

TEST_F(FunctionGraphWindowTest, VertexTextKeepsItsLineWhetherShownOrNot)
{
    open(1);
    SetCurrentParams({1, -2, 0, 0, 0});
    window->refresh();
    const auto below = [this] {
        return control<QToolButton>("SpeedButton6")->mapTo(window.get(), QPoint(0, 0));
    };
    const QPoint hidden = below();
    ASSERT_TRUE(control<QLabel>("Label5")->isHidden());
    clickBox(control<BitCheckBox>("BitCheckBox6"));
    ASSERT_TRUE(control<QLabel>("Label5")->isVisible());
    QApplication::processEvents();
    EXPECT_EQ(below(), hidden);
}

TEST_F(FunctionGraphWindowTest, PointFieldFollowsADragOfThePoint)
{
    open(4);
    exactWorld();
    enterTerm("x^2");
    clickBox(control<BitCheckBox>("BitCheckBox4")); // "Tangente": the drag moves the point
    const Point from = pixel(0, 0);
    const Point target = pixel(1.5, 0);
    dragOnPlot(QPoint(from.x, from.y), QPoint(target.x, target.y));
    EXPECT_NEAR(CurrentX, 1.5, 1e-9);
    EXPECT_EQ(control<QLineEdit>("Edit11")->text(), QStringLiteral("1,50"));
}

TEST_F(FunctionGraphWindowTest, ColourButtonShowsTheCurveColourAfterTheSettings)
{
    open(0);
    // What the settings dialog's colour button or its defaults leave behind.
    GraphColor = 0x00A0B0;
    window->refresh();
    EXPECT_EQ(control<ColorButton>("ColorButton1")->SelectionColor(), GraphColor);
}

TEST_F(FunctionGraphWindowTest, VertexDragMovesTheVertexOntoTheBarGridAndNeedsASquare)
{
    open(1);
    exactWorld();
    SetCurrentParams({0, 1, 1, 0, 0});
    window->refresh();
    clickBox(control<BitCheckBox>("BitCheckBox3"));
    ASSERT_TRUE(VertexDrag);
    // With a = 0 there is no vertex: b and c stay, and a vertex drag never moves the point.
    const Point target = pixel(1, 2);
    dragOnPlot(QPoint(10, 10), QPoint(target.x, target.y));
    EXPECT_EQ(ParamB, 1);
    EXPECT_EQ(ParamC, 1);
    EXPECT_EQ(CurrentX, 0);

    SetCurrentParams({1, -2, 0, 0, 0});
    window->refresh();
    dragOnPlot(QPoint(10, 10), QPoint(target.x, target.y));
    EXPECT_NEAR(ParamA, 1, 1e-12);
    EXPECT_NEAR(ParamB, -2, 1e-12);
    EXPECT_NEAR(ParamC, 3, 1e-12);
    EXPECT_EQ(window->row(2).valueEdit()->text(), QStringLiteral("3,00"));
    EXPECT_EQ(bar(2)->value(), 175);
    EXPECT_EQ(control<QLabel>("Label5")->text(), QStringLiteral("S(1,00|2,00)"));
}

// ---------------------------------------------------------------------------------------------
// Slope triangle, tangent, f' marker

TEST_F(FunctionGraphWindowTest, SlopeTriangleOfTheLineAndItsDoubledLegs)
{
    open(0);
    exactWorld();
    ParamA = 2;
    ParamB = 1;
    CurrentX = 0;
    window->refresh();
    clickBox(control<BitCheckBox>("BitCheckBox2"));
    ASSERT_TRUE(window->slopeTriangleShown());

    RecordingCanvas c = record();
    auto polygons = trianglePolygons(c);
    ASSERT_EQ(polygons.size(), 1u);
    EXPECT_EQ(polygons[0].points, (std::vector<Point>{pixel(0, 1), pixel(1, 1), pixel(1, 3)}));
    EXPECT_TRUE(hasPoint(linePoints(c, clGreen), pixel(1, 1)));
    EXPECT_TRUE(hasPoint(linePoints(c, clRed), pixel(1, 3)));

    control<QSlider>("TrackBar1")->setValue(8);
    EXPECT_EQ(StepWidth, 2.0);
    polygons = trianglePolygons(record());
    ASSERT_EQ(polygons.size(), 1u);
    EXPECT_EQ(polygons[0].points, (std::vector<Point>{pixel(0, 1), pixel(2, 1), pixel(2, 5)}));

    // Reset of the point: x back to 0 and the step back to 1.
    CurrentX = 3;
    QTest::mouseClick(control<QToolButton>("SpeedButton13"), Qt::LeftButton);
    EXPECT_EQ(CurrentX, 0);
    EXPECT_EQ(control<QSlider>("TrackBar1")->value(), 4);
    EXPECT_EQ(StepWidth, 1.0);
}

TEST_F(FunctionGraphWindowTest, TangentSpansTwiceItsLengthAtSlopeZeroAndLessAtSlopeOne)
{
    const struct {
        const char* term;
        double x0;
        double expectedSpan; // horizontal, in units
    } cases[] = {
        {"x^2", 0, 2 * 2.0 * 1.0},
        {"x", 1, 2 * 2.0 * 1.0 / std::sqrt(2.0)},
    };
    for (const auto& k : cases) {
        open(4);
        enterTerm(k.term);
        exactWorld();
        TangentLength = 2.0;
        TangentLineColor = 0x123456;
        CurrentX = k.x0;
        SetCurrentParams({1.52, 0.48, 0, 0, 0});
        window->refresh();
        clickBox(control<BitCheckBox>("BitCheckBox4"));
        ASSERT_TRUE(window->tangentShown());
        const CurveParams before = CurrentParams();
        const RecordingCanvas c = record();
        ASSERT_EQ(XTickStep, 1.0);
        const auto pts = linePoints(c, 0x123456);
        ASSERT_FALSE(pts.empty()) << k.term;
        const auto [lo, hi] =
            std::minmax_element(pts.begin(), pts.end(), [](Point p, Point q) { return p.x < q.x; });
        // Samples every second column: the ends are found to within two pixels.
        EXPECT_NEAR((hi->x - lo->x) / 50.0, k.expectedSpan, 0.06) << k.term;
        EXPECT_FALSE(linePoints(c, clSilver).empty()) << k.term;
        // The tangent borrows a, b and the kind while it is drawn.
        EXPECT_TRUE(CurrentParams() == before);
        EXPECT_EQ(CurveKind, kKindTerm);
        window.reset();
    }
}

TEST_F(FunctionGraphWindowTest, NoTangentTriangleOrMarkerWhereTheFunctionIsUndefined)
{
    open(4);
    enterTerm("ln(x)");
    TangentLineColor = 0x123456;
    CurrentX = -1;
    window->refresh();
    clickBox(control<BitCheckBox>("BitCheckBox4"));
    clickBox(control<BitCheckBox>("BitCheckBox2"));
    clickBox(control<BitCheckBox>("BitCheckBox1"));
    RecordingCanvas c = record();
    EXPECT_TRUE(linePoints(c, 0x123456).empty());
    EXPECT_TRUE(linePoints(c, clSilver).empty());
    EXPECT_TRUE(trianglePolygons(c).empty());

    // Defined at x = 2: all three are there, the f' marker from the axis up to 1/2.
    CurrentX = 2;
    c = record();
    EXPECT_FALSE(linePoints(c, 0x123456).empty());
    EXPECT_EQ(trianglePolygons(c).size(), 1u);
    EXPECT_TRUE(hasPoint(linePoints(c, clRed), pixel(2, 0.5), 1));
}

// ---------------------------------------------------------------------------------------------
// Parameter rows

TEST_F(FunctionGraphWindowTest, BarStepsOnItsGridAndATypedValueKeepsItsDigits)
{
    open(4);
    bar(0)->setValue(1);
    EXPECT_NEAR(ParamA, -3.96, 1e-12);
    EXPECT_EQ(window->row(0).valueEdit()->text(), QStringLiteral("-3,96"));

    typeInto(window->row(0).valueEdit(), QStringLiteral("1,234"));
    EXPECT_DOUBLE_EQ(ParamA, 1.234);
    EXPECT_EQ(bar(0)->value(), 131);
    window->refresh();
    EXPECT_DOUBLE_EQ(ParamA, 1.234);
    // The next bar step snaps to the grid again.
    bar(0)->setValue(132);
    EXPECT_NEAR(ParamA, 1.28, 1e-12);
}

TEST_F(FunctionGraphWindowTest, RangeWithoutRoomFallsBackToTheStartRange)
{
    writeSettings("[Parameter]\r\nb1=3\r\nb2=3\r\n");
    open(4);
    EXPECT_LT(ParamBMin, ParamBMax);
    bar(1)->setValue(1);
    EXPECT_TRUE(std::isfinite(ParamB));
    EXPECT_LT(ParamB, ParamBMax);

    IniSettings.a1 = -5;
    IniSettings.a2 = 5;
    typeInto(window->row(0).maxEdit(), QStringLiteral("2"));
    EXPECT_EQ(ParamAMax, 2);
    typeInto(window->row(0).minEdit(), QStringLiteral("3"));
    EXPECT_EQ(ParamAMin, -5);
    EXPECT_EQ(ParamAMax, 5);
    EXPECT_EQ(window->row(0).minEdit()->text(), QStringLiteral("-5,00"));
    EXPECT_EQ(window->row(0).maxEdit()->text(), QStringLiteral("5,00"));
}

TEST_F(FunctionGraphWindowTest, ResetButtonTakesTheStartValues)
{
    open(4);
    IniSettings.b = 1.5;
    IniSettings.b1 = -2;
    IniSettings.b2 = 2;
    ParamB = 3;
    QTest::mouseClick(window->row(1).resetButton(), Qt::LeftButton);
    EXPECT_DOUBLE_EQ(ParamB, 1.5);
    EXPECT_EQ(ParamBMin, -2);
    EXPECT_EQ(ParamBMax, 2);
    EXPECT_EQ(bar(1)->value(), 175);
}

// ---------------------------------------------------------------------------------------------
// Terms

TEST_F(FunctionGraphWindowTest, WrongTermGivesOneMessageFromTheEditOnly)
{
    open(4);
    typeInto(control<QLineEdit>("Edit1"), QStringLiteral("sin(x+"));
    ASSERT_EQ(messages.size(), 1u);
    // Leaving the untouched edit again reports nothing new.
    control<QLineEdit>("Edit1")->setFocus();
    QTest::keyClick(control<QLineEdit>("Edit1"), Qt::Key_Return);
    EXPECT_EQ(TermGeneral, "sin(x+");
    window->refresh();
    control<QTabBar>("TabControl1")->setCurrentIndex(3);
    control<QTabBar>("TabControl1")->setCurrentIndex(4);
    EXPECT_EQ(messages.size(), 1u);
    // The curve of "0" is drawn meanwhile.
    EXPECT_EQ(EvaluateTerm(ParsedTerm, 1, 0, 0, 0, 0, 0, 0), 0.0);

    typeInto(control<QLineEdit>("Edit1"), QStringLiteral("x^2"));
    EXPECT_EQ(messages.size(), 1u);
    EXPECT_EQ(TermGeneral, "x^2");
    EXPECT_EQ(EvaluateTerm(ParsedTerm, 3, 0, 0, 0, 0, 0, 0), 9.0);
}

// A term typed and then left by a click on another tab is taken, as leaving the edit would.
TEST_F(FunctionGraphWindowTest, TermTypedBeforeATabClickIsTakenWithTheClick)
{
    open(4);
    // An active window moves the focus away from a hidden edit, as on the desktop.
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    typeInto(control<QLineEdit>("Edit1"), QStringLiteral("x^2"));
    QTabBar* tabs = control<QTabBar>("TabControl1");
    const auto clickTab = [tabs](int tab) {
        QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->tabRect(tab).center());
    };

    control<QLineEdit>("Edit1")->setFocus();
    control<QLineEdit>("Edit1")->selectAll();
    QTest::keyClicks(control<QLineEdit>("Edit1"), QStringLiteral("x^3"));
    clickTab(0);
    clickTab(4);
    EXPECT_EQ(TermGeneral, "x^3");
    EXPECT_EQ(control<QLineEdit>("Edit1")->text(), QStringLiteral("x^3"));
    EXPECT_EQ(EvaluateTerm(ParsedTerm, 2, 0, 0, 0, 0, 0, 0), 8.0);
    EXPECT_TRUE(messages.empty());

    // A wrong one gives its one message on the way out, and the curve of "0" is drawn.
    control<QLineEdit>("Edit1")->setFocus();
    control<QLineEdit>("Edit1")->selectAll();
    QTest::keyClicks(control<QLineEdit>("Edit1"), QStringLiteral("2x+*3"));
    clickTab(3);
    clickTab(4);
    EXPECT_EQ(messages.size(), 1u);
    EXPECT_EQ(TermGeneral, "2x+*3");
    EXPECT_EQ(EvaluateTerm(ParsedTerm, 2, 0, 0, 0, 0, 0, 0), 0.0);

    // The same through the shifted term's tab.
    clickTab(3);
    control<QLineEdit>("Edit12")->setFocus();
    control<QLineEdit>("Edit12")->selectAll();
    QTest::keyClicks(control<QLineEdit>("Edit12"), QStringLiteral("x+1"));
    clickTab(4);
    clickTab(3);
    EXPECT_EQ(TermShifted, "x+1");
    EXPECT_EQ(EvaluateTerm(ParsedTerm, 2, 0, 0, 0, 0, 0, 0), 3.0);

    // And a value in the d row, which the other tabs hide.
    clickTab(4);
    QLineEdit* dEdit = window->row(3).valueEdit();
    dEdit->setFocus();
    dEdit->selectAll();
    QTest::keyClicks(dEdit, QStringLiteral("2"));
    clickTab(0);
    EXPECT_EQ(ParamD, 2.0);
    EXPECT_EQ(messages.size(), 1u);
}

TEST_F(FunctionGraphWindowTest, WrongTermFromTheSettingsIsReportedOnceWhenLoaded)
{
    writeSettings("[Funktionsterme]\r\nf(x,a,b,c,d)=2*(x+\r\n");
    LoadSettings(); // as the launcher does at start
    open(4);
    EXPECT_EQ(messages.size(), 1u);
    window->refresh();
    control<QTabBar>("TabControl1")->setCurrentIndex(0);
    control<QTabBar>("TabControl1")->setCurrentIndex(4);
    EXPECT_EQ(messages.size(), 1u);
}

TEST_F(FunctionGraphWindowTest, TermLongerThanItsVariableIsReportedAsTooLongNotCut)
{
    open(4);
    enterTerm("x^2");
    messages.clear();
    // 122 characters that would compile: cutting them at 120 would break "sin" into "si".
    const QString longTerm = QStringLiteral("x+").repeated(58) + QStringLiteral("sin(x)");
    ASSERT_EQ(longTerm.size(), 122);
    typeInto(control<QLineEdit>("Edit1"), longTerm);
    EXPECT_EQ(control<QLineEdit>("Edit1")->text(), longTerm); // the typed text stays for shortening
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0], "Der Term ist zu lang: h\xF6"
                           "chstens 120 Zeichen.");
    EXPECT_EQ(TermGeneral, "x^2");
    EXPECT_EQ(EvaluateTerm(ParsedTerm, 3, 0, 0, 0, 0, 0, 0), 9.0);

    // Shortened to the limit it is taken.
    typeInto(control<QLineEdit>("Edit1"), QStringLiteral("x+").repeated(57) + QStringLiteral("sin(x)"));
    EXPECT_EQ(messages.size(), 1u);
    EXPECT_EQ(TermGeneral.size(), 120u);
}

TEST_F(FunctionGraphWindowTest, TermTypedInThisRunIsThereWhenTheWindowOpensAgain)
{
    writeSettings("[Funktionsterme]\r\nf(x,a,b,c,d)=sin(x)\r\naf(x-u)+v=cos(x)\r\n");
    LoadSettings();
    open(4);
    EXPECT_EQ(control<QLineEdit>("Edit1")->text(), QStringLiteral("sin(x)"));
    enterTerm("x^3");
    control<QTabBar>("TabControl1")->setCurrentIndex(3);
    enterTerm("x+1");
    window.reset();

    open(4);
    EXPECT_EQ(control<QLineEdit>("Edit1")->text(), QStringLiteral("x^3"));
    EXPECT_EQ(TermGeneral, "x^3");
    EXPECT_EQ(EvaluateTerm(ParsedTerm, 2, 0, 0, 0, 0, 0, 0), 8.0);
    EXPECT_EQ(control<QLineEdit>("Edit12")->text(), QStringLiteral("x+1"));
    EXPECT_EQ(TermShifted, "x+1");
}

// ---------------------------------------------------------------------------------------------
// Fixed curves and spectrum

TEST_F(FunctionGraphWindowTest, ObjectListKeepsNewestFirstAndDeletesTheLast)
{
    open(0);
    exactWorld();
    EXPECT_FALSE(control<QToolButton>("SpeedButton12")->isEnabled());
    EXPECT_FALSE(control<QToolButton>("SpeedButton5")->isEnabled());
    const TColor colours[3] = {0x0000A1, 0x0000A2, 0x0000A3};
    for (int i = 0; i < 3; ++i) {
        SetCurrentParams({i + 1.0, 0, 0, 0, 0});
        GraphColor = colours[i];
        QTest::mouseClick(control<QToolButton>("SpeedButton6"), Qt::LeftButton);
    }
    EXPECT_TRUE(control<QToolButton>("SpeedButton12")->isEnabled());
    QTest::mouseClick(control<QToolButton>("SpeedButton12"), Qt::LeftButton);
    ASSERT_EQ(ListCount(ObjectList), 2u);
    ListRecord rec;
    ListGet(ObjectList, 1, rec);
    EXPECT_EQ(rec.value[0], 2);
    EXPECT_EQ(rec.color, colours[1]);

    GraphColor = clBlack;
    RecordingCanvas c = record();
    EXPECT_TRUE(hasPoint(linePoints(c, colours[0]), pixel(2, 2), 2));
    EXPECT_TRUE(hasPoint(linePoints(c, colours[1]), pixel(2, 4), 2));
    EXPECT_TRUE(linePoints(c, colours[2]).empty());

    // Another tab draws the same parameter sets with its own formula: a·x² now.
    control<QTabBar>("TabControl1")->setCurrentIndex(1);
    c = record();
    EXPECT_TRUE(hasPoint(linePoints(c, colours[0]), pixel(2, 4), 2));
    EXPECT_TRUE(hasPoint(linePoints(c, colours[1]), pixel(1, 2), 2));

    QTest::mouseClick(control<QToolButton>("SpeedButton5"), Qt::LeftButton);
    EXPECT_TRUE(ListEmpty(ObjectList));
    EXPECT_FALSE(control<QToolButton>("SpeedButton12")->isEnabled());
    EXPECT_FALSE(control<QToolButton>("SpeedButton5")->isEnabled());
}

TEST_F(FunctionGraphWindowTest, FixedCurveIsTracedIntoTheBackgroundAtOnce)
{
    open(0);
    exactWorld();
    SetCurrentParams({0, 2.5, 0, 0, 0});
    GraphColor = clBlue;
    QTest::mouseClick(control<QToolButton>("SpeedButton6"), Qt::LeftButton);
    ParamB = -2.5;
    window->drawPicture();
    const QImage& shown = *window->plotBox()->picture();
    // Points off the grid lines, whose grey would show through.
    const Point fixed = pixel(3.3, 2.5);
    const Point moved = pixel(3.3, -2.5);
    EXPECT_EQ(shown.pixel(fixed.x, fixed.y) & 0xFFFFFF, 0x0000FFu); // clBlue as RGB
    EXPECT_EQ(shown.pixel(moved.x, moved.y) & 0xFFFFFF, 0x0000FFu);
}

TEST_F(FunctionGraphWindowTest, SpectrumStartsAtOneColoursTheCurveAndIsKeptOverRefreshes)
{
    SpectrumIndex = 7;
    open(4);
    EXPECT_EQ(SpectrumIndex, 1);
    EXPECT_EQ(control<QSlider>("TrackBar2")->value(), 1);
    GraphColor = 0x112233;
    control<QSlider>("TrackBar2")->setValue(12);
    EXPECT_EQ(SpectrumIndex, 12);
    clickBox(control<BitCheckBox>("BitCheckBox9"));
    ASSERT_TRUE(UseSpectrum);
    bar(0)->setValue(100); // a = 0, the middle of -4..4
    EXPECT_EQ(GraphColor, 0x808080u);
    window->refresh();
    EXPECT_EQ(control<QSlider>("TrackBar2")->value(), 12);
    control<QSlider>("TrackBar2")->setValue(1);
    bar(0)->setValue(200);
    EXPECT_EQ(GraphColor, 0x0100FEu);
    clickBox(control<BitCheckBox>("BitCheckBox9"));
    EXPECT_FALSE(UseSpectrum);
    EXPECT_EQ(GraphColor, 0x112233u);
}

TEST_F(FunctionGraphWindowTest, SettingsFromButtonOrPanelRightClickEmptyTheObjectList)
{
    open(0);
    QWidget* panel = window->findChild<QWidget*>(QStringLiteral("Panel1"));
    ASSERT_NE(panel, nullptr);
    const std::function<void()> openers[] = {
        [&] {
            QTest::mouseClick(window->findChild<QPushButton*>(QStringLiteral("SpeedButton14")),
                              Qt::LeftButton);
        },
        [&] {
            QTest::mouseClick(panel, Qt::RightButton, {},
                              QPoint(panel->width() / 2, panel->height() / 2 + 40));
        },
    };
    for (const auto& openSettings : openers) {
        QTest::mouseClick(control<QToolButton>("SpeedButton6"), Qt::LeftButton);
        ASSERT_FALSE(ListEmpty(ObjectList));
        // Closes the settings dialog as soon as it is open.
        QTimer::singleShot(0, [] {
            for (QWidget* w : QApplication::topLevelWidgets()) {
                if (w->isVisible() && w->windowTitle() == QStringLiteral("Einstellungen")) {
                    w->close();
                }
            }
        });
        openSettings();
        EXPECT_TRUE(ListEmpty(ObjectList));
        EXPECT_FALSE(control<QToolButton>("SpeedButton5")->isEnabled());
    }
}

// ---------------------------------------------------------------------------------------------
// Animations

TEST_F(FunctionGraphWindowTest, AnimationOfATurnsAtTheEndOfItsRangeAndStopsOnTheGrid)
{
    open(4);
    ParamA = 3.9;
    window->refresh();
    double highest = ParamA;
    // Every step shows its value; a timer alone could sample on either side of the turn.
    const QMetaObject::Connection everyStep = QObject::connect(
        window->row(0).valueEdit(), &QLineEdit::textChanged, [&] { highest = std::max(highest, ParamA); });
    animate(
        window->row(0).toggle(), [&] { emit window->row(0).toggle()->clicked(); },
        [&](int) { return ParamA < 3.8; });
    QObject::disconnect(everyStep);
    EXPECT_LT(highest, 4.0 + 0.04 + 1e-9);
    EXPECT_GE(highest, 4.0 - 1e-9);
    EXPECT_LT(ParamA, 3.8);
    EXPECT_FALSE(AnimationRunning);
    const double steps = (ParamA - ParamAMin) / 0.04;
    EXPECT_NEAR(steps, std::nearbyint(steps), 1e-9);
    EXPECT_EQ(bar(0)->value(), window->row(0).grid().position(ParamA));
    EXPECT_EQ(window->row(0).valueEdit()->text(), NumberText(ParamA));
}

TEST_F(FunctionGraphWindowTest, FixedFamilyAddsACurvePerStepUpToItsBound)
{
    open(4);
    clickBox(control<BitCheckBox>("BitCheckBox10"));
    ASSERT_TRUE(FixFamily);
    bar(0)->setValue(bar(0)->value() + 1);
    bar(0)->setValue(bar(0)->value() + 1);
    ASSERT_EQ(ListCount(ObjectList), 2u);
    ListRecord rec;
    ListGet(ObjectList, 1, rec);
    EXPECT_DOUBLE_EQ(rec.value[0], ParamA);
    EXPECT_TRUE(control<QToolButton>("SpeedButton5")->isEnabled());
    while (ListCount(ObjectList) + 2 < kMaxFamilyCurves) {
        ListInsert(ObjectList, 1, MakeObjectRecord());
    }
    animate(
        window->row(0).toggle(), [&] { emit window->row(0).toggle()->clicked(); }, afterTicks(6));
    EXPECT_EQ(ListCount(ObjectList), kMaxFamilyCurves);
}

TEST_F(FunctionGraphWindowTest, PointAnimationMovesXByHalfAStepOfTheWindow)
{
    open(4);
    CurrentX = 0;
    animate(
        control<ToggleSwitch>("Switch4"), [&] { emit control<ToggleSwitch>("Switch4")->clicked(); },
        afterTicks(5));
    const double step = (XMax - XMin) / (2.0 * AnimationSteps);
    EXPECT_GT(CurrentX, 0);
    EXPECT_NEAR(CurrentX / step, std::nearbyint(CurrentX / step), 1e-6);
    EXPECT_EQ(control<QLineEdit>("Edit11")->text(), NumberText(CurrentX));
}

TEST_F(FunctionGraphWindowTest, DirectionButtonReversesTheRunningAnimation)
{
    open(4);
    const double start = ParamB;
    animate(
        window->row(1).toggle(), [&] { emit window->row(1).toggle()->clicked(); },
        [&](int tick) {
            if (tick == 1) {
                QTest::mouseClick(window->row(1).directionButton(), Qt::LeftButton);
            }
            return tick >= 8;
        });
    EXPECT_LT(ParamB, start);
}

TEST_F(FunctionGraphWindowTest, CloseDuringAnAnimationClosesAfterTheLoop)
{
    open(4);
    ToggleSwitch* s = window->row(0).toggle();
    QTimer::singleShot(60, window.get(), [this] { window->reject(); });
    s->setChecked(true);
    emit s->clicked();
    EXPECT_FALSE(window->animationLoopActive());
    EXPECT_FALSE(s->Checked());
    EXPECT_FALSE(window->isVisible());
    EXPECT_EQ(window->result(), QDialog::Rejected);
}

// ---------------------------------------------------------------------------------------------
// Launcher and export

TEST_F(FunctionGraphWindowTest, LauncherEntriesOpenTheirTabs)
{
    for (const LessonEntry& entry : FunctionGraphLessons()) {
        int seenTab = -1;
        QString title;
        QPointer<FunctionGraphWindow> shown;
        QTimer::singleShot(0, [&] {
            shown = qobject_cast<FunctionGraphWindow*>(QApplication::activeModalWidget());
            if (shown) {
                seenTab = shown->findChild<QTabBar*>(QStringLiteral("TabControl1"))->currentIndex();
                title = shown->windowTitle();
                shown->reject();
            }
        });
        OpenFunctionGraph(entry.imageIndex, nullptr);
        QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        EXPECT_EQ(seenTab, entry.imageIndex - 1);
        EXPECT_EQ(title, QStringLiteral("Funktionsgraphen"));
        EXPECT_TRUE(shown.isNull()); // freed on close
    }
}

TEST_F(FunctionGraphWindowTest, MetafileExportFromTheWindowLeavesTheScreenAsItWas)
{
    QTemporaryDir out;
    const test::ScopedExportTo exportTo({out.filePath(QStringLiteral("kurve.wmf")), MetafileKind::Wmf});
    open(4);
    enterTerm("sin(x)");
    const QImage before = window->plotBox()->picture()->copy();
    const QSize plot = window->plotBox()->size();
    QTest::mouseClick(window->findChild<QPushButton*>(QStringLiteral("SpeedButton17")), Qt::LeftButton);

    QFile file(out.filePath(QStringLiteral("kurve.wmf")));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    const test::WmfFile wmf = test::ReadWmf(std::vector<std::uint8_t>(bytes.begin(), bytes.end()));
    EXPECT_EQ(wmf.error, "");
    EXPECT_EQ(wmf.boxRight, (plot.width() + 1) * 4);
    EXPECT_EQ(wmf.boxBottom, (plot.height() + 1) * 4);
    EXPECT_FALSE(Printing);
    EXPECT_EQ(DrawScale, 1.0);
    EXPECT_EQ(*window->plotBox()->picture(), before);
}

// The red leg of the slope triangle starts where the green leg ends, after a pen change; another
// program must draw it from the exported file.
TEST_F(FunctionGraphWindowTest, SlopeTriangleLegsReachIndependentReaders)
{
    QTemporaryDir out;
    test::ScopedExportTo exportTo;
    SaveChoice& choice = exportTo.choice;
    GraphColor = clBlack;
    open(4);
    enterTerm("x^2/4");
    CurrentX = 2;
    clickBox(control<BitCheckBox>("BitCheckBox2"));
    for (const MetafileKind kind : {MetafileKind::Wmf, MetafileKind::Emf}) {
        const bool wmf = kind == MetafileKind::Wmf;
        SCOPED_TRACE(wmf ? "wmf" : "emf");
        choice = {out.filePath(wmf ? QStringLiteral("dreieck.wmf") : QStringLiteral("dreieck.emf")), kind};
        QTest::mouseClick(window->findChild<QPushButton*>(QStringLiteral("SpeedButton17")), Qt::LeftButton);
        const test::SvgRendering r = test::RenderMetafileAsSvg(choice.path, kind);
        ASSERT_EQ(r.error.toStdString(), "");
        EXPECT_TRUE(r.svg.contains(test::RedStrokeMark(kind)));
    }
}

} // namespace
} // namespace kurvex
