// Tests of the closed-form, linear, polynomial and nonlinear least-squares fits against GSL and Eigen.
#include <gsl/gsl_fit.h>
#include <gsl/gsl_multifit.h>
#include <gtest/gtest.h>

#include "numeric/EigenReference.h"
#include <cmath>

#include "numeric/LeastSquares.h"
#include "numeric/SamplePoints.h"
#include "numeric/Statistics.h"
#include "support/NumericState.h"

namespace kurvex {
namespace {

using Sample = testing::Points;

// Disturbed sample data, x spread over [-2, 5].
Sample noisySample(int n, double (*f)(double))
{
    return testing::disturbed(testing::sample(-2.0, 5.0, n, f), 0.3);
}

TEST(RegressLine, StraightLineAndProportionalAgreeWithGsl)
{
    const Sample s = noisySample(25, [](double x) { return 1.5 - 0.7 * x; });
    TMatrix v;
    TVector b;
    ASSERT_EQ(FitStraightLine(s.x, s.y, s.n, v, b), 0);
    double c0, c1, cov00, cov01, cov11, sumsq;
    gsl_fit_linear(s.x.data() + 1, 1, s.y.data() + 1, 1, s.n, &c0, &c1, &cov00, &cov01, &cov11, &sumsq);
    EXPECT_NEAR(b[0], c0, 1e-12);
    EXPECT_NEAR(b[1], c1, 1e-12);
    // GSL scales the covariance by the residual variance; V is the unscaled inverse normal matrix.
    const double vr = sumsq / (s.n - 2);
    EXPECT_NEAR(v[0][0] * vr, cov00, 1e-12);
    EXPECT_NEAR(v[0][1] * vr, cov01, 1e-12);
    EXPECT_NEAR(v[1][0] * vr, cov01, 1e-12);
    EXPECT_NEAR(v[1][1] * vr, cov11, 1e-12);

    TVector m{0.0};
    TMatrix untouched{{42.0}};
    ASSERT_EQ(FitProportional(s.x, s.y, s.n, untouched, m), 0);
    double c, cov;
    gsl_fit_mul(s.x.data() + 1, 1, s.y.data() + 1, 1, s.n, &c, &cov, &sumsq);
    EXPECT_NEAR(m[0], c, 1e-12);
    EXPECT_EQ(untouched[0][0], 42.0);
}

TEST(RegressLine, DegenerateDataFailWithoutWriting)
{
    const TVector x{0.0, 2.0, 2.0};
    const TVector y{0.0, 1.0, 3.0};
    TMatrix v{{7.0, 7.0}, {7.0, 7.0}};
    TVector b{7.0, 7.0};
    EXPECT_EQ(FitStraightLine(x, y, 2, v, b), -1); // two points with equal x
    EXPECT_EQ(FitStraightLine(x, y, 1, v, b), -1); // a single point
    EXPECT_EQ(b[0], 7.0);
    EXPECT_EQ(v[1][1], 7.0);

    const TVector zeros{0.0, 0.0, 0.0};
    EXPECT_EQ(FitProportional(zeros, y, 2, v, b), -1);
    EXPECT_EQ(b[0], 7.0);

    // Equal x that differ from their mean by rounding (equal logarithms, tenths): the determinant is
    // rounding noise, not a spread.
    for (const double equal : {std::log(2.0), 0.1, 1e7 / 3.0}) {
        SCOPED_TRACE(equal);
        const TVector same(7, equal);
        const TVector ys{0.0, 1.0, 3.0, 2.0, 5.0, 4.0, 3.5};
        EXPECT_EQ(FitStraightLine(same, ys, 6, v, b), -1);
        EXPECT_EQ(b[1], 7.0);
    }
}

// Regressors x, sin x and x^2 / 10 of a noisy sample, as Xm[1..3][points].
TMatrix regressors(const Sample& s)
{
    TMatrix xm(4, TVector(s.n + 1, 0.0));
    for (int i = 1; i <= s.n; ++i) {
        xm[1][i] = s.x[i];
        xm[2][i] = std::sin(s.x[i]);
        xm[3][i] = s.x[i] * s.x[i] / 10.0;
    }
    return xm;
}

TEST(RegressLinear, BothMethodsAgreeWithEachOtherAndWithEigenQr)
{
    const test::NumericStateScope shared;
    const Sample s = noisySample(30, [](double x) { return 2.0 + x - 3.0 * std::sin(x); });
    const TMatrix xm = regressors(s);
    for (const bool constant : {true, false}) {
        SCOPED_TRACE(constant ? "with constant" : "without constant");
        const int lb = constant ? 0 : 1;
        TMatrix vNormal, vSvd;
        TVector bNormal, bSvd;
        LinearFitMethod = kNormalEquations;
        ASSERT_EQ(LinearLeastSquares(xm, s.y, s.n, vNormal, bNormal, constant, 3), 0);
        LinearFitMethod = kSingularValueMethod;
        ASSERT_EQ(LinearLeastSquares(xm, s.y, s.n, vSvd, bSvd, constant, 3), 0);

        Eigen::MatrixXd a(s.n, 4 - lb);
        Eigen::VectorXd rhs(s.n);
        for (int i = 1; i <= s.n; ++i) {
            if (constant)
                a(i - 1, 0) = 1.0;
            for (int k = 1; k <= 3; ++k)
                a(i - 1, k - lb) = xm[k][i];
            rhs(i - 1) = s.y[i];
        }
        const Eigen::VectorXd coef = a.colPivHouseholderQr().solve(rhs);
        const Eigen::MatrixXd inverse = (a.transpose() * a).inverse();
        for (int j = lb; j <= 3; ++j) {
            EXPECT_NEAR(bNormal[j], coef(j - lb), 1e-10);
            EXPECT_NEAR(bSvd[j], coef(j - lb), 1e-10);
            for (int k = lb; k <= 3; ++k) {
                EXPECT_NEAR(vNormal[j][k], inverse(j - lb, k - lb), 1e-10);
                EXPECT_NEAR(vSvd[j][k], inverse(j - lb, k - lb), 1e-10);
            }
        }
    }
}

TEST(RegressLinear, WithoutConstantRowAndColumnZeroStayUntouched)
{
    const test::NumericStateScope shared;
    const Sample s = noisySample(12, [](double x) { return x; });
    const TMatrix xm = regressors(s);
    for (const int method : {kNormalEquations, kSingularValueMethod}) {
        LinearFitMethod = method;
        TMatrix v(4, TVector(4, -5.0));
        TVector b(4, -5.0);
        ASSERT_EQ(LinearLeastSquares(xm, s.y, s.n, v, b, false, 3), 0);
        EXPECT_EQ(b[0], -5.0);
        for (int k = 0; k <= 3; ++k) {
            EXPECT_EQ(v[0][k], -5.0);
            EXPECT_EQ(v[k][0], -5.0);
        }
        EXPECT_NE(b[1], -5.0);
    }
}

TEST(RegressLinear, UnknownMethodIsAnError)
{
    const test::NumericStateScope shared;
    LinearFitMethod = 7;
    const Sample s = noisySample(12, [](double x) { return x; });
    TMatrix v;
    TVector b(4, 3.0);
    EXPECT_NE(LinearLeastSquares(regressors(s), s.y, s.n, v, b, true, 3), 0);
    EXPECT_EQ(b[1], 3.0);
}

TEST(RegressLinear, RepeatedRegressorIsNoFitByEitherMethod)
{
    const test::NumericStateScope shared;
    Sample s = noisySample(10, [](double x) { return x; });
    TMatrix xm(3, TVector(s.n + 1, 0.0));
    for (int i = 1; i <= s.n; ++i)
        xm[1][i] = xm[2][i] = s.x[i]; // the same regressor twice: any split of the slope fits
    for (const int method : {kNormalEquations, kSingularValueMethod}) {
        SCOPED_TRACE(method);
        LinearFitMethod = method;
        TMatrix v;
        TVector b(3, 7.0);
        EXPECT_EQ(LinearLeastSquares(xm, s.y, s.n, v, b, true, 2), -1);
        EXPECT_EQ(b, TVector(3, 7.0)); // no number passes for a result
    }
}

TEST(RegressPolynomial, ExactCoefficientsForDegreesTwoToSix)
{
    const test::NumericStateScope shared;
    const double coef[] = {1.5, -2.0, 0.5, 0.25, -0.125, 0.0625, -0.03125};
    for (const int method : {kNormalEquations, kSingularValueMethod}) {
        LinearFitMethod = method;
        for (int deg = 2; deg <= 6; ++deg) {
            SCOPED_TRACE(deg);
            const Sample s = testing::sample(-1.5, 2.0, 15, [deg, &coef](double x) {
                double y = 0.0;
                for (int k = deg; k >= 0; --k)
                    y = y * x + coef[k];
                return y;
            });
            TMatrix v;
            TVector b;
            ASSERT_EQ(FitPolynomial(s.x, s.y, s.n, v, b, deg), 0);
            for (int k = 0; k <= deg; ++k)
                EXPECT_NEAR(b[k], coef[k], 1e-9);
        }
    }
}

TEST(RegressPolynomial, NoisyDataAgreeWithGslMultifit)
{
    const Sample s = noisySample(40, [](double x) { return 1.0 + x - 0.5 * x * x + 0.1 * x * x * x; });
    for (int deg = 2; deg <= 6; ++deg) {
        SCOPED_TRACE(deg);
        TMatrix v;
        TVector b;
        ASSERT_EQ(FitPolynomial(s.x, s.y, s.n, v, b, deg), 0);

        gsl_matrix* xm = gsl_matrix_alloc(s.n, deg + 1);
        gsl_vector* yv = gsl_vector_alloc(s.n);
        gsl_vector* c = gsl_vector_alloc(deg + 1);
        gsl_matrix* cov = gsl_matrix_alloc(deg + 1, deg + 1);
        for (int i = 0; i < s.n; ++i) {
            double p = 1.0;
            for (int k = 0; k <= deg; ++k, p *= s.x[i + 1])
                gsl_matrix_set(xm, i, k, p);
            gsl_vector_set(yv, i, s.y[i + 1]);
        }
        gsl_multifit_linear_workspace* w = gsl_multifit_linear_alloc(s.n, deg + 1);
        double chisq = 0.0;
        gsl_multifit_linear(xm, yv, c, cov, &chisq, w);
        for (int k = 0; k <= deg; ++k)
            EXPECT_NEAR(b[k], gsl_vector_get(c, k), 1e-9 * (1.0 + std::fabs(b[k])));
        // GSL's covariance is V scaled by chisq / (n - p).
        const double vr = chisq / (s.n - deg - 1);
        for (int k = 0; k <= deg; ++k)
            EXPECT_NEAR(v[k][k] * vr, gsl_matrix_get(cov, k, k), 1e-9 * gsl_matrix_get(cov, k, k));
        gsl_multifit_linear_free(w);
        gsl_matrix_free(cov);
        gsl_vector_free(c);
        gsl_vector_free(yv);
        gsl_matrix_free(xm);
    }
}

TEST(RegressPolynomial, FewerDistinctXThanParametersIsNoFit)
{
    const test::NumericStateScope shared;
    struct Case {
        const char* name;
        TVector x;
        int degree;
    };
    const Case cases[] = {
        {"three points, degree 4", {0.0, 1.0, 2.0, 3.0}, 4},
        {"all x equal, degree 2", {0.0, 2.0, 2.0, 2.0, 2.0}, 2},
        {"two distinct x, degree 2", {0.0, 1.0, 1.0, 3.0, 3.0, 3.0}, 2},
    };
    for (const Case& c : cases) {
        for (const int method : {kNormalEquations, kSingularValueMethod}) {
            SCOPED_TRACE(::testing::Message() << c.name << ", method " << method);
            LinearFitMethod = method;
            const int n = static_cast<int>(c.x.size()) - 1;
            TVector y{0.0};
            for (int i = 1; i <= n; ++i)
                y.push_back(c.x[i] * c.x[i] + 0.1 * i);
            TMatrix v;
            TVector b;
            EXPECT_EQ(FitPolynomial(c.x, y, n, v, b, c.degree), -1);
        }
    }
}

TEST(RegressNonlinear, PenaltyWithoutEvaluatingTheModel)
{
    int calls = 0;
    const ModelFunction model = [&calls](double x, const TVector& b) {
        ++calls;
        return b[0] * x + b[1];
    };
    const TVector x{0.0, 1.0, 2.0, 3.0};
    SetNonlinearFitData(model, nullptr, x, TVector{0.0, 1.0, 2.0, 3.5}, 3, 0, 1, TVector{-1.0, -1.0},
                        TVector{1.0, 1.0});
    EXPECT_EQ(ResidualSumOfSquares(TVector{2.0, 0.0}), kPenaltyValue);
    EXPECT_EQ(ResidualSumOfSquares(TVector{0.0, -1.5}), kPenaltyValue);
    EXPECT_EQ(calls, 0);
    EXPECT_DOUBLE_EQ(ResidualSumOfSquares(TVector{1.0, 0.0}), 0.25);
    EXPECT_EQ(calls, 3);
    // Inside the bounds, the sum stops as soon as it reaches the penalty.
    calls = 0;
    SetNonlinearFitData(model, nullptr, x, TVector(4, 0.0), 3, 0, 1, TVector{-1e300, -1e300},
                        TVector{1e300, 1e300});
    EXPECT_EQ(ResidualSumOfSquares(TVector{0.0, 2e15}), kPenaltyValue);
    EXPECT_EQ(calls, 1);
}

// y = b0 exp(b1 x) and its derivatives, computed from the model value handed in.
const ModelFunction kExpModel = [](double x, const TVector& b) { return b[0] * std::exp(b[1] * x); };
const ModelDerivatives kExpDerivatives = [](const ModelFunction&, double x, double yc, const TVector& b,
                                            TVector& d) {
    d[0] = std::exp(b[1] * x);
    d[1] = x * yc;
};

TEST(RegressNonlinear, GradientUsesTheModelAtTheGivenParameters)
{
    const TVector x{0.0, 0.0, 1.0, 2.0};
    const TVector y{0.0, 1.0, 2.0, 4.0};
    SetNonlinearFitData(kExpModel, kExpDerivatives, x, y, 3, 0, 1, TVector{-10, -10}, TVector{10, 10});
    ResidualSumOfSquares(TVector{5.0, 1.0}); // a probe elsewhere must not leak into the gradient
    TVector g;
    TMatrix h;
    const TVector b{1.0, std::log(2.0)};
    FitGradientHessian(b, 0, 1, g, h);
    EXPECT_NEAR(g[1], 0.0, 1e-12); // exact fit: no residual
    EXPECT_NEAR(h[1][1], 2.0 * 2.0 + 8.0 * 8.0, 1e-12);

    // The model values kept from the best probe serve only that very parameter vector.
    ResidualSumOfSquares(b);
    ResidualSumOfSquares(TVector{0.5, 0.0});
    TVector g2;
    TMatrix h2;
    FitGradientHessian(b, 0, 1, g2, h2);
    EXPECT_EQ(g2, g);
    EXPECT_EQ(h2, h);
    FitGradientHessian(TVector{1.0, 0.0}, 0, 1, g2, h2);
    EXPECT_DOUBLE_EQ(g2[0], -(0.0 + 1.0 + 3.0)); // residuals 0, 1, 3 of y = 1
}

TEST(RegressNonlinear, ExponentialFitRecoversParameters)
{
    const testing::Points p =
        testing::sample(0.0, 9.5, 20, [](double x) { return 4.0 * std::exp(-0.35 * x); });
    TVector b{1.0, -0.1};
    TMatrix v;
    EXPECT_EQ(FitNonlinear(kExpModel, kExpDerivatives, p.x, p.y, p.n, 0, 1, 100, 1e-3, b, TVector{-1e5, -1e5},
                           TVector{1e5, 1e5}, v),
              0);
    EXPECT_NEAR(b[0], 4.0, 1e-8);
    EXPECT_NEAR(b[1], -0.35, 1e-8);
    EXPECT_GT(v[0][0], 0.0);
}

TEST(RegressNonlinear, StartOutsideTheBoundsIsNoFit)
{
    const ModelFunction model = [](double xi, const TVector& b) { return b[0] * xi; };
    const ModelDerivatives deriv = [](const ModelFunction&, double xi, double, const TVector&, TVector& d) {
        d[0] = xi;
    };
    TMatrix v;
    const auto fit = [&](double slope, TVector& b, double lo, double hi) {
        return FitNonlinear(model, deriv, TVector{0.0, 1.0, 2.0, 3.0},
                            TVector{0.0, slope, 2 * slope, 3 * slope}, 3, 0, 0, 100, 1e-3, b, TVector{lo},
                            TVector{hi}, v);
    };
    // Every probe near the start is the penalty; the final full step may still land inside.
    TVector b{50.0};
    EXPECT_EQ(fit(2.0, b, -10.0, 10.0), 0);
    EXPECT_NEAR(b[0], 2.0, 1e-12);
    // Started outside, the search may also end on the bound: a fit inside the box, not a penalty.
    b = {50.0};
    if (fit(20.0, b, -10.0, 10.0) == 0) {
        EXPECT_LT(ResidualSumOfSquares(b), kPenaltyValue);
    }
    // An empty box leaves nothing but the penalty: nothing was fitted and the code says so.
    b = {5.0};
    EXPECT_NE(fit(2.0, b, 10.0, -10.0), 0);
}

} // namespace
} // namespace kurvex
