// The check before a fit: the order of the rules, their messages, the start-value button and the
// points sorted by x.
#include "core/FitCheck.h"

#include <gtest/gtest.h>

#include <vector>

namespace kurvex {
namespace {

std::vector<PlotPoint> Points(std::initializer_list<std::pair<double, double>> xy)
{
    std::vector<PlotPoint> out;
    for (const auto& [x, y] : xy) {
        out.push_back({x, y});
    }
    return out;
}

std::vector<PlotPoint> Row(int n, double x0 = 1.0)
{
    std::vector<PlotPoint> out;
    for (int i = 0; i < n; ++i) {
        out.push_back({x0 + i, 2.0 * i});
    }
    return out;
}

struct CheckCase {
    const char* name;
    std::vector<PlotPoint> points;
    int model;
    FitDegrees degrees;
    const char* message; // empty: passes
    bool startValues;
};

TEST(FitCheck, RulesInTheirOrder)
{
    const std::string more = kMorePointsMessage;
    const CheckCase cases[] = {
        {"no point", {}, kRegLine, {}, kMorePointsMessage, false},
        {"one point, any model", Row(1), kRegPower, {}, kMorePointsMessage, false},
        {"one point, sine", Row(1), kRegSine, {}, kMorePointsMessage, false},
        {"two points, line", Row(2), kRegLine, {}, "", false},
        {"two points, proportional", Row(2), kRegProportional, {}, "", false},
        {"two points, exponential", Row(2), kRegExponential, {}, "", false},
        {"two points, quadratic", Row(2), kRegQuadratic, {}, kMorePointsMessage, false},
        {"two points, bounded growth", Row(2), kRegBoundedGrowth, {}, kMorePointsMessage, false},
        {"two points, logistic", Row(2), kRegLogistic, {}, kMorePointsMessage, false},
        {"power: the count before x > 0", Row(2, -1.0), kRegPower, {}, kMorePointsMessage, false},
        {"power with x = 0", Points({{0, 1}, {1, 2}, {2, 4}}), kRegPower, {}, kPositiveXMessage, false},
        {"power with x > 0", Row(3), kRegPower, {}, "", false},
        {"polynomial 3 with 3 points",
         Row(3),
         kRegPolynomial,
         {3, 1, 1},
         kMorePointsPolynomialMessage,
         false},
        {"polynomial 3 with 4 points", Row(4), kRegPolynomial, {3, 1, 1}, "", false},
        {"polynomial 6 with 6 points",
         Row(6),
         kRegPolynomial,
         {6, 1, 1},
         kMorePointsPolynomialMessage,
         false},
        {"rational 2/2 with 4 points", Row(4), kRegRational, {3, 2, 2}, kMorePointsRationalMessage, false},
        {"rational 2/2 with 5 points", Row(5), kRegRational, {3, 2, 2}, "", false},
        {"rational 1/1 with 2 points", Row(2), kRegRational, {3, 1, 1}, kMorePointsRationalMessage, false},
        {"sine with 4 points", Row(4), kRegSine, {}, kMorePointsMessage, false},
        {"sine with 5 points", Row(5), kRegSine, {}, "", true},
        {"line with 5 points offers no start values", Row(5), kRegLine, {}, "", false},
    };
    for (const CheckCase& c : cases) {
        SCOPED_TRACE(c.name);
        const FitDataCheck check = CheckFitData(c.points, c.model, c.degrees);
        EXPECT_EQ(check.message, c.message);
        EXPECT_EQ(check.passed, std::string(c.message).empty());
        EXPECT_EQ(check.startValuesAvailable, c.startValues);
        EXPECT_EQ(check.sorted.size(), c.points.size());
    }
}

TEST(FitCheck, PointsAreSortedByXStablyAlsoWhenTheCheckFails)
{
    const auto points = Points({{2, 1}, {1, 5}, {2, 0}, {1, 3}});
    const FitDataCheck passed = CheckFitData(points, kRegLine, {});
    EXPECT_EQ(passed.sorted, (std::vector<DataPoint>{{1, 5}, {1, 3}, {2, 1}, {2, 0}}));
    const FitDataCheck failed = CheckFitData(points, kRegSine, {});
    EXPECT_FALSE(failed.passed);
    EXPECT_EQ(failed.sorted, passed.sorted);
}

} // namespace
} // namespace kurvex
