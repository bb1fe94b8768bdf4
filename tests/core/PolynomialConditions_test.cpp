// Polynomial from conditions: equations per kind, the solution of typical, closely spaced and failing
// condition sets, the linear system, values, term text and the list with its selection.
#include "core/PolynomialConditions.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

namespace kurvex {
namespace {

using K = ConditionKind;

Condition C(K kind, double x, double y, double m = 0.0)
{
    return {x, y, 0, kind, m};
}

// |f(x) - y| of every value condition against the size of the sum that gives f(x) in powers of x.
double worstPowerResidual(const std::vector<Condition>& cs, const std::vector<double>& a)
{
    double worst = 0.0;
    for (const Condition& c : cs) {
        double size = std::fabs(c.y);
        for (std::size_t k = 0; k < a.size(); ++k) {
            size += std::fabs(a[k] * std::pow(c.x, static_cast<double>(k)));
        }
        worst = std::max(worst, std::fabs(EvaluatePolynomial(a, c.x) - c.y) / size);
    }
    return worst;
}

// The same from the solved form in u.
double worstSolvedResidual(const std::vector<Condition>& cs, const Polynomial& p)
{
    std::vector<Condition> inU = cs;
    for (Condition& c : inU) {
        c.x = (c.x - p.centre) / p.scale;
    }
    for (std::size_t i = 0; i < cs.size(); ++i) {
        EXPECT_NEAR(EvaluatePolynomial(p, cs[i].x), EvaluatePolynomial(p.b, inU[i].x), 1e-15);
    }
    return worstPowerResidual(inU, p.b);
}

TEST(PolynomialConditions, EquationsPerKindAndTheLimitOfSeven)
{
    const int expected[kConditionKindCount] = {1, 2, 2, 2, 3, 3};
    for (int k = 0; k < kConditionKindCount; ++k) {
        SCOPED_TRACE(k);
        EXPECT_EQ(EquationsOf(static_cast<K>(k)), expected[k]);
    }
    ConditionList list;
    for (int i = 0; i < 7; ++i) {
        EXPECT_TRUE(list.add(C(K::Point, i, 0)));
    }
    list.select(2);
    // The eighth equation is refused, and the selection stays where the user put it.
    EXPECT_FALSE(list.add(C(K::Point, 9, 0)));
    EXPECT_EQ(list.items().size(), 7u);
    EXPECT_EQ(list.equationCount(), 7);
    EXPECT_EQ(list.selected(), 2);

    ConditionList five;
    five.add(C(K::Terrace, 0, 0));
    five.add(C(K::Extremum, 1, 0));
    EXPECT_FALSE(five.canAdd(K::Terrace));
    EXPECT_FALSE(five.add(C(K::Terrace, 2, 0)));
    EXPECT_TRUE(five.add(C(K::Extremum, 2, 0)));
    EXPECT_EQ(five.equationCount(), 7);
}

TEST(PolynomialConditions, SolvesTypicalConditionSets)
{
    struct Case {
        const char* name;
        std::vector<Condition> conditions;
        std::vector<double> expected; // a0, a1, ...
    };
    const Case cases[] = {
        {"two points: y = 2x", {C(K::Point, 0, 0), C(K::Point, 2, 4)}, {0, 2}},
        {"three points: y = x^2", {C(K::Point, 0, 0), C(K::Point, 2, 4), C(K::Point, 1, 1)}, {0, 0, 1}},
        {"three points off the origin",
         {C(K::Point, -1, 6), C(K::Point, 1, 2), C(K::Point, 3, 6)},
         {3, -2, 1}},
        {"extremum alone: the constant", {C(K::Extremum, 1, 2)}, {2, 0}},
        {"extremum (1, 2) and point (0, 0)", {C(K::Extremum, 1, 2), C(K::Point, 0, 0)}, {0, 4, -2}},
        {"terrace point and a point: x^3", {C(K::Terrace, 0, 0), C(K::Point, 1, 1)}, {0, 0, 0, 1}},
        {"point with slope: x^2", {C(K::PointSlope, 1, 1, 2), C(K::Point, 0, 0)}, {0, 0, 1}},
        {"inflection with slope: x^3 + x", {C(K::InflectionSlope, 0, 0, 1), C(K::Point, 1, 2)}, {0, 1, 0, 1}},
        {"two extrema: x^3/3 - x",
         {C(K::Extremum, 1, -2.0 / 3), C(K::Extremum, -1, 2.0 / 3)},
         {0, -1, 0, 1.0 / 3}},
        {"inflection and a point: a line", {C(K::Inflection, 0, 1), C(K::Point, 2, 5)}, {1, 2, 0}},
        {"far from the origin",
         {C(K::Point, 1000, 0), C(K::Point, 1001, 1), C(K::Point, 1002, 0)},
         {-1001.0 * 1001 + 1, 2002, -1}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const Polynomial p = SolvePolynomial(c.conditions);
        ASSERT_TRUE(p.solved());
        ASSERT_EQ(p.a.size(), c.expected.size());
        for (std::size_t k = 0; k < p.a.size(); ++k) {
            SCOPED_TRACE(k);
            EXPECT_NEAR(p.a[k], c.expected[k], 1e-9 * std::max(1.0, std::fabs(c.expected[k])));
            // A coefficient that is 0 is exactly 0, so the term leaves it out.
            if (c.expected[k] == 0.0) {
                EXPECT_EQ(p.a[k], 0.0);
            }
        }
    }
}

TEST(PolynomialConditions, CloselySpacedConditionsAreSolved)
{
    struct Case {
        const char* name;
        std::vector<Condition> conditions;
    };
    std::vector<Case> cases;
    std::vector<Condition> sine, zigzag, nearZero, tenThousandths, terraceNearPoint;
    for (int k = 0; k < 6; ++k) {
        const double x = 1 + 0.001 * k;
        sine.push_back(C(K::Point, x, std::sin(x)));
        zigzag.push_back(C(K::Point, x, k % 2 == 0 ? 1.0 : 2.0));
    }
    for (int k = 1; k <= 7; ++k) {
        nearZero.push_back(C(K::Point, 0.001 * k, k % 3));
    }
    for (int k = 0; k < 5; ++k) {
        tenThousandths.push_back(C(K::Point, 2 + 0.0001 * k, k));
    }
    terraceNearPoint = {C(K::Terrace, 0, 0), C(K::Point, 0.001, 1), C(K::Point, 5, 0), C(K::Point, -5, 0)};
    cases = {{"six points 0.001 apart near 1, on sin", sine},
             {"six points 0.001 apart near 1, zigzag", zigzag},
             {"seven points 0.001 apart from 0.001", nearZero},
             {"five points 0.0001 apart near 2", tenThousandths},
             {"terrace point beside a point", terraceNearPoint}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const Polynomial p = SolvePolynomial(c.conditions);
        ASSERT_TRUE(p.solved()) << FailureMessage(p.failure);
        EXPECT_LT(worstSolvedResidual(c.conditions, p), 1e-9);
        EXPECT_LT(worstPowerResidual(c.conditions, p.a), 1e-9);
    }
}

TEST(PolynomialConditions, FailuresNameTheirCause)
{
    constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
    struct Case {
        const char* name;
        std::vector<Condition> conditions;
        PolynomialFailure expected;
    };
    const Case cases[] = {
        {"two points at one x", {C(K::Point, 1, 0), C(K::Point, 1, 1)}, PolynomialFailure::SameX},
        {"one point twice", {C(K::Point, 1, 0), C(K::Point, 1, 0)}, PolynomialFailure::SameX},
        {"point on an extremum",
         {C(K::Point, 1, 0), C(K::Extremum, 1, 0), C(K::Point, 3, 3)},
         PolynomialFailure::SameX},
        {"inflection point alone", {C(K::Inflection, 1, 1)}, PolynomialFailure::Undetermined},
        {"inflection with slope alone", {C(K::InflectionSlope, 0, 0, 1)}, PolynomialFailure::None},
        {"an undefined coordinate",
         {C(K::Point, 1, kNaN), C(K::Point, 2, 0)},
         PolynomialFailure::Undetermined},
        {"the largest x there are", {C(K::Point, -1e308, 1), C(K::Point, 1e308, 2)}, PolynomialFailure::None},
        // Coefficients beyond what a double holds: no polynomial, and nothing undefined drawn.
        {"a slope no polynomial can hold",
         {C(K::PointSlope, 1e300, 0, 1e308), C(K::Point, -1e300, 0)},
         PolynomialFailure::Undetermined},
        {"tiny x", {C(K::Point, 1e-300, 1), C(K::Point, 2e-300, 2)}, PolynomialFailure::None},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const Polynomial p = SolvePolynomial(c.conditions);
        EXPECT_EQ(p.failure, c.expected);
        EXPECT_EQ(p.solved(), c.expected == PolynomialFailure::None);
    }
    EXPECT_EQ(FailureMessage(PolynomialFailure::SameX),
              "Fehler: mindestens 2 Punkte haben dieselbe x-Koordinate!");
    EXPECT_FALSE(FailureMessage(PolynomialFailure::Undetermined).empty());
    EXPECT_TRUE(FailureMessage(PolynomialFailure::None).empty());
    // No conditions: nothing to solve and nothing failed.
    const Polynomial none = SolvePolynomial({});
    EXPECT_TRUE(none.a.empty());
    EXPECT_EQ(none.failure, PolynomialFailure::None);
}

TEST(PolynomialConditions, LinearSystemPivotsBySizeAndScale)
{
    struct Case {
        const char* name;
        std::vector<std::vector<double>> a;
        std::vector<double> b;
        std::vector<double> expected; // empty: singular
    };
    const Case cases[] = {
        {"zero in the first pivot", {{0, 1}, {1, 1}}, {2, 3}, {1, 2}},
        {"small first pivot", {{1e-20, 1}, {1, 1}}, {1, 2}, {1, 1}},
        {"rows of very different size", {{1e12, 2e12}, {3e-9, 1e-9}}, {5e12, 5e-9}, {1, 2}},
        {"inconsistent", {{1, 1}, {2, 2}}, {1, 3}, {}},
        {"dependent", {{1, 2}, {2, 4}}, {1, 2}, {}},
        {"zero row", {{1, 2}, {0, 0}}, {1, 0}, {}},
        {"wrong shape", {{1, 2}}, {1, 2}, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const LinearSolution s = SolveLinearSystem(c.a, c.b);
        EXPECT_EQ(s.singular, c.expected.empty());
        ASSERT_EQ(s.x.size(), c.expected.size());
        for (std::size_t i = 0; i < s.x.size(); ++i) {
            EXPECT_NEAR(s.x[i], c.expected[i], 1e-12);
        }
    }
}

TEST(PolynomialConditions, ValuesOfTheFunctionAndItsDerivatives)
{
    const std::vector<double> a = {1, 2, 3}; // 1 + 2x + 3x²
    struct Case {
        double x;
        int order;
        double expected;
    };
    const Case cases[] = {{2, 0, 17}, {2, 1, 14}, {2, 2, 6}, {2, 3, 0}, {-1, 0, 2}, {0, 1, 2}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "x " << c.x << " order " << c.order);
        EXPECT_DOUBLE_EQ(EvaluatePolynomial(a, c.x, c.order), c.expected);
    }
    EXPECT_EQ(EvaluatePolynomial(std::vector<double>{}, 3.0), 0.0);
    EXPECT_EQ(EvaluatePolynomial(Polynomial{}, 3.0), 0.0);
}

TEST(PolynomialConditions, TermText)
{
    struct Case {
        std::vector<double> a;
        bool fractions;
        const char* expected;
    };
    const Case cases[] = {
        {{0, 2}, false, "  2,000 x"},
        {{0, 0, 1}, false, "  1,000 x^2"},
        {{2, 0}, false, "  2,000"},
        {{0, 4, -2}, false, " -  2,000 x^2 +  4,000 x"},
        {{-1}, false, " -  1,000"},
        {{123.5}, false, "  1,235 E+2"},
        {{0, 0, 0}, false, "0,000"},
        {{0, 0, 0}, true, "0,00"},
        {{0, -1, 0, 1.0 / 3}, true, "1/3 x^3 -1 x"},
        {{0.5, 0, 0, 0, 0, 0, -2}, true, " -2 x^6 +1/2"},
        {{0, 2}, true, "2 x"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.expected);
        EXPECT_EQ(PolynomialTermText(c.a, c.fractions), c.expected);
    }
}

TEST(PolynomialConditions, SolvedThirdOfXCubedMinusXReadsAsFractions)
{
    // Points that give x³/3 - x: the third and the zero coefficients come out clean.
    const std::vector<Condition> cs = {C(K::Point, 0, 0), C(K::Point, 1, -2.0 / 3), C(K::Point, 2, 2.0 / 3),
                                       C(K::Point, 3, 6)};
    const Polynomial p = SolvePolynomial(cs);
    ASSERT_TRUE(p.solved());
    EXPECT_EQ(PolynomialTermText(p.a, true), "1/3 x^3 -1 x");
    EXPECT_EQ(PolynomialTermText(p.a, false), "  0,333 x^3 -  1,000 x");
}

TEST(PolynomialConditions, HitIsStrictlyInsideTwelvePixels)
{
    struct Case {
        int mx, my;
        bool hit;
    };
    const Case cases[] = {{100, 100, true}, {111, 111, true}, {112, 100, false},
                          {88, 100, false}, {89, 89, true},   {100, 112, false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.mx << ", " << c.my);
        EXPECT_EQ(HitsPoint(100, 100, c.mx, c.my), c.hit);
    }
}

TEST(PolynomialConditions, ListMovesDeletesAndPicks)
{
    ConditionList list;
    list.add(C(K::Point, 0, 0));
    list.add(C(K::PointSlope, 1, 1, 2));
    list.add(C(K::Extremum, 2, 2));
    ASSERT_EQ(list.selected(), 2);

    // The topmost (last) of two overlapping conditions is picked.
    const auto pixel = [](double x, double y) {
        struct P {
            int x, y;
        };
        return P{static_cast<int>(x * 5), static_cast<int>(-y * 5)};
    };
    EXPECT_EQ(list.hitTest(pixel, 9, -9), 2);
    EXPECT_EQ(list.hitTest(pixel, -5, 5), 1);
    EXPECT_EQ(list.hitTest(pixel, -11, 11), 0);
    EXPECT_EQ(list.hitTest(pixel, 100, 100), -1);

    list.select(1);
    list.moveSelectedTo(3, 4, true);
    EXPECT_EQ(list.items()[1].x, 3);
    EXPECT_EQ(list.items()[0].x, 2);
    EXPECT_EQ(list.items()[0].y, 3);
    EXPECT_EQ(list.items()[2].x, 4);
    list.moveSelectedTo(3, 5, false);
    EXPECT_EQ(list.items()[0].y, 3);

    list.setSelectedSlope(-1);
    EXPECT_EQ(list.items()[1].m, -1);
    list.select(2);
    list.setSelectedSlope(7); // an extremum keeps its horizontal tangent
    EXPECT_EQ(list.items()[2].m, 0);

    EXPECT_TRUE(list.deleteSelected());
    EXPECT_EQ(list.selected(), 1);
    EXPECT_EQ(list.equationCount(), 3);
    list.select(0);
    EXPECT_TRUE(list.deleteSelected());
    EXPECT_EQ(list.selected(), 0); // the first stays first
    EXPECT_TRUE(list.deleteSelected());
    EXPECT_FALSE(list.hasSelection());
    EXPECT_FALSE(list.deleteSelected());
    EXPECT_EQ(list.equationCount(), 0);
    list.select(5);
    EXPECT_EQ(list.selected(), -1);
}

} // namespace
} // namespace kurvex
