// Minimisation: bracketing, golden-section search, line search and the Marquardt minimiser.
#pragma once

#include <functional>

#include "numeric/Matrices.h"

namespace kurvex {

// F(X): the objective of a parameter vector.
using ObjectiveFunction = std::function<double(const TVector& X)>;
// A function of one variable, searched by the bracketing and the golden section.
using LineFunction = std::function<double(double t)>;
// Fills G[Lb..Ub] and the symmetric H[Lb..Ub][Lb..Ub] at X; the minimiser solves (H + damping) dX = -G.
using DerivativeRoutine =
    std::function<void(const ObjectiveFunction& F, const TVector& X, int Lb, int Ub, TVector& G, TMatrix& H)>;

inline constexpr double kGoldenRatio = 1.618033988749895;
inline constexpr double kSectionRatio = 0.38196601125010515;
// Square root of the machine epsilon: the smallest relative tolerance of a line search.
inline constexpr double kMinLineTolerance = 1.4901161193847656e-08;
// Bracket expansions before the search gives up widening (the objective keeps falling).
inline constexpr int kMaxBracketExpansions = 200;

inline constexpr double kLambdaStart = 0.01;
inline constexpr double kLambdaUp = 10.0;
inline constexpr double kLambdaDown = 0.1;
inline constexpr double kLambdaLimit = 1000.0;
inline constexpr double kAcceptance = 1e-10;
inline constexpr int kLineSearchMaxIter = 100;
inline constexpr double kLineSearchTolerance = 0.01;

// Codes of MarquardtMinimise (and of GoldenSectionSearch: 0 or kIterationLimit).
inline constexpr int kConverged = 0;
inline constexpr int kSingular = -1;
inline constexpr int kDampingLimit = -2;
inline constexpr int kIterationLimit = -3;

// A bracket A < B < C (or reversed when F falls towards negative values) with F(B) <= F(A), F(C).
// The expansion stops after kMaxBracketExpansions steps or at a value that is not finite.
void BracketMinimum(const LineFunction& F, double& A, double& B, double& C, double& Fa, double& Fb,
                    double& Fc);

// Golden-section search for a minimum of F starting from the bracket of A and B. Returns 0 or
// kIterationLimit; Xmin and Ymin are set in both cases.
int GoldenSectionSearch(const LineFunction& F, int MaxIter, double& Xmin, double& Ymin, double A, double B,
                        double Tol);

// F(X0 + t * Dir) over the line set up by the running MinimiseAlongLine.
double ValueAlongLine(double t);

// Moves X to the minimum of F along Dir (step length t searched from the interval 0..1);
// on failure X stays unchanged. Returns the code of GoldenSectionSearch.
int MinimiseAlongLine(const ObjectiveFunction& F, TVector& X, const TVector& Dir, int Lb, int Ub, int MaxIter,
                      double Tol, double& Ymin);

// True when every |X[i] - Xold[i]| < max(|Xold[i]| * Tol, Tol).
bool ParametersConverged(const TVector& Xold, const TVector& X, int Lb, int Ub, double Tol);

// Levenberg-Marquardt with a golden-section search along each damped Gauss-Newton direction; each
// system is solved scaled to unit diagonal, and a damped system that cannot be solved counts as a
// rejected trial. Returns kConverged, kSingular (only when the undamped matrix is singular),
// kDampingLimit or kIterationLimit; X holds the last accepted point, Fmin its value and Inv the
// inverse of the final (undamped after convergence) matrix.
int MarquardtMinimise(const ObjectiveFunction& F, const DerivativeRoutine& Deriv, TVector& X, int Lb, int Ub,
                      int MaxIter, double Tol, double& Fmin, TMatrix& Inv);

} // namespace kurvex
