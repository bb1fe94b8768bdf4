// Sorting, sums and means of data vectors, and the regression statistics of a finished fit.
#include "numeric/Statistics.h"

#include <cmath>
#include <utility>

#include "numeric/GuardedMath.h"

namespace kurvex {

namespace {

// A spread below 1e-10 of the data's root mean square counts as none.
constexpr double kRelativeSpreadLimit = 1e-20;

template <typename Before> void quickSort(TVector& V, int Lb, int Ub, Before before)
{
    // Recurse into the smaller part and loop over the larger one, so the depth stays logarithmic.
    while (Lb < Ub) {
        int i = Lb;
        int j = Ub;
        const double p = V[Lb + (Ub - Lb) / 2];
        do {
            while (before(V[i], p))
                ++i;
            while (before(p, V[j]))
                --j;
            if (i <= j) {
                std::swap(V[i], V[j]);
                ++i;
                --j;
            }
        } while (i <= j);
        if (j - Lb < Ub - i) {
            if (Lb < j)
                quickSort(V, Lb, j, before);
            Lb = i;
        } else {
            if (i < Ub)
                quickSort(V, i, Ub, before);
            Ub = j;
        }
    }
}

} // namespace

void SortAscending(TVector& V, int Lb, int Ub)
{
    quickSort(V, Lb, Ub, [](double a, double b) { return a < b; });
}

void SortDescending(TVector& V, int Lb, int Ub)
{
    quickSort(V, Lb, Ub, [](double a, double b) { return a > b; });
}

double VectorSum(const TVector& V, int Lb, int Ub)
{
    double sum = 0.0;
    for (int i = Lb; i <= Ub; ++i)
        sum += V[i];
    return sum;
}

double VectorMean(const TVector& V, int Lb, int Ub)
{
    return VectorSum(V, Lb, Ub) / (Ub - Lb + 1);
}

double SumSquaredDeviations(const TVector& V, int Lb, int Ub, double m)
{
    double sum = 0.0;
    for (int i = Lb; i <= Ub; ++i) {
        const double d = V[i] - m;
        sum += d * d;
    }
    return sum;
}

double SumSquaredDifferences(const TVector& U, const TVector& V, int Lb, int Ub)
{
    double sum = 0.0;
    for (int i = Lb; i <= Ub; ++i) {
        const double d = U[i] - V[i];
        sum += d * d;
    }
    return sum;
}

double SingularTolerance(int n)
{
    return n * kMachineEpsilon;
}

bool HasNoSpread(double sst, const TVector& Y, int Lb, int Ub)
{
    return std::fabs(sst) <= kRelativeSpreadLimit * SumSquaredDeviations(Y, Lb, Ub, 0.0);
}

void RegressionStatistics(const TVector& Y, const TVector& Ycalc, int Ub, FitStatistics& Stats, int PLb,
                          int PUb)
{
    const int lb = FirstPointIndex;
    const int n = Ub - lb + 1;
    const int p = PUb - PLb + 1;
    if (p >= n) {
        Stats = FitStatistics{0.0, 1.0, 0.0, 0.0, 1.0};
        return;
    }
    const double m = VectorMean(Y, lb, Ub);
    const double sst = SumSquaredDeviations(Y, lb, Ub, m);
    const double ssr = SumSquaredDeviations(Ycalc, lb, Ub, m);
    const double sse = SumSquaredDifferences(Y, Ycalc, lb, Ub);
    Stats.Vr = sse / (n - p);
    if (HasNoSpread(sst, Y, lb, Ub)) {
        FitFailed = true;
        Stats.R2 = 0.0;
        return;
    }
    // Above 1 for a model without a constant term whose values spread wider than the data; the
    // windows show its reciprocal then, and a poor r never makes a fit impossible.
    Stats.R2 = ssr / sst;
}

} // namespace kurvex
