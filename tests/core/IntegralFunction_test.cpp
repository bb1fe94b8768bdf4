// The integral function's computations: sweeps right and left of x0 to the window's edges, the side
// that cannot be integrated left out, far limits bounded by the window, the area polygons and texts.
#include "core/IntegralFunction.h"

#include "core/NumberText.h"
#include "core/term/Term.h"
#include "support/RestoreShared.h"

#include <gtest/gtest.h>

#include <cmath>
#include <optional>
#include <string>
#include <vector>

namespace kurvex {
namespace {

constexpr double kDx = 14.0 / 1400; // -7..7 on 1400 columns

std::optional<double> One(double)
{
    return 1.0;
}

std::optional<double> Sine(double t)
{
    return std::sin(t);
}

std::optional<double> RootOf(double t)
{
    return t < 0 ? std::nullopt : std::optional<double>(std::sqrt(t));
}

std::optional<double> RootOfMinus(double t)
{
    return RootOf(-t);
}

std::optional<double> Reciprocal(double t)
{
    return t == 0 ? std::nullopt : std::optional<double>(1 / t);
}

// Both sweeps cover the window from their start, each sample at start + k · step.
TEST(IntegralCurve, SineFromZeroMatchesOneMinusCosineAtEveryColumn)
{
    const IntegralCurve c = IntegralCurveOver(Sine, 0, -7, 7, kDx);
    for (const IntegralSweep* s : {&c.right, &c.left}) {
        SCOPED_TRACE(s->step > 0 ? "right" : "left");
        ASSERT_GE(s->values.size(), 701u);
        EXPECT_EQ(s->start, 0.0);
        for (std::size_t k = 0; k < s->values.size(); ++k) {
            const double x = s->start + static_cast<double>(k) * s->step;
            ASSERT_NEAR(s->values[k], 1 - std::cos(x), 1e-6) << "x = " << x;
        }
        EXPECT_GE(std::abs(s->last()), 7.0);
    }
}

TEST(IntegralCurve, EachSideStopsWhereItCannotBeIntegrated)
{
    struct Case {
        const char* name;
        Integrand f;
        double x0;
        std::size_t rightMin, rightMax; // counts of samples
        std::size_t leftMin, leftMax;
    };
    const Case cases[] = {
        {"sqrt(t) from 0: right only", RootOf, 0, 701, 702, 1, 1},
        {"sqrt(-t) from 0: left only", RootOfMinus, 0, 1, 1, 701, 702},
        {"1/t from -1: right up to the pole", Reciprocal, -1, 2, 101, 601, 602},
        {"1 from 2", One, 2, 501, 502, 901, 902},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const IntegralCurve curve = IntegralCurveOver(c.f, c.x0, -7, 7, kDx);
        EXPECT_GE(curve.right.values.size(), c.rightMin);
        EXPECT_LE(curve.right.values.size(), c.rightMax);
        EXPECT_GE(curve.left.values.size(), c.leftMin);
        EXPECT_LE(curve.left.values.size(), c.leftMax);
    }
    // Left of the pole the right sweep ends before 0.
    const IntegralCurve c = IntegralCurveOver(Reciprocal, -1, -7, 7, kDx);
    EXPECT_LT(c.right.last(), 0.0);
    EXPECT_NEAR(c.left.valueAt(-2).value(), std::log(2.0), 1e-9);
}

// A limit far outside the window (1e12) gives a sweep of the window only, starting at its edge.
TEST(IntegralCurve, FarLowerLimitIsBoundedByTheWindow)
{
    struct Case {
        const char* name;
        double x0;
    };
    for (const Case c : {Case{"far right", 1e12}, Case{"far left", -1e12}}) {
        SCOPED_TRACE(c.name);
        const IntegralCurve curve = IntegralCurveOver(One, c.x0, -7, 7, kDx);
        const IntegralSweep& inside = c.x0 > 0 ? curve.left : curve.right;
        const IntegralSweep& outside = c.x0 > 0 ? curve.right : curve.left;
        EXPECT_TRUE(outside.values.empty());
        ASSERT_GE(inside.values.size(), 1401u);
        EXPECT_LE(inside.values.size(), 1403u);
        EXPECT_NEAR(std::abs(inside.start), 7 + kDx, 1e-12);
        // F(x) = x − x0 at the edge and one step on.
        EXPECT_NEAR(inside.values[0], inside.start - c.x0, 1e-3);
        EXPECT_NEAR(inside.values[1] - inside.values[0], inside.step, 1e-3);
    }
    // An integrand that cannot be integrated over 1e12 units leaves the side empty, quickly.
    const IntegralCurve wild = IntegralCurveOver(Sine, 1e12, -7, 7, kDx);
    EXPECT_TRUE(wild.left.values.empty());
    EXPECT_TRUE(wild.right.values.empty());
}

TEST(IntegralCurve, EvaluationsOfTheWholeCurveAreBounded)
{
    long calls = 0;
    const Integrand wild = [&calls](double t) -> std::optional<double> {
        ++calls;
        return std::sin(1e5 * t);
    };
    IntegralCurveLimits limits;
    limits.totalEvaluations = 20000;
    const IntegralCurve c = IntegralCurveOver(wild, 0, -7, 7, kDx, limits);
    EXPECT_LE(calls, 20000 + 16);
    EXPECT_LT(c.right.values.size(), 701u);
}

// F at any x: on the curve where the sweep reaches x, on its own where it does not.
TEST(IntegralCurve, ValueAtAnyXAgreesWithTheCurveAndTheDirectIntegral)
{
    const IntegralCurve sine = IntegralCurveOver(Sine, 0.3, -7, 7, kDx);
    const IntegralCurve pole = IntegralCurveOver(Reciprocal, -1, -7, 7, kDx);
    struct Case {
        const char* name;
        Integrand f;
        const IntegralCurve& curve;
        double x0, x;
        std::optional<double> expected;
    };
    const Case cases[] = {
        {"between samples", Sine, sine, 0.3, 2.0123, std::cos(0.3) - std::cos(2.0123)},
        {"left of x0", Sine, sine, 0.3, -5.55, std::cos(0.3) - std::cos(-5.55)},
        {"beyond the window", Sine, sine, 0.3, 20, std::cos(0.3) - std::cos(20.0)},
        {"curve of another x0", Sine, sine, 1.0, 2, std::cos(1.0) - std::cos(2.0)},
        {"across the pole", Reciprocal, pole, -1, 2, std::nullopt},
        {"before the pole", Reciprocal, pole, -1, -0.5, std::log(0.5)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::optional<double> v = IntegralAt(c.f, c.curve, c.x0, c.x);
        ASSERT_EQ(v.has_value(), c.expected.has_value());
        if (v) {
            EXPECT_NEAR(*v, *c.expected, 1e-9);
        }
    }
}

TEST(AreaPolygons, OnePolygonPerDefinedRunClosedAlongTheAxis)
{
    struct Case {
        const char* name;
        int from, to;
        std::vector<int> undefined;
        std::vector<std::vector<Point>> expected;
    };
    const int zero = 50;
    const Case cases[] = {
        {"three columns", 10, 12, {}, {{{10, 10}, {11, 11}, {12, 12}, {12, zero}, {10, zero}}}},
        {"reversed", 12, 10, {}, {{{10, 10}, {11, 11}, {12, 12}, {12, zero}, {10, zero}}}},
        {"one column", 7, 7, {}, {{{7, 7}, {7, zero}, {7, zero}}}},
        {"gap", 1, 5, {3}, {{{1, 1}, {2, 2}, {2, zero}, {1, zero}}, {{4, 4}, {5, 5}, {5, zero}, {4, zero}}}},
        {"all undefined", 1, 2, {1, 2}, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const auto rowOf = [&c](int col) -> std::optional<int> {
            for (const int u : c.undefined) {
                if (u == col) {
                    return std::nullopt;
                }
            }
            return col;
        };
        EXPECT_EQ(AreaPolygons(c.from, c.to, rowOf, zero), c.expected);
    }
    // A plot of 1900 columns needs no more room than its columns.
    const auto wide = AreaPolygons(
        0, 1900, [](int) { return std::optional<int>(3); }, zero);
    ASSERT_EQ(wide.size(), 1u);
    EXPECT_EQ(wide[0].size(), 1903u);
}

TEST(IntegralFunctionTexts, LabelPlaceAndValue)
{
    EXPECT_EQ(XLabelLeft(100, true, 7), 107);
    EXPECT_EQ(XLabelLeft(100, false, 7), 86);
    EXPECT_EQ(IntegralValueText(2.0, 2), FormatNumber(2, 2.0) + " [FE]");
    EXPECT_EQ(IntegralValueText(2.0, 2), "  2,00      [FE]");
    EXPECT_EQ(IntegralValueText(std::nullopt, 2), "nicht definiert");
    EXPECT_EQ(IntegralValueText(NAN, 2), "nicht definiert");
}

TEST(IntegrandOf, TakesTInEverySlotAndIsUndefinedWhereTheTermIs)
{
    const RestoreShared<bool, bool> restore(IntegrandMode, EvalOk);
    IntegrandMode = true;
    struct Case {
        const char* term;
        double t;
        std::optional<double> value;
    };
    const Case cases[] = {
        {"t^2", 3, 9}, {"a*t", 3, 9}, {"b+1", 2, 3}, {"sqrt(t)", -1, std::nullopt}, {"1/t", 0, std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.term);
        TermTree tree;
        ASSERT_TRUE(CompileTerm(tree, c.term, true));
        EXPECT_EQ(IntegrandOf(tree)(c.t), c.value);
    }
}

} // namespace
} // namespace kurvex
