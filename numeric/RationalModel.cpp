// Model 3, the rational function of degrees FracNumeratorDegree / FracDenominatorDegree, fitted
// by linear least squares on the linearised equation.
#include "numeric/RationalModel.h"

#include "numeric/FitModels.h"

namespace kurvex {

std::string RationalFormulaText(int numeratorDegree, int denominatorDegree, bool hasConstant)
{
    std::string text = "y = (";
    if (hasConstant)
        text += "p0 + ";
    text += "p1*x";
    for (int k = 2; k <= numeratorDegree; ++k) {
        const std::string power = std::to_string(k);
        text += " + p";
        text += power;
        text += "*x^";
        text += power;
    }
    text += ") / (1 + q1*x";
    for (int j = 2; j <= denominatorDegree; ++j) {
        const std::string power = std::to_string(j);
        text += " + q";
        text += power;
        text += "*x^";
        text += power;
    }
    return text + ")";
}

namespace {

std::string formulaText()
{
    return RationalFormulaText(FracNumeratorDegree, FracDenominatorDegree, FracHasConstant);
}
int firstParam()
{
    return FracHasConstant ? 0 : 1;
}
int lastParam()
{
    return FracNumeratorDegree + FracDenominatorDegree;
}
std::string paramName(int i)
{
    const bool numerator = i <= FracNumeratorDegree;
    std::string name = numerator ? "p" : "q";
    name += std::to_string(numerator ? i : i - FracNumeratorDegree);
    return name;
}
double value(double x, const TVector& B)
{
    return RationalValue(B, FracNumeratorDegree, FracDenominatorDegree, x);
}

// From y (1 + sum q_j x^j) = p0 + sum p_k x^k: y regressed on x^k and -x^j y.
int startFit(TVector& X, TVector& Y, int N, TMatrix& /*V*/, TVector& B)
{
    const int n = FracNumeratorDegree;
    const int m = FracDenominatorDegree;
    TMatrix xm;
    AllocMatrix(xm, n + m, N);
    for (int i = FirstPointIndex; i <= N; ++i) {
        double power = 1.0;
        for (int k = 1; k <= n || k <= m; ++k) {
            power *= X[i];
            if (k <= n)
                xm[k][i] = power;
            if (k <= m)
                xm[n + k][i] = -power * Y[i];
        }
    }
    TMatrix privateV;
    const int code = LinearLeastSquares(xm, Y, N, privateV, B, FracHasConstant, n + m);
    if (!FracHasConstant)
        B[0] = 0.0;
    return code;
}

void derivatives(const TVector& B, TVector& D, double x, double y)
{
    const int n = FracNumeratorDegree;
    const int m = FracDenominatorDegree;
    double q = 0.0;
    for (int k = n + m; k >= n + 1; --k)
        q = (q + B[k]) * x;
    if (q == -1.0)
        q = -1.00001;
    const double den = 1.0 + q;
    D[0] = 1.0 / den;
    for (int k = 1; k <= n; ++k)
        D[k] = D[k - 1] * x;
    D[n + 1] = -x * y / den;
    for (int j = 2; j <= m; ++j)
        D[n + j] = D[n + j - 1] * x;
}

} // namespace

const FitModel& RationalModel()
{
    static const FitModel model{formulaText, firstParam, lastParam, paramName, value, startFit, derivatives};
    return model;
}

} // namespace kurvex
