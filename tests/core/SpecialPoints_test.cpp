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
constexpr double kPi = std::numbers::pi;
constexpr SpecialPointKinds kAll{};

std::optional<double> Reciprocal(double x)
{
    return x == 0 ? std::nullopt : std::optional(1 / x);
}

struct SearchCase {
    const char* name;
    SpecialPointFunction f;
    double from, to;
    std::vector<SpecialPoint> expected; // in the order of x
    double tol;                         // for x and y; 0 where the point must be exact
    SignVariant variant = SignVariant::Standard;
    SpecialPointKinds kinds = kAll;
};

TEST(SpecialPoints, FindsExactlyTheExpectedPoints)
{
    const auto line = [](double a, double b) { return [a, b](double x) { return a * x + b; }; };
    const auto cube = [](double s) { return [s](double x) { return s * x * x * x; }; };
    const auto poleSquared = [](double x) { return Reciprocal(x * x); };
    const SpecialPoint origin{Kind::Inflection, 0, 0};
    const SearchCase cases[] = {
        {"x^2", [](double x) { return x * x; }, -7, 7, {{Kind::Low, 0, 0}}, 1e-5},
        {"x^3 - 3x",
         [](double x) { return x * x * x - 3 * x; },
         -7,
         7,
         {{Kind::High, -1, 2}, {Kind::Inflection, 0, 0}, {Kind::Low, 1, -2}},
         1e-5},
        {"x^3 - 3x, lows only",
         [](double x) { return x * x * x - 3 * x; },
         -7,
         7,
         {{Kind::Low, 1, -2}},
         1e-5,
         SignVariant::Standard,
         {false, true, false}},
        {"x^3 - 3x, inflection exact",
         [](double x) { return x * x * x - 3 * x; },
         -7,
         7,
         {origin},
         0,
         SignVariant::Standard,
         {false, false, true}},
        {"x^3 + 0.005", [](double x) { return x * x * x + 0.005; }, -7, 7, {{Kind::Inflection, 0, 0.005}}, 0},
        {"1000 x^3", cube(1000), -7, 7, {origin}, 0},
        {"1e-6 x^3", cube(1e-6), -7, 7, {origin}, 0},
        {"1e-9 x^3", cube(1e-9), -7, 7, {origin}, 0},
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
        {"tan x", [](double x) { return std::tan(x); }, -1, 4, {origin, {Kind::Inflection, kPi, 0}}, 1e-5},
        {"sign change beyond the right end",
         [](double x) { return -(x - 7.2) * (x - 7.2); },
         -7,
         7,
         {{Kind::High, 7.2, 0}},
         1e-5},
        {"sin x",
         [](double x) { return std::sin(x); },
         -7,
         7,
         {{Kind::Inflection, -2 * kPi, 0},
          {Kind::High, -1.5 * kPi, 1},
          {Kind::Inflection, -kPi, 0},
          {Kind::Low, -0.5 * kPi, -1},
          origin,
          {Kind::High, 0.5 * kPi, 1},
          {Kind::Inflection, kPi, 0},
          {Kind::Low, 1.5 * kPi, -1},
          {Kind::Inflection, 2 * kPi, 0}},
         1e-5},
        {"1e-7 sin x",
         [](double x) { return 1e-7 * std::sin(x); },
         0,
         7,
         {origin,
          {Kind::High, 0.5 * kPi, 1e-7},
          {Kind::Inflection, kPi, 0},
          {Kind::Low, 1.5 * kPi, -1e-7},
          {Kind::Inflection, 2 * kPi, 0}},
         1e-5},
        {"sqrt(x) (x - 2), undefined left of 0",
         [](double x) { return x < 0 ? std::nullopt : std::optional(std::sqrt(x) * (x - 2)); },
         -7,
         7,
         {{Kind::Low, 2.0 / 3.0, -4 * std::sqrt(2.0 / 3.0) / 3}},
         1e-5},
        {"decreasing then constant", [](double x) { return x < 0 ? -x : 0.0; }, -7, 7, {}, 0},
        {"decreasing then constant, fitting signs",
         [](double x) { return x < 0 ? -x : 0.0; },
         -7,
         7,
         {{Kind::Low, 0, 0}},
         2e-3,
         SignVariant::ZeroPositive},
        {"beyond the validity bound", [](double x) { return 1e6 + x * x; }, -7, 7, {}, 0},
        {"not a number", [](double) { return std::nan(""); }, -7, 7, {}, 0},
        {"(x - 1e9)^2",
         [](double x) { return (x - 1e9) * (x - 1e9); },
         1e9 - 7,
         1e9 + 7,
         {{Kind::Low, 1e9, 0}},
         1e-4},
    };
    for (const SearchCase& c : cases) {
        SCOPED_TRACE(c.name);
        const auto found = FindSpecialPoints(c.f, c.from, c.to, c.variant, c.kinds);
        ASSERT_EQ(found.size(), c.expected.size());
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
    EXPECT_TRUE(FindSpecialPoints(undefined, -7, 7, SignVariant::Standard, kAll).empty());
    EXPECT_LE(calls, 33 * 3);

    calls = 0;
    const std::pair<double, double> intervals[] = {
        {1, 1}, {2, 1}, {std::nan(""), 1}, {-INFINITY, 1}, {-1e308, 1e308}};
    for (const auto& [from, to] : intervals)
        EXPECT_TRUE(FindSpecialPoints(undefined, from, to, SignVariant::Standard, kAll).empty());
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
    MarkSpecialPoints([](double x) { return x * x * x - 3 * x; }, XMin, XMax, SignVariant::Standard, kAll,
                      style);
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
    MarkSpecialPoints([](double x) { return x * x; }, XMin, XMax, SignVariant::Standard, kAll, style);
    EXPECT_EQ(canvas.count(CanvasOp::Ellipse), 3u);
}

} // namespace
} // namespace kurvex
