// Tests of bracketing, golden-section search, line search and the Marquardt minimiser.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "numeric/GslNonlinearReference.h"
#include "numeric/Minimisation.h"

namespace kurvex {
namespace {

TEST(OptimBracket, EnclosesTheMinimumOnEitherSide)
{
    // A minimum at 5 lies ahead; one at -2 makes the search turn round towards negative t.
    for (const double m : {5.0, -2.0}) {
        SCOPED_TRACE(m);
        const LineFunction f = [m](double t) { return (t - m) * (t - m); };
        double a = 0.0, b = 1.0, c = 0.0, fa = 0.0, fb = 0.0, fc = 0.0;
        BracketMinimum(f, a, b, c, fa, fb, fc);
        EXPECT_LT(a, b);
        EXPECT_LT(b, c);
        EXPECT_LE(a, m);
        EXPECT_GE(c, m);
        EXPECT_LE(fb, fa);
        EXPECT_LE(fb, fc);
        EXPECT_EQ(fa, f(a));
        EXPECT_EQ(fc, f(c));
    }
}

TEST(OptimBracket, StopsOnAFunctionThatKeepsFallingOrIsNoLongerFinite)
{
    int calls = 0;
    const LineFunction falling = [&calls](double t) {
        ++calls;
        return -t;
    };
    const LineFunction toInfinity = [](double t) { return t > 50.0 ? -INFINITY : -t; };
    double a = 0.0, b = 1.0, c = 0.0, fa = 0.0, fb = 0.0, fc = 0.0;
    BracketMinimum(falling, a, b, c, fa, fb, fc);
    EXPECT_LE(calls, kMaxBracketExpansions + 3);
    a = 0.0;
    b = 1.0;
    BracketMinimum(toInfinity, a, b, c, fa, fb, fc);
    EXPECT_TRUE(std::isfinite(c));
}

TEST(OptimGolden, ParabolaFlatLineAndMinimumAtZero)
{
    int calls = 0;
    const LineFunction parabola = [&calls](double t) {
        ++calls;
        return (t - 0.3) * (t - 0.3) + 2.0;
    };
    double xmin = 0.0, ymin = 0.0;
    EXPECT_EQ(GoldenSectionSearch(parabola, 100, xmin, ymin, 0.0, 1.0, 1e-6), kConverged);
    EXPECT_NEAR(xmin, 0.3, 1e-5);
    EXPECT_NEAR(ymin, 2.0, 1e-10);
    // Tol 0 is raised to the floor; otherwise the stop test could never hold.
    calls = 0;
    EXPECT_EQ(GoldenSectionSearch(parabola, 200, xmin, ymin, 0.0, 1.0, 0.0), kConverged);
    EXPECT_NEAR(xmin, 0.3, 1e-7);
    EXPECT_LT(calls, 200);

    xmin = 1.0;
    EXPECT_EQ(GoldenSectionSearch([](double) { return 1e30; }, 100, xmin, ymin, 0.0, 1.0, 0.01), kConverged);
    EXPECT_EQ(ymin, 1e30);
    EXPECT_NEAR(xmin, 0.0, 1e-6);
    EXPECT_EQ(GoldenSectionSearch([](double t) { return t * t; }, 100, xmin, ymin, 0.0, 1.0, 0.01),
              kConverged);
    EXPECT_NEAR(xmin, 0.0, 1e-6);

    // The iteration limit is reported, but the result is still set.
    xmin = ymin = -99.0;
    EXPECT_EQ(GoldenSectionSearch(parabola, 3, xmin, ymin, 0.0, 1.0, 1e-12), kIterationLimit);
    EXPECT_GT(xmin, 0.0);
    EXPECT_LT(xmin, 1.0);
    EXPECT_GE(ymin, 2.0);
}

TEST(OptimLine, MovesAlongTheDirectionAndLeavesXOnFailure)
{
    const ObjectiveFunction f = [](const TVector& x) {
        return (x[1] - 2.0) * (x[1] - 2.0) + (x[2] - 4.0) * (x[2] - 4.0);
    };
    TVector x{99.0, 0.0, 0.0};
    const TVector dir{0.0, 1.0, 2.0};
    double ymin = 0.0;
    EXPECT_EQ(MinimiseAlongLine(f, x, dir, 1, 2, 100, 1e-8, ymin), kConverged);
    EXPECT_NEAR(x[1], 2.0, 1e-6);
    EXPECT_NEAR(x[2], 4.0, 1e-6);
    EXPECT_EQ(x[0], 99.0);
    EXPECT_NEAR(ValueAlongLine(0.0), 20.0, 1e-12); // the line starts at the old point

    TVector y{0.0, 0.0, 0.0};
    EXPECT_EQ(MinimiseAlongLine(f, y, dir, 1, 2, 1, 1e-12, ymin), kIterationLimit);
    EXPECT_EQ(y[1], 0.0);
    EXPECT_EQ(y[2], 0.0);
}

TEST(OptimConverged, RelativeWithAbsoluteFloor)
{
    EXPECT_TRUE(ParametersConverged({0.0, 0.0}, {0.0, 0.0009}, 1, 1, 0.001));
    EXPECT_FALSE(ParametersConverged({0.0, 0.0}, {0.0, 0.0011}, 1, 1, 0.001));
    EXPECT_TRUE(ParametersConverged({10.0}, {10.002}, 0, 0, 0.001));
    EXPECT_FALSE(ParametersConverged({10.0}, {10.02}, 0, 0, 0.001));
    EXPECT_FALSE(ParametersConverged({1.0, 1.0}, {1.0, 2.0}, 0, 1, 0.001));
    EXPECT_TRUE(ParametersConverged({1.0, 1.0}, {1.0, 2.0}, 0, 0, 0.001)); // outside the range ignored
}

// A sum of squares of residuals r(X) with their Jacobian, set up as objective and derivative routine.
struct ResidualProblem {
    std::function<std::vector<double>(const TVector&)> residuals;
    std::function<std::vector<std::vector<double>>(const TVector&)> jacobian;

    ObjectiveFunction objective() const
    {
        return [r = residuals](const TVector& x) {
            double s = 0.0;
            for (double v : r(x))
                s += v * v;
            return s;
        };
    }
    DerivativeRoutine derivatives() const
    {
        return [r = residuals, j = jacobian](const ObjectiveFunction&, const TVector& x, int lb, int ub,
                                             TVector& g, TMatrix& h) {
            const auto res = r(x);
            const auto jac = j(x);
            for (int a = lb; a <= ub; ++a) {
                g[a] = 0.0;
                for (std::size_t i = 0; i < res.size(); ++i)
                    g[a] += jac[i][a] * res[i];
                for (int b = lb; b <= ub; ++b) {
                    h[a][b] = 0.0;
                    for (std::size_t i = 0; i < res.size(); ++i)
                        h[a][b] += jac[i][a] * jac[i][b];
                }
            }
        };
    }
};

// r = J x + c: a linear residual problem with the constant Jacobian J.
ResidualProblem linearProblem(std::vector<std::vector<double>> j, std::vector<double> c)
{
    return {[j, c](const TVector& x) {
                std::vector<double> r = c;
                for (std::size_t i = 0; i < r.size(); ++i)
                    for (std::size_t k = 0; k < j[i].size(); ++k)
                        r[i] += j[i][k] * x[k];
                return r;
            },
            [j](const TVector&) { return j; }};
}

int minimise(const ResidualProblem& p, TVector& x, int maxIter, double tol, double& fmin, TMatrix& inv)
{
    return MarquardtMinimise(p.objective(), p.derivatives(), x, 0, static_cast<int>(x.size()) - 1, maxIter,
                             tol, fmin, inv);
}

TEST(OptimMarquardt, QuadraticConvergesAndFinalInverseIsTheExactOne)
{
    // r = (2(x0 - 1), x0 + 3(x1 + 2)): H = [[5, 3], [3, 9]].
    const ResidualProblem problem = linearProblem({{2.0, 0.0}, {1.0, 3.0}}, {-2.0, 5.0});
    TVector x{10.0, 10.0};
    TMatrix inv;
    double fmin = -1.0;
    EXPECT_EQ(minimise(problem, x, 50, 1e-6, fmin, inv), kConverged);
    EXPECT_NEAR(x[0], 1.0, 1e-9);
    EXPECT_NEAR(x[1], -2.0, 1e-9);
    EXPECT_NEAR(fmin, 0.0, 1e-16);
    const double det = 5.0 * 9.0 - 3.0 * 3.0;
    EXPECT_NEAR(inv[0][0], 9.0 / det, 1e-12);
    EXPECT_NEAR(inv[0][1], -3.0 / det, 1e-12);
    EXPECT_NEAR(inv[1][1], 5.0 / det, 1e-12);
}

TEST(OptimMarquardt, OnePassIsTheIterationLimit)
{
    const ResidualProblem problem{[](const TVector& x) {
                                      return std::vector<double>{x[0] - 3.0, 10.0 * x[0] * x[0]};
                                  },
                                  [](const TVector& x) {
                                      return std::vector<std::vector<double>>{{1.0}, {20.0 * x[0]}};
                                  }};
    TVector x{5.0};
    TMatrix inv;
    double fmin = 0.0;
    EXPECT_EQ(minimise(problem, x, 1, 1e-6, fmin, inv), kIterationLimit);
    EXPECT_LT(fmin, problem.objective()(TVector{5.0})); // the accepted pass still lowered the objective
    EXPECT_EQ(problem.objective()(x), fmin);
}

TEST(OptimMarquardt, RosenbrockAsSumOfSquares)
{
    const ResidualProblem problem{
        [](const TVector& x) {
            return std::vector<double>{10.0 * (x[1] - x[0] * x[0]), 1.0 - x[0]};
        },
        [](const TVector& x) {
            return std::vector<std::vector<double>>{{-20.0 * x[0], 10.0}, {-1.0, 0.0}};
        }};
    TVector x{-1.2, 1.0};
    TMatrix inv;
    double fmin = 0.0;
    EXPECT_EQ(minimise(problem, x, 200, 1e-8, fmin, inv), kConverged);
    EXPECT_NEAR(x[0], 1.0, 1e-7);
    EXPECT_NEAR(x[1], 1.0, 1e-7);
}

TEST(OptimMarquardt, StartAtAnExactMinimumIsNoRise)
{
    // Fmin = 0 and no direction lowers it: the line search ends with Ymin = Fmin, which must count
    // as success rather than drive the damping past its limit.
    TVector x{2.0, -1.0};
    TMatrix inv;
    double fmin = -1.0;
    EXPECT_EQ(minimise(linearProblem({{1.0, 0.0}, {0.0, 1.0}}, {-2.0, 1.0}), x, 10, 1e-6, fmin, inv),
              kConverged);
    EXPECT_EQ(fmin, 0.0);
    EXPECT_EQ(x, (TVector{2.0, -1.0}));
}

TEST(OptimMarquardt, ConvergedFitNeverReportsTheIterationLimit)
{
    const ResidualProblem problem = linearProblem({{1.0, 0.0}, {-2.0, 2.0}}, {-3.0, 0.0});
    int passes = 0;
    const DerivativeRoutine counted =
        [&passes, inner = problem.derivatives()](const ObjectiveFunction& f, const TVector& x, int lb, int ub,
                                                 TVector& g, TMatrix& h) {
            ++passes;
            inner(f, x, lb, ub, g, h);
        };
    TMatrix inv;
    double fmin = 0.0;
    const auto run = [&](int maxIter, TVector& x) {
        x = {0.0, 0.0};
        return MarquardtMinimise(problem.objective(), counted, x, 0, 1, maxIter, 1e-3, fmin, inv);
    };
    TVector x;
    ASSERT_EQ(run(100, x), kConverged);
    ASSERT_GE(passes, 2);
    // The last pass is the final undamped step; a limit that just admits the converging pass suffices.
    const int needed = passes - 1;
    EXPECT_EQ(run(needed, x), kConverged);
    EXPECT_NEAR(x[0], 3.0, 1e-9);
    EXPECT_NEAR(x[1], 3.0, 1e-9);
    EXPECT_EQ(run(needed - 1, x), kIterationLimit);
}

TEST(OptimMarquardt, FinalStepThatRaisesTheObjectiveIsDropped)
{
    // The derivative routine understates the curvature a millionfold: damped steps are searched along
    // and land near 0, but the final full step would overshoot far beyond.
    const ObjectiveFunction f = [](const TVector& x) { return x[0] * x[0]; };
    const DerivativeRoutine deriv = [](const ObjectiveFunction&, const TVector& x, int, int, TVector& g,
                                       TMatrix& h) {
        g[0] = x[0];
        h[0][0] = 1e-6;
    };
    TVector x{1.0};
    TMatrix inv;
    double fmin = 0.0;
    EXPECT_EQ(MarquardtMinimise(f, deriv, x, 0, 0, 100, 1e-3, fmin, inv), kConverged);
    EXPECT_LT(std::fabs(x[0]), 1e-2);
    EXPECT_EQ(fmin, f(x));
}

TEST(OptimMarquardt, SingularMatrixReturnsMinusOneAndKeepsX)
{
    // Both parameters enter only as their sum: the Gauss-Newton matrix is singular at every point.
    const ResidualProblem problem = linearProblem({{1.0, 1.0}}, {-1.0});
    TVector x{2.0, 3.0};
    TMatrix inv;
    double fmin = 0.0;
    EXPECT_EQ(minimise(problem, x, 20, 1e-6, fmin, inv), kSingular);
    EXPECT_TRUE(std::isfinite(x[0]) && std::isfinite(x[1]));
    EXPECT_EQ(problem.objective()(x), fmin);
}

TEST(OptimMarquardt, ParametersFiveOrdersOfMagnitudeApartReachSixDigits)
{
    // y = b0 (1 - exp(-b1 x)) on exact data from b = (500, 1e-4), started at (240, 5e-4): the
    // unscaled damped matrix has diagonal entries 1e13 apart.
    std::vector<double> xs;
    for (int i = 0; i < 14; ++i)
        xs.push_back(77.6 + (790.0 - 77.6) * i / 13.0);
    const auto value = [](const TVector& b, double x) { return b[0] * (1.0 - std::exp(-b[1] * x)); };
    const ResidualProblem problem{
        [&](const TVector& b) {
            std::vector<double> r;
            for (double x : xs)
                r.push_back(value(b, x) - value(TVector{500.0, 1e-4}, x));
            return r;
        },
        [&](const TVector& b) {
            std::vector<std::vector<double>> j;
            for (double x : xs)
                j.push_back({1.0 - std::exp(-b[1] * x), b[0] * x * std::exp(-b[1] * x)});
            return j;
        }};
    TVector b{240.0, 5e-4};
    TMatrix inv;
    double fmin = 0.0;
    ASSERT_EQ(minimise(problem, b, 100, 1e-3, fmin, inv), kConverged);
    EXPECT_NEAR(b[0], 500.0, 500.0 * 1e-6);
    EXPECT_NEAR(b[1], 1e-4, 1e-4 * 1e-6);
    // The inverse is that of the undamped matrix at the result, unscaled.
    const auto jac = problem.jacobian(b);
    double h00 = 0.0, h01 = 0.0, h11 = 0.0;
    for (const auto& row : jac) {
        h00 += row[0] * row[0];
        h01 += row[0] * row[1];
        h11 += row[1] * row[1];
    }
    EXPECT_NEAR(inv[0][0] * h00 + inv[0][1] * h01, 1.0, 1e-6);
    EXPECT_NEAR(inv[1][0] * h01 + inv[1][1] * h11, 1.0, 1e-6);
}

TEST(OptimMarquardt, RefusedDampedSolveRaisesTheDamping)
{
    // The stated curvature has unit diagonal and off-diagonal 1 + 0.01: with the starting damping the
    // damped matrix is exactly singular, with more damping it is not, and undamped it is regular.
    const ObjectiveFunction f = [](const TVector& x) { return x[0] * x[0] + x[1] * x[1]; };
    int passes = 0;
    const DerivativeRoutine deriv = [&passes](const ObjectiveFunction&, const TVector& x, int, int,
                                              TVector& g, TMatrix& h) {
        ++passes;
        g[0] = x[0];
        g[1] = x[1];
        h = {{1.0, 1.0 + kLambdaStart}, {1.0 + kLambdaStart, 1.0}};
    };
    TVector x{3.0, -1.0};
    TMatrix inv;
    double fmin = 0.0;
    EXPECT_EQ(MarquardtMinimise(f, deriv, x, 0, 1, 100, 1e-3, fmin, inv), kConverged);
    EXPECT_LT(f(x), 1e-4);
    EXPECT_GT(passes, 1);
}

TEST(OptimMarquardt, ExponentialDecayAgreesWithGsl)
{
    std::vector<double> xs, ys;
    for (int i = 0; i < 40; ++i) {
        const double x = 0.25 * i;
        xs.push_back(x);
        ys.push_back(5.0 * std::exp(-0.3 * x) + 0.05 * std::sin(7.3 * i)); // fixed, noise-like disturbance
    }
    const ResidualProblem problem{[&](const TVector& p) {
                                      std::vector<double> r;
                                      for (std::size_t i = 0; i < xs.size(); ++i)
                                          r.push_back(p[0] * std::exp(-p[1] * xs[i]) - ys[i]);
                                      return r;
                                  },
                                  [&](const TVector& p) {
                                      std::vector<std::vector<double>> j;
                                      for (double x : xs)
                                          j.push_back({std::exp(-p[1] * x), -x * p[0] * std::exp(-p[1] * x)});
                                      return j;
                                  }};
    TVector p{1.0, 1.0};
    TMatrix inv;
    double fmin = 0.0;
    ASSERT_EQ(minimise(problem, p, 100, 1e-3, fmin, inv), kConverged);

    const testing::GslModel model{[](double x, const double* q) { return q[0] * std::exp(-q[1] * x); },
                                  [](double x, const double* q, double* d) {
                                      d[0] = std::exp(-q[1] * x);
                                      d[1] = -x * q[0] * d[0];
                                  }};
    const auto reference = testing::GslNonlinearFit(xs, ys, {1.0, 1.0}, model);
    ASSERT_EQ(reference.status, 0);
    EXPECT_NEAR(p[0], reference.params[0], 1e-4 * std::fabs(reference.params[0]));
    EXPECT_NEAR(p[1], reference.params[1], 1e-4 * std::fabs(reference.params[1]));
    EXPECT_NEAR(fmin, reference.sumOfSquares, 1e-6 * reference.sumOfSquares);
}

} // namespace
} // namespace kurvex
