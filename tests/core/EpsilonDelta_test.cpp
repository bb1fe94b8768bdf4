// Tests of the ε-δ computations: the image of each half neighbourhood, its bounds, the bar grids
// and the example line.
#include "core/EpsilonDelta.h"

#include "core/TermFunction.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace kurvex {
namespace {

TermTree compiled(const char* text)
{
    TermTree tree;
    EXPECT_TRUE(CompileTerm(tree, text, true)) << text;
    return tree;
}

TEST(EpsilonDeltaRadius, RadiusWithoutRoomFallsBackToTheDefault)
{
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    const struct {
        double radius;
        double kept;
    } cases[] = {{2, 2},
                 {0.5, 0.5},
                 {0, kDefaultMaxRadius},
                 {-1, kDefaultMaxRadius},
                 {nan, kDefaultMaxRadius},
                 {inf, kDefaultMaxRadius}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.radius);
        EXPECT_EQ(CheckedMaxRadius(c.radius), c.kept);
        // The bar never divides by the bad radius.
        EXPECT_DOUBLE_EQ(RadiusBar(c.radius).value(200), c.kept);
        EXPECT_EQ(RadiusBar(c.radius).position(c.kept / 2), 100);
    }
}

TEST(EpsilonDeltaBars, RadiusAndPointGrids)
{
    const ValueBar radius = RadiusBar(2.0);
    EXPECT_DOUBLE_EQ(radius.value(1), 0.01); // the smallest value a bar gives
    EXPECT_DOUBLE_EQ(radius.value(200), 2.0);
    EXPECT_EQ(radius.position(5.0), 200); // a typed 5 leaves the bar at its end
    EXPECT_EQ(radius.position(0.0), 1);

    const struct {
        double xMin, xMax, tick;
        int last;
    } cases[] = {{-7, 7, 1, 1400}, {-3.5, 3.5, 0.5, 1400},   {0, 1, 0.2, 500},
                 {-7, 7, 0, 1},    {-7, 7, std::nan(""), 1}, {2, 2, 1, 1}};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.xMin << ".." << c.xMax << " tick " << c.tick);
        const ValueBar bar = PointBar(c.xMin, c.xMax, c.tick);
        EXPECT_EQ(bar.last, c.last);
        EXPECT_EQ(bar.first, 1);
    }
    EXPECT_DOUBLE_EQ(PointBar(-7, 7, 1).value(800), 1.0);
}

struct ImageCase {
    const char* term;
    double x0;
    double delta;
    double h;
    NeighbourhoodSide side;
    std::optional<ImageInterval> image;
};

TEST(EpsilonDeltaImage, ImageOfEachHalfNeighbourhood)
{
    using enum NeighbourhoodSide;
    const ImageCase cases[] = {
        // sign(x) at 0: the halves map onto -1 and 1, whatever δ; equal extremes keep the first x.
        {"sign(x)", 0, 0.5, 0.125, Left, ImageInterval{-1, -1, -0.5, -0.5}},
        {"sign(x)", 0, 0.5, 0.125, Right, ImageInterval{1, 1, 0.5, 0.5}},
        // x² at 0: 0 itself is never sampled, so the nearest samples give the minimum.
        {"x^2", 0, 1, 0.25, Left, ImageInterval{0.0625, 1, -0.25, -1}},
        {"x^2", 0, 1, 0.25, Right, ImageInterval{0.0625, 1, 0.25, 1}},
        // The right piece x² + 1 at 1 lies above the strip around 1 for every ε below 1.
        {"x^2+1", 1, 0.5, 0.125, Right, ImageInterval{2.265625, 3.25, 1.125, 1.5}},
        // Undefined samples are skipped; a half without a defined sample has no image.
        {"sqrt(x)", 0.5, 1, 0.25, Left, ImageInterval{0, 0.5, 0, 0.25}},
        {"sqrt(x)", 0, 1, 0.25, Left, std::nullopt},
        {"sqrt(x)", 0, 1, 0.25, Right, ImageInterval{0.5, 1, 0.25, 1}},
        {"1/x", 0, 1, 0.25, Right, ImageInterval{1, 4, 1, 0.25}},
        // Values above a million are values like any other.
        {"2000000", 1, 1, 0.5, Left, ImageInterval{2e6, 2e6, 0, 0}},
        {"-3000000+x", 0, 1, 0.5, Right, ImageInterval{-2999999.5, -2999999, 0.5, 1}},
        // A negative δ: the first sample is taken and the half ends there.
        {"x", 0, -1, 0.25, Left, ImageInterval{1, 1, 1, 1}},
    };
    for (const ImageCase& c : cases) {
        SCOPED_TRACE(testing::Message() << c.term << " x0 " << c.x0 << " delta " << c.delta
                                        << (c.side == Left ? " left" : " right"));
        const TermTree tree = compiled(c.term);
        const auto image = HalfNeighbourhoodImage(TermFunction(tree), c.x0, c.delta, c.h, c.side);
        ASSERT_EQ(image.has_value(), c.image.has_value());
        if (!image) {
            continue;
        }
        EXPECT_NEAR(image->min, c.image->min, 1e-9);
        EXPECT_NEAR(image->max, c.image->max, 1e-9);
        EXPECT_NEAR(image->xAtMin, c.image->xAtMin, 1e-12);
        EXPECT_NEAR(image->xAtMax, c.image->xAtMax, 1e-12);
    }
}

// However wide δ, the far end is sampled exactly and the image reaches to half a pixel from x0:
// x³ left of 2 climbs to 8, x right of 2 starts at 2.
TEST(EpsilonDeltaImage, WideHalvesKeepTheirFarEndAndTheValueNextToX0)
{
    using enum NeighbourhoodSide;
    const double x0 = 2.0;
    const double h = 0.005; // half a pixel of a window 14 wide and 1400 pixels
    const struct {
        const char* term;
        double delta;
        NeighbourhoodSide side;
        double farValue;  // f(x0 ∓ δ), the far end's extreme
        double nearValue; // f(x0), which the other extreme approaches to within h · |f'|
        double slack;
    } cases[] = {
        {"x^3", 1000, Left, -998.0 * 998.0 * 998.0, 8, 12 * h},
        {"x^3", 1e5, Left, -99998.0 * 99998.0 * 99998.0, 8, 12 * h},
        {"x", 1e9, Right, 1e9 + 2, 2, h},
        {"-x", 1e9, Left, 1e9 - 2, -2, h},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message()
                     << c.term << " delta " << c.delta << (c.side == Left ? " left" : " right"));
        const TermTree tree = compiled(c.term);
        const auto image = HalfNeighbourhoodImage(TermFunction(tree), x0, c.delta, h, c.side);
        ASSERT_TRUE(image);
        const bool farIsMin = c.farValue < c.nearValue;
        EXPECT_NEAR(farIsMin ? image->min : image->max, c.farValue, 1e-14 * std::fabs(c.farValue));
        EXPECT_DOUBLE_EQ(farIsMin ? image->xAtMin : image->xAtMax,
                         c.side == Left ? x0 - c.delta : x0 + c.delta);
        const double near = farIsMin ? image->max : image->min;
        EXPECT_NEAR(near, c.nearValue, c.slack);
        EXPECT_NE(near, c.nearValue) << "x0 itself is not sampled";
    }
}

TEST(EpsilonDeltaImage, TypedValuesFarOutsideTheWindowCostBoundedSamples)
{
    const struct {
        double x0;
        double delta;
        double h;
    } cases[] = {
        {1, 1e9, 0.001},    // a typed δ of a billion
        {1e20, 1, 0.001},   // x0 so far out that x + h == x
        {-1e300, 1e300, 1}, // both
        {0, 1e308, 1e-300}, // δ / h beyond every integer
        {0, 1, 0},          // no step at all
        {0, std::numeric_limits<double>::infinity(), 0.01},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "x0 " << c.x0 << " delta " << c.delta << " h " << c.h);
        for (const NeighbourhoodSide side : {NeighbourhoodSide::Left, NeighbourhoodSide::Right}) {
            int calls = 0;
            const CurveValueFunction f = [&calls](double x) -> std::optional<double> {
                ++calls;
                return x;
            };
            HalfNeighbourhoodImage(f, c.x0, c.delta, c.h, side, 500);
            EXPECT_GE(calls, 1);
            EXPECT_LE(calls, 500);
        }
    }
    // A wide half keeps its ends: the first sample at x0 - δ, the last close to x0.
    const auto image = HalfNeighbourhoodImage([](double x) { return std::optional<double>(x); }, 0, 1e6, 1e-3,
                                              NeighbourhoodSide::Left, 1000);
    ASSERT_TRUE(image);
    EXPECT_EQ(image->min, -1e6);
    EXPECT_NEAR(image->max, 0, 1000.0 + 1e-6);
    EXPECT_LT(image->max, 0);
}

TEST(EpsilonDeltaExample, LinesComposeAndParseKeepingEveryCharacterOfX0)
{
    const struct {
        const char* line;
        LimitExample parts;
    } cases[] = {
        {"x^2;  1; xo = -12,50", {"x^2", "1", "-12,50"}},
        // Lines of older lists: x0 with the blanks of the number format around it.
        {"x^2;  x^2+1; xo =  1,00     ", {"x^2", "x^2+1", "1,00"}},
        {"sin(x);  0; xo =   5,00 E-2", {"sin(x)", "0", "5,00 E-2"}},
        {"x;  x; xo =3", {"x", "x", "3"}},
        {"x;x;xo =7", {"x", "x", "7"}},
        // What a hand-edited line lacks stays empty.
        {"x^2", {"x^2", "", ""}},
        {"x;  2", {"x", "2", ""}},
        {"", {"", "", ""}},
        {";  ; xo = ", {"", "", ""}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.line);
        EXPECT_EQ(ParseLimitExample(c.line), c.parts);
    }
    const LimitExample examples[] = {
        {"x^2", "1", "-12,50"}, {"sign(x)", "sign(x)", "2,50 E+2"}, {"1/x", "x^2", "0"}};
    for (const LimitExample& e : examples) {
        SCOPED_TRACE(e.x0Text);
        EXPECT_EQ(ParseLimitExample(ComposeLimitExample(e)), e);
    }
    EXPECT_EQ(ComposeLimitExample({"x^2", "1", "-12,50"}), "x^2;  1; xo = -12,50");
}

} // namespace
} // namespace kurvex
