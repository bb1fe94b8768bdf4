// Tests of the world-to-pixel mapping, the tick-step rule, the label format and the axes painter.
#include "core/CoordinateSystem.h"

#include "core/Settings.h"
#include "platform/RecordingCanvas.h"
#include "support/SharedState.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>
#include <numbers>

namespace kurvex {
namespace {

constexpr double kNan = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

class CoordinateSystemTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        setWindow(-7, 7, -7, 7, 700, 700);
        UserXTickStep = UserYTickStep = 0.0;
        DrawScale = 1.0;
        GridMode = 1;
        GridColor = clGray;
        AutoTicks = ShowScale = true;
        TrigTicks = PiAxis = NumberLineMode = false;
        XAxisLabel = "x";
        YAxisLabel = "y";
        DrawCanvas = &canvas_;
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
    void draw()
    {
        canvas_.clear();
        DrawCoordinateSystem();
    }
    std::vector<CanvasCall> lines(TColor color) const
    {
        std::vector<CanvasCall> out;
        for (const CanvasCall& c : canvas_.callsOf(CanvasOp::LineTo))
            if (c.pen.color == color)
                out.push_back(c);
        return out;
    }
    bool hasLine(TColor color, Point from, Point to) const
    {
        const auto l = lines(color);
        return std::any_of(l.begin(), l.end(), [&](const CanvasCall& c) {
            return c.points == std::vector{from, to};
        });
    }
    const CanvasCall* textCall(const std::string& text) const
    {
        for (const CanvasCall& c : canvas_.calls())
            if (c.op == CanvasOp::TextOut && c.text == text)
                return &c;
        return nullptr;
    }
    // Black vertical marks of half-length h on the x axis at row y0.
    std::size_t xTicks(int y0, int h) const
    {
        const auto l = lines(clBlack);
        return static_cast<std::size_t>(std::count_if(l.begin(), l.end(), [&](const CanvasCall& c) {
            return c.points[0].x == c.points[1].x && c.points[0].y == y0 - h && c.points[1].y == y0 + h;
        }));
    }

    test::SharedStateScope shared_;
    RecordingCanvas canvas_;
};

TEST_F(CoordinateSystemTest, MapsWorldToPixelsAndBack)
{
    struct Case {
        const char* name;
        std::array<double, 4> window;
        double v;
        int px, py;
    };
    const Case cases[] = {
        {"origin", {-7, 7, -7, 7}, 0.0, 350, 350},
        {"upper end", {-7, 7, -7, 7}, 7.0, 700, 0},
        {"lower end", {-7, 7, -7, 7}, -7.0, 0, 700},
        // Half a pixel per unit: .5 rounds to the even neighbour.
        {"half 0.5", {0, 1400, 0, 1400}, 1.0, 0, 700},
        {"half 1.5", {0, 1400, 0, 1400}, 3.0, 2, 698},
        {"half 2.5", {0, 1400, 0, 1400}, 5.0, 2, 698},
        {"half 3.5", {0, 1400, 0, 1400}, 7.0, 4, 696},
        {"far above a narrow window", {0, 0.0002, 0, 0.0002}, 100000.0, kPixelLimit, -kPixelLimit},
        {"far below a narrow window", {0, 0.0002, 0, 0.0002}, -10000.0, -kPixelLimit, kPixelLimit},
        {"infinity", {-7, 7, -7, 7}, kInf, kPixelLimit, -kPixelLimit},
        {"NaN", {-7, 7, -7, 7}, kNan, kPixelLimit, kPixelLimit},
        {"zero spans", {3, 3, 5, 5}, 4.0, 0, 700},
        {"NaN window", {kNan, 1, kNan, 1}, 0.5, 0, 700},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        setWindow(c.window[0], c.window[1], c.window[2], c.window[3], 700, 700);
        EXPECT_EQ(WorldToPixelX(c.v), c.px);
        EXPECT_EQ(WorldToPixelY(c.v), c.py);
    }

    setWindow(-7, 7, -7, 7, 700, 700);
    for (int px = 0; px <= 700; px += 7) {
        EXPECT_EQ(WorldToPixelX(PixelToWorldX(px)), px);
        EXPECT_EQ(WorldToPixelY(PixelToWorldY(px)), px);
    }
    EXPECT_DOUBLE_EQ(PixelToWorldX(350), 0.0);
    EXPECT_DOUBLE_EQ(PixelToWorldY(0), 7.0);
    setWindow(-7, 7, -7, 7, 0, 0); // no plot yet: no division by zero
    EXPECT_DOUBLE_EQ(PixelToWorldX(10), -7.0);
    EXPECT_DOUBLE_EQ(PixelToWorldY(10), -7.0);
}

TEST(TickRule, PowerOfTenAndLog10KeepTheirOwnArithmetic)
{
    EXPECT_EQ(PowerOfTen(3), 1000.0);
    EXPECT_NEAR(PowerOfTen(-2), 0.01, 1e-17);
    EXPECT_EQ(PowerOfTen(100000), kInf);
    EXPECT_LT(Log10(10.0), 1.0); // just below: a span of 10 gets twenty intervals
    EXPECT_LT(Log10(100.0), 2.0);
    EXPECT_NEAR(Log10(1000.0), 3.0, 1e-8);
}

TEST(TickRule, PicksTheOneTwoFiveStep)
{
    const std::pair<double, double> cases[] = {{10, 0.5}, {14, 1},     {10.5, 1},   {6, 0.5},
                                               {100, 5},  {100.5, 10}, {0.1, 0.01}, {1e-4, 1e-5},
                                               {3, 0.2},  {1e7, 5e5},  {-14, 1}};
    for (const auto& [span, step] : cases)
        EXPECT_NEAR(AutoTickStep(span), step, step * 1e-9) << "span " << span;
    for (double span : {0.0, kNan, kInf, 1e-320, 1e308}) {
        const double s = AutoTickStep(span);
        EXPECT_TRUE(std::isfinite(s) && s > 0.0) << "span " << span;
    }
}

TEST_F(CoordinateSystemTest, StepsComeFromTheWindowOrTheUsersStep)
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
    UserYTickStep = -1.0;
    ComputeXTickStep();
    ComputeYTickStep();
    EXPECT_DOUBLE_EQ(XTickStep, 2e5);
    EXPECT_DOUBLE_EQ(YTickStep, 1.0);

    TrigTicks = true;
    ComputeYTickStep();
    EXPECT_DOUBLE_EQ(XTickStep, std::numbers::pi / 6);
    EXPECT_DOUBLE_EQ(YTickStep, 1.0);
}

TEST(AxisLabel, FourSignificantDigitsWithComma)
{
    const std::pair<double, const char*> cases[] = {{0.5, "0,5"},
                                                    {1, "1"},
                                                    {-1.5, "-1,5"},
                                                    {2000, "2000"},
                                                    {9999, "9999"},
                                                    {20000, "2E+04"},
                                                    {12346, "1,235E+04"},
                                                    {0.00001, "0,00001"},
                                                    {0.000001, "1E-06"},
                                                    {0.1 + 0.2, "0,3"},
                                                    {1.23456, "1,235"},
                                                    {-0.0125, "-0,0125"},
                                                    {1e-17, "1E-17"},
                                                    {1e100, "1E+100"},
                                                    {0, "0"},
                                                    // exact halves away from zero
                                                    {12345, "1,235E+04"},
                                                    {-1.0625, "-1,063"},
                                                    {99995, "1E+05"}};
    for (const auto& [value, text] : cases)
        EXPECT_EQ(FormatAxisLabel(value), text) << value;
}

TEST_F(CoordinateSystemTest, DefaultWindowTicksLabelsAndCaptionsAtEachScale)
{
    canvas_.setTextAlign(TaRight | TaBottom);
    for (const int s : {1, 2}) {
        SCOPED_TRACE(s);
        DrawScale = s;
        const int A = 6 * s; // arrow length
        const int H = 4 * s; // half-width of arrows and ticks
        draw();
        const auto arrows = canvas_.callsOf(CanvasOp::Polygon);
        ASSERT_EQ(arrows.size(), 2u);
        EXPECT_EQ(arrows[0].points, (std::vector<Point>{{700 - A, 350 - H}, {700, 350}, {700 - A, 350 + H}}));
        EXPECT_EQ(arrows[1].points, (std::vector<Point>{{350 - H, A}, {350, 0}, {350 + H, A}}));
        EXPECT_EQ(arrows[0].brush.color, clBlack);
        EXPECT_TRUE(hasLine(clBlack, {0, 350}, {700, 350}));
        EXPECT_TRUE(hasLine(clBlack, {350, 0}, {350, 700}));
        EXPECT_EQ(xTicks(350, H), 12u); // -6..6 without 0
        for (const CanvasCall& c : lines(clBlack))
            EXPECT_EQ(c.pen.width, s);
        EXPECT_TRUE(lines(GridColor).empty());

        // ShowScale: only the tick with index 1 is labelled on each axis, on the background colour.
        EXPECT_EQ(canvas_.texts(), (std::vector<std::string>{"1", "x", "1", "y"}));
        const auto texts = canvas_.callsOf(CanvasOp::TextOut);
        EXPECT_EQ(texts[0].points[0], (Point{400 - 3, 350 + A}));
        EXPECT_EQ(texts[0].brush.color, BackgroundColor);
        EXPECT_EQ(texts[0].brush.style, BrushStyle::Solid);
        EXPECT_EQ(texts[0].textAlign, TaLeft | TaTop);
        EXPECT_EQ(texts[1].points[0], (Point{700 - 7 - A, 350 - 5 * H}));
        EXPECT_EQ(texts[2].points[0], (Point{350 - 7 - A, 300 - 13 / 2}));
        EXPECT_EQ(texts[3].points[0], (Point{350 + A, 0}));
        EXPECT_EQ(canvas_.textAlign(), TaRight | TaBottom); // the caller's alignment is back
    }

    DrawScale = 1.0;
    ShowScale = false;
    draw();
    const std::vector<std::string> axis{"-6", "-5", "-4", "-3", "-2", "-1", "1", "2", "3", "4", "5", "6"};
    std::vector<std::string> expected = axis;
    expected.push_back("x");
    expected.insert(expected.end(), axis.begin(), axis.end());
    expected.push_back("y");
    EXPECT_EQ(canvas_.texts(), expected);
    EXPECT_EQ(textCall("-6")->points[0], (Point{50 - 7, 356}));

    DrawCanvas = nullptr;
    DrawCoordinateSystem(); // nothing to draw on: simply returns
}

TEST_F(CoordinateSystemTest, GridFollowsGridMode)
{
    for (int mode : {2, 3}) {
        SCOPED_TRACE(mode);
        GridMode = mode;
        draw();
        const auto grid = lines(GridColor);
        // Twelve ticks per axis, three lines each: at the tick and half a step either side.
        EXPECT_EQ(grid.size(), 72u);
        for (const CanvasCall& c : grid)
            EXPECT_EQ(c.pen.style, mode == 2 ? PenStyle::Dot : PenStyle::Solid);
        EXPECT_TRUE(hasLine(GridColor, {325, 0}, {325, 700}));
        EXPECT_TRUE(hasLine(GridColor, {0, 375}, {700, 375}));
        EXPECT_EQ(xTicks(350, 4), 12u); // black and solid again for the tick marks
    }
}

TEST_F(CoordinateSystemTest, AxesMoveToTheEdgeWhenZeroIsOutside)
{
    setWindow(2, 12, 3, 9, 500, 300);
    draw();
    EXPECT_TRUE(hasLine(clBlack, {0, 300}, {500, 300})); // x axis along the bottom
    EXPECT_TRUE(hasLine(clBlack, {0, 0}, {0, 300}));     // y axis along the left edge
    // Tick index 1 (x = 0.5, y = 0.5) lies outside: with ShowScale nothing is labelled.
    EXPECT_EQ(canvas_.texts(), (std::vector<std::string>{"x", "y"}));

    setWindow(-12, -2, -9, -3, 500, 300);
    draw();
    EXPECT_TRUE(hasLine(clBlack, {0, 0}, {500, 0}));
    EXPECT_TRUE(hasLine(clBlack, {500, 0}, {500, 300}));
}

TEST_F(CoordinateSystemTest, PiAxisLabelsMultiplesOfPiInGreek)
{
    ShowScale = false;
    PiAxis = true;
    draw();
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
    // "0,5π" is four characters wide and centred under its tick; y labels stay plain numbers.
    EXPECT_EQ(textCall("0,5π")->points[0].x, WorldToPixelX(std::numbers::pi / 2) - 14);
    EXPECT_NE(textCall("6"), nullptr);
}

TEST_F(CoordinateSystemTest, TrigTicksHaveNoXLabels)
{
    setWindow(-6.5, 6.5, -4, 4, 650, 400);
    TrigTicks = true;
    ShowScale = false;
    draw();
    EXPECT_EQ(xTicks(200, 4), 24u); // every π/6 from -12 to 12
    EXPECT_EQ(canvas_.texts(), (std::vector<std::string>{"x", "-3", "-2", "-1", "1", "2", "3", "y"}));
}

TEST_F(CoordinateSystemTest, NumberLineModeDrawsOnlyTheXAxis)
{
    NumberLineMode = true;
    GridMode = 3;
    setWindow(0, 20, -7, 7, 400, 200);
    draw();
    EXPECT_EQ(canvas_.count(CanvasOp::Polygon), 1u);
    EXPECT_EQ(textCall("0"), nullptr); // 0 is not strictly inside
    EXPECT_EQ(textCall("y"), nullptr);
    EXPECT_TRUE(lines(GridColor).empty());

    setWindow(-1, 20, -7, 7, 420, 200);
    draw();
    const CanvasCall* zero = textCall("0");
    ASSERT_NE(zero, nullptr);
    EXPECT_EQ(zero->points[0], (Point{20 - 3, 100 + 6}));
    EXPECT_EQ(xTicks(100, 4), 10u); // step 2: 0, 2, .. 18 with the origin
}

TEST_F(CoordinateSystemTest, DegenerateWindowsAndStepsFinishWithFewPrimitives)
{
    const std::array<double, 4> windows[] = {{3, 3, 5, 5},
                                             {7, -7, 7, -7},
                                             {kNan, 7, -7, kNan},
                                             {-kInf, kInf, -7, 7},
                                             {-1e300, 1e300, -1e-300, 1e-300},
                                             {99999.9999, 100000, -0.0001, 0}};
    GridMode = 2;
    for (const auto& w : windows) {
        setWindow(w[0], w[1], w[2], w[3], 700, 700);
        draw();
        EXPECT_LT(canvas_.calls().size(), 1000u) << w[0] << " " << w[1];
    }
    // A typed step far too small for the window falls back instead of drawing millions of ticks.
    AutoTicks = false;
    UserXTickStep = UserYTickStep = 0.001;
    setWindow(-1e6, 1e6, -1e6, 1e6, 700, 700);
    draw();
    EXPECT_LT(canvas_.calls().size(), 1000u);
}

} // namespace
} // namespace kurvex
