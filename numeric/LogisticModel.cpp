// Model 10, the logistic curve y = a / (1 + exp(c - b x)), started by a straight line through the
// logits and refined nonlinearly.
#include "numeric/LogisticModel.h"

#include <cmath>

#include "numeric/FitModels.h"
#include "numeric/GuardedMath.h"

namespace kurvex {

namespace {

constexpr double kLogitLimit = 1e11;

std::string formulaText()
{
    return "y = a / [1 + exp(bx + c)]";
}
int firstParam()
{
    return 1;
}
int lastParam()
{
    return 3;
}
std::string paramName(int i)
{
    switch (i) {
    case 0:
        return "d";
    case 1:
        return "a";
    case 2:
        return "b";
    default:
        return "c";
    }
}
// The exponent is B3 - B2 x, so b and c of the formula text are -B2 and B3.
double value(double x, const TVector& B)
{
    return B[1] / (1.0 + SafeExp(B[3] - B[2] * x));
}

// The asymptote is taken as the y of the last point; z = ln(a / y - 1) = B3 - B2 x is then a
// straight line. Points whose logit does not exist (y <= 0, y >= a) are left out.
int startFit(TVector& X, TVector& Y, int N, TMatrix& /*V*/, TVector& B)
{
    ModelSortByX(X, Y, N);
    const int first = FirstPointIndex;
    if (N < first)
        return -1;
    B[0] = 0.0;
    B[1] = Y[N];
    const double d = B[1] - B[0];
    TVector xs{0.0};
    TVector zs{0.0};
    bool capped = false;
    for (int i = first; i <= N; ++i) {
        if (!(X[i] < X[N]))
            continue;
        const double u = Y[i] - B[0];
        if (!(u > 0.0) || !(d / u - 1.0 > 0.0))
            continue;
        double z = SafeLn(d / u - 1.0);
        if (z > kLogitLimit) {
            FitFailed = true;
            capped = true;
            z = kLogitLimit;
        }
        xs.push_back(X[i]);
        zs.push_back(z);
    }
    if (capped) {
        B[2] = 0.0;
        B[3] = 0.0;
        return 0;
    }
    TMatrix privateV;
    TVector line;
    AllocVector(line, 1);
    const int code = FitStraightLine(xs, zs, static_cast<int>(xs.size()) - 1, privateV, line);
    if (code == 0) {
        B[2] = -line[1];
        B[3] = line[0];
    }
    return code;
}

void derivatives(const TVector& B, TVector& D, double x, double /*y*/)
{
    const double e = SafeExp(B[3] - B[2] * x);
    const double q = 1.0 / (1.0 + e);
    D[0] = 1.0 - q;
    D[1] = q;
    D[3] = q * q * (B[0] - B[1]) * e;
    D[2] = -D[3] * x;
}

} // namespace

void WidenLogisticBounds(const TVector& X, const TVector& Y, int N, TVector& Bmin, TVector& Bmax)
{
    if (Bmin.size() < 4)
        Bmin.resize(4, 0.0);
    if (Bmax.size() < 4)
        Bmax.resize(4, 0.0);
    const int first = FirstPointIndex;
    if (N < first)
        return;
    double largestY = 0.0;
    double largestX = 0.0;
    double xLow = X[first];
    double xHigh = X[first];
    for (int i = first; i <= N; ++i) {
        largestY = std::fmax(largestY, std::fabs(Y[i]));
        largestX = std::fmax(largestX, std::fabs(X[i]));
        xLow = std::fmin(xLow, X[i]);
        xHigh = std::fmax(xHigh, X[i]);
    }
    // Populations in persons or years as x: the amplitude follows y, the rate 1 / (x range), and
    // c = rate * (the midpoint's x) may lie far from 0.
    const double amplitude = 100.0 * largestY;
    Bmin[1] = std::fmin(Bmin[1], -amplitude);
    Bmax[1] = std::fmax(Bmax[1], amplitude);
    if (xHigh > xLow) {
        const double rate = 1000.0 / (xHigh - xLow);
        const double offset = rate * (largestX + (xHigh - xLow));
        Bmin[2] = std::fmin(Bmin[2], -rate);
        Bmax[2] = std::fmax(Bmax[2], rate);
        Bmin[3] = std::fmin(Bmin[3], -offset);
        Bmax[3] = std::fmax(Bmax[3], offset);
    }
}

const FitModel& LogisticModel()
{
    static const FitModel model{formulaText, firstParam, lastParam, paramName, value, startFit, derivatives};
    return model;
}

} // namespace kurvex
