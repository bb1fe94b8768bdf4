// The sine fit y = a sin(b x + c) + d: start values from the data, a normalised Levenberg-Marquardt
// iteration, and the results the fitting window and its report read.
#pragma once

#include <array>

#include "numeric/Matrices.h"

namespace kurvex {

// a, b, c, d of y = a sin(b x + c) + d.
using SineParameterSet = std::array<double, 4>;
using SineMatrix = std::array<std::array<double, 4>, 4>;

inline SineParameterSet SineParams{};
// The automatic start values of the last RunSineFit: those of the run it kept, so that iterating
// from them again reproduces the fit.
inline SineParameterSet SineStartValues{};
// The user's start values and iteration limit from the start-value dialog.
inline double SineUserStartA = 0.0;
inline double SineUserStartB = 0.0;
inline double SineUserStartC = 0.0;
inline double SineUserStartD = 0.0;
inline int SineIterations = 10;
inline int SineAutoIterations = 10;
// True: start from the automatic values (set again whenever the window's model changes).
inline bool NewModel = true;
// Model values at the points 1..N, residual variance and correlation coefficient, all belonging to
// SineParams.
inline TVector SineFitCurve;
inline double SineFitVariance = 0.0;
inline double SineFitR = 0.0;

// Statuses of SineMarquardtLoop and RunSineFit; kSineFailed means the result must not be shown.
inline constexpr int kSineParamsConverged = 0;
inline constexpr int kSineVarianceConverged = 1;
inline constexpr int kSineIterationLimit = 2;
inline constexpr int kSineFailed = 3;

inline constexpr int kSineMinPoints = 5;
inline constexpr int kSineAutoIterationLimit = 10;
inline constexpr double kSineParamTolerance = 1e-10;
inline constexpr double kSineVarianceTolerance = 1e-7;
inline constexpr double kSineLambdaStart = 0.001;
inline constexpr double kSineLambdaLimit = 1e36;
inline constexpr double kSineLambdaFloor = 1e-29;

double SineModel(const SineParameterSet& P, double x);
// D := the partial derivatives by a, b, c and d at x.
void SineModelDerivs(const SineParameterSet& P, double x, SineParameterSet& D);

// The iteration's private copy of the points (1..n, weights all 1) and its running state.
struct SineFitWork {
    TVector x;
    TVector y;
    TVector w;
    int n = 0;
    SineParameterSet p{};
    SineParameterSet e{}; // error estimates of the accepted parameters
    double lambda = kSineLambdaStart;
    TVector f;             // model values of the last evaluation
    double variance = 0.0; // residual variance of the last evaluation
};

// Inverts the leading n x n block of A in place (Gauss-Jordan, full pivoting); returns the
// determinant, 0 (with A half done) at a zero pivot.
double Invert4x4(SineMatrix& A, int n);

// One damped step: 0 when a trial lowered the variance (P moved), kSineFailed when the damping
// passed its limit or a parameter has no influence on the model at any point (P unchanged).
int SineMarquardtStep(SineFitWork& work);

// One step, then up to MaxIt more until the parameters or the variance converge; returns the status.
int SineMarquardtLoop(SineFitWork& work, int MaxIt, double ParamTol, double VarianceTol);

// SSR / SST about the mean of Y[1..N]; 0 when Y has no spread.
double CorrelationR2(const TVector& Y, const TVector& F, int N);

// Fits the points 1..N (sorted by x) from the automatic start values (NewModel) or the user's, and
// fills the globals above. The automatic start assumes one period over the data; when that run
// explains less than 95 % of the spread, runs from the periods seen in the data follow (see
// sineperiods.h) and the one with the smallest residual sum is kept. kSineFailed for fewer than
// kSineMinPoints points, all x equal, or an iteration that could not proceed; the globals then
// still hold finite values.
int RunSineFit(const TVector& X, const TVector& Y, int N);

} // namespace kurvex
