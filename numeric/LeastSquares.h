// Least squares: proportional and straight-line fits, general linear and polynomial fits by normal
// equations or singular values, and the bounded nonlinear fit driven by the Marquardt minimiser.
#pragma once

#include <functional>

#include "numeric/Matrices.h"

namespace kurvex {

inline constexpr int kNormalEquations = 0;
inline constexpr int kSingularValueMethod = 1;
// How the general linear fit solves: kNormalEquations or kSingularValueMethod; any other value
// makes it fail with -1.
inline int LinearFitMethod = kSingularValueMethod;

// Objective value of a parameter vector outside its bounds (and cap of the residual sum).
inline constexpr double kPenaltyValue = 1e30;

// f(x, B): the value of a fit model at x for the parameter vector B.
using ModelFunction = std::function<double(double x, const TVector& B)>;
// Fills D[PLb..PUb] with the partial derivatives of f at x; y is the model value there.
using ModelDerivatives =
    std::function<void(const ModelFunction& f, double x, double y, const TVector& B, TVector& D)>;

// All fits use the points FirstPointIndex..Ub and return 0 on success.

// y = B[0] * x; -1 when the sum of x^2 is not positive (B unchanged). V is not touched.
int FitProportional(const TVector& X, const TVector& Y, int Ub, TMatrix& V, TVector& B);

// y = B[0] + B[1] * x with V[0..1][0..1] the inverse normal matrix; -1 (nothing written) when all x
// are equal (also when they differ only by rounding) or there are fewer than two points.
int FitStraightLine(const TVector& X, const TVector& Y, int Ub, TMatrix& V, TVector& B);

// Y on the regressors Xm[1..Nvar][points], with a constant term B[0] when ConsTerm. Fills
// B[Lb..Nvar] and V[Lb..Nvar][Lb..Nvar] (Lb = 0 with ConsTerm, else 1). Returns 0, -2 (decomposition
// did not converge) or -1, with nothing written: fewer independent columns than parameters (singular
// values below N epsilon of the largest), normal equations too ill-conditioned to keep four digits,
// or an unknown LinearFitMethod.
int LinearLeastSquares(const TMatrix& Xm, const TVector& Y, int Ub, TMatrix& V, TVector& B, bool ConsTerm,
                       int Nvar);

// Xm[k][i] := X[i]^k for k = 1..Deg over the points.
void BuildPowerMatrix(const TVector& X, int Ub, int Deg, TMatrix& Xm);

// Polynomial of degree Deg, B[k] belonging to x^k.
int FitPolynomial(const TVector& X, const TVector& Y, int Ub, TMatrix& V, TVector& B, int Deg);

// Stores the data of a nonlinear fit (copies of the points 1..Ub and of the bounds PLb..PUb).
void SetNonlinearFitData(const ModelFunction& Func, const ModelDerivatives& Deriv, const TVector& X,
                         const TVector& Y, int Ub, int PLb, int PUb, const TVector& Bmin,
                         const TVector& Bmax);
// Residual sum of squares of B over the stored data; kPenaltyValue outside the bounds (the model
// is then not evaluated) or as soon as the sum exceeds it.
double ResidualSumOfSquares(const TVector& B);
// G := half the gradient and H := the Gauss-Newton half Hessian of the residual sum at B.
void FitGradientHessian(const TVector& B, int PLb, int PUb, TVector& G, TMatrix& H);

// Bounded nonlinear least squares from the start values in B; B receives the result and
// V[PLb..PUb][PLb..PUb] the inverse of the final Gauss-Newton matrix. Codes of MarquardtMinimise.
int FitNonlinear(const ModelFunction& Func, const ModelDerivatives& Deriv, const TVector& X, const TVector& Y,
                 int Ub, int PLb, int PUb, int MaxIter, double Tol, TVector& B, const TVector& Bmin,
                 const TVector& Bmax, TMatrix& V);

} // namespace kurvex
