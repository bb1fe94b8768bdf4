// Model 5, bounded growth y = B0 (B2 - exp(-B1 x)), started log-linearly and refined nonlinearly.
#include "numeric/BoundedGrowthModel.h"

#include <cmath>

#include "numeric/FitModels.h"
#include "numeric/GuardedMath.h"

namespace kurvex {

namespace {

constexpr double kValueLimit = 1e20;

std::string formulaText()
{
    return "y = c - a exp(bx)";
}
int firstParam()
{
    return 0;
}
int lastParam()
{
    return 2;
}
std::string paramName(int i)
{
    switch (i) {
    case 0:
        return "b";
    case 1:
        return "k";
    default:
        return "a";
    }
}

double value(double x, const TVector& B)
{
    const double e = SafeExp(-B[1] * x);
    if (std::fabs(B[2] - e) <= kValueLimit)
        return B[0] * (B[2] - e);
    return kValueLimit;
}

// Rising positive data: with B2 = 1 the transform z = ln(1 - y/B0) is a straight line of slope -B1
// for y = B0 (1 - exp(-B1 x)). Falling data (cooling), and rising data that stay negative, start from
// an asymptote c just beyond the data in the trend's direction: ln|c - y| = ln a - B1 x is then the
// line, and B0 = +a (rising) or -a (falling) with B2 = c / B0. The refinement fits all three.
int startFit(TVector& X, TVector& Y, int N, TMatrix& /*V*/, TVector& B)
{
    ModelSortByX(X, Y, N);
    const int first = FirstPointIndex;
    double largest = Y[first];
    double smallest = Y[first];
    for (int i = first + 1; i <= N; ++i) {
        largest = std::fmax(largest, Y[i]);
        smallest = std::fmin(smallest, Y[i]);
    }
    TMatrix privateV;
    TVector line;
    AllocVector(line, 1);
    if (FitStraightLine(X, Y, N, privateV, line) != 0)
        return -1;
    const bool rising = line[1] >= 0.0;
    TVector z;
    AllocVector(z, N);
    if (rising && largest > 0.0) {
        B[0] = 1.1 * largest;
        B[2] = 1.0;
        for (int i = first; i <= N; ++i)
            z[i] = SafeLn(B[2] - Y[i] / B[0]);
        const int code = FitStraightLine(X, z, N, privateV, line);
        if (code == 0)
            B[1] = -line[1];
        return code;
    }
    if (!(largest > smallest))
        return -1;
    const double margin = 0.1 * (largest - smallest);
    const double asymptote = rising ? largest + margin : smallest - margin;
    for (int i = first; i <= N; ++i)
        z[i] = std::log(std::fabs(asymptote - Y[i]));
    const int code = FitStraightLine(X, z, N, privateV, line);
    if (code != 0)
        return code;
    const double amplitude = SafeExp(line[0]);
    B[0] = rising ? amplitude : -amplitude;
    B[1] = -line[1];
    B[2] = asymptote / B[0];
    return 0;
}

void derivatives(const TVector& B, TVector& D, double x, double /*y*/)
{
    const double e = SafeExp(-B[1] * x);
    D[0] = B[2] - e;
    D[1] = B[0] * x * e;
    D[2] = B[0];
}

} // namespace

void WidenBoundedGrowthBounds(const TVector& X, const TVector& Y, int N, TVector& Bmin, TVector& Bmax)
{
    if (Bmin.size() < 3)
        Bmin.resize(3, 0.0);
    if (Bmax.size() < 3)
        Bmax.resize(3, 0.0);
    const int first = FirstPointIndex;
    if (N < first)
        return;
    double largestY = 0.0;
    double xLow = X[first];
    double xHigh = X[first];
    for (int i = first; i <= N; ++i) {
        largestY = std::fmax(largestY, std::fabs(Y[i]));
        xLow = std::fmin(xLow, X[i]);
        xHigh = std::fmax(xHigh, X[i]);
    }
    // The amplitude starts at 1.1 times the largest y and the rate near 1 / (x range): both must
    // lie inside the box, whatever the units of the data.
    const double amplitude = 100.0 * largestY;
    Bmin[0] = std::fmin(Bmin[0], -amplitude);
    Bmax[0] = std::fmax(Bmax[0], amplitude);
    if (xHigh > xLow) {
        const double rate = 1000.0 / (xHigh - xLow);
        Bmin[1] = std::fmin(Bmin[1], -rate);
        Bmax[1] = std::fmax(Bmax[1], rate);
    }
}

const FitModel& BoundedGrowthModel()
{
    static const FitModel model{formulaText, firstParam, lastParam, paramName, value, startFit, derivatives};
    return model;
}

} // namespace kurvex
