// The curve-point search: extrema and inflection points of typical and awkward curves, markers.
#include "core/CurvePointSearch.h"

#include "core/Settings.h"
#include "platform/RecordingCanvas.h"
#include "support/SharedState.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

namespace kurvex {
namespace {

using Kind = SpecialPointKind;
constexpr double kPi = std::numbers::pi;
constexpr SpecialPointKinds kAll{};
constexpr SignVariant kStandard = SignVariant::Standard;

SpecialPoint H(double x, double y)
{
    return {Kind::High, x, y};
}
SpecialPoint L(double x, double y)
{
    return {Kind::Low, x, y};
}
SpecialPoint I(double x, double y)
{
    return {Kind::Inflection, x, y};
}

std::optional<double> Reciprocal(double x)
{
    return x == 0 ? std::nullopt : std::optional(1 / x);
}
double Cubic(double x)
{
    return x * x * x - 3 * x;
}
double Sine(double x)
{
    return std::sin(x);
}
std::optional<double> RootTimes(double x)
{
    return x < 0 ? std::nullopt : std::optional(std::sqrt(x) * (x - 2));
}

struct SearchCase {
    const char* name;
    SpecialPointFunction f;
    double from, to;
    std::vector<SpecialPoint> expected; // in the order of x
    double tol;                         // for x and y; 0 where the point must be exact
    SignVariant variant = kStandard;
    SpecialPointKinds kinds = kAll;
};

TEST(SpecialPoints, FindsExactlyTheExpectedPoints)
{
    const auto line = [](double a, double b) { return [a, b](double x) { return a * x + b; }; };
    const auto cube = [](double s) { return [s](double x) { return s * x * x * x; }; };
    const auto poleSquared = [](double x) { return Reciprocal(x * x); };
    const auto fallThenFlat = [](double x) { return x < 0 ? -x : 0.0; };
    const auto peakBeyond = [](double x) { return -(x - 7.2) * (x - 7.2); };
    const std::vector<SpecialPoint> sinePoints = {I(-2 * kPi, 0),    H(-1.5 * kPi, 1), I(-kPi, 0),
                                                  L(-0.5 * kPi, -1), I(0, 0),          H(0.5 * kPi, 1),
                                                  I(kPi, 0),         L(1.5 * kPi, -1), I(2 * kPi, 0)};
    const std::vector<SpecialPoint> smallWavePoints = {I(0, 0), H(0.5 * kPi, 1e-7), I(kPi, 0),
                                                       L(1.5 * kPi, -1e-7), I(2 * kPi, 0)};
    const SearchCase cases[] = {
        {"x^2", [](double x) { return x * x; }, -7, 7, {L(0, 0)}, 1e-5},
        {"x^3 - 3x", Cubic, -7, 7, {H(-1, 2), I(0, 0), L(1, -2)}, 1e-5},
        {"x^3 - 3x, lows only", Cubic, -7, 7, {L(1, -2)}, 1e-5, kStandard, {false, true, false}},
        {"x^3 - 3x, inflection exact", Cubic, -7, 7, {I(0, 0)}, 0, kStandard, {false, false, true}},
        {"x^3 + 0.005", [](double x) { return x * x * x + 0.005; }, -7, 7, {I(0, 0.005)}, 0},
        {"1000 x^3", cube(1000), -7, 7, {I(0, 0)}, 0},
        {"1e-6 x^3", cube(1e-6), -7, 7, {I(0, 0)}, 0},
        {"1e-9 x^3", cube(1e-9), -7, 7, {I(0, 0)}, 0},
        {"constant 2", line(0, 2), -7, 7, {}, 0},
        {"3x", line(3, 0), -7, 7, {}, 0},
        {"0.5x - 3", line(0.5, -3), -10, 10, {}, 0},
        {"2x + 1", line(2, 1), -7, 8, {}, 0},
        {"-1e4 x", line(-1e4, 0), -7, 7, {}, 0},
        {"x + 1000", line(1, 1000), 0.5, 3.7, {}, 0},
        {"1e-9 x", line(1e-9, 0), -7, 7, {}, 0},
        {"1/x^2", poleSquared, -7, 7, {}, 0},
        {"1/x^2 on [-7, 8]", poleSquared, -7, 8, {}, 0},
        {"1/x^2 on [-3.3, 4.1]", poleSquared, -3.3, 4.1, {}, 0},
        {"1/x", Reciprocal, -7, 7, {}, 0},
        {"1/x on [-3.3, 4.1]", Reciprocal, -3.3, 4.1, {}, 0},
        {"tan x", [](double x) { return std::tan(x); }, -1, 4, {I(0, 0), I(kPi, 0)}, 1e-5},
        {"sign change beyond the right end", peakBeyond, -7, 7, {H(7.2, 0)}, 1e-5},
        {"sin x", Sine, -7, 7, sinePoints, 1e-5},
        {"1e-7 sin x", [](double x) { return 1e-7 * Sine(x); }, 0, 7, smallWavePoints, 1e-5},
        {"sqrt(x) (x - 2), undefined left of 0", RootTimes, -7, 7, {L(2.0 / 3.0, -1.0886621079)}, 1e-5},
        {"falling, then flat", fallThenFlat, -7, 7, {}, 0},
        {"falling, flat, fitting signs", fallThenFlat, -7, 7, {L(0, 0)}, 2e-3, SignVariant::ZeroPositive},
        {"beyond the validity bound", [](double x) { return 1e6 + x * x; }, -7, 7, {}, 0},
        {"not a number", [](double) { return std::nan(""); }, -7, 7, {}, 0},
        {"(x - 1e9)^2", [](double x) { return (x - 1e9) * (x - 1e9); }, 1e9 - 7, 1e9 + 7, {L(1e9, 0)}, 1e-4},
    };
    for (const SearchCase& c : cases) {
        SCOPED_TRACE(c.name);
        const auto found = FindSpecialPoints(c.f, c.from, c.to, c.variant, c.kinds);
        EXPECT_EQ(found.size(), c.expected.size());
        if (found.size() != c.expected.size())
            continue;
        for (std::size_t i = 0; i < found.size(); ++i) {
            EXPECT_EQ(found[i].kind, c.expected[i].kind) << "point " << i;
            EXPECT_NEAR(found[i].x, c.expected[i].x, c.tol) << "point " << i;
            EXPECT_NEAR(found[i].y, c.expected[i].y, c.tol) << "point " << i;
        }
    }
}

TEST(SpecialPoints, HopelessInputReturnsAtOnce)
{
    int calls = 0;
    const SpecialPointFunction undefined = [&calls](double) -> std::optional<double> {
        ++calls;
        return std::nullopt;
    };
    EXPECT_TRUE(FindSpecialPoints(undefined, -7, 7, kStandard, kAll).empty());
    EXPECT_LE(calls, 33 * 3);

    calls = 0;
    const std::pair<double, double> intervals[] = {
        {1, 1}, {2, 1}, {std::nan(""), 1}, {-INFINITY, 1}, {-1e308, 1e308}};
    for (const auto& [from, to] : intervals)
        EXPECT_TRUE(FindSpecialPoints(undefined, from, to, kStandard, kAll).empty());
    EXPECT_EQ(calls, 0);
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
    test::SharedStateScope shared;
    RecordingCanvas canvas;
};

TEST_F(SpecialPointMarkers, DisksInTheKindsColoursScaledByDrawScale)
{
    DrawScale = 2.0;
    const SpecialPointStyle style{0x0000FF, 0xFF0000, 0x008000, 2};
    MarkSpecialPoints(Cubic, XMin, XMax, kStandard, kAll, style);
    // High (-1, 2) at pixel (300, 250), low (1, -2) at (400, 450), inflection (0, 0) at (350, 350).
    const std::pair<TColor, Rect> expected[] = {{style.highColor, Rect{296, 246, 304, 254}},
                                                {style.inflectionColor, Rect{346, 346, 354, 354}},
                                                {style.lowColor, Rect{396, 446, 404, 454}}};
    const auto disks = canvas.callsOf(CanvasOp::Ellipse);
    ASSERT_EQ(disks.size(), 3u);
    for (std::size_t i = 0; i < disks.size(); ++i) {
        EXPECT_EQ(disks[i].pen.color, expected[i].first);
        EXPECT_EQ(disks[i].brush.color, expected[i].first);
        EXPECT_EQ(disks[i].brush.style, BrushStyle::Solid);
        EXPECT_EQ(disks[i].rect, expected[i].second);
    }

    // Without a canvas nothing is drawn and nothing breaks.
    DrawCanvas = nullptr;
    MarkSpecialPoints([](double x) { return x * x; }, XMin, XMax, kStandard, kAll, style);
    EXPECT_EQ(canvas.count(CanvasOp::Ellipse), 3u);
}

} // namespace
} // namespace kurvex
