// Tests of the sine fit: start values, convergence on generated data, GSL agreement and failures.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <numbers>

#include "numeric/GslNonlinearReference.h"
#include "numeric/GuardedMath.h"
#include "numeric/SamplePoints.h"
#include "numeric/SineFit.h"
#include "numeric/SinePeriods.h"
#include "support/NumericState.h"

namespace kurvex {
namespace {

constexpr double kTwoPi = 6.283185307179586;

class SineFitTest : public ::testing::Test {
protected:
    void SetUp() override { reset(); }
    // The automatic start with the default iteration limit.
    static void reset()
    {
        NewModel = true;
        SineIterations = 10;
        SineUserStartA = SineUserStartB = SineUserStartC = SineUserStartD = 0.0;
    }
    // The start-value dialog's values and limit instead of the automatic start.
    static void useUserStart(const SineParameterSet& start, int iterations)
    {
        NewModel = false;
        SineUserStartA = start[0];
        SineUserStartB = start[1];
        SineUserStartC = start[2];
        SineUserStartD = start[3];
        SineIterations = iterations;
    }

private:
    test::NumericStateScope shared_;
};

using testing::Points;
using testing::sample;

// a > 0 and c in [0, 2 pi): (-a, c) and (a, c + pi) describe the same curve.
SineParameterSet canonical(SineParameterSet p)
{
    if (p[1] < 0.0) {
        p[1] = -p[1];
        p[2] = -p[2];
        p[0] = -p[0]; // sin(-u) = -sin(u)
    }
    if (p[0] < 0.0) {
        p[0] = -p[0];
        p[2] += kTwoPi / 2.0;
    }
    p[2] = std::fmod(p[2], kTwoPi);
    if (p[2] < 0.0)
        p[2] += kTwoPi;
    return p;
}

struct SineCase {
    const char* name;
    SineParameterSet p;
    double from, to;
    int count;
};

TEST_F(SineFitTest, GeneratedCurvesConvergeWithAutomaticStart)
{
    const SineCase cases[] = {
        {"2 sin(x + 0.5) + 1", {2.0, 1.0, 0.5, 1.0}, 0.0, 10.0, 21},
        {"1.5 sin(pi x / 4 + 1) + 3", {1.5, std::numbers::pi / 4.0, 1.0, 3.0}, 0.0, 8.0, 17},
        {"3 sin(0.5 x + 2) - 1", {3.0, 0.5, 2.0, -1.0}, 0.0, 12.0, 25},
        {"2 sin(x + 0.5) + 1, 11 points", {2.0, 1.0, 0.5, 1.0}, 0.0, 10.0, 11},
    };
    for (const SineCase& c : cases) {
        SCOPED_TRACE(c.name);
        const Points p = sample(c.from, c.to, c.count, [&c](double x) { return SineModel(c.p, x); });
        const int status = RunSineFit(p.x, p.y, p.n);
        EXPECT_NE(status, kSineFailed);
        for (int i = 1; i <= p.n; ++i) {
            EXPECT_NEAR(SineFitCurve[i], p.y[i], 1e-6);
            EXPECT_NEAR(SineModel(SineParams, p.x[i]), p.y[i], 1e-6);
        }
        const SineParameterSet found = canonical(SineParams);
        for (int j = 0; j < 4; ++j)
            EXPECT_NEAR(found[j], c.p[j], 1e-6) << j;
        EXPECT_NEAR(SineFitVariance, 0.0, 1e-12);
        EXPECT_NEAR(SineFitR, 1.0, 1e-9);
        EXPECT_EQ(SineAutoIterations, 10);
    }
}

TEST_F(SineFitTest, SeveralPeriodsFindTheAmplitudeAndPeriod)
{
    struct Case {
        const char* name;
        double periods;
        int count;
        double noise;
    };
    const Case cases[] = {
        {"2.5 periods, 21 points", 2.5, 21, 0.0},        {"4 periods, 21 points", 4.0, 21, 0.0},
        {"4 periods, 41 points, noise", 4.0, 41, 0.4},   {"4 periods, 101 points, noise", 4.0, 101, 0.6},
        {"7 periods, 101 points, noise", 7.0, 101, 0.6},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        reset();
        const SineParameterSet truth{3.0, kTwoPi * c.periods / 10.0, 0.5, 1.0};
        const Points p = testing::disturbed(
            sample(0.0, 10.0, c.count, [&truth](double x) { return SineModel(truth, x); }), c.noise);
        ASSERT_NE(RunSineFit(p.x, p.y, p.n), kSineFailed);
        const SineParameterSet found = canonical(SineParams);
        EXPECT_NEAR(found[0], truth[0], 0.05 * truth[0]);
        EXPECT_NEAR(found[1], truth[1], 0.01 * truth[1]);
        EXPECT_GT(SineFitR, 0.95);
        // The start values shown in the dialog lead the dialog's own iteration to the same fit.
        const SineParameterSet kept = SineParams;
        useUserStart(SineStartValues, kSineAutoIterationLimit);
        RunSineFit(p.x, p.y, p.n);
        for (int j = 0; j < 4; ++j)
            EXPECT_DOUBLE_EQ(SineParams[j], kept[j]) << j;
    }
}

TEST(SinePeriods, EstimatesFromCrossingsAndPeriodogram)
{
    for (const double periods : {1.5, 4.0, 9.0}) {
        SCOPED_TRACE(periods);
        const double b = kTwoPi * periods / 20.0;
        const Points p = testing::disturbed(
            sample(0.0, 20.0, 81, [b](double x) { return 2.0 * std::sin(b * x + 1.0) - 4.0; }), 0.5);
        // The periodogram's grid has a quarter of one period's b as its step.
        EXPECT_NEAR(SineFrequencyFromPeriodogram(p.x, p.y, p.n), b, 0.5 * kTwoPi / (4.0 * 20.0));
        EXPECT_NEAR(SineFrequencyFromCrossings(p.x, p.y, p.n), b, 0.1 * b);
        SineParameterSet start{};
        ASSERT_TRUE(SineStartForFrequency(p.x, p.y, p.n, b, start));
        EXPECT_NEAR(start[0], 2.0, 0.2);
        EXPECT_NEAR(std::remainder(start[2] - 1.0, kTwoPi), 0.0, 0.1);
        EXPECT_NEAR(start[3], -4.0, 0.2);
    }
    // No signal: nothing to estimate.
    const Points flat = sample(0.0, 5.0, 21, [](double) { return 3.0; });
    EXPECT_EQ(SineFrequencyFromPeriodogram(flat.x, flat.y, flat.n), 0.0);
    EXPECT_EQ(SineFrequencyFromCrossings(flat.x, flat.y, flat.n), 0.0);
    SineParameterSet start{};
    EXPECT_FALSE(SineStartForFrequency(flat.x, flat.y, flat.n, 1.0, start));
}

TEST_F(SineFitTest, StartValuesFromTheExtremes)
{
    // y = 2 sin x + 1 at points whose largest value 3 is the 3rd point.
    const TVector x{0.0,
                    -std::numbers::pi / 2.0,
                    0.0,
                    std::numbers::pi / 2.0,
                    std::numbers::pi,
                    3.0 * std::numbers::pi / 2.0,
                    2.0 * std::numbers::pi};
    TVector y{0.0};
    for (int i = 1; i <= 6; ++i)
        y.push_back(2.0 * std::sin(x[i]) + 1.0);
    RunSineFit(x, y, 6);
    const double b0 = kTwoPi / (x[6] - x[1]);
    EXPECT_DOUBLE_EQ(SineStartValues[0], 2.0);
    EXPECT_DOUBLE_EQ(SineStartValues[1], b0);
    EXPECT_DOUBLE_EQ(SineStartValues[2], std::numbers::pi / 2.0 - b0 * x[3]);
    EXPECT_DOUBLE_EQ(SineStartValues[3], 1.0);
}

TEST_F(SineFitTest, ExtremesWorkForDataFarFromZero)
{
    for (const double d : {20000.0, -20000.0}) {
        const SineParameterSet truth{5.0, 1.0, 0.5, d};
        const Points p = sample(0.0, 10.0, 21, [&truth](double x) { return SineModel(truth, x); });
        EXPECT_NE(RunSineFit(p.x, p.y, p.n), kSineFailed) << d;
        EXPECT_NEAR(SineStartValues[3], d, 5.0);
        EXPECT_NEAR(SineStartValues[0], 5.0, 0.1);
        for (int i = 1; i <= p.n; ++i)
            EXPECT_NEAR(SineFitCurve[i], p.y[i], 1e-6);
    }
}

TEST_F(SineFitTest, UserStartValuesAndIterationLimit)
{
    const SineParameterSet truth{2.0, 1.0, 0.5, 1.0};
    const Points p = sample(0.0, 10.0, 21, [&truth](double x) { return SineModel(truth, x); });
    useUserStart({1.8, 0.97, 0.6, 0.9}, 1);
    SineAutoIterations = 99;
    EXPECT_EQ(RunSineFit(p.x, p.y, p.n), kSineIterationLimit); // two steps are not enough
    EXPECT_EQ(SineAutoIterations, 10);
    EXPECT_NEAR(SineStartValues[0], 2.0, 0.05); // still computed
    EXPECT_GT(SineFitVariance, 0.0);

    SineIterations = 30;
    EXPECT_NE(RunSineFit(p.x, p.y, p.n), kSineFailed);
    const SineParameterSet found = canonical(SineParams);
    for (int j = 0; j < 4; ++j)
        EXPECT_NEAR(found[j], truth[j], 1e-6);
}

TEST_F(SineFitTest, AgreesWithGslOnNoisyData)
{
    const SineParameterSet truth{1.5, std::numbers::pi / 4.0, 1.0, 3.0};
    Points p = sample(0.0, 16.0, 41, [&truth](double x) { return SineModel(truth, x); });
    for (int i = 1; i <= p.n; ++i)
        p.y[i] += 0.1 * std::sin(17.1 * i) * std::cos(3.3 * i);
    useUserStart({1.2, 0.7, 1.3, 2.8}, 30);
    ASSERT_NE(RunSineFit(p.x, p.y, p.n), kSineFailed);

    const testing::GslModel model{
        [](double x, const double* q) { return q[0] * std::sin(q[1] * x + q[2]) + q[3]; },
        [](double x, const double* q, double* d) {
            d[0] = std::sin(q[1] * x + q[2]);
            d[1] = q[0] * x * std::cos(q[1] * x + q[2]);
            d[2] = q[0] * std::cos(q[1] * x + q[2]);
            d[3] = 1.0;
        }};
    std::vector<double> xs(p.x.begin() + 1, p.x.end()), ys(p.y.begin() + 1, p.y.end());
    const auto reference = testing::GslNonlinearFit(xs, ys, {1.2, 0.7, 1.3, 2.8}, model);
    ASSERT_EQ(reference.status, 0);
    EXPECT_NEAR(SineFitVariance, reference.sumOfSquares / (p.n - 4), 0.01 * SineFitVariance);
    for (int j = 0; j < 4; ++j)
        EXPECT_NEAR(SineParams[j], reference.params[j], 1e-4 * std::fabs(reference.params[j]));
}

TEST_F(SineFitTest, DegenerateInputsFailWithFiniteResults)
{
    struct Case {
        const char* name;
        Points p;
        double userStartA; // 0: the automatic start values
    };
    const Case cases[] = {
        {"constant y", sample(0.0, 4.0, 9, [](double) { return 2.5; }), 0.0},
        {"all x equal", {{0, 2, 2, 2, 2, 2}, {0, 1, 3, 2, 5, 4}, 5}, 0.0},
        {"four points", {{0, 1, 2, 3, 4}, {0, 1, 3, 2, 5}, 4}, 0.0},
        {"infinite user start", sample(0.0, 10.0, 21, [](double x) { return std::sin(x); }), INFINITY},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        reset();
        if (c.userStartA != 0.0)
            useUserStart({c.userStartA, 1.0, 0.0, 0.0}, 10);
        EXPECT_EQ(RunSineFit(c.p.x, c.p.y, c.p.n), kSineFailed);
        for (double v : SineParams)
            EXPECT_TRUE(std::isfinite(v));
        for (double v : SineStartValues)
            EXPECT_TRUE(std::isfinite(v));
        EXPECT_TRUE(std::isfinite(SineFitVariance));
        EXPECT_TRUE(std::isfinite(SineFitR));
    }
    // No spread: r is 0, and the curve is that of the parameters handed back.
    const Points flat = cases[0].p;
    reset();
    RunSineFit(flat.x, flat.y, flat.n);
    EXPECT_EQ(SineFitR, 0.0);
    for (int i = 1; i <= flat.n; ++i)
        EXPECT_DOUBLE_EQ(SineFitCurve[i], SineModel(SineParams, flat.x[i]));
}

TEST_F(SineFitTest, CurveAndVarianceBelongToTheReturnedParameters)
{
    // Pure noise around a line: whatever the iteration does, the reported curve must match SineParams.
    Points p = sample(0.0, 10.0, 15, [](double x) { return 0.1 * x; });
    for (int i = 1; i <= p.n; ++i)
        p.y[i] += std::sin(91.7 * i);
    RunSineFit(p.x, p.y, p.n);
    double sum = 0.0;
    for (int i = 1; i <= p.n; ++i) {
        EXPECT_DOUBLE_EQ(SineFitCurve[i], SineModel(SineParams, p.x[i]));
        sum += (p.y[i] - SineFitCurve[i]) * (p.y[i] - SineFitCurve[i]);
    }
    EXPECT_DOUBLE_EQ(SineFitVariance, sum / (p.n - 4));
}

TEST(SineFitParts, Invert4x4AndCorrelation)
{
    SineMatrix a{{{0, 2, 0, 0}, {1, 0, 0, 0}, {0, 0, 4, 1}, {0, 0, 1, 3}}};
    const SineMatrix original = a;
    EXPECT_NE(Invert4x4(a, 4), 0.0);
    for (int i = 0; i < 4; ++i) {
        for (int j = 0; j < 4; ++j) {
            double sum = 0.0;
            for (int k = 0; k < 4; ++k)
                sum += original[i][k] * a[k][j];
            EXPECT_NEAR(sum, i == j ? 1.0 : 0.0, 1e-14);
        }
    }
    SineMatrix singular{{{1, 2, 0, 0}, {2, 4, 0, 0}, {0, 0, 1, 0}, {0, 0, 0, 1}}};
    EXPECT_EQ(Invert4x4(singular, 4), 0.0);

    const TVector y{0, 1, 2, 3, 4};
    EXPECT_DOUBLE_EQ(CorrelationR2(y, y, 4), 1.0);
    EXPECT_DOUBLE_EQ(CorrelationR2(y, TVector{0, 2.5, 2.5, 2.5, 2.5}, 4), 0.0);
    EXPECT_EQ(CorrelationR2(TVector{0, 7, 7, 7}, TVector{0, 1, 2, 3}, 3), 0.0);
}

} // namespace
} // namespace kurvex
