// Tests of the linear-regression window through its widgets: opening from the launcher, the line's
// bars and edits with their ranges, the two sums against each other, the regression line's label,
// the squares and deviations drawn, and the colours and the delete button.
#include "fitting/RegressionWindow.h"

#include "controls/BitCheckBox.h"
#include "controls/ColorButton.h"
#include "controls/EditRoutines.h"
#include "core/CoordinateSystem.h"
#include "core/Decorations.h"
#include "core/FitCheck.h"
#include "core/FitTerm.h"
#include "core/NumberText.h"
#include "core/WorldWindow.h"
#include "fitting/PointEditor.h"
#include "support/LessonWindowTest.h"
#include "support/MetafileConverters.h"

#include <QPushButton>
#include <QRegularExpression>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QToolButton>

#include <random>

namespace kurvex::test {
namespace {

class RegressionWindowTest : public WindowFixture<RegressionWindow> {
protected:
    void SetUp() override
    {
        WindowFixture::SetUp();
        open();
        setWorld({-7, 7, -7, 7});
        window->refresh();
    }

    PointEditor& editor() const { return window->pointEditor(); }
    void setPoints(const std::vector<DataPoint>& points) { editor().setPoints(points, 0); }
    QScrollBar* bar(const char* name) const { return control<QScrollBar>(name); }
    // A value typed so that it stands exactly: once to move the bar, once more to keep every digit.
    void typeExactly(const char* name, double v)
    {
        const QString text = QString::fromStdString(FormatGeneral(v, 17, 1));
        TypeInto(edit(name), text);
        TypeInto(edit(name), text);
    }
    bool labelIsRed(const char* name) const
    {
        return control<QLabel>(name)->styleSheet().contains(QStringLiteral("#ff0000"));
    }
};

TEST_F(RegressionWindowTest, LauncherEntryOpensTheWindowWithItsStartState)
{
    EXPECT_TRUE(OpenFromLauncher<RegressionWindow>("Lineare Regression", [](RegressionWindow& w) {
        EXPECT_EQ(w.windowTitle(), QStringLiteral("Lineare - Regression"));
    }));
    EXPECT_EQ(window->helpButton(), nullptr);
    EXPECT_EQ(window->variant().delay, DelayKind::None);
    EXPECT_EQ(window->exportVariant().metafileScale, 4.0);
    EXPECT_EQ(window->exportVariant().fontFactor, 1.2);

    EXPECT_EQ(label("Label11"), QStringLiteral("Finde die Regressionsgerade!"));
    EXPECT_EQ(control<QLabel>("Label11")->toolTip(),
              QStringLiteral("Welche Gerade passt am besten zu den Daten?"));
    EXPECT_EQ(label("Label9"), QStringLiteral("m ="));
    EXPECT_EQ(label("Label15"), QStringLiteral("c ="));
    EXPECT_EQ(edit("Edit8")->text(), QStringLiteral("1,00"));
    EXPECT_EQ(edit("Edit5")->text(), QStringLiteral("0,00"));
    for (const char* range : {"Edit1", "Edit6"}) {
        EXPECT_EQ(edit(range)->text(), QStringLiteral("-10,00")) << range;
    }
    for (const char* range : {"Edit4", "Edit7"}) {
        EXPECT_EQ(edit(range)->text(), QStringLiteral("10,00")) << range;
    }
    EXPECT_EQ(bar("ScrollBar1")->value(), 550);
    EXPECT_EQ(bar("ScrollBar2")->value(), 500);
    EXPECT_EQ(std::pair(bar("ScrollBar1")->minimum(), bar("ScrollBar1")->maximum()), std::pair(1, 1000));

    const struct {
        const char* box;
        const char* text;
        bool checked;
        const char* colourButton;
        TColor colour;
    } options[] = {
        {"BitCheckBox3", "Gerade y = m x + c  einzeichnen", true, "ColorButton4", 0x000000},
        {"BitCheckBox1", "Abweichungen anzeigen", false, "ColorButton3", 0x0000FF},
        {"BitCheckBox4", "Abweichungsquadrate anzeigen", true, "ColorButton2", 0xFFBBBB},
        {"BitCheckBox2", "Regressionsgerade einzeichnen", false, "ColorButton1", 0x008000},
    };
    for (const auto& o : options) {
        SCOPED_TRACE(o.box);
        EXPECT_EQ(control<BitCheckBox>(o.box)->text(), QString::fromUtf8(o.text));
        EXPECT_EQ(control<BitCheckBox>(o.box)->Checked(), o.checked);
        EXPECT_EQ(control<ColorButton>(o.colourButton)->SelectionColor(), o.colour);
    }
    EXPECT_EQ(control<BitCheckBox>("BitCheckBox2")->toolTip(), QStringLiteral("Lösung anzeigen"));
    EXPECT_EQ(label("Label12"), QStringLiteral("Summe der Fehlerquadrate ="));
    EXPECT_EQ(label("Label16"), QStringLiteral("Minimum (Zielsumme) ="));
    EXPECT_EQ(control<QLabel>("Label16")->toolTip(), QStringLiteral("Minimum der Summe der Fehlerquadrate"));
    EXPECT_EQ(label("Label13"), QStringLiteral("0,00"));
    EXPECT_EQ(label("Label14"), QStringLiteral("–")) << "no minimum without two points";
    EXPECT_EQ(label("Label1"), QString());
}

TEST_F(RegressionWindowTest, PointsOnTheLineGiveZeroSumsAndTheTermOfYEqualsX)
{
    setPoints({{0, 0}, {1, 1}, {2, 2}});
    EXPECT_EQ(label("Label13"), QStringLiteral("0,00"));
    EXPECT_EQ(label("Label14"), QStringLiteral("0,00"));
    EXPECT_EQ(label("Label1"), QString()) << "the solution only on request";
    ClickBox(control<BitCheckBox>("BitCheckBox2"));
    EXPECT_EQ(label("Label1"),
              QStringLiteral("f(x) =   1,000*x+  0,000     Korrelationskoeffizient: r =   1,000     "));
    EXPECT_FALSE(labelIsRed("Label1"));
    EXPECT_EQ(FitTermText, "1*x+0");

    // Moving m away raises the user's sum, never the minimum.
    TypeInto(edit("Edit8"), QStringLiteral("2"));
    EXPECT_DOUBLE_EQ(window->userSquareSum(), 5.0);
    EXPECT_EQ(label("Label13"), QStringLiteral("5,00"));
    EXPECT_EQ(label("Label14"), QStringLiteral("0,00"));
}

TEST_F(RegressionWindowTest, AtTheLeastSquaresLineTheSumIsTheMinimumAndNoBarPositionGoesBelow)
{
    std::mt19937 random(2020);
    std::uniform_real_distribution<double> x(-6, 6);
    std::uniform_real_distribution<double> noise(-1.5, 1.5);
    std::vector<DataPoint> points;
    for (int i = 0; i < 30; ++i) {
        const double at = x(random);
        points.push_back({at, 0.7 * at - 0.4 + noise(random)});
    }
    setPoints(points);
    const LineCoefficients best = *LeastSquaresLine(points);
    typeExactly("Edit8", best.slope);
    typeExactly("Edit5", best.intercept);
    ASSERT_EQ(window->userLine().slope, best.slope);
    ASSERT_EQ(window->userLine().intercept, best.intercept);
    ASSERT_TRUE(window->minimumSquareSum());
    const double minimum = *window->minimumSquareSum();
    EXPECT_EQ(window->userSquareSum(), minimum);
    EXPECT_EQ(label("Label13"), label("Label14"));

    // Lines typed a little off, down to the last digits, and 200 lines of the two bars.
    std::uniform_real_distribution<double> change(-1, 1);
    for (const double scale : {1e-2, 1e-4, 1e-6}) {
        typeExactly("Edit8", best.slope + change(random) * scale);
        EXPECT_GE(window->userSquareSum(), minimum) << scale;
    }
    std::uniform_int_distribution<int> position(1, 1000);
    for (int k = 0; k < 200; ++k) {
        bar(k % 2 == 0 ? "ScrollBar1" : "ScrollBar2")->setValue(position(random));
        ASSERT_GE(window->userSquareSum(), minimum)
            << window->userLine().slope << " " << window->userLine().intercept;
        ASSERT_EQ(window->minimumSquareSum(), minimum);
    }
}

TEST_F(RegressionWindowTest, TypedSlopeMovesTheBarAndKeepsItsDigitsWhileTheBarStays)
{
    EXPECT_DOUBLE_EQ(window->userLine().slope, 1.0);
    TypeInto(edit("Edit8"), QStringLiteral("0,5"));
    EXPECT_EQ(bar("ScrollBar1")->value(), 525);
    EXPECT_DOUBLE_EQ(window->userLine().slope, 0.5);
    TypeInto(edit("Edit8"), QStringLiteral("0,501"));
    EXPECT_EQ(bar("ScrollBar1")->value(), 525);
    EXPECT_DOUBLE_EQ(window->userLine().slope, 0.501);
    EXPECT_EQ(edit("Edit8")->text(), QStringLiteral("0,50"));

    // Leaving the edit untouched does not read its rounded text back.
    QTest::keyClick(edit("Edit8"), Qt::Key_Return);
    EXPECT_DOUBLE_EQ(window->userLine().slope, 0.501);
    window->refresh();
    EXPECT_DOUBLE_EQ(window->userLine().slope, 0.501);

    // A typed value that moves the bar takes the bar's value.
    TypeInto(edit("Edit8"), QStringLiteral("0,749"));
    EXPECT_EQ(bar("ScrollBar1")->value(), 537);
    EXPECT_DOUBLE_EQ(window->userLine().slope, 0.74);
    bar("ScrollBar2")->setValue(1);
    EXPECT_DOUBLE_EQ(window->userLine().intercept, -9.98) << "the lowest position is not the minimum";
}

TEST_F(RegressionWindowTest, RangesWithoutRoomAreRefusedAndValuesStayInTheirRange)
{
    const struct {
        const char* name;
        const char* edit;
        const char* typed;
        double slope;
        double low;
        double high;
        int position;
    } cases[] = {
        {"maximum below the minimum: refused", "Edit4", "-20", 1.0, -10, 10, 550},
        {"maximum equal to the minimum: refused", "Edit4", "-10", 1.0, -10, 10, 550},
        {"minimum above the maximum: refused", "Edit1", "11", 1.0, -10, 10, 550},
        {"m above the range: its end", "Edit8", "50", 10.0, -10, 10, 1000},
        {"a narrower range pulls m in", "Edit4", "5", 5.0, -10, 5, 1000},
        {"a higher minimum with m inside: the bar stays", "Edit1", "0", 5.0, 0, 5, 1000},
        {"m below the range: the lowest position's value", "Edit8", "-3", 0.005, 0, 5, 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TypeInto(edit(c.edit), QString::fromLatin1(c.typed));
        EXPECT_DOUBLE_EQ(window->userLine().slope, c.slope);
        EXPECT_EQ(edit("Edit1")->text(), NumberText(c.low));
        EXPECT_EQ(edit("Edit4")->text(), NumberText(c.high));
        EXPECT_EQ(edit("Edit8")->text(), NumberText(c.slope));
        EXPECT_EQ(bar("ScrollBar1")->value(), c.position);
    }
    EXPECT_TRUE(messages.empty());
}

TEST_F(RegressionWindowTest, SquaresAndDeviationsAreDrawnFromEveryPointToTheUsersLine)
{
    // The x axis twice as long per pixel as the y axis: the squares are rectangles.
    setWorld({-8, 8, -4, 4});
    window->refresh();
    setPoints({{1, 2}, {-2, -1}, {3, 0.5}});
    TypeInto(edit("Edit8"), QStringLiteral("0"));
    TypeInto(edit("Edit5"), QStringLiteral("1"));
    ClickBox(control<BitCheckBox>("BitCheckBox1"));
    ClickBox(control<BitCheckBox>("BitCheckBox2"));
    const RecordingCanvas picture = RecordPicture(*window);

    const std::vector<CanvasCall> squares = picture.callsOf(CanvasOp::Rectangle);
    ASSERT_EQ(squares.size(), 3u);
    // y = 1: the deviation of (1, 2) is -1; its square runs from the point to (x - 1, 1).
    const Point from = PixelOf(1, 2);
    const Point to = PixelOf(0, 1);
    const Rect& first = squares[0].rect;
    EXPECT_EQ(std::pair(std::min(first.left, first.right), std::max(first.left, first.right)),
              std::pair(std::min(from.x, to.x), std::max(from.x, to.x)));
    EXPECT_EQ(std::pair(std::min(first.top, first.bottom), std::max(first.top, first.bottom)),
              std::pair(std::min(from.y, to.y), std::max(from.y, to.y)));
    EXPECT_NEAR(std::abs(first.bottom - first.top), 2 * std::abs(first.right - first.left), 2);
    EXPECT_EQ(squares[0].brush.color, TColor{0xFFBBBB});

    int deviations = 0;
    int userLine = 0;
    int regressionLine = 0;
    const int row = WorldToPixelY(1);
    for (const CanvasCall& line : picture.callsOf(CanvasOp::LineTo)) {
        if (line.pen.color == 0x0000FF && line.pen.width == 3) {
            ++deviations;
            EXPECT_EQ(line.points[0].x, line.points[1].x) << "vertical";
        }
        if (line.pen.color == 0x000000 && line.pen.style == PenStyle::Solid && line.points[0].y == row &&
            line.points[1].y == row) {
            ++userLine;
        }
        regressionLine += line.pen.color == 0x008000 ? 1 : 0;
    }
    EXPECT_EQ(deviations, 3);
    EXPECT_GT(userLine, 10);
    EXPECT_GT(regressionLine, 10);

    // One point: no fit, no squares, no deviations; the sums still count.
    editor().setPoints({{1, 2}}, 0);
    const RecordingCanvas alone = RecordPicture(*window);
    EXPECT_EQ(alone.count(CanvasOp::Rectangle), 0u);
    EXPECT_EQ(label("Label13"), QStringLiteral("1,00"));
    EXPECT_EQ(label("Label14"), QStringLiteral("–"));
}

TEST_F(RegressionWindowTest, RegressionLineShowsOverTheSquaresOnScreen)
{
    window->setFixedLayerSize(QSize(500, 500));
    window->refresh();
    // The regression line of these is y = 2/3; the square of (0, 0) up to the user's y = 3 covers it.
    setPoints({{0, 0}, {2, 2}, {4, 0}});
    TypeInto(edit("Edit8"), QStringLiteral("0"));
    TypeInto(edit("Edit5"), QStringLiteral("3"));
    ClickBox(control<BitCheckBox>("BitCheckBox2"));
    const QImage& picture = *window->plotBox()->picture();
    const Point on = PixelOf(1.5, 2.0 / 3.0);
    int green = 0;
    for (int dy = -1; dy <= 1; ++dy) {
        green += picture.pixel(on.x, on.y + dy) == qRgb(0x00, 0x80, 0x00) ? 1 : 0;
    }
    EXPECT_EQ(green, 1);
    int square = 0;
    for (int dy = 3; dy <= 12; ++dy) {
        square += picture.pixel(on.x, on.y + dy) == qRgb(0xBB, 0xBB, 0xFF) ? 1 : 0;
    }
    EXPECT_GT(square, 0) << "inside the square";
}

TEST_F(RegressionWindowTest, SquaresReachAnEmfReaderWhicheverSideOfThePointTheyLie)
{
    QTemporaryDir out;
    const ScopedExportTo exportTo({out.filePath(QStringLiteral("regression.emf")), MetafileKind::Emf});
    // Deviations -1, 2 and 0,5 from y = 1: squares left and right of, above and below their points.
    setPoints({{1, 2}, {-2, -1}, {3, 0.5}});
    TypeInto(edit("Edit8"), QStringLiteral("0"));
    TypeInto(edit("Edit5"), QStringLiteral("1"));
    control<QPushButton>("SpeedButton17")->click();
    const SvgRendering r = RenderMetafileAsSvg(exportTo.choice.path, MetafileKind::Emf);
    ASSERT_EQ(r.error.toStdString(), "");
    const QRegularExpression drawn(QStringLiteral(
        "<rect [^>]*width=\"[0-9.]*[1-9][0-9.]*\" height=\"[0-9.]*[1-9][0-9.]*\"\\s+fill=\"#BBBBFF\""));
    EXPECT_EQ(r.svg.count(drawn), 3);
}

TEST_F(RegressionWindowTest, RefusedFitShowsItsMessageUntilTheNextFitAndTheMinimumStillHolds)
{
    setPoints({{2, 1}, {2, 5}, {2, 3}});
    EXPECT_EQ(label("Label1"), QString::fromUtf8(kFitImpossibleMessage));
    EXPECT_TRUE(labelIsRed("Label1"));
    EXPECT_EQ(FitTermText, "");
    EXPECT_EQ(label("Label14"), QStringLiteral("8,00")) << "the level line through the mean";
    editor().deleteSelected();
    editor().deleteSelected();
    EXPECT_EQ(editor().points().size(), 1u);
    EXPECT_EQ(label("Label1"), QString::fromUtf8(kFitImpossibleMessage)) << "the last message stays";
    editor().addPoint(4, 4);
    EXPECT_FALSE(labelIsRed("Label1"));
}

TEST_F(RegressionWindowTest, ChosenColoursHoldAndTheTrashButtonDeletesTheSelectedPoint)
{
    control<ColorButton>("ColorButton2")->setSelectionColor(0x00FF00);
    window->refresh();
    EXPECT_EQ(control<ColorButton>("ColorButton2")->SelectionColor(), TColor{0x00FF00});
    setPoints({{1, 2}, {-2, -1}});
    const RecordingCanvas picture = RecordPicture(*window);
    ASSERT_FALSE(picture.callsOf(CanvasOp::Rectangle).empty());
    EXPECT_EQ(picture.callsOf(CanvasOp::Rectangle).front().brush.color, TColor{0x00FF00});

    QToolButton* trash = control<QToolButton>("SpeedButton27");
    EXPECT_EQ(trash->toolTip(), QStringLiteral("Punkt löschen"));
    editor().setPoints({{1, 2}, {-2, -1}, {3, 3}}, 2);
    trash->click();
    ASSERT_EQ(editor().points().size(), 2u);
    EXPECT_EQ(editor().selected(), 1);
}

} // namespace
} // namespace kurvex::test
