// The linear-regression lesson's numbers: the least-squares line against the closed form, and the
// minimum no line goes below.
#include "core/RegressionLine.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <vector>

namespace kurvex {
namespace {

TEST(RegressionLine, LeastSquaresLineAndItsMinimum)
{
    const struct {
        const char* name;
        std::vector<DataPoint> points;
        std::optional<LineCoefficients> line;
        std::optional<double> minimum;
    } cases[] = {
        {"no points", {}, std::nullopt, std::nullopt},
        {"one point", {{1, 1}}, std::nullopt, std::nullopt},
        {"two points: exact", {{0, 0}, {1, 2}}, LineCoefficients{2, 0}, 0.0},
        {"y = x", {{0, 0}, {1, 1}, {2, 2}}, LineCoefficients{1, 0}, 0.0},
        // Means (1, 1); Sxx = 2, Sxy = 1: slope 1/2, intercept 1/2; residuals 1/2, -1, 1/2.
        {"three points off a line", {{0, 1}, {1, 0}, {2, 2}}, LineCoefficients{0.5, 0.5}, 1.5},
        {"equal y: the level line", {{-1, 3}, {2, 3}, {5, 3}}, LineCoefficients{0, 3}, 0.0},
        {"all x equal: level through the mean", {{2, 1}, {2, 5}}, LineCoefficients{0, 3}, 8.0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const auto line = LeastSquaresLine(c.points);
        ASSERT_EQ(line.has_value(), c.line.has_value());
        if (line) {
            EXPECT_NEAR(line->slope, c.line->slope, 1e-14);
            EXPECT_NEAR(line->intercept, c.line->intercept, 1e-14);
        }
        const auto minimum = MinimumSquaredErrorSum(c.points);
        ASSERT_EQ(minimum.has_value(), c.minimum.has_value());
        if (minimum) {
            EXPECT_NEAR(*minimum, *c.minimum, 1e-13);
        }
    }
}

TEST(RegressionLine, TheUserSumAtTheLeastSquaresLineIsTheMinimumAndNoOtherLineGoesBelow)
{
    std::mt19937 random(20);
    std::uniform_real_distribution<double> coordinate(-8.0, 8.0);
    std::uniform_real_distribution<double> noise(-2.0, 2.0);
    std::uniform_real_distribution<double> change(-1.0, 1.0);
    std::uniform_int_distribution<int> count(2, 101);
    std::uniform_int_distribution<int> digits(0, 6);
    for (int set = 0; set < 20; ++set) {
        SCOPED_TRACE("set " + std::to_string(set));
        std::vector<DataPoint> points;
        const double slope = change(random) * 3;
        const int n = count(random);
        for (int i = 0; i < n; ++i) {
            const double x = coordinate(random);
            points.push_back({x, slope * x + noise(random)});
        }
        const LineCoefficients best = *LeastSquaresLine(points);
        const double minimum = *MinimumSquaredErrorSum(points);
        EXPECT_EQ(SquaredErrorSum(points, best), minimum);
        // 200 lines near the best one, down to changes in the last digits a user may type.
        for (int k = 0; k < 200; ++k) {
            const double scale = std::pow(10.0, -digits(random));
            const LineCoefficients other{best.slope + change(random) * scale,
                                         best.intercept + change(random) * scale};
            EXPECT_GE(SquaredErrorSum(points, other), minimum) << other.slope << " " << other.intercept;
        }
    }
}

} // namespace
} // namespace kurvex
