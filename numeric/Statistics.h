// Sorting, sums and means of data vectors, and the regression statistics of a finished fit.
#pragma once

#include "numeric/Matrices.h"

namespace kurvex {

// First index of every data sum; data points are numbered FirstPointIndex..Ub.
inline int FirstPointIndex = 1;

// Set when the data of a fit have no spread, at a pole of the rational model and by the
// logistic start fit; the fitting windows clear it before each fit and read it afterwards.
inline bool FitFailed = false;

// Residual variance, coefficient of determination (SSR / SST) and three spare fields, which are
// set to 0, 0 and 1 when a fit has no degree of freedom and otherwise left as they were.
struct FitStatistics {
    double Vr = 0.0;
    double R2 = 0.0;
    double Spare1 = 0.0;
    double Spare2 = 0.0;
    double Spare3 = 0.0;
};

// In-place quicksort of V[Lb..Ub].
void SortAscending(TVector& V, int Lb, int Ub);
void SortDescending(TVector& V, int Lb, int Ub);

double VectorSum(const TVector& V, int Lb, int Ub);
double VectorMean(const TVector& V, int Lb, int Ub);
// Sum of (V[i] - m)^2 over Lb..Ub.
double SumSquaredDeviations(const TVector& V, int Lb, int Ub, double m);
// Sum of (U[i] - V[i])^2 over Lb..Ub.
double SumSquaredDifferences(const TVector& U, const TVector& V, int Lb, int Ub);
// n machine epsilons: the relative cut-off for singular values of an n-point fit.
double SingularTolerance(int n);

// True when the total sum of squares SST of Y[Lb..Ub] is negligible against the data's own size,
// so data of small magnitude still count as spread.
bool HasNoSpread(double sst, const TVector& Y, int Lb, int Ub);

// How far R2 of a model with a constant term may pass 1 by rounding alone; its SSR / SST cannot
// exceed 1 at the least-squares optimum.
inline constexpr double kR2RoundingAboveOne = 1e-9;

// Vr = SSE / (N - p) and R2 = SSR / SST about the mean of Y, for the N points
// FirstPointIndex..Ub and p = PUb - PLb + 1 parameters. R2 exceeds 1 where the fitted values of a
// model without a constant term spread wider about the data's mean than the data do. Data without
// spread set FitFailed (with R2 = 0).
void RegressionStatistics(const TVector& Y, const TVector& Ycalc, int Ub, FitStatistics& Stats, int PLb,
                          int PUb);

} // namespace kurvex
