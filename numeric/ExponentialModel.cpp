// Model 4, the exponential y = a exp(b x), started by an integral equation.
#include "numeric/ExponentialModel.h"

#include <cmath>

#include "numeric/FitModels.h"
#include "numeric/GuardedMath.h"
#include "numeric/PolynomialRoots.h"

namespace kurvex {

namespace {

std::string formulaText()
{
    return "y = a exp(b x)";
}
int firstParam()
{
    return 1;
}
int lastParam()
{
    return 2;
}
std::string paramName(int i)
{
    return i == 1 ? "a" : "b";
}
// B[2] holds the rate with the opposite sign of the formula text (decay has B[2] > 0).
double value(double x, const TVector& B)
{
    return B[1] * SafeExp(-B[2] * x);
}

// y' = -r y integrates to y = y(x1) - r * integral of y: a straight line of y on the running
// trapezoid integral gives the rate without iteration, a second fit then the amplitude.
int startFit(TVector& X, TVector& Y, int N, TMatrix& /*V*/, TVector& B)
{
    const int first = FirstPointIndex;
    const double shift = X[first];
    TVector xs = X;
    const TVector& ys = Y;
    if (shift != 0.0) {
        for (int i = first; i <= N; ++i)
            xs[i] = X[i] - shift;
    }
    TMatrix xm;
    AllocMatrix(xm, 1, N);
    for (int k = first + 1; k <= N; ++k)
        xm[1][k] = xm[1][k - 1] + (ys[k] + ys[k - 1]) * (xs[k] - xs[k - 1]) / 2.0;
    TMatrix privateV;
    TVector c;
    AllocVector(c, 1);
    int code = LinearLeastSquares(xm, ys, N, privateV, c, true, 1);
    if (code != 0)
        return code;

    const TVector poly{c[1], 1.0};
    TVector roots;
    AllocVector(roots, 1);
    if (PolynomialRoots(poly, 1, roots) != 1)
        return -2;
    const double rate = roots[1];

    for (int i = first; i <= N; ++i)
        xm[1][i] = SafeExp(-rate * xs[i]);
    AllocVector(c, 1);
    code = LinearLeastSquares(xm, ys, N, privateV, c, false, 1);
    if (code != 0)
        return code;
    double amplitude = c[1];
    if (shift != 0.0)
        amplitude = SafeExp(rate * shift) * amplitude;
    B[1] = amplitude;
    B[2] = rate;
    return 0;
}

void derivatives(const TVector& B, TVector& D, double x, double y)
{
    // y = a e already holds the exponential, and dividing is far cheaper than a second exp; a zero,
    // tiny or overflowed y does not.
    const double e = std::isnormal(y) ? y / B[1] : SafeExp(-B[2] * x);
    D[1] = e;
    D[2] = -x * B[1] * e;
}

} // namespace

const FitModel& ExponentialModel()
{
    static const FitModel model{formulaText, firstParam, lastParam, paramName, value, startFit, derivatives};
    return model;
}

} // namespace kurvex
