// Tangent-problem window through its widgets: secant and tangent of x², Q on P, an undefined Q,
// fixed secants around a moved P, the bars, the drag and sweep of Q, far values, term messages,
// the example list "Bsp3.txt" and its file.
#include "tests/lessons/TangentWindowTestSupport.h"

#include "controls/BitCheckBox.h"
#include "controls/ColorButton.h"
#include "controls/EditRoutines.h"
#include "controls/ToggleSwitch.h"
#include "lesson/PlotBox.h"
#include "lesson/ValueRow.h"

#include <QScrollBar>

namespace kurvex {
namespace {

using test::AllOnLine;
using test::ColumnRange;
using test::ReadBytes;
using test::SegmentsIn;
using test::WriteBytes;

using TangentProblemWindowTest = test::TangentWindowFixture<TangentProblemWindow>;

// Seven lines per example: the term, xP, xQ, XMin, XMax, YMin, YMax.
std::string group(const std::string& term, const char* numbers = "1\r\n3\r\n-7\r\n7\r\n-3\r\n11\r\n")
{
    return term + "\r\n" + numbers;
}

TEST_F(TangentProblemWindowTest, SecantAndTangentOfXSquared)
{
    TermText = "x^2";
    PointXP = 1;
    PointXQ = 3;
    open();
    EXPECT_EQ(window->secantSlopeText(), QStringLiteral("4"));
    EXPECT_EQ(window->tangentSlopeText(), QStringLiteral("?"));
    // The secant was the last line drawn: its slope and intercept stay in ParamA and ParamB.
    EXPECT_DOUBLE_EQ(ParamA, 4.0);
    EXPECT_DOUBLE_EQ(ParamB, -3.0);
    EXPECT_EQ(CurveKind, kKindFunction);

    const RecordingCanvas picture = record();
    const auto secant = SegmentsIn(picture, SecantColor);
    EXPECT_TRUE(AllOnLine(secant, 4, -3));
    // Through P and Q and one tick step along the line beyond each.
    const double h = 1 / std::sqrt(17.0);
    const auto [left, right] = ColumnRange(secant);
    EXPECT_NEAR(left, WorldToPixelX(1 - h), 1);
    EXPECT_NEAR(right, WorldToPixelX(3 + h), 1);
    EXPECT_TRUE(SegmentsIn(picture, TangentLineColor).empty());

    QTest::mouseClick(control<BitCheckBox>("BitCheckBox1"), Qt::LeftButton, {}, QPoint(6, 6));
    EXPECT_TRUE(window->display().tangent);
    EXPECT_EQ(window->tangentSlopeText(), QStringLiteral("2"));
    EXPECT_NEAR(ParamA, 2.0, 1e-9);
    EXPECT_TRUE(AllOnLine(SegmentsIn(record(), TangentLineColor), 2, -1));
}

TEST_F(TangentProblemWindowTest, QOnPHasNoSecantButTheTangentEvenWithTangentOff)
{
    TermText = "x^2";
    PointXP = 1;
    PointXQ = 1;
    open();
    EXPECT_FALSE(window->display().tangent);
    EXPECT_EQ(window->secantSlopeText(), QStringLiteral("nicht definiert!"));
    EXPECT_EQ(window->tangentSlopeText(), QStringLiteral("2"));
    const RecordingCanvas picture = record();
    EXPECT_TRUE(SegmentsIn(picture, SecantColor).empty());
    EXPECT_TRUE(AllOnLine(SegmentsIn(picture, TangentLineColor), 2, -1));
}

TEST_F(TangentProblemWindowTest, UndefinedQDrawsNoSecantAndSaysSo)
{
    TermText = "1/x";
    PointXP = 1;
    PointXQ = 0;
    open();
    ASSERT_EQ(PointXQ, 0.0);
    EXPECT_EQ(window->secantSlopeText(), QStringLiteral("nicht definiert!"));
    EXPECT_EQ(window->tangentSlopeText(), QStringLiteral("?"));
    EXPECT_TRUE(SegmentsIn(record(), SecantColor).empty());

    // Where f' is undefined though f is defined, no tangent either.
    window->setDisplay({.tangent = true, .tangentTriangle = true});
    typeInto("Edit1", QStringLiteral("sqrt(x)"));
    typeInto("Edit2", QStringLiteral("0"));
    typeInto("Edit5", QStringLiteral("2"));
    EXPECT_EQ(window->secantSlopeText(), QStringLiteral("0,70711"));
    EXPECT_EQ(window->tangentSlopeText(), QStringLiteral("?"));
    const RecordingCanvas picture = record();
    EXPECT_TRUE(SegmentsIn(picture, TangentLineColor).empty());
    EXPECT_FALSE(SegmentsIn(picture, SecantColor).empty());
}

TEST_F(TangentProblemWindowTest, FixedSecantsPivotAroundAMovedPInTheirColours)
{
    TermText = "x^2";
    PointXP = 1;
    PointXQ = 2;
    open();
    auto* colour = control<ColorButton>("ColorButton1");
    const std::pair<const char*, TColor> fixed[] = {{"2", clRed}, {"3", clGreen}, {"-1", clTeal}};
    for (const auto& [x, c] : fixed) {
        typeInto("Edit5", QString::fromLatin1(x));
        colour->setSelectionColor(c);
        click("SpeedButton13");
    }
    EXPECT_EQ(ListCount(FixedSecants), 3u);
    EXPECT_TRUE(control<QToolButton>("SpeedButton16")->isEnabled());
    colour->setSelectionColor(0x800080);
    typeInto("Edit5", QStringLiteral("0,5"));

    typeInto("Edit2", QStringLiteral("0"));
    ASSERT_EQ(PointXP, 0.0);
    RecordingCanvas picture = record();
    // Through the new P (0, 0) and each Q on x²: slope xQ.
    EXPECT_TRUE(AllOnLine(SegmentsIn(picture, clRed), 2, 0));
    EXPECT_TRUE(AllOnLine(SegmentsIn(picture, clGreen), 3, 0));
    EXPECT_TRUE(AllOnLine(SegmentsIn(picture, clTeal), -1, 0));
    EXPECT_TRUE(AllOnLine(SegmentsIn(picture, 0x800080), 0.5, 0));
    // The current secant's slope is the one shown.
    EXPECT_EQ(window->secantSlopeText(), QStringLiteral("0,5"));

    // The tangent at the new P lies over every secant.
    window->setDisplay({.tangent = true});
    picture = record();
    const auto& calls = picture.calls();
    const auto lastIn = [&](TColor c) {
        for (std::size_t i = calls.size(); i-- > 0;) {
            if (calls[i].op == CanvasOp::LineTo && calls[i].pen.color == c) {
                return static_cast<long>(i);
            }
        }
        return -1L;
    };
    EXPECT_GT(lastIn(TangentLineColor), lastIn(clTeal));
    EXPECT_GT(lastIn(TangentLineColor), lastIn(0x800080));
    EXPECT_TRUE(AllOnLine(SegmentsIn(picture, TangentLineColor), 0, 0));
    window->setDisplay({});

    click("SpeedButton16"); // the newest goes
    picture = record();
    EXPECT_TRUE(SegmentsIn(picture, clTeal).empty());
    EXPECT_FALSE(SegmentsIn(picture, clGreen).empty());
    click("SpeedButton24");
    EXPECT_TRUE(ListEmpty(FixedSecants));
    EXPECT_FALSE(control<QToolButton>("SpeedButton16")->isEnabled());
    EXPECT_FALSE(control<QToolButton>("SpeedButton24")->isEnabled());
    EXPECT_TRUE(SegmentsIn(record(), clGreen).empty());
}

TEST_F(TangentProblemWindowTest, BarsHaveAHundredPositionsPerTickAndTypedValuesSnap)
{
    TermText = "x";
    // A tick step of the user's, so that a zoom changes the number of ticks.
    AutoTicks = false;
    UserXTickStep = 1;
    PointXP = -7; // on the bar's first position: the bar does not move, the edit still shows P
    open();
    EXPECT_EQ(control<QLineEdit>("Edit2")->text(), QStringLiteral("-7,00"));
    auto* barP = control<QScrollBar>("ScrollBar1");
    EXPECT_EQ(barP->minimum(), 1);
    EXPECT_EQ(barP->maximum(), 1400);
    typeInto("Edit2", QStringLiteral("1,234"));
    EXPECT_DOUBLE_EQ(PointXP, 1.23);
    EXPECT_EQ(control<QLineEdit>("Edit2")->text(), QStringLiteral("1,23"));
    EXPECT_EQ(barP->value(), 823);

    // A zoom halves the grid's span and so the bar's positions.
    QTest::mouseClick(control<QToolButton>("SpeedButton7"), Qt::LeftButton);
    EXPECT_EQ(barP->maximum(), 700);
    EXPECT_DOUBLE_EQ(window->animationStep(), XMax - XMin);

    // The pad's centre brings the start window back, and the bars its range.
    QTest::mouseClick(control<QToolButton>("SpeedButton22"), Qt::LeftButton);
    EXPECT_EQ(barP->maximum(), 1400);

    // "Anfangswerte setzen" takes xP of the settings onto the grid.
    IniSettings.xP = 0.5;
    click("SpeedButton2");
    EXPECT_DOUBLE_EQ(PointXP, 0.5);
}

TEST_F(TangentProblemWindowTest, FarTypedValuesNeitherHangNorDrawFromTheFarPoint)
{
    TermText = "x^2";
    open();
    typeInto("Edit5", QStringLiteral("1e12"));
    EXPECT_EQ(PointXQ, 7.0); // the bar moved to its end
    typeInto("Edit5", QStringLiteral("1e12"));
    EXPECT_EQ(PointXQ, 1e12); // the bar stayed: the value stands
    EXPECT_EQ(window->secantSlopeText(), QStringLiteral("1E12"));
    record();

    // A sweep from there starts at the window's end.
    auto* toggle = control<ToggleSwitch>("Switch1");
    window->pointRowQ().afterAnimationStep = [&] { toggle->setChecked(false); };
    toggle->setChecked(true);
    emit toggle->clicked();
    EXPECT_NEAR(PointXQ, 7.0, 0.2);

    // So far out that f is beyond the numbers a term keeps.
    typeInto("Edit2", QStringLiteral("-1e45"));
    typeInto("Edit2", QStringLiteral("-1e45"));
    EXPECT_EQ(PointXP, -1e45);
    EXPECT_EQ(window->secantSlopeText(), QStringLiteral("nicht definiert!"));
    EXPECT_TRUE(SegmentsIn(record(), SecantColor).empty());
    // f = x is defined there: the secant from P so far left is drawn inside the window only.
    typeInto("Edit1", QStringLiteral("x"));
    EXPECT_EQ(window->secantSlopeText(), QStringLiteral("1"));
    record();
}

TEST_F(TangentProblemWindowTest, DragMovesQWhileZoomIsOffAndAnimationSweeps)
{
    TermText = "x";
    PointXP = 0;
    PointXQ = 2;
    open();
    const QSize plot = window->plotBox()->size();
    const QPoint at(plot.width() / 4, plot.height() / 2);
    mouseOnPlot(QEvent::MouseButtonPress, at, Qt::LeftButton, Qt::LeftButton);
    mouseOnPlot(QEvent::MouseMove, at, Qt::NoButton, Qt::LeftButton);
    mouseOnPlot(QEvent::MouseButtonRelease, at, Qt::LeftButton, Qt::NoButton);
    const double x = window->worldAt(at).x;
    EXPECT_DOUBLE_EQ(PointXQ, x);
    EXPECT_EQ(control<QLineEdit>("Edit5")->text(), NumberText(x));

    // With "Zoom" a drag draws the band and Q stays.
    auto* zoom = control<BitCheckBox>("BitCheckBox6");
    QTest::mouseClick(zoom, Qt::LeftButton, {}, QPoint(6, 6));
    ASSERT_TRUE(zoom->Checked());
    mouseOnPlot(QEvent::MouseButtonPress, QPoint(5, 5), Qt::LeftButton, Qt::LeftButton);
    mouseOnPlot(QEvent::MouseMove, QPoint(40, 40), Qt::NoButton, Qt::LeftButton);
    EXPECT_DOUBLE_EQ(PointXQ, x);
    mouseOnPlot(QEvent::MouseButtonRelease, QPoint(40, 40), Qt::LeftButton, Qt::NoButton);

    // Three sweep steps of a two-hundredth of the window each; then the bar follows.
    setWorld({-7, 7, -3, 11});
    window->refresh();
    PointXQ = 2;
    int steps = 0;
    auto* toggle = control<ToggleSwitch>("Switch1");
    window->pointRowQ().afterAnimationStep = [&] {
        if (++steps == 3) {
            toggle->setChecked(false);
        }
    };
    toggle->setChecked(true);
    emit toggle->clicked();
    EXPECT_NEAR(PointXQ, 2.21, 1e-9);
    EXPECT_EQ(window->secantSlopeText(), QStringLiteral("1"));
}

TEST_F(TangentProblemWindowTest, WrongTermIsReportedOnceFromTheEditOnly)
{
    TermText = "x^2";
    open();
    typeInto("Edit1", QStringLiteral("2*(x+"));
    ASSERT_EQ(syntaxMessages.size(), 1u);
    EXPECT_EQ(TermText, "2*(x+");
    window->refresh();
    window->zoomIn();
    window->fixSecant();
    record();
    auto* toggle = control<ToggleSwitch>("Switch1");
    int steps = 0;
    window->pointRowQ().afterAnimationStep = [&] {
        if (++steps == 3) {
            toggle->setChecked(false);
        }
    };
    toggle->setChecked(true);
    emit toggle->clicked();
    EXPECT_EQ(syntaxMessages.size(), 1u);
    // f = 0 is drawn meanwhile.
    EXPECT_EQ(window->secantSlopeText(), QStringLiteral("0"));
}

// ---------------------------------------------------------------------------------------------
// Example list "Bsp3.txt"

TEST_F(TangentProblemWindowTest, EmptyListIsSavedAsTheDefaultGroupAndReadsBackAsOneExample)
{
    open();
    EXPECT_EQ(control<QListWidget>("ListBox1")->count(), 0);
    close();
    EXPECT_EQ(ReadBytes(dir.file("Bsp3.txt")), group("1/4x^2"));

    setWorld({-1, 1, -1, 1});
    open();
    ASSERT_EQ(control<QListWidget>("ListBox1")->count(), 1);
    selectExample(0);
    click("SpeedButton1");
    EXPECT_EQ(currentWorld(), (WorldRect{-7, 7, -3, 11}));
    EXPECT_EQ(std::pair(PointXP, PointXQ), std::pair(1.0, 3.0));
    EXPECT_EQ(control<QLineEdit>("Edit1")->text(), QStringLiteral("1/4x^2"));
    EXPECT_EQ(TermText, "1/4x^2");
    EXPECT_EQ(window->secantSlopeText(), QStringLiteral("1"));
    EXPECT_EQ(control<QScrollBar>("ScrollBar2")->value(), 1000);
}

TEST_F(TangentProblemWindowTest, AddedExamplesAreWrittenWithACommaAndFetchedBack)
{
    open();
    typeInto("Edit1", QStringLiteral("sin(pi*x)"));
    typeInto("Edit2", QStringLiteral("0,5"));
    typeInto("Edit5", QStringLiteral("1,5"));
    click("SpeedButton4");
    click("SpeedButton4"); // the same term again is refused
    ASSERT_EQ(control<QListWidget>("ListBox1")->count(), 1);
    EXPECT_EQ(control<QListWidget>("ListBox1")->item(0)->text(), QStringLiteral("sin(\u03C0*x)"));
    close();
    EXPECT_EQ(ReadBytes(dir.file("Bsp3.txt")), group("sin(\xF0*x)", "0,5\r\n1,5\r\n-7\r\n7\r\n-3\r\n11\r\n"));
    EXPECT_TRUE(fileMessages.empty());
}

TEST_F(TangentProblemWindowTest, WindowsWrittenFileReadsWithPiAndBothDecimalSigns)
{
    WriteBytes(dir.file("Bsp3.txt"), group("sin(\xF0x)", "0,5\r\n1.5\r\n-3\r\n3\r\n-2\r\n2\r\n"));
    open();
    EXPECT_TRUE(fileMessages.empty());
    ASSERT_EQ(control<QListWidget>("ListBox1")->count(), 1);
    EXPECT_EQ(control<QListWidget>("ListBox1")->item(0)->text(), QStringLiteral("sin(\u03C0x)"));
    selectExample(0);
    click("SpeedButton1");
    EXPECT_EQ(control<QLineEdit>("Edit1")->text(), QStringLiteral("sin(\u03C0x)"));
    EXPECT_EQ(std::pair(PointXP, PointXQ), std::pair(0.5, 1.5));
    EXPECT_EQ(window->secantSlopeText(), QStringLiteral("-2"));
    EXPECT_TRUE(syntaxMessages.empty());
}

TEST_F(TangentProblemWindowTest, BadNumberInTheThirdGroupKeepsTheWholeFileOnDisk)
{
    const std::string bytes =
        group("x") + group("x^2") + group("x^3", "1\r\ndrei\r\n-7\r\n7\r\n-3\r\n11\r\n") + group("x^4");
    WriteBytes(dir.file("Bsp3.txt"), bytes);
    open();
    EXPECT_EQ(control<QListWidget>("ListBox1")->count(), 2);
    ASSERT_EQ(fileMessages.size(), 1u);
    EXPECT_NE(fileMessages[0].find("Zeile 17 ist keine Zahl"), std::string::npos) << fileMessages[0];
    typeInto("Edit1", QStringLiteral("x^5"));
    click("SpeedButton4");
    close();
    EXPECT_EQ(ReadBytes(dir.file("Bsp3.txt")), bytes);
    EXPECT_EQ(fileMessages.size(), 1u);
}

TEST_F(TangentProblemWindowTest, AFullListTakesNoMoreAndAFetchedWindowIsChecked)
{
    std::string bytes = group("x", "1\r\n3\r\n5\r\n-5\r\n-3\r\n11\r\n"); // a reversed window
    for (int i = 2; i <= 10; ++i) {
        bytes += group("x^" + std::to_string(i));
    }
    WriteBytes(dir.file("Bsp3.txt"), bytes);
    IniSettings.x1 = -4;
    IniSettings.x2 = 4;
    IniSettings.y1 = -4;
    IniSettings.y2 = 4;
    open();
    ASSERT_EQ(control<QListWidget>("ListBox1")->count(), 10);
    typeInto("Edit1", QStringLiteral("x^11"));
    click("SpeedButton4");
    EXPECT_EQ(control<QListWidget>("ListBox1")->count(), 10);
    EXPECT_TRUE(fileMessages.empty());

    selectExample(0);
    click("SpeedButton1");
    EXPECT_EQ(currentWorld(), (WorldRect{-4, 4, -4, 4}));
    EXPECT_EQ(control<QScrollBar>("ScrollBar1")->maximum(), 1600); // ticks of 0.5

    // "Eintrag löschen" removes the selected entry, and a slot is free again.
    selectExample(0);
    click("SpeedButton5");
    click("SpeedButton4");
    EXPECT_EQ(control<QListWidget>("ListBox1")->count(), 10);
    close();
    EXPECT_EQ(ReadBytes(dir.file("Bsp3.txt")).find("x\r\n1\r\n3\r\n5"), std::string::npos);
}

} // namespace
} // namespace kurvex
