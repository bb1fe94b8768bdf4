// Tests of the sorting, sums and regression statistics of the fitting library.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <vector>

#include "numeric/Statistics.h"
#include "support/NumericState.h"

namespace kurvex {
namespace {

TVector oneBased(const std::vector<double>& values)
{
    TVector v{0.0};
    v.insert(v.end(), values.begin(), values.end());
    return v;
}

TEST(StatSort, AscendingAndDescendingMatchStdSortWithDuplicates)
{
    std::mt19937 rng(42);
    for (int trial = 0; trial < 200; ++trial) {
        const int n = 1 + trial % 37;
        std::uniform_int_distribution<int> pick(-3, 3 + trial % 5); // few distinct values: many duplicates
        TVector v(n + 2);
        for (double& x : v)
            x = pick(rng);
        const double before = v.front();
        const double after = v.back();
        TVector expected(v.begin() + 1, v.end() - 1);
        std::sort(expected.begin(), expected.end());

        TVector up = v;
        SortAscending(up, 1, n);
        EXPECT_TRUE(std::equal(expected.begin(), expected.end(), up.begin() + 1));
        EXPECT_EQ(up.front(), before); // outside the range nothing moves
        EXPECT_EQ(up.back(), after);

        TVector down = v;
        SortDescending(down, 1, n);
        EXPECT_TRUE(std::equal(expected.rbegin(), expected.rend(), down.begin() + 1));
        EXPECT_EQ(down.front(), before);
        EXPECT_EQ(down.back(), after);
    }
}

TEST(StatSort, AllEqualAndLargeRangesTerminate)
{
    TVector same(100001, 7.0);
    SortAscending(same, 0, 100000);
    EXPECT_TRUE(std::all_of(same.begin(), same.end(), [](double x) { return x == 7.0; }));

    TVector sorted(50000);
    for (int i = 0; i < 50000; ++i)
        sorted[i] = i;
    SortDescending(sorted, 0, 49999);
    EXPECT_TRUE(std::is_sorted(sorted.rbegin(), sorted.rend()));
}

TEST(StatSums, SumsMeansAndDeviations)
{
    const TVector v = oneBased({1.0, 2.0, 3.0, 6.0});
    const TVector u = oneBased({1.0, 1.0, 1.0, 1.0});
    EXPECT_DOUBLE_EQ(VectorSum(v, 1, 4), 12.0);
    EXPECT_DOUBLE_EQ(VectorMean(v, 1, 4), 3.0);
    EXPECT_DOUBLE_EQ(VectorMean(v, 2, 3), 2.5);
    EXPECT_DOUBLE_EQ(SumSquaredDeviations(v, 1, 4, 3.0), 4.0 + 1.0 + 0.0 + 9.0);
    EXPECT_DOUBLE_EQ(SumSquaredDifferences(v, u, 1, 4), 0.0 + 1.0 + 4.0 + 25.0);
}

TEST(StatRegression, VarianceR2SparesAndNoSpread)
{
    const test::NumericStateScope shared;
    struct Case {
        const char* name;
        std::vector<double> y;
        std::vector<double> ycalc; // empty: the data themselves
        int pub;                   // parameters 0..pub
        double vr;
        double r2;
        bool failed;
        double spare3; // 6 unless the fit has no degree of freedom
    };
    const Case cases[] = {
        {"as many points as parameters", {1, 5}, {0, 0}, 1, 0.0, 1.0, false, 1.0},
        {"exact line", {1, 3, 5, 7}, {}, 1, 0.0, 1.0, false, 6.0},
        // mean 3, SST 10; SSR 2.25 + 1 + 0.25 + 4 = 7.5; SSE 0.5 over 4 - 2 degrees of freedom
        {"explained over total", {1, 2, 4, 5}, {1.5, 2, 3.5, 5}, 1, 0.25, 0.75, false, 6.0},
        {"no spread, still a variance",
         {0.1, 0.1, 0.1, 0.1, 0.1},
         {0.2, 0, 0.1, 0.1, 0.1},
         1,
         0.02 / 3.0,
         0.0,
         true,
         6.0},
        // Micrometres given in metres: a tiny spread in absolute terms, a plain one in relative terms.
        {"small magnitude", {1e-6, 2e-6, 3e-6, 4e-6}, {}, 1, 0.0, 1.0, false, 6.0},
        {"all zero", {0, 0, 0}, {}, 0, 0.0, 0.0, true, 6.0},
        // SSR 9 + 1 + 1 + 16 = 27 exceeds SST 10: kept, the windows show its reciprocal.
        {"explained share above 1", {1, 2, 4, 5}, {0, 2, 4, 7}, 1, 2.5, 2.7, false, 6.0},
        // SSE 16 + 36 = 52 exceeds SST 10, SSR 36 + 1 + 1 + 64 = 102: a poor fit is still a fit.
        {"worse than the mean", {1, 2, 4, 5}, {-3, 2, 4, 11}, 1, 26.0, 10.2, false, 6.0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const TVector y = oneBased(c.y);
        const TVector yc = c.ycalc.empty() ? y : oneBased(c.ycalc);
        FitStatistics stats{9.0, 9.0, 4.0, 5.0, 6.0};
        FitFailed = false;
        RegressionStatistics(y, yc, static_cast<int>(c.y.size()), stats, 0, c.pub);
        EXPECT_NEAR(stats.Vr, c.vr, 1e-15);
        EXPECT_DOUBLE_EQ(stats.R2, c.r2);
        EXPECT_EQ(FitFailed, c.failed);
        EXPECT_EQ(stats.Spare3, c.spare3);
        EXPECT_EQ(stats.Spare1, c.spare3 == 1.0 ? 0.0 : 4.0);
        EXPECT_EQ(stats.Spare2, c.spare3 == 1.0 ? 0.0 : 5.0);
    }
}

} // namespace
} // namespace kurvex
