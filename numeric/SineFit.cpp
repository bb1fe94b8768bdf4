// The sine fit y = a sin(b x + c) + d: start values from the data, a normalised Levenberg-Marquardt
// iteration, and the results the fitting window and its report read.
#include "numeric/SineFit.h"

#include <cmath>
#include <cstddef>
#include <iterator>
#include <numbers>
#include <utility>

#include "numeric/GuardedMath.h"
#include "numeric/SinePeriods.h"
#include "numeric/Statistics.h"

namespace kurvex {

namespace {

constexpr int kFree = 4;

// Evaluates P at every point into work.f; returns the residual variance.
double evaluate(SineFitWork& work, const SineParameterSet& P)
{
    double sum = 0.0;
    double weights = 0.0;
    for (int i = 1; i <= work.n; ++i) {
        work.f[i] = SineModel(P, work.x[i]);
        const double r = work.y[i] - work.f[i];
        sum += r * r * work.w[i];
        weights += work.w[i];
    }
    work.variance = (work.n / weights) * sum / (work.n - kFree);
    return work.variance;
}

// Share of the spread that a run from the one-period start must explain to be kept without trying
// the periods seen in the data.
constexpr double kGoodFitShare = 0.95;
// Estimated frequencies closer than this (relative) give the same start.
constexpr double kSameFrequency = 0.05;

bool allFinite(const SineParameterSet& P)
{
    for (double v : P) {
        if (!std::isfinite(v))
            return false;
    }
    return true;
}

} // namespace

double SineModel(const SineParameterSet& P, double x)
{
    return P[0] * std::sin(P[1] * x + P[2]) + P[3];
}

void SineModelDerivs(const SineParameterSet& P, double x, SineParameterSet& D)
{
    const double phase = P[1] * x + P[2];
    const double c = std::cos(phase);
    D[0] = std::sin(phase);
    D[1] = P[0] * x * c;
    D[2] = P[0] * c;
    D[3] = 1.0;
}

double Invert4x4(SineMatrix& A, int n)
{
    std::array<int, 4> pivRow{};
    std::array<int, 4> pivCol{};
    std::array<bool, 4> used{};
    double det = 1.0;
    for (int step = 0; step < n; ++step) {
        int row = -1;
        int col = -1;
        double largest = 0.0;
        for (int j = 0; j < n; ++j) {
            if (used[j])
                continue;
            for (int k = 0; k < n; ++k) {
                if (!used[k] && std::fabs(A[j][k]) > largest) {
                    largest = std::fabs(A[j][k]);
                    row = j;
                    col = k;
                }
            }
        }
        if (row < 0)
            return 0.0;
        used[col] = true;
        if (row != col) {
            std::swap(A[row], A[col]);
            det = -det;
        }
        pivRow[step] = row;
        pivCol[step] = col;
        const double pivot = A[col][col];
        det *= pivot;
        A[col][col] = 1.0;
        for (int k = 0; k < n; ++k)
            A[col][k] /= pivot;
        for (int j = 0; j < n; ++j) {
            if (j == col)
                continue;
            const double factor = A[j][col];
            A[j][col] = 0.0;
            for (int k = 0; k < n; ++k)
                A[j][k] -= A[col][k] * factor;
        }
    }
    for (int step = n - 1; step >= 0; --step) {
        if (pivRow[step] == pivCol[step])
            continue;
        for (int j = 0; j < n; ++j)
            std::swap(A[j][pivRow[step]], A[j][pivCol[step]]);
    }
    return det;
}

int SineMarquardtStep(SineFitWork& work)
{
    SineMatrix alpha{};
    SineParameterSet beta{};
    SineParameterSet d{};
    for (int i = 1; i <= work.n; ++i) {
        work.f[i] = SineModel(work.p, work.x[i]);
        SineModelDerivs(work.p, work.x[i], d);
        const double r = work.y[i] - work.f[i];
        for (int j = 0; j < kFree; ++j) {
            beta[j] += r * work.w[i] * d[j];
            for (int k = 0; k <= j; ++k)
                alpha[j][k] += work.w[i] * d[j] * d[k];
        }
    }
    for (int j = 0; j < kFree; ++j) {
        for (int k = 0; k < j; ++k)
            alpha[k][j] = alpha[j][k];
        // A parameter without influence (a = 0 leaves b and c free) cannot be normalised.
        if (!(alpha[j][j] > 0.0) || !std::isfinite(alpha[j][j]))
            return kSineFailed;
    }
    double weights = 0.0;
    for (int i = 1; i <= work.n; ++i)
        weights += work.w[i];
    const double v0 = evaluate(work, work.p);

    SineMatrix inverse{};
    SineParameterSet trial{};
    for (;;) {
        for (int j = 0; j < kFree; ++j) {
            for (int k = 0; k < kFree; ++k)
                inverse[j][k] = alpha[j][k] / std::sqrt(alpha[j][j] * alpha[k][k]);
            inverse[j][j] = 1.0 + work.lambda;
        }
        if (Invert4x4(inverse, kFree) != 0.0) {
            trial = work.p;
            for (int j = 0; j < kFree; ++j) {
                for (int k = 0; k < kFree; ++k) {
                    trial[j] += inverse[j][k] * beta[k] / std::sqrt(alpha[j][j] * alpha[k][k]);
                }
            }
            if (evaluate(work, trial) <= v0)
                break;
        }
        work.lambda *= 10.0;
        if (work.lambda > kSineLambdaLimit)
            return kSineFailed;
    }
    work.p = trial;
    for (int j = 0; j < kFree; ++j) {
        work.e[j] = std::sqrt(std::fabs((weights / work.n) * work.variance * inverse[j][j] / alpha[j][j]));
    }
    work.lambda = std::fmax(work.lambda / 10.0, kSineLambdaFloor);
    return 0;
}

int SineMarquardtLoop(SineFitWork& work, int MaxIt, double ParamTol, double VarianceTol)
{
    work.lambda = kSineLambdaStart;
    if (SineMarquardtStep(work) != 0)
        return kSineFailed;
    SineParameterSet pold = work.p;
    double vold = work.variance;
    for (int it = 1; it <= MaxIt; ++it) {
        if (SineMarquardtStep(work) != 0)
            return kSineFailed;
        bool paramsConverged = true;
        for (int j = 0; j < kFree; ++j) {
            paramsConverged =
                paramsConverged && std::fabs(work.p[j] - pold[j]) <= ParamTol * std::fabs(work.p[j]);
        }
        const double v = work.variance;
        const bool varianceConverged = v < vold && std::fabs(vold - v) <= VarianceTol * std::fabs(v);
        pold = work.p;
        vold = v;
        if (paramsConverged)
            return kSineParamsConverged;
        if (varianceConverged)
            return kSineVarianceConverged;
    }
    return kSineIterationLimit;
}

namespace {

// One run of the iteration: where it started, where it ended, its status and residual sum.
struct SineRun {
    SineParameterSet start{};
    SineParameterSet p{};
    int status = kSineFailed;
    double residualSum = 0.0;
};

SineRun runFrom(SineFitWork& work, const SineParameterSet& start, int limit)
{
    work.p = start;
    SineRun run;
    run.start = start;
    run.status = SineMarquardtLoop(work, limit, kSineParamTolerance, kSineVarianceTolerance);
    run.p = work.p;
    for (int i = 1; i <= work.n; ++i) {
        const double r = work.y[i] - SineModel(run.p, work.x[i]);
        run.residualSum += r * r;
    }
    return run;
}

// The one-period start assumes the data cover about one period; over several periods it can settle
// on a wrong local minimum. Then the periods seen in the data (periodogram peak, sign changes) give
// further starts, and the run with the smallest residual sum is kept.
SineRun bestOfFurtherStarts(SineFitWork& work, SineRun best)
{
    const double sst = SumSquaredDeviations(work.y, 1, work.n, VectorMean(work.y, 1, work.n));
    if (best.status != kSineFailed && best.residualSum <= (1.0 - kGoodFitShare) * sst)
        return best;
    const double frequencies[] = {SineFrequencyFromPeriodogram(work.x, work.y, work.n),
                                  SineFrequencyFromCrossings(work.x, work.y, work.n)};
    for (std::size_t k = 0; k < std::size(frequencies); ++k) {
        const double b = frequencies[k];
        if (!(b > 0.0) || (k > 0 && std::fabs(b - frequencies[0]) <= kSameFrequency * b))
            continue;
        SineParameterSet start{};
        if (!SineStartForFrequency(work.x, work.y, work.n, b, start))
            continue;
        const SineRun run = runFrom(work, start, kSineAutoIterationLimit);
        if (run.status != kSineFailed && (best.status == kSineFailed || run.residualSum < best.residualSum))
            best = run;
    }
    return best;
}

} // namespace

double CorrelationR2(const TVector& Y, const TVector& F, int N)
{
    if (N < 1)
        return 0.0;
    const double m = VectorMean(Y, 1, N);
    const double sst = SumSquaredDeviations(Y, 1, N, m);
    if (HasNoSpread(sst, Y, 1, N))
        return 0.0;
    return SumSquaredDeviations(F, 1, N, m) / sst;
}

int RunSineFit(const TVector& X, const TVector& Y, int N)
{
    SineAutoIterations = kSineAutoIterationLimit;
    SineFitWork work;
    work.n = N;
    AllocVector(work.x, N);
    AllocVector(work.y, N);
    AllocVector(work.f, N);
    work.w.assign(N + 1, 1.0);
    for (int i = 1; i <= N; ++i) {
        work.x[i] = X[i];
        work.y[i] = Y[i];
    }

    // Start values: one period over the data range, the peak placed at the first largest y.
    SineParameterSet start{};
    bool usable = N >= kSineMinPoints;
    if (N >= 1) {
        double ymax = Y[1];
        double ymin = Y[1];
        int k = 1;
        for (int i = 2; i <= N; ++i) {
            if (Y[i] > ymax) {
                ymax = Y[i];
                k = i;
            }
            if (Y[i] < ymin)
                ymin = Y[i];
        }
        const double span = X[N] - X[1];
        usable = usable && std::isfinite(span) && span != 0.0;
        const double b0 = usable ? 2.0 * std::numbers::pi / span : 0.0;
        const double c0 = usable ? std::numbers::pi / 2.0 - b0 * X[k] : 0.0;
        start = {(ymax - ymin) / 2.0, b0, c0, (ymax + ymin) / 2.0};
    }
    SineStartValues = start;
    int limit = kSineAutoIterationLimit;
    if (NewModel) {
        work.p = start;
    } else {
        work.p = {SineUserStartA, SineUserStartB, SineUserStartC, SineUserStartD};
        limit = SineIterations;
    }
    if (!allFinite(work.p)) {
        usable = false;
        for (double& v : work.p) {
            if (!std::isfinite(v))
                v = 0.0;
        }
    }

    SineRun run;
    run.p = work.p;
    if (usable)
        run = runFrom(work, work.p, limit);
    if (usable && NewModel) {
        run = bestOfFurtherStarts(work, run);
        // Started again from these, the dialog's own iteration reproduces the fit shown.
        SineStartValues = run.start;
    }
    const int status = run.status;
    // Curve, variance and r are those of the parameters handed back, never of a rejected trial.
    SineParams = run.p;
    AllocVector(SineFitCurve, N);
    double sum = 0.0;
    for (int i = 1; i <= N; ++i) {
        SineFitCurve[i] = SineModel(run.p, X[i]);
        const double r = Y[i] - SineFitCurve[i];
        sum += r * r;
    }
    SineFitVariance = N > kFree ? sum / (N - kFree) : 0.0;
    SineFitR = std::sqrt(CorrelationR2(Y, SineFitCurve, N));
    return status;
}

} // namespace kurvex
