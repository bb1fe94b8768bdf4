// Periods of sine-like data for further starts of the sine fit: from the sign changes about the mean
// and from the highest peak of the periodogram, each turned into start values by a linear fit.
#pragma once

#include "numeric/Matrices.h"
#include "numeric/SineFit.h"

namespace kurvex {

// All three take the points 1..N sorted by x and return the angular frequency b of y = a sin(bx + c) + d,
// or 0 when the data show none.

// From the spacing of the first and the last sign change of y - mean; a dead band around the mean
// keeps noise from counting as changes. Needs at least two changes.
double SineFrequencyFromCrossings(const TVector& X, const TVector& Y, int N);

// The highest peak of the periodogram |sum (y - mean) exp(-i b x)|^2 over b from half a period to
// (N - 1) / 2 periods on the data range, in steps of a quarter of one period's b. The cost grows
// with N^2: meant for the fitting window's at most 101 points.
double SineFrequencyFromPeriodogram(const TVector& X, const TVector& Y, int N);

// a, c and d for the fixed b by linear least squares of y on sin(bx), cos(bx) and 1; false when that
// system is singular or the data do not oscillate at b.
bool SineStartForFrequency(const TVector& X, const TVector& Y, int N, double b, SineParameterSet& start);

} // namespace kurvex
