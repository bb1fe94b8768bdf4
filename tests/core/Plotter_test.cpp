// Tests of the curve plotter on a recording canvas: gaps, poles, clipping at the plot edge, jump limits.
#include "core/Plotter.h"

#include "core/Settings.h"
#include "core/WorldWindow.h"
#include "platform/RecordingCanvas.h"
#include "support/SharedState.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <iterator>

namespace kurvex {
namespace {

constexpr CurveVariant kTwoPixels{2, 20000, 20000};
constexpr CurveVariant kWideJumps{2, 20000000, 2000000};

// World -7..7 on a 700 x 700 plot: 50 pixels per unit, x = 0 at column 350, y = 0 at row 350.
class PlotterTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        setWorld({-7, 7, -7, 7});
        PlotLeft = 0;
        PlotTop = 0;
        PlotWidth = 700;
        PlotHeight = 700;
        DrawCanvas = &canvas;
        CurveColor = clBlue;
        LineWidth = 1;
        DrawScale = 1.0;
    }

    void plot(const CurveValueFunction& f, const CurveVariant& v = kTwoPixels)
    {
        DrawCurve(XMin, XMax, XMin, XMax, f, v);
    }
    std::vector<CanvasCall> lines() const { return canvas.callsOf(CanvasOp::LineTo); }

    test::SharedStateScope shared;
    RecordingCanvas canvas;
};

std::optional<double> identity(double x)
{
    return x;
}

TEST_F(PlotterTest, CallersColourAndWidthScaleWithTheDrawingAsLineWidthDoes)
{
    DrawScale = 2.0;
    DrawCurve(XMin, XMax, XMin, XMax, identity, kTwoPixels, clRed, 3);
    const auto segs = lines();
    ASSERT_FALSE(segs.empty());
    EXPECT_TRUE(std::all_of(segs.begin(), segs.end(),
                            [](const CanvasCall& c) { return c.pen.color == clRed && c.pen.width == 6; }));
    EXPECT_EQ(CurveColor, clBlue);
}

TEST_F(PlotterTest, StraightLineIsDrawnAcrossThePlotInStepsWithTheScaledPen)
{
    LineWidth = 3;
    DrawScale = 2.0;
    plot(identity);
    const auto moves = canvas.callsOf(CanvasOp::MoveTo);
    ASSERT_EQ(moves.size(), 1u);
    EXPECT_EQ(moves[0].points[0], (Point{0, 700}));
    const auto segs = lines();
    // Samples at -7, -6.96, ... up to one step beyond 7; the first one only sets the pen down.
    ASSERT_GE(segs.size(), 351u);
    EXPECT_LE(segs.size(), 353u);
    EXPECT_EQ(segs[0].points[0], segs[0].points[1]);
    EXPECT_EQ(segs[0].pen.width, 6);
    for (std::size_t i = 1; i < segs.size(); ++i) {
        EXPECT_EQ(segs[i].points[1].x - segs[i].points[0].x, 2);
        EXPECT_EQ(segs[i].pen.color, clBlue);
    }
    EXPECT_GE(segs.back().points[1].x, 700);
    EXPECT_EQ(segs.back().points[1].y, 0);
    // A one-pixel step doubles the segments.
    canvas.clear();
    plot(identity, CurveVariant{1, 20000, 20000});
    EXPECT_GE(lines().size(), 700u);
    EXPECT_LE(lines().size(), 703u);
    EXPECT_EQ(lines()[10].points[1].x - lines()[10].points[0].x, 1);
}

TEST_F(PlotterTest, HyperbolaHasTwoBranchesAndNoLineAcrossThePole)
{
    plot([](double x) { return x == 0 ? std::nullopt : std::optional(1 / x); });
    int left = 0;
    int right = 0;
    for (const CanvasCall& c : lines()) {
        const Point from = c.points[0];
        const Point to = c.points[1];
        EXPECT_FALSE(from.x < 350 && to.x > 350) << from.x << " -> " << to.x;
        // Neither branch is joined to the other one across the middle rows.
        EXPECT_LT(std::abs(to.y - from.y), 700) << from.x << " -> " << to.x;
        (to.x <= 350 ? left : right)++;
    }
    EXPECT_GT(left, 100);
    EXPECT_GT(right, 100);
}

TEST_F(PlotterTest, CurveUndefinedOnTheLeftStartsAtItsFirstDefinedSample)
{
    const CurveValueFunction curves[] = {
        [](double x) { return x <= 0 ? std::nullopt : std::optional(std::log(x)); },
        [](double x) { return std::optional(x < 0 ? std::nan("") : x); }, // NaN counts as undefined
    };
    for (const CurveValueFunction& f : curves) {
        SCOPED_TRACE(&f == curves ? "ln(x)" : "NaN");
        canvas.clear();
        plot(f);
        const auto& calls = canvas.calls();
        const auto firstLine = std::find_if(calls.begin(), calls.end(),
                                            [](const CanvasCall& c) { return c.op == CanvasOp::LineTo; });
        ASSERT_NE(firstLine, calls.end());
        for (auto it = calls.begin(); it != firstLine; ++it) {
            EXPECT_EQ(it->op, CanvasOp::MoveTo);
            EXPECT_GE(it->points[0].x, 350);
        }
        for (const CanvasCall& c : lines()) {
            EXPECT_GE(c.points[0].x, 350);
            EXPECT_GE(c.points[1].y, 0);
            EXPECT_LE(c.points[1].y, 700);
        }
    }
}

TEST_F(PlotterTest, CurveLeavingTheTopOrBottomIsDrawnToTheEdgeRowAndResumesWhereItComesBack)
{
    plot([](double x) -> std::optional<double> { return x * x; });
    const auto segs = lines();
    // Left: the first segment comes in from outside the top and ends inside.
    ASSERT_FALSE(segs.empty());
    EXPECT_LT(segs.front().points[0].y, 0);
    EXPECT_GE(segs.front().points[1].y, 0);
    EXPECT_LT(segs.front().points[1].x, 350);
    // Right: the curve leaves at row 0 in the column of the first sample above the plot.
    const auto leaving = std::find_if(segs.begin(), segs.end(), [](const CanvasCall& c) {
        return c.points[1].x > 350 && c.points[1].y == 0 && c.points[0].y > 0;
    });
    ASSERT_NE(leaving, segs.end());
    const double xOut = (leaving->points[1].x - 350) / 50.0;
    EXPECT_GT(xOut * xOut, 7.0);
    EXPECT_LT((xOut - 0.04) * (xOut - 0.04), 7.0);
    // Nothing is drawn above the plot.
    for (const CanvasCall& c : segs) {
        EXPECT_GE(c.points[1].y, 0);
        EXPECT_LE(c.points[1].y, 700);
    }
    EXPECT_EQ(std::next(leaving), segs.end());
    // The same at the bottom row.
    canvas.clear();
    plot([](double x) -> std::optional<double> { return -x * x; });
    const auto below = lines();
    EXPECT_TRUE(std::any_of(below.begin(), below.end(), [](const CanvasCall& c) {
        return c.points[1].x > 350 && c.points[1].y == 700 && c.points[0].y < 700;
    }));
}

TEST_F(PlotterTest, JumpIsDrawnOnlyBelowTheVariantsLimit)
{
    // A step at x = 0 from `before` to `after`; 50 rows per unit, so 500 units are 25000 rows.
    const struct {
        const char* name;
        double before, after;
        CurveVariant variant;
        bool jumpDrawn;
    } cases[] = {{"into the plot, 25000 rows", 500, 0, kTwoPixels, false},
                 {"into the plot, 15000 rows", 300, 0, kTwoPixels, true},
                 {"into the plot, 25000 rows, wide limits", 500, 0, kWideJumps, true},
                 {"leaving, 25000 rows", 0, -500, kTwoPixels, false},
                 {"leaving, 15000 rows", 0, -300, kTwoPixels, true},
                 {"leaving, 25000 rows, wide limits", 0, -500, kWideJumps, true},
                 {"clamped pole", 100000, -10000, kTwoPixels, false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        canvas.clear();
        plot([&c](double x) -> std::optional<double> { return x < -1e-9 ? c.before : c.after; }, c.variant);
        bool drawnAcross = false;
        for (const CanvasCall& s : lines()) {
            if (s.points[0].x < 350 && s.points[1].x >= 350 && s.points[0].y != s.points[1].y) {
                drawnAcross = true;
                // A segment leaving the plot ends at its edge row.
                EXPECT_EQ(s.points[1].y, c.after < 0 ? 700 : 350);
            }
        }
        EXPECT_EQ(drawnAcross, c.jumpDrawn);
    }
}

TEST_F(PlotterTest, NothingIsDrawnFromSamplesUndefinedUpToTheRightEnd)
{
    plot([](double x) { return x >= 1 ? std::nullopt : std::optional(x); });
    ASSERT_FALSE(lines().empty());
    for (const CanvasCall& c : canvas.calls()) {
        EXPECT_LE(c.points.back().x, 400);
    }
}

TEST_F(PlotterTest, PartOfTheWindowEndsWithTheValueAtItsRightEnd)
{
    int calls = 0;
    DrawCurve(
        XMin, XMax, -1, 1,
        [&](double x) -> std::optional<double> {
            ++calls;
            EXPECT_LE(x, 1.0);
            return x;
        },
        kTwoPixels);
    const auto segs = lines();
    ASSERT_FALSE(segs.empty());
    EXPECT_EQ(canvas.callsOf(CanvasOp::MoveTo).front().points[0], (Point{300, 400}));
    EXPECT_GE(segs.back().points[1].x, 400);
    EXPECT_LE(segs.back().points[1].x, 404);
    EXPECT_EQ(segs.back().points[1].y, 300);
    EXPECT_LT(calls, 60);
}

TEST_F(PlotterTest, UndefinedCurveOrUnusableInputDrawsNothing)
{
    plot([](double) -> std::optional<double> { return std::nullopt; });
    DrawCurve(1, 1, 1, 1, identity, kTwoPixels);
    DrawCurve(2, 1, 1, 2, identity, kTwoPixels);
    DrawCurve(std::nan(""), 1, 1, 2, identity, kTwoPixels);
    DrawCurve(XMin, XMax, XMin, XMax, identity, CurveVariant{0, 20000, 20000});
    // A window far out on the axis where x + dx == x: the plotter must stop, not spin.
    DrawCurve(1e17, 1e17 + 100, 1e17, 1e17 + 100, identity, kTwoPixels);
    PlotWidth = 0;
    plot(identity);
    EXPECT_TRUE(canvas.calls().empty());
    PlotWidth = 700;
    DrawCanvas = nullptr;
    plot(identity);
    DrawCanvas = &canvas;
    EXPECT_TRUE(canvas.calls().empty());
}

// A secant or piece from a point typed far outside the window: sampling stays within the window
// and a step beyond it, and the visible part is the same as for a range that ends there.
TEST_F(PlotterTest, RangeFarOutsideTheWindowIsSampledOnlyWhereItShows)
{
    int samples = 0;
    const auto counting = [&samples](double x) -> std::optional<double> {
        ++samples;
        return x;
    };
    DrawCurve(XMin, XMax, -1e12, 1e12, counting, kTwoPixels);
    EXPECT_LE(samples, 700 / 2 + 4);
    const auto far = lines();
    canvas.clear();
    plot(identity);
    EXPECT_EQ(far.size(), lines().size());
    samples = 0;
    DrawCurve(XMin, XMax, 1e12, 2e12, counting, kTwoPixels);
    EXPECT_LE(samples, 2);
}

TEST_F(PlotterTest, CallersPenReplacesCurveColourAndLineWidth)
{
    LineWidth = 3;
    DrawCurveWithPen(XMin, XMax, XMin, XMax, identity, kTwoPixels, clRed, 5);
    const auto segs = lines();
    ASSERT_FALSE(segs.empty());
    for (const CanvasCall& seg : segs) {
        EXPECT_EQ(seg.pen.color, clRed);
        EXPECT_EQ(seg.pen.width, 5);
    }
    EXPECT_EQ(CurveColor, clBlue);
    EXPECT_EQ(LineWidth, 3);
}

// The runs of a curve as point lists: from the lines drawn one by one, or from the polylines.
std::vector<std::vector<Point>> runsOf(const RecordingCanvas& c)
{
    std::vector<std::vector<Point>> runs;
    for (const CanvasCall& call : c.calls()) {
        if (call.op == CanvasOp::Polyline) {
            runs.push_back(call.points);
        } else if (call.op == CanvasOp::LineTo) {
            if (runs.empty() || runs.back().back() != call.points[0]) {
                runs.push_back({call.points[0]});
            }
            runs.back().push_back(call.points[1]);
        }
    }
    return runs;
}

// Whether p lies on the segment from a to b.
bool onSegment(Point a, Point b, Point p)
{
    const long long cross =
        static_cast<long long>(b.x - a.x) * (p.y - a.y) - static_cast<long long>(b.y - a.y) * (p.x - a.x);
    return cross == 0 && std::min(a.x, b.x) <= p.x && p.x <= std::max(a.x, b.x) &&
           std::min(a.y, b.y) <= p.y && p.y <= std::max(a.y, b.y);
}

// The polyline passes through every point of the lines, in order, keeping only the corners.
::testing::AssertionResult sameWay(const std::vector<Point>& lines, const std::vector<Point>& polyline)
{
    if (polyline.size() < 2 || polyline.front() != lines.front() || polyline.back() != lines.back()) {
        return ::testing::AssertionFailure() << "ends differ";
    }
    std::size_t corner = 0;
    for (const Point& p : lines) {
        if (corner + 1 < polyline.size() && p == polyline[corner + 1]) {
            ++corner;
        } else if (corner + 1 >= polyline.size() || !onSegment(polyline[corner], polyline[corner + 1], p)) {
            return ::testing::AssertionFailure() << "(" << p.x << ", " << p.y << ") is off the polyline";
        }
    }
    return corner + 1 == polyline.size() ? ::testing::AssertionSuccess()
                                         : ::testing::AssertionFailure() << "corners left over";
}

TEST_F(PlotterTest, PolylinesTakeTheWayOfTheLinesWithOnlyTheirCorners)
{
    struct Case {
        const char* name;
        CurveValueFunction f;
        std::size_t runs;
    };
    const Case cases[] = {
        {"straight line", identity, 1},
        {"hyperbola", [](double x) { return x == 0 ? std::nullopt : std::optional<double>(1 / x); }, 2},
        {"leaves at the top", [](double x) { return std::optional<double>(x * x * x); }, 1},
        {"tangent's branches", [](double x) { return std::optional<double>(std::tan(x)); }, 5},
        {"zigzag", [](double x) { return std::optional<double>(std::fmod(std::floor(x * 25), 2.0) / 25); },
         1},
        {"undefined everywhere", [](double) { return std::optional<double>(); }, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        canvas.clear();
        DrawCurveWithPen(XMin, XMax, XMin, XMax, c.f, kTwoPixels, clRed, 3, CurveStroke::Segments);
        const auto bySegments = runsOf(canvas);
        const Point segmentsEnd = canvas.penPos();
        canvas.clear();
        DrawCurveWithPen(XMin, XMax, XMin, XMax, c.f, kTwoPixels, clRed, 3, CurveStroke::Polylines);
        EXPECT_EQ(canvas.count(CanvasOp::LineTo), 0u);
        const auto byPolylines = runsOf(canvas);
        ASSERT_EQ(byPolylines.size(), c.runs);
        ASSERT_EQ(bySegments.size(), c.runs);
        for (std::size_t i = 0; i < c.runs; ++i) {
            EXPECT_TRUE(sameWay(bySegments[i], byPolylines[i])) << "run " << i;
        }
        EXPECT_EQ(canvas.penPos(), segmentsEnd);
        for (const CanvasCall& call : canvas.callsOf(CanvasOp::Polyline)) {
            EXPECT_EQ(call.pen.width, 3);
            EXPECT_EQ(call.pen.color, clRed);
        }
    }
    // A straight line keeps its ends and the corner to its last sample, which is taken at the end
    // of the range while its column lies a step beyond.
    canvas.clear();
    DrawCurveWithPen(XMin, XMax, XMin, XMax, identity, kTwoPixels, clRed, 3, CurveStroke::Polylines);
    EXPECT_EQ(runsOf(canvas).at(0).size(), 3u);
}

} // namespace
} // namespace kurvex
