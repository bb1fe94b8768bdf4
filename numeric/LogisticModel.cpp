// Model 10, the logistic curve y = a / (1 + exp(c - b x)), started by a straight line through the logits.
#include "numeric/LogisticModel.h"

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

const FitModel& LogisticModel()
{
    static const FitModel model{formulaText, firstParam, lastParam, paramName, value, startFit, derivatives};
    return model;
}

} // namespace kurvex
