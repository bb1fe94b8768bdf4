// The trigonometry lesson's numbers: arc shapes, tangent and cotangent cases, graph samples, texts,
// axis marks, the bars and the animation's turn-around.
#include "core/UnitCircle.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <numbers>
#include <string>
#include <vector>

namespace kurvex {
namespace {

constexpr double kPi = std::numbers::pi;
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

double degrees(double d)
{
    return d * kPi / 180.0;
}

TEST(UnitCircleTest, ArcShapeByAngleAndWhetherItsEndsShareAPixel)
{
    struct Case {
        const char* name;
        double angle;
        bool onePixel;
        ArcShape shape;
    };
    const Case cases[] = {
        {"zero", 0.0, true, ArcShape::None},
        {"minus zero", -0.0, true, ArcShape::None},
        {"undefined", kNaN, false, ArcShape::None},
        {"30 degrees", kPi / 6, false, ArcShape::Partial},
        {"minus 90 degrees", -kPi / 2, false, ArcShape::Partial},
        {"tiny angle on one pixel", 0.001, true, ArcShape::None},
        {"tiny negative angle on one pixel", -0.001, true, ArcShape::None},
        {"exactly 2 pi", 2 * kPi, true, ArcShape::FullTurn},
        {"2 pi with ends a pixel apart", 2 * kPi, false, ArcShape::FullTurn},
        {"just short of 2 pi on one pixel", 2 * kPi - 1e-12, true, ArcShape::FullTurn},
        {"dragged beyond 2 pi", 6.5, false, ArcShape::FullTurn},
        {"dragged below -2 pi", -6.5, false, ArcShape::FullTurn},
        {"more than half a turn on one pixel", 4.0, true, ArcShape::FullTurn},
        {"less than half a turn on one pixel", 3.0, true, ArcShape::None},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(ArcShapeOf(c.angle, c.onePixel), c.shape);
    }
}

TEST(UnitCircleTest, ArcRaysRunCounterClockwiseFromZeroToTheAngle)
{
    const WorldXY zero{kTangentLineX, 0.0};
    const ArcRays positive = ArcRaysOf(kPi / 2);
    EXPECT_EQ(positive.from, zero);
    EXPECT_NEAR(positive.to.x, kCircleCentreX, 1e-15);
    EXPECT_DOUBLE_EQ(positive.to.y, 1.0);

    const ArcRays negative = ArcRaysOf(-kPi / 2);
    EXPECT_EQ(negative.to, zero);
    EXPECT_DOUBLE_EQ(negative.from.y, -1.0);

    for (const double full : {2 * kPi, 6.5, -6.5}) {
        SCOPED_TRACE(full);
        const ArcRays r = ArcRaysOf(full);
        EXPECT_EQ(r.from, zero);
        EXPECT_EQ(r.to, zero);
    }
}

TEST(UnitCircleTest, CotangentOfTheGraphIsUndefinedOnlyAtZero)
{
    EXPECT_FALSE(CotangentValue(0.0));
    EXPECT_FALSE(CotangentValue(kNaN));
    EXPECT_FALSE(TangentValue(kNaN));
    EXPECT_NEAR(*CotangentValue(kPi / 2), 0.0, 1e-15);
    // sin π is not exactly 0 in doubles: a huge but defined value, which the plotter clamps.
    ASSERT_TRUE(CotangentValue(kPi));
    EXPECT_LT(*CotangentValue(kPi), -1e15);
}

TEST(UnitCircleTest, TangentAndCotangentOnTheCircleOnlyWhileTheirDivisorExceedsATenth)
{
    struct Case {
        const char* name;
        std::optional<double> (*f)(double);
        double angle;
        std::optional<double> expected;
    };
    const Case cases[] = {
        {"tan 30", TangentOnCircle, degrees(30), 0.5773502691896257},
        {"tan 84, cos 0.105", TangentOnCircle, degrees(84), 9.514364454222587},
        {"tan 85, cos 0.087", TangentOnCircle, degrees(85), std::nullopt},
        {"tan 90", TangentOnCircle, degrees(90), std::nullopt},
        {"tan 270", TangentOnCircle, degrees(270), std::nullopt},
        {"tan -45", TangentOnCircle, degrees(-45), -1.0},
        {"tan of nothing", TangentOnCircle, kNaN, std::nullopt},
        {"cot 0", CotangentOnCircle, 0.0, std::nullopt},
        {"cot at sin 0.0998", CotangentOnCircle, 0.1, std::nullopt},
        {"cot 90", CotangentOnCircle, degrees(90), 0.0},
        {"cot 60", CotangentOnCircle, degrees(60), 0.577350269189626},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const auto v = c.f(c.angle);
        ASSERT_EQ(v.has_value(), c.expected.has_value());
        if (v) {
            EXPECT_NEAR(*v, *c.expected, 1e-12);
        }
    }
}

TEST(UnitCircleTest, GraphSamplesStepTowardsTheEndAndNeverPassIt)
{
    struct Case {
        const char* name;
        double from;
        double to;
        double step;
        std::vector<double> expected;
    };
    const Case cases[] = {
        {"whole steps", 0.0, 1.0, 0.25, {0.0, 0.25, 0.5, 0.75, 1.0}},
        {"last step short", 0.0, 0.9, 0.25, {0.0, 0.25, 0.5, 0.75}},
        {"towards negative x", 0.0, -0.6, 0.25, {0.0, -0.25, -0.5}},
        {"no distance", 0.0, 0.0, 0.1, {0.0}},
        {"shorter than a step", 0.0, 0.05, 0.1, {0.0}},
        {"zero step", 0.0, 1.0, 0.0, {}},
        {"negative step", 0.0, 1.0, -0.1, {}},
        {"undefined step", 0.0, 1.0, kNaN, {}},
        {"undefined end", 0.0, kNaN, 0.1, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::vector<double> xs = GraphSampleXs(c.from, c.to, c.step);
        ASSERT_EQ(xs.size(), c.expected.size());
        for (std::size_t i = 0; i < xs.size(); ++i) {
            EXPECT_NEAR(xs[i], c.expected[i], 1e-15) << i;
        }
    }
}

TEST(UnitCircleTest, GraphSamplesOfTheFullGraphAndOfAHugeRangeStayBounded)
{
    // The sine over -π..2π at two screen columns of a 900 pixel plot.
    const std::vector<double> full = GraphSampleXs(kGraphFrom, kGraphTo, 2 * 13.0 / 900);
    ASSERT_FALSE(full.empty());
    EXPECT_EQ(full.front(), kGraphFrom);
    EXPECT_LE(full.back(), kGraphTo);
    EXPECT_GT(full.back(), kGraphTo - 2 * 13.0 / 900);
    EXPECT_EQ(full.size(), 327u); // 3π over 26/900, plus the start

    const std::vector<double> huge = GraphSampleXs(0.0, 1e9, 1e-9);
    EXPECT_EQ(huge.size(), kMaxGraphSamples);
    EXPECT_EQ(huge.front(), 0.0);
    EXPECT_LE(huge.back(), 1e9);
}

TEST(UnitCircleTest, ValueTextsInBothAngleModes)
{
    struct Case {
        TrigFunction f;
        double angle;
        double value;
        bool radians;
        const char* expected;
    };
    const Case cases[] = {
        {TrigFunction::Sin, kPi / 6, std::sin(kPi / 6), false, "sin(30\u00B0) = 0,5"},
        {TrigFunction::Sin, kPi / 6, std::sin(kPi / 6), true, "sin(0,5236) = 0,5"},
        {TrigFunction::Sin, 0.0, 0.0, true, "sin(0) = 0"},
        {TrigFunction::Sin, 0.0, 0.0, false, "sin(0\u00B0) = 0"},
        {TrigFunction::Sin, kPi, std::sin(kPi), false, "sin(180\u00B0) = 0"},
        {TrigFunction::Cos, kPi / 2, std::cos(kPi / 2), false, "cos(90\u00B0) = 0"},
        {TrigFunction::Cos, kPi / 6, std::cos(kPi / 6), true, "cos(0,5236) = 0,866"},
        {TrigFunction::Tan, -kPi / 4, -1.0, false, "tan(-45\u00B0) = -1"},
        {TrigFunction::Tan, degrees(84), 9.514364454222587, false, "tan(84\u00B0) = 9,514"},
        {TrigFunction::Cot, kPi / 3, 1.0 / std::tan(kPi / 3), true, "cot(1,047) = 0,5774"},
        {TrigFunction::Sin, 6.5, std::sin(6.5), false, "sin(372,4\u00B0) = 0,2151"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.expected);
        EXPECT_EQ(TrigValueText(c.f, c.angle, c.value, c.radians), c.expected);
    }
}

TEST(UnitCircleTest, BarsGiveTheAngleAndTakeTheNearestPositionWithinTheirRange)
{
    EXPECT_DOUBLE_EQ(AngleOfDegreeBar(30), kPi / 6);
    EXPECT_DOUBLE_EQ(AngleOfStepBar(2), kPi / 6);
    // The track bar's right end is a full turn exactly, which the arc draws as a full circle.
    EXPECT_EQ(AngleOfStepBar(24), 2 * kPi);
    EXPECT_EQ(AngleOfDegreeBar(-180), -kPi);

    struct Case {
        double angle;
        int degreeBar;
        int stepBar;
    };
    const Case cases[] = {
        {kPi / 6, 30, 2},  {0.0, 0, 0},  {degrees(7.4), 7, 0}, {degrees(8), 8, 1},  {6.5, 360, 24},
        {-6.5, -180, -12}, {kNaN, 0, 0}, {1e300, 360, 24},     {-1e300, -180, -12},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.angle);
        EXPECT_EQ(DegreeBarPosition(c.angle), c.degreeBar);
        EXPECT_EQ(StepBarPosition(c.angle), c.stepBar);
    }
}

TEST(UnitCircleTest, TurnAroundSetsTheDirectionAtTheEnds)
{
    struct Case {
        const char* name;
        double angle;
        int direction;
        int expected;
    };
    const Case cases[] = {
        {"inside, up", 1.0, 1, 1},
        {"inside, down", 1.0, -1, -1},
        {"at 2 pi going up", 2 * kPi, 1, -1},
        {"beyond 2 pi going down stays down", 6.5, -1, -1},
        {"beyond 2 pi going up", 6.5, 1, -1},
        {"at -pi going down", -kPi, -1, 1},
        {"below -pi going up stays up", -4.0, 1, 1},
        {"undefined angle keeps the direction", kNaN, -1, -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(TurnAround(c.angle, c.direction), c.expected);
    }
    // 4° a frame over the divisor, which a damaged value cannot make zero.
    EXPECT_NEAR(AnimationAngleStep(2), degrees(2), 1e-15);
    EXPECT_NEAR(AnimationAngleStep(0), degrees(4), 1e-15);
}

} // namespace
} // namespace kurvex
