// Model 2, the polynomial of degree PolyModelDegree, fitted by linear least squares.
#include "numeric/PolynomialModel.h"

#include "numeric/FitModels.h"

namespace kurvex {

std::string PolynomialFormulaText(int degree)
{
    if (degree == 2)
        return "y = ax^2 + bx + c";
    std::string text = "y = ";
    for (int k = degree; k >= 1; --k) {
        const std::string power = std::to_string(k);
        text += 'a';
        text += power;
        text += "*x^";
        text += power;
        text += '+';
    }
    return text + "a0";
}

namespace {

std::string formulaText()
{
    return PolynomialFormulaText(PolyModelDegree);
}
int firstParam()
{
    return 0;
}
int lastParam()
{
    return PolyModelDegree;
}
std::string paramName(int i)
{
    std::string name = "a";
    name += std::to_string(i);
    return name;
}
double value(double x, const TVector& B)
{
    return PolynomialValue(B, PolyModelDegree, x);
}
int startFit(TVector& X, TVector& Y, int N, TMatrix& V, TVector& B)
{
    return FitPolynomial(X, Y, N, V, B, PolyModelDegree);
}

} // namespace

const FitModel& PolynomialModel()
{
    static const FitModel model{formulaText, firstParam, lastParam, paramName, value, startFit, nullptr};
    return model;
}

} // namespace kurvex
