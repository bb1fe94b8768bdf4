// Special-point search: extrema and inflection points of typical and awkward curves, markers.
#include "core/SpecialPoints.h"

#include "core/U_init.h"
#include "platform/RecordingCanvas.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

namespace kurvex {
namespace {

using Kind = SpecialPointKind;

std::vector<SpecialPoint> Find(const SpecialPointFunction& f, double from, double to,
                               SignVariant variant = SignVariant::Standard, SpecialPointKinds kinds = {})
{
    return FindSpecialPoints(f, from, to, variant, kinds);
}

std::vector<SpecialPoint> OfKind(const std::vector<SpecialPoint>& points, Kind kind)
{
    std::vector<SpecialPoint> out;
    for (const SpecialPoint& p : points) {
        if (p.kind == kind)
            out.push_back(p);
    }
    return out;
}

// Each expected x is matched by exactly one found point of that kind, within tol.
void ExpectAt(const std::vector<SpecialPoint>& points, Kind kind, std::vector<double> xs, double tol)
{
    const auto found = OfKind(points, kind);
    ASSERT_EQ(found.size(), xs.size());
    for (std::size_t i = 0; i < xs.size(); ++i)
        EXPECT_NEAR(found[i].x, xs[i], tol) << "point " << i;
}

TEST(SpecialPoints, ParabolaHasOneLowPoint)
{
    const auto points = Find([](double x) { return x * x; }, -7, 7);
    ASSERT_EQ(points.size(), 1u);
    EXPECT_EQ(points[0].kind, Kind::Low);
    EXPECT_NEAR(points[0].x, 0.0, 1e-5);
    EXPECT_NEAR(points[0].y, 0.0, 1e-9);
}

TEST(SpecialPoints, CubicWithBothExtremaAndInflection)
{
    const auto points = Find([](double x) { return x * x * x - 3 * x; }, -7, 7);
    ASSERT_EQ(points.size(), 3u);
    const auto high = OfKind(points, Kind::High);
    const auto low = OfKind(points, Kind::Low);
    const auto inflection = OfKind(points, Kind::Inflection);
    ASSERT_EQ(high.size(), 1u);
    ASSERT_EQ(low.size(), 1u);
    ASSERT_EQ(inflection.size(), 1u);
    EXPECT_NEAR(high[0].x, -1.0, 1e-5);
    EXPECT_NEAR(high[0].y, 2.0, 1e-8);
    EXPECT_NEAR(low[0].x, 1.0, 1e-5);
    EXPECT_NEAR(low[0].y, -2.0, 1e-8);
    EXPECT_EQ(inflection[0].x, 0.0);
    EXPECT_EQ(inflection[0].y, 0.0);
}

TEST(SpecialPoints, InflectionKeepsItsTrueHeight)
{
    const auto points = Find([](double x) { return x * x * x + 0.005; }, -7, 7);
    ASSERT_EQ(points.size(), 1u);
    EXPECT_EQ(points[0].kind, Kind::Inflection);
    EXPECT_EQ(points[0].x, 0.0);
    EXPECT_DOUBLE_EQ(points[0].y, 0.005);
}

TEST(SpecialPoints, ConstantsAndStraightLinesHaveNone)
{
    struct Case {
        const char* name;
        double a, b;
        double from, to;
    };
    const Case cases[] = {
        {"2", 0, 2, -7, 7},         {"3x", 3, 0, -7, 7},        {"0.5x - 3", 0.5, -3, -10, 10},
        {"2x + 1", 2, 1, -7, 8},    {"-1e4 x", -1e4, 0, -7, 7}, {"x + 1000", 1, 1000, 0.5, 3.7},
        {"1e-9 x", 1e-9, 0, -7, 7},
    };
    for (const Case& c : cases) {
        const auto points = Find([&](double x) { return c.a * x + c.b; }, c.from, c.to);
        EXPECT_TRUE(points.empty()) << c.name << ": " << points.size() << " points";
    }
}

TEST(SpecialPoints, PoleIsNoHighPoint)
{
    const auto f = [](double x) -> std::optional<double> {
        if (x == 0)
            return std::nullopt;
        return 1 / (x * x);
    };
    const std::pair<double, double> windows[] = {{-7, 7}, {-7, 8}, {-3.3, 4.1}};
    for (const auto& [from, to] : windows)
        EXPECT_TRUE(Find(f, from, to).empty()) << from << ".." << to;
}

TEST(SpecialPoints, PoleIsNoInflectionPoint)
{
    const auto reciprocal = [](double x) -> std::optional<double> {
        if (x == 0)
            return std::nullopt;
        return 1 / x;
    };
    EXPECT_TRUE(Find(reciprocal, -7, 7).empty());
    EXPECT_TRUE(Find(reciprocal, -3.3, 4.1).empty());

    const auto points = Find([](double x) { return std::tan(x); }, -1, 4);
    ExpectAt(points, Kind::Inflection, {0.0, std::numbers::pi}, 1e-5);
    EXPECT_TRUE(OfKind(points, Kind::High).empty());
    EXPECT_TRUE(OfKind(points, Kind::Low).empty());
}

TEST(SpecialPoints, SignChangeOnTheStepBeyondTheRightEnd)
{
    const auto points = Find([](double x) { return -(x - 7.2) * (x - 7.2); }, -7, 7);
    ASSERT_EQ(points.size(), 1u);
    EXPECT_EQ(points[0].kind, Kind::High);
    EXPECT_NEAR(points[0].x, 7.2, 1e-5);
}

TEST(SpecialPoints, FittingVariantTakesAFlatStretchAsAnEnd)
{
    const auto f = [](double x) { return x < 0 ? -x : 0.0; };
    const auto fitting = Find(f, -7, 7, SignVariant::ZeroPositive);
    ASSERT_EQ(fitting.size(), 1u);
    EXPECT_EQ(fitting[0].kind, Kind::Low);
    EXPECT_NEAR(fitting[0].x, 0.0, 2e-3);
    EXPECT_NEAR(fitting[0].y, 0.0, 1e-12);
    EXPECT_TRUE(OfKind(Find(f, -7, 7), Kind::Low).empty());
}

TEST(SpecialPoints, SineOnSevenEachSide)
{
    const double pi = std::numbers::pi;
    const auto points = Find([](double x) { return std::sin(x); }, -7, 7);
    ExpectAt(points, Kind::High, {-1.5 * pi, 0.5 * pi}, 1e-5);
    ExpectAt(points, Kind::Low, {-0.5 * pi, 1.5 * pi}, 1e-5);
    // The bends at +-2 pi lie inside [-7, 7] too.
    ExpectAt(points, Kind::Inflection, {-2 * pi, -pi, 0.0, pi, 2 * pi}, 1e-5);
    for (const SpecialPoint& p : OfKind(points, Kind::Inflection))
        EXPECT_NEAR(p.y, 0.0, 1e-5);
}

TEST(SpecialPoints, ScaleOfTheFunctionDoesNotMatter)
{
    const double scales[] = {1000.0, 1e-6, 1e-9};
    for (const double s : scales) {
        const auto points = Find([s](double x) { return s * x * x * x; }, -7, 7);
        ASSERT_EQ(points.size(), 1u) << s;
        EXPECT_EQ(points[0].kind, Kind::Inflection);
        EXPECT_EQ(points[0].x, 0.0);
        EXPECT_EQ(points[0].y, 0.0);
    }
    // A small wave keeps its extrema.
    const auto wave = Find([](double x) { return 1e-7 * std::sin(x); }, 0, 7);
    ExpectAt(wave, Kind::High, {std::numbers::pi / 2}, 1e-5);
    ExpectAt(wave, Kind::Low, {1.5 * std::numbers::pi}, 1e-5);
}

TEST(SpecialPoints, KindsOnlyFilterTheResult)
{
    const auto f = [](double x) { return x * x * x - 3 * x; };
    const auto lowsOnly = Find(f, -7, 7, SignVariant::Standard, {false, true, false});
    ASSERT_EQ(lowsOnly.size(), 1u);
    EXPECT_EQ(lowsOnly[0].kind, Kind::Low);
    const auto noInflection = Find(f, -7, 7, SignVariant::Standard, {true, true, false});
    EXPECT_TRUE(OfKind(noInflection, Kind::Inflection).empty());
    EXPECT_EQ(noInflection.size(), 2u);
}

TEST(SpecialPoints, UndefinedStretchesDoNotSteerTheSearch)
{
    // sqrt(x) (x - 2): a low point at 2/3, undefined left of 0.
    const auto f = [](double x) -> std::optional<double> {
        if (x < 0)
            return std::nullopt;
        return std::sqrt(x) * (x - 2);
    };
    const auto points = Find(f, -7, 7);
    ExpectAt(points, Kind::Low, {2.0 / 3.0}, 1e-5);
    EXPECT_TRUE(OfKind(points, Kind::High).empty());
    EXPECT_TRUE(OfKind(points, Kind::Inflection).empty());
}

TEST(SpecialPoints, HopelessInputReturnsAtOnce)
{
    int calls = 0;
    const SpecialPointFunction undefined = [&calls](double) -> std::optional<double> {
        ++calls;
        return std::nullopt;
    };
    EXPECT_TRUE(Find(undefined, -7, 7).empty());
    EXPECT_LE(calls, 33 * 3);

    calls = 0;
    EXPECT_TRUE(Find(undefined, 1, 1).empty());
    EXPECT_TRUE(Find(undefined, 2, 1).empty());
    EXPECT_TRUE(Find(undefined, std::nan(""), 1).empty());
    EXPECT_TRUE(Find(undefined, -INFINITY, 1).empty());
    EXPECT_TRUE(Find(undefined, -1e308, 1e308).empty());
    EXPECT_EQ(calls, 0);

    // Values beyond the validity bound count as undefined.
    EXPECT_TRUE(Find([](double x) { return 1e6 + x * x; }, -7, 7).empty());
    EXPECT_TRUE(Find([](double) { return std::nan(""); }, -7, 7).empty());
}

TEST(SpecialPoints, FarFromTheOriginTheScanStillEnds)
{
    const auto points = Find([](double x) { return (x - 1e9) * (x - 1e9); }, 1e9 - 7, 1e9 + 7);
    ASSERT_EQ(points.size(), 1u);
    EXPECT_NEAR(points[0].x, 1e9, 1e-4);
}

class SpecialPointMarkers : public ::testing::Test {
protected:
    void SetUp() override
    {
        XMin = YMin = -7.0;
        XMax = YMax = 7.0;
        PlotWidth = PlotHeight = 700;
        DrawCanvas = &canvas;
    }
    void TearDown() override
    {
        DrawCanvas = nullptr;
        DrawScale = 1.0;
        PlotWidth = PlotHeight = 0;
    }
    RecordingCanvas canvas;
};

TEST_F(SpecialPointMarkers, DisksInTheKindsColoursScaledByDrawScale)
{
    DrawScale = 2.0;
    const SpecialPointStyle style{0x0000FF, 0xFF0000, 0x008000, 2};
    MarkSpecialPoints([](double x) { return x * x * x - 3 * x; }, XMin, XMax, SignVariant::Standard, {},
                      style);
    const auto disks = canvas.callsOf(CanvasOp::Ellipse);
    ASSERT_EQ(disks.size(), 3u);
    for (const CanvasCall& c : disks) {
        EXPECT_EQ(c.rect.width(), 8);
        EXPECT_EQ(c.rect.height(), 8);
        EXPECT_EQ(c.pen.color, c.brush.color);
        EXPECT_EQ(c.brush.style, BrushStyle::Solid);
    }
    // High (-1, 2) at pixel (300, 250), low (1, -2) at (400, 450), inflection (0, 0) at (350, 350).
    const auto at = [&](TColor color) {
        for (const CanvasCall& c : disks) {
            if (c.brush.color == color)
                return c.rect;
        }
        return Rect{};
    };
    EXPECT_EQ(at(style.highColor), (Rect{296, 246, 304, 254}));
    EXPECT_EQ(at(style.lowColor), (Rect{396, 446, 404, 454}));
    EXPECT_EQ(at(style.inflectionColor), (Rect{346, 346, 354, 354}));
}

TEST_F(SpecialPointMarkers, MarkerFactorAndNoCanvas)
{
    const SpecialPointStyle style{clGreen, clGreen, clRed, 4};
    MarkSpecialPoints([](double x) { return x * x; }, XMin, XMax, SignVariant::Standard, {}, style);
    ASSERT_EQ(canvas.count(CanvasOp::Ellipse), 1u);
    EXPECT_EQ(canvas.callsOf(CanvasOp::Ellipse)[0].rect, (Rect{346, 346, 354, 354}));
    DrawCanvas = nullptr;
    MarkSpecialPoints([](double x) { return x * x; }, XMin, XMax, SignVariant::Standard, {}, style);
    EXPECT_EQ(canvas.count(CanvasOp::Ellipse), 1u);
}

} // namespace
} // namespace kurvex
