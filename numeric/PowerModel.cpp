// Model 7, the power y = a x^z, started by a straight line through the logarithms.
#include "numeric/PowerModel.h"

#include <cmath>

#include "numeric/FitModels.h"
#include "numeric/GuardedMath.h"

namespace kurvex {

namespace {

std::string formulaText()
{
    return "y = a x^z";
}
int firstParam()
{
    return 0;
}
int lastParam()
{
    return 1;
}
std::string paramName(int i)
{
    return i == 0 ? "a" : "z";
}
double value(double x, const TVector& B)
{
    return B[0] * RealPower(x, B[1]);
}

// ln y = ln a + z ln x over the points with x > 0 and y > 0.
int startFit(TVector& X, TVector& Y, int N, TMatrix& /*V*/, TVector& B)
{
    TVector lx{0.0};
    TVector ly{0.0};
    for (int i = FirstPointIndex; i <= N; ++i) {
        if (X[i] > 0.0 && Y[i] > 0.0) {
            lx.push_back(std::log(X[i]));
            ly.push_back(std::log(Y[i]));
        }
    }
    const int k = static_cast<int>(lx.size()) - 1;
    if (k < 2)
        return -1;
    TMatrix privateV;
    TVector line;
    AllocVector(line, 1);
    const int code = FitStraightLine(lx, ly, k, privateV, line);
    if (code != 0)
        return code;
    B[0] = SafeExp(line[0]);
    B[1] = line[1];
    return 0;
}

void derivatives(const TVector& B, TVector& D, double x, double y)
{
    D[0] = y / B[0];
    D[1] = SafeLn(x) * y;
}

} // namespace

const FitModel& PowerModel()
{
    static const FitModel model{formulaText, firstParam, lastParam, paramName, value, startFit, derivatives};
    return model;
}

} // namespace kurvex
