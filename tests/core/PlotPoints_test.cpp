// Points of the fitting windows: grid snapping, arrow steps at every snap mode and tick step, the
// hit test, marker shapes, sorting and the box around loaded points.
#include "core/PlotPoints.h"

#include "platform/RecordingCanvas.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace kurvex {
namespace {

struct SnapCase {
    int mode;
    double tick;
    double v;
    double expected;
};

TEST(PlotPoints, SnapsToTheModesGridWithHalvesToEven)
{
    const SnapCase cases[] = {
        {1, 1.0, 0.3, 0.3},          // "Pixel" keeps the point where it was placed
        {2, 1.0, 0.3, 0.0},          // whole ticks
        {2, 1.0, 0.5, 0.0},          // half a unit rounds to the even multiple
        {2, 1.0, 1.5, 2.0},          //
        {2, 2.0, 2.9, 2.0},          // tick step 2: the grid is 2 wide
        {3, 1.0, 0.3, 0.5},          // halves
        {3, 1.0, 0.25, 0.0},         // 0.25 / 0.5 = 0.5 rounds to 0
        {3, 1.0, 0.75, 1.0},         // 1.5 rounds to 2 halves
        {3, 1.0, -0.3, -0.5},        // negative values mirror
        {4, 1.0, 0.13, 0.25},        // quarters
        {5, 1.0, 0.349, 0.3},        // tenths
        {5, 0.5, 0.349, 0.35},       // tenths of a 0.5 tick
        {5, 1000.0, 1949.0, 1900.0}, // years on an axis of 1000s: a grid of 100
        {3, 0.0, 0.3, 0.3},          // an unusable tick step snaps nothing
        {3, std::numeric_limits<double>::quiet_NaN(), 0.3, 0.3},
    };
    for (const SnapCase& c : cases) {
        SCOPED_TRACE(testing::Message() << "mode " << c.mode << " tick " << c.tick << " v " << c.v);
        EXPECT_NEAR(SnapValue(c.v, c.mode, c.tick), c.expected, 1e-12);
    }
}

TEST(PlotPoints, ArrowStepIsTheModesStepAndNeverLessThanOneGridUnit)
{
    const SnapCase cases[] = {
        // mode, tick, (unused), step
        {1, 1.0, 0, 0.02}, {1, 2.0, 0, 0.04},                   // 0.02 is half a unit of 2/50: one unit
        {1, 0.5, 0, 0.02}, {2, 1.0, 0, 1.0},  {2, 2.0, 0, 2.0}, // round(1/2) = 0 would freeze the point
        {2, 0.5, 0, 1.0},  {3, 1.0, 0, 0.5},  {3, 2.0, 0, 1.0},  {4, 1.0, 0, 0.25}, {4, 5.0, 0, 1.25},
        {5, 1.0, 0, 0.1},  {5, 0.2, 0, 0.1},  {5, 10.0, 0, 1.0}, {3, 0.0, 0, 0.5}, // unusable tick step: the
                                                                                   // nominal step
    };
    for (const SnapCase& c : cases) {
        SCOPED_TRACE(testing::Message() << "mode " << c.mode << " tick " << c.tick);
        EXPECT_NEAR(ArrowStep(c.mode, c.tick), c.expected, 1e-12);
    }
}

TEST(PlotPoints, SnapCaptionsByMode)
{
    EXPECT_EQ(SnapCaption(1), "Pixel");
    EXPECT_EQ(SnapCaption(2), "1/1");
    EXPECT_EQ(SnapCaption(3), "1/2");
    EXPECT_EQ(SnapCaption(4), "1/4");
    EXPECT_EQ(SnapCaption(5), "1/10");
    EXPECT_EQ(SnapCaption(0), "Pixel");
    EXPECT_EQ(SnapCaption(9), "1/10");
}

TEST(PlotPoints, HitTestIsStrictlyInsideTheRadiusInBothDirections)
{
    const Point p{100, 50};
    EXPECT_TRUE(HitTestPoint(100, 50, p));
    EXPECT_TRUE(HitTestPoint(109, 41, p));
    EXPECT_FALSE(HitTestPoint(110, 50, p));
    EXPECT_FALSE(HitTestPoint(100, 60, p));
    EXPECT_FALSE(HitTestPoint(91 - 1, 50, p));
}

struct MarkerCase {
    int style;
    CanvasOp op;
    BrushStyle brush;
    int lines;
    int boldWidth; // pen width of the strokes
};

TEST(PlotPoints, EightMarkerShapes)
{
    const MarkerCase cases[] = {
        {0, CanvasOp::Ellipse, BrushStyle::Clear, 0, 1},   {1, CanvasOp::Ellipse, BrushStyle::Solid, 0, 1},
        {2, CanvasOp::Rectangle, BrushStyle::Clear, 0, 1}, {3, CanvasOp::Rectangle, BrushStyle::Solid, 0, 1},
        {4, CanvasOp::LineTo, BrushStyle::Solid, 2, 1},    {5, CanvasOp::LineTo, BrushStyle::Solid, 2, 2},
        {6, CanvasOp::LineTo, BrushStyle::Solid, 2, 1},    {7, CanvasOp::LineTo, BrushStyle::Solid, 2, 2},
    };
    for (const MarkerCase& c : cases) {
        SCOPED_TRACE(c.style);
        RecordingCanvas canvas;
        canvas.setPenColor(clRed);
        DrawPointMarker(canvas, {50, 60}, c.style, 4, 1);
        const auto calls = canvas.callsOf(c.op);
        if (c.lines == 0) {
            ASSERT_EQ(calls.size(), 1u);
            EXPECT_EQ(calls[0].rect, (Rect{46, 56, 54, 64}));
            EXPECT_EQ(calls[0].brush.style, c.brush);
            EXPECT_EQ(calls[0].pen.color, clRed);
            continue;
        }
        ASSERT_EQ(calls.size(), 2u);
        const bool diagonal = c.style >= 6;
        const std::vector<Point> first = calls[0].points;
        EXPECT_EQ(first.front(), diagonal ? (Point{46, 56}) : (Point{50, 56}));
        EXPECT_EQ(first.back(), diagonal ? (Point{54, 64}) : (Point{50, 64}));
        EXPECT_EQ(calls[0].pen.width, c.boldWidth);
        EXPECT_EQ(canvas.pen().width, 1) << "the pen is back to its width for what follows";
    }
}

TEST(PlotPoints, SortedByXKeepsTheOrderOfEqualX)
{
    const std::vector<PlotPoint> points{{3, 1}, {1, 2}, {3, 0}, {-1, 5}, {1, 7}};
    EXPECT_EQ(SortedByX(points), (std::vector<DataPoint>{{-1, 5}, {1, 2}, {1, 7}, {3, 1}, {3, 0}}));
}

TEST(PlotPoints, WidenedDataBoxAddsHalfTheSpanOnEverySide)
{
    const std::vector<DataPoint> years{{1990, 10}, {2020, 40}, {2000, 25}};
    EXPECT_EQ(WidenedDataBox(years), (WorldRect{1975, 2035, -5, 55}));
    const std::vector<DataPoint> stacked{{2, 1}, {2, 3}};
    EXPECT_EQ(WidenedDataBox(stacked), (WorldRect{2, 2, 0, 4})) << "no x span: the world check replaces it";
}

} // namespace
} // namespace kurvex
