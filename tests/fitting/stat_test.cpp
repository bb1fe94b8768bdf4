// Tests of the sorting, sums and regression statistics of the fitting library.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "fitting/stat.h"

namespace kurvex {
namespace {

TVector oneBased(std::initializer_list<double> values)
{
    TVector v{0.0};
    v.insert(v.end(), values);
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
    EXPECT_DOUBLE_EQ(SingularTolerance(10), 10 * 2.220446049250313e-16);
}

TEST(StatRegression, AsManyPointsAsParametersGiveVrZeroAndR2One)
{
    const TVector y = oneBased({1.0, 5.0});
    const TVector yc = oneBased({0.0, 0.0});
    FitStatistics stats{9.0, 9.0, 9.0, 9.0, 9.0};
    RegressionStatistics(y, yc, 2, stats, 0, 1);
    EXPECT_EQ(stats.Vr, 0.0);
    EXPECT_EQ(stats.R2, 1.0);
    EXPECT_EQ(stats.Spare1, 0.0);
    EXPECT_EQ(stats.Spare2, 0.0);
    EXPECT_EQ(stats.Spare3, 1.0);
}

TEST(StatRegression, ExactLineGivesR2OneAndVrZeroAndLeavesSpares)
{
    const TVector y = oneBased({1.0, 3.0, 5.0, 7.0});
    FitStatistics stats{0.0, 0.0, 4.0, 5.0, 6.0};
    FitFailed = false;
    RegressionStatistics(y, y, 4, stats, 0, 1);
    EXPECT_DOUBLE_EQ(stats.R2, 1.0);
    EXPECT_EQ(stats.Vr, 0.0);
    EXPECT_EQ(stats.Spare1, 4.0);
    EXPECT_FALSE(FitFailed);
}

TEST(StatRegression, R2IsExplainedOverTotalAndVrUsesDegreesOfFreedom)
{
    const TVector y = oneBased({1.0, 2.0, 4.0, 5.0});  // mean 3, SST 10
    const TVector yc = oneBased({1.5, 2.0, 3.5, 5.0}); // SSR 2.25 + 1 + 0.25 + 4 = 7.5, SSE 0.5
    FitStatistics stats;
    FitFailed = false;
    RegressionStatistics(y, yc, 4, stats, 0, 1);
    EXPECT_DOUBLE_EQ(stats.R2, 0.75);
    EXPECT_DOUBLE_EQ(stats.Vr, 0.25);
}

TEST(StatRegression, NoSpreadSetsFitFailedButStillGivesVr)
{
    const TVector y = oneBased({0.1, 0.1, 0.1, 0.1, 0.1});
    const TVector yc = oneBased({0.2, 0.0, 0.1, 0.1, 0.1});
    FitStatistics stats;
    FitFailed = false;
    RegressionStatistics(y, yc, 5, stats, 0, 1);
    EXPECT_TRUE(FitFailed);
    EXPECT_EQ(stats.R2, 0.0);
    EXPECT_NEAR(stats.Vr, 0.02 / 3.0, 1e-15);
    FitFailed = false;
}

TEST(StatRegression, DataOfSmallMagnitudeStillHaveSpread)
{
    // Micrometres given in metres: the spread is tiny in absolute terms but plain in relative ones.
    const TVector y = oneBased({1e-6, 2e-6, 3e-6, 4e-6});
    FitStatistics stats;
    FitFailed = false;
    RegressionStatistics(y, y, 4, stats, 0, 1);
    EXPECT_FALSE(FitFailed);
    EXPECT_DOUBLE_EQ(stats.R2, 1.0);
}

TEST(StatRegression, AllZeroDataHaveNoSpread)
{
    const TVector y = oneBased({0.0, 0.0, 0.0});
    FitStatistics stats;
    FitFailed = false;
    RegressionStatistics(y, y, 3, stats, 0, 0);
    EXPECT_TRUE(FitFailed);
    FitFailed = false;
}

} // namespace
} // namespace kurvex
