// The curve discussion's computations: tangent and slope triangle at x0, the term's parameters as
// loaded, nothing at an undefined x0, the swept range of the growing derivative and the labels.
#include "core/CurveDiscussion.h"

#include "core/Settings.h"
#include "support/RestoreShared.h"

#include <gtest/gtest.h>

#include <cmath>
#include <optional>
#include <string>
#include <vector>

namespace kurvex {
namespace {

TermTree Compiled(const char* term)
{
    TermTree tree;
    EXPECT_TRUE(CompileTerm(tree, term, true)) << term;
    return tree;
}

TEST(CurveDiscussion, TangentAndTriangleOfTheParabolaAtOne)
{
    const TermTree f = Compiled("x^2");
    const auto t = DiscussionTangent(f, 1.0, {}, 1.0, 1.0);
    ASSERT_TRUE(t.has_value());
    EXPECT_NEAR(t->m, 2.0, 1e-6);
    EXPECT_NEAR(t->intercept(), -1.0, 1e-6);
    EXPECT_NEAR(t->halfLength, std::cos(std::atan(2.0)), 1e-6);
    const SlopeTriangle tri = UnitSlopeTriangle(*t);
    EXPECT_DOUBLE_EQ(tri.x0, 1.0);
    EXPECT_DOUBLE_EQ(tri.y0, 1.0);
    EXPECT_DOUBLE_EQ(tri.x1, 2.0);
    EXPECT_NEAR(tri.y1, 3.0, 1e-6);
}

TEST(CurveDiscussion, ValuesOfTheThreeOrdersAndWhereTheyAreUndefined)
{
    struct Case {
        const char* term;
        int order;
        double x;
        TermParameters p;
        std::optional<double> value;
    };
    const Case cases[] = {
        {"x^3-3x", 0, 2, {}, 2},
        {"x^3-3x", 1, 2, {}, 9},
        {"x^3-3x", 2, 2, {}, 12},
        // t, a and b read the loaded ParamA, ParamB, ParamC.
        {"a*x+t", 0, 2, {5, 3, 0}, 11},
        {"b*x^2", 1, 1, {0, 0, 4}, 8},
        {"ln(x)", 0, -1, {}, std::nullopt},
        {"ln(x)", 1, -1, {}, std::nullopt},
        {"1/x", 0, 0, {}, std::nullopt},
        {"sqrt(x)", 1, 0, {}, std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.term) + " order " + std::to_string(c.order));
        const std::optional<double> v = DiscussionValue(Compiled(c.term), c.order, c.x, c.p);
        ASSERT_EQ(v.has_value(), c.value.has_value());
        if (v) {
            EXPECT_NEAR(*v, *c.value, 1e-4);
        }
    }
    // No tangent where f or f' is undefined.
    EXPECT_FALSE(DiscussionTangent(Compiled("ln(x)"), -1, {}, 1, 1).has_value());
    EXPECT_FALSE(DiscussionTangent(Compiled("sqrt(x)"), 0, {}, 1, 1).has_value());
}

TEST(CurveDiscussion, SweepGrowsOnlyOverTheRangeReached)
{
    struct Case {
        const char* name;
        double start;
        std::vector<double> moves;
        double min, max;
    };
    const Case cases[] = {
        {"to 2 and back to -1", 0, {1, 2, 1, 0, -1}, -1, 2},
        {"back to the start only", 0, {1.5, 0.5}, 0, 1.5},
        {"left first", 1, {0.5, -3, 0.2, 3}, -3, 3},
        {"not moved", 4, {}, 4, 4},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SweepRange r = StartSweep(c.start);
        for (const double x : c.moves) {
            r = GrowSweep(r, x);
        }
        EXPECT_EQ(r, (SweepRange{c.start, c.min, c.max}));
    }
}

TEST(CurveDiscussion, LabelsWithFourDecimals)
{
    struct Case {
        int order;
        double x0;
        std::optional<double> value;
        const char* text;
    };
    const Case cases[] = {
        {1, 1, 2, "f'(  1,0000) =  2,0000"},
        {2, -0.5, -12.25, "f''( -0,5000) =-12,2500"},
        {1, 150, 0.01, "f'(  1,5000 E+2) =  1,0000 E-2"},
        {1, -1, std::nullopt, "f'( -1,0000) = nicht definiert"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(DerivativeLabel(c.order, c.x0, c.value), c.text);
    }
}

} // namespace
} // namespace kurvex
