// Tests of the world-to-pixel mapping, the tick-step rule, the label format and the axes painter.
#include "core/CoordinateSystem.h"

#include "core/U_init.h"
#include "platform/RecordingCanvas.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <numbers>

namespace kurvex {
namespace {

// Saves and restores every global the painter reads or writes.
class CoordinateSystemTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        saved_ = {XMin, XMax, YMin, YMax, UserXTickStep, UserYTickStep, DrawScale};
        savedInts_ = {PlotWidth, PlotHeight, GridMode};
        savedFlags_ = {AutoTicks, TrigTicks, PiAxis, NumberLineMode, ShowScale};
        savedCanvas_ = DrawCanvas;
        setWindow(-7, 7, -7, 7, 700, 700);
        UserXTickStep = UserYTickStep = 0.0;
        DrawScale = 1.0;
        GridMode = 1;
        AutoTicks = true;
        TrigTicks = PiAxis = NumberLineMode = false;
        ShowScale = true;
        XAxisLabel = "x";
        YAxisLabel = "y";
        DrawCanvas = &canvas_;
    }
    void TearDown() override
    {
        XMin = saved_[0];
        XMax = saved_[1];
        YMin = saved_[2];
        YMax = saved_[3];
        UserXTickStep = saved_[4];
        UserYTickStep = saved_[5];
        DrawScale = saved_[6];
        PlotWidth = savedInts_[0];
        PlotHeight = savedInts_[1];
        GridMode = savedInts_[2];
        AutoTicks = savedFlags_[0];
        TrigTicks = savedFlags_[1];
        PiAxis = savedFlags_[2];
        NumberLineMode = savedFlags_[3];
        ShowScale = savedFlags_[4];
        DrawCanvas = savedCanvas_;
    }
    static void setWindow(double x1, double x2, double y1, double y2, int w, int h)
    {
        XMin = x1;
        XMax = x2;
        YMin = y1;
        YMax = y2;
        PlotWidth = w;
        PlotHeight = h;
    }
    // Lines drawn by moveTo/lineTo in the given colour.
    std::vector<CanvasCall> lines(TColor color) const
    {
        std::vector<CanvasCall> out;
        for (const CanvasCall& c : canvas_.callsOf(CanvasOp::LineTo))
            if (c.pen.color == color)
                out.push_back(c);
        return out;
    }
    const CanvasCall* textCall(const std::string& text) const
    {
        for (const CanvasCall& c : canvas_.calls())
            if (c.op == CanvasOp::TextOut && c.text == text)
                return &c;
        return nullptr;
    }
    std::size_t verticalTicks(int y0, int h) const
    {
        const auto l = lines(clBlack);
        return static_cast<std::size_t>(std::count_if(l.begin(), l.end(), [&](const CanvasCall& c) {
            return c.points[0].x == c.points[1].x && c.points[0].y == y0 - h && c.points[1].y == y0 + h;
        }));
    }

    RecordingCanvas canvas_;

private:
    std::array<double, 7> saved_{};
    std::array<int, 3> savedInts_{};
    std::array<bool, 5> savedFlags_{};
    Canvas* savedCanvas_ = nullptr;
};

TEST_F(CoordinateSystemTest, MapsTheDefaultWindowAndBack)
{
    EXPECT_EQ(WorldToPixelX(0.0), 350);
    EXPECT_EQ(WorldToPixelX(-7.0), 0);
    EXPECT_EQ(WorldToPixelX(7.0), 700);
    EXPECT_EQ(WorldToPixelY(7.0), 0);
    EXPECT_EQ(WorldToPixelY(-7.0), 700);
    EXPECT_EQ(WorldToPixelY(0.0), 350);
    for (int px = 0; px <= 700; px += 7) {
        EXPECT_EQ(WorldToPixelX(PixelToWorldX(px)), px);
        EXPECT_EQ(WorldToPixelY(PixelToWorldY(px)), px);
    }
    EXPECT_DOUBLE_EQ(PixelToWorldX(350), 0.0);
    EXPECT_DOUBLE_EQ(PixelToWorldY(0), 7.0);
    EXPECT_DOUBLE_EQ(PixelToWorldY(700), -7.0);
}

TEST_F(CoordinateSystemTest, RoundsHalvesToEven)
{
    setWindow(0, 1400, 0, 1400, 700, 700); // half a pixel per world unit
    EXPECT_EQ(WorldToPixelX(1.0), 0);      // 0.5
    EXPECT_EQ(WorldToPixelX(3.0), 2);      // 1.5
    EXPECT_EQ(WorldToPixelX(5.0), 2);      // 2.5
    EXPECT_EQ(WorldToPixelX(7.0), 4);      // 3.5
    EXPECT_EQ(WorldToPixelY(1399.0), 0);   // 700 - 699.5 = 0.5
    EXPECT_EQ(WorldToPixelY(1397.0), 2);   // 1.5
}

TEST_F(CoordinateSystemTest, MappingClampsFarAndDegenerateValues)
{
    setWindow(99999.9999, 100000.0, 0.0, 0.0002, 700, 700);
    EXPECT_EQ(WorldToPixelY(100000.0), -kPixelLimit);
    EXPECT_EQ(WorldToPixelY(-10000.0), kPixelLimit);
    EXPECT_EQ(WorldToPixelX(-10000.0), -kPixelLimit);
    EXPECT_EQ(WorldToPixelX(std::numeric_limits<double>::infinity()), kPixelLimit);
    EXPECT_EQ(WorldToPixelX(std::nan("")), kPixelLimit);

    setWindow(3, 3, 5, 5, 700, 500); // zero spans: no division by zero
    EXPECT_EQ(WorldToPixelX(4.0), 0);
    EXPECT_EQ(WorldToPixelY(4.0), 500);
    setWindow(std::nan(""), 1, 0, 1, 700, 500);
    EXPECT_EQ(WorldToPixelX(0.5), 0);
    setWindow(-7, 7, -7, 7, 0, 0);
    EXPECT_DOUBLE_EQ(PixelToWorldX(10), -7.0);
    EXPECT_DOUBLE_EQ(PixelToWorldY(10), -7.0);
}

TEST(PowerOfTenAndLog10, FollowTheirOwnArithmetic)
{
    EXPECT_EQ(PowerOfTen(0), 1.0);
    EXPECT_EQ(PowerOfTen(3), 1000.0);
    EXPECT_NEAR(PowerOfTen(-2), 0.01, 1e-17);
    EXPECT_LT(Log10(10.0), 1.0); // just below: the tick rule depends on it
    EXPECT_LT(Log10(100.0), 2.0);
    EXPECT_NEAR(Log10(1000.0), 3.0, 1e-8);
    EXPECT_EQ(PowerOfTen(100000), std::numeric_limits<double>::infinity());
}

struct StepCase {
    double span;
    double step;
};

class TickStepTest : public ::testing::TestWithParam<StepCase> {};

TEST_P(TickStepTest, PicksTheOneTwoFiveStep)
{
    const StepCase c = GetParam();
    EXPECT_NEAR(AutoTickStep(c.span), c.step, c.step * 1e-9) << "span " << c.span;
}

INSTANTIATE_TEST_SUITE_P(Spans, TickStepTest,
                         ::testing::Values(StepCase{10, 0.5}, StepCase{14, 1}, StepCase{10.5, 1},
                                           StepCase{6, 0.5}, StepCase{100, 5}, StepCase{100.5, 10},
                                           StepCase{0.1, 0.01}, StepCase{1e-4, 1e-5}, StepCase{3, 0.2},
                                           StepCase{1e7, 5e5}, StepCase{-14, 1}));

TEST(TickStep, DegenerateSpansGiveAUsableStep)
{
    for (double span : {0.0, std::nan(""), std::numeric_limits<double>::infinity(), 1e-320, 1e308}) {
        const double s = AutoTickStep(span);
        EXPECT_TRUE(std::isfinite(s) && s > 0.0) << span;
    }
}

TEST_F(CoordinateSystemTest, ComputesStepsFromTheWindowAndSettings)
{
    setWindow(2, 12, 3, 9, 500, 300);
    ComputeXTickStep();
    ComputeYTickStep();
    EXPECT_DOUBLE_EQ(XTickStep, 0.5);
    EXPECT_DOUBLE_EQ(YTickStep, 0.5);

    AutoTicks = false;
    UserXTickStep = 2.0;
    UserYTickStep = 1.0;
    ComputeXTickStep();
    ComputeYTickStep();
    EXPECT_DOUBLE_EQ(XTickStep, 2.0);
    EXPECT_DOUBLE_EQ(AutoXTickStep, 0.5);
    EXPECT_DOUBLE_EQ(YTickStep, 1.0);

    // After a zoom-out the typed step would give thousands of ticks: the automatic one is used.
    setWindow(-1e6, 1e6, -7, 7, 500, 300);
    ComputeXTickStep();
    EXPECT_DOUBLE_EQ(XTickStep, AutoXTickStep);
    EXPECT_DOUBLE_EQ(XTickStep, 2e5);
    UserYTickStep = -1.0;
    ComputeYTickStep();
    EXPECT_DOUBLE_EQ(YTickStep, 1.0); // the automatic step of span 14

    TrigTicks = true;
    ComputeYTickStep();
    EXPECT_DOUBLE_EQ(XTickStep, std::numbers::pi / 6);
    EXPECT_DOUBLE_EQ(YTickStep, 1.0);
}

struct LabelCase {
    double value;
    const char* text;
};

class AxisLabelTest : public ::testing::TestWithParam<LabelCase> {};

TEST_P(AxisLabelTest, FormatsWithFourDigitsAndComma)
{
    EXPECT_EQ(FormatAxisLabel(GetParam().value), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(Values, AxisLabelTest,
                         ::testing::Values(LabelCase{0.5, "0,5"}, LabelCase{1, "1"}, LabelCase{-1.5, "-1,5"},
                                           LabelCase{2000, "2000"}, LabelCase{9999, "9999"},
                                           LabelCase{20000, "2E+04"}, LabelCase{12346, "1,235E+04"},
                                           LabelCase{0.00001, "0,00001"}, LabelCase{0.000001, "1E-06"},
                                           LabelCase{0.1 + 0.2, "0,3"}, LabelCase{0.25, "0,25"},
                                           LabelCase{100, "100"}, LabelCase{1.23456, "1,235"},
                                           LabelCase{-0.0125, "-0,0125"}, LabelCase{1e-17, "1E-17"},
                                           LabelCase{1e100, "1E+100"}, LabelCase{0, "0"}));

TEST_F(CoordinateSystemTest, DefaultWindowTicksLabelsAndCaptions)
{
    DrawCoordinateSystem();
    // Axes, then an arrow head each.
    ASSERT_EQ(canvas_.count(CanvasOp::Polygon), 2u);
    const auto arrows = canvas_.callsOf(CanvasOp::Polygon);
    EXPECT_EQ(arrows[0].points, (std::vector<Point>{{694, 346}, {700, 350}, {694, 354}}));
    EXPECT_EQ(arrows[1].points, (std::vector<Point>{{346, 6}, {350, 0}, {354, 6}}));
    EXPECT_EQ(arrows[0].brush.color, clBlack);
    EXPECT_EQ(verticalTicks(350, 4), 12u);

    // ShowScale: only the tick with index 1 is labelled on each axis.
    EXPECT_EQ(canvas_.texts(), (std::vector<std::string>{"1", "x", "1", "y"}));
    const auto texts = canvas_.callsOf(CanvasOp::TextOut);
    EXPECT_EQ(texts[0].points[0], (Point{400 - 3, 356}));
    EXPECT_EQ(texts[0].brush.color, BackgroundColor);
    EXPECT_EQ(texts[0].brush.style, BrushStyle::Solid);
    EXPECT_EQ(texts[1].points[0], (Point{700 - 7 - 6, 350 - 20}));
    EXPECT_EQ(texts[2].points[0], (Point{350 - 7 - 6, 300 - 13 / 2}));
    EXPECT_EQ(texts[3].points[0], (Point{356, 0}));
    EXPECT_TRUE(lines(GridColor).empty() || GridColor == clBlack);
}

TEST_F(CoordinateSystemTest, EveryTickLabelledWithoutShowScale)
{
    ShowScale = false;
    DrawCoordinateSystem();
    const std::vector<std::string> axis{"-6", "-5", "-4", "-3", "-2", "-1", "1", "2", "3", "4", "5", "6"};
    std::vector<std::string> expected = axis;
    expected.push_back("x");
    expected.insert(expected.end(), axis.begin(), axis.end());
    expected.push_back("y");
    EXPECT_EQ(canvas_.texts(), expected);
    EXPECT_EQ(textCall("-6")->points[0], (Point{50 - 7, 356}));
}

TEST_F(CoordinateSystemTest, GridFollowsGridMode)
{
    GridColor = 0x808080;
    for (int mode : {1, 2, 3}) {
        canvas_.clear();
        GridMode = mode;
        DrawCoordinateSystem();
        const auto grid = lines(GridColor);
        if (mode == 1) {
            EXPECT_TRUE(grid.empty());
            continue;
        }
        // Twelve ticks per axis, three lines each: at the tick and half a step either side.
        EXPECT_EQ(grid.size(), 72u) << mode;
        for (const CanvasCall& c : grid)
            EXPECT_EQ(c.pen.style, mode == 2 ? PenStyle::Dot : PenStyle::Solid);
        const bool hasHalf = std::any_of(grid.begin(), grid.end(), [](const CanvasCall& c) {
            return c.points[0] == Point{325, 0} && c.points[1] == Point{325, 700};
        });
        EXPECT_TRUE(hasHalf);
        // The pen is black and solid again for the tick marks.
        EXPECT_EQ(verticalTicks(350, 4), 12u);
    }
}

TEST_F(CoordinateSystemTest, AxesMoveToTheEdgeWhenZeroIsOutside)
{
    setWindow(2, 12, 3, 9, 500, 300);
    DrawCoordinateSystem();
    const auto black = lines(clBlack);
    ASSERT_GE(black.size(), 2u);
    EXPECT_EQ(black[0].points, (std::vector<Point>{{0, 300}, {500, 300}})); // x axis at the bottom
    const bool yAxisLeft = std::any_of(black.begin(), black.end(), [](const CanvasCall& c) {
        return c.points == std::vector<Point>{{0, 0}, {0, 300}};
    });
    EXPECT_TRUE(yAxisLeft);
    // Tick index 1 (x = 0.5, y = 0.5) lies outside: with ShowScale nothing is labelled.
    EXPECT_EQ(canvas_.texts(), (std::vector<std::string>{"x", "y"}));

    canvas_.clear();
    setWindow(-12, -2, -9, -3, 500, 300);
    DrawCoordinateSystem();
    const auto below = lines(clBlack);
    EXPECT_EQ(below[0].points, (std::vector<Point>{{0, 0}, {500, 0}}));
    const bool yAxisRight = std::any_of(below.begin(), below.end(), [](const CanvasCall& c) {
        return c.points == std::vector<Point>{{500, 0}, {500, 300}};
    });
    EXPECT_TRUE(yAxisRight);
}

TEST_F(CoordinateSystemTest, PiAxisLabelsMultiplesOfPiInGreek)
{
    ShowScale = false;
    DrawCoordinateSystem(); // first a plain picture, to compare the tick count
    canvas_.clear();
    PiAxis = true;
    DrawCoordinateSystem();
    EXPECT_DOUBLE_EQ(XTickStep, std::numbers::pi / 2);
    std::vector<std::string> xLabels;
    for (const CanvasCall& c : canvas_.callsOf(CanvasOp::TextOut)) {
        if (c.text.find("π") == std::string::npos)
            continue;
        xLabels.push_back(c.text);
        EXPECT_EQ(c.font.charset, FontCharset::Greek);
    }
    EXPECT_EQ(xLabels,
              (std::vector<std::string>{"-2π", "-1,5π", "-1π", "-0,5π", "0,5π", "1π", "1,5π", "2π"}));
    EXPECT_EQ(canvas_.font().charset, FontCharset::Default);
    // "0,5π" is four characters wide and centred under its tick.
    EXPECT_EQ(textCall("0,5π")->points[0].x, WorldToPixelX(std::numbers::pi / 2) - 14);
    // y labels stay plain numbers.
    EXPECT_NE(textCall("6"), nullptr);
}

TEST_F(CoordinateSystemTest, TrigTicksHaveNoXLabels)
{
    setWindow(-6.5, 6.5, -4, 4, 650, 400);
    TrigTicks = true;
    ShowScale = false;
    DrawCoordinateSystem();
    EXPECT_EQ(verticalTicks(200, 4), 24u); // every π/6 from -12 to 12
    EXPECT_EQ(canvas_.texts(), (std::vector<std::string>{"x", "-3", "-2", "-1", "1", "2", "3", "y"}));
}

TEST_F(CoordinateSystemTest, NumberLineModeDrawsOnlyTheXAxis)
{
    NumberLineMode = true;
    GridMode = 3;
    setWindow(0, 20, -7, 7, 400, 200);
    DrawCoordinateSystem();
    EXPECT_EQ(canvas_.count(CanvasOp::Polygon), 1u);
    EXPECT_EQ(textCall("0"), nullptr);
    EXPECT_EQ(textCall("y"), nullptr);
    EXPECT_TRUE(lines(GridColor).empty() || GridColor == clBlack);

    canvas_.clear();
    setWindow(-1, 20, -7, 7, 420, 200);
    DrawCoordinateSystem();
    const CanvasCall* zero = textCall("0");
    ASSERT_NE(zero, nullptr);
    EXPECT_EQ(zero->points[0], (Point{20 - 3, 100 + 6}));
    EXPECT_EQ(verticalTicks(100, 4), 10u); // step 2: 0, 2, .. 18 with the origin
}

TEST_F(CoordinateSystemTest, DrawScaleTwoDoublesPenArrowsAndTicks)
{
    DrawScale = 2.0;
    DrawCoordinateSystem();
    const auto black = lines(clBlack);
    ASSERT_FALSE(black.empty());
    for (const CanvasCall& c : black)
        EXPECT_EQ(c.pen.width, 2);
    const auto arrows = canvas_.callsOf(CanvasOp::Polygon);
    EXPECT_EQ(arrows[0].points, (std::vector<Point>{{688, 342}, {700, 350}, {688, 358}}));
    EXPECT_EQ(verticalTicks(350, 8), 12u);
    EXPECT_EQ(textCall("1")->points[0], (Point{400 - 3, 350 + 12}));
}

TEST_F(CoordinateSystemTest, LeavesAlignmentAndDrawsNothingWithoutCanvas)
{
    canvas_.setTextAlign(TaRight | TaBottom);
    DrawCoordinateSystem();
    for (const CanvasCall& c : canvas_.callsOf(CanvasOp::TextOut))
        EXPECT_EQ(c.textAlign, TaLeft | TaTop);
    EXPECT_EQ(canvas_.textAlign(), TaRight | TaBottom);
    EXPECT_EQ(canvas_.brush().color, BackgroundColor);

    DrawCanvas = nullptr;
    DrawCoordinateSystem(); // must simply return
}

TEST_F(CoordinateSystemTest, DegenerateWindowsFinishWithFewPrimitives)
{
    const double nan = std::nan("");
    const double inf = std::numeric_limits<double>::infinity();
    const std::vector<std::array<double, 4>> windows{{3, 3, 5, 5},
                                                     {7, -7, 7, -7},
                                                     {nan, 7, -7, nan},
                                                     {-inf, inf, -7, 7},
                                                     {-1e300, 1e300, -1e-300, 1e-300},
                                                     {99999.9999, 100000, -0.0001, 0}};
    for (const auto& w : windows) {
        canvas_.clear();
        setWindow(w[0], w[1], w[2], w[3], 700, 700);
        DrawCoordinateSystem();
        EXPECT_LT(canvas_.calls().size(), 1000u) << w[0] << " " << w[1];
    }
    // A typed step far too small for the window falls back instead of drawing millions of ticks.
    canvas_.clear();
    AutoTicks = false;
    UserXTickStep = UserYTickStep = 0.001;
    GridMode = 2;
    setWindow(-1e6, 1e6, -1e6, 1e6, 700, 700);
    DrawCoordinateSystem();
    EXPECT_LT(canvas_.calls().size(), 1000u);
}

} // namespace
} // namespace kurvex
