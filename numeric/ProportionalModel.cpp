// Model 9, the line through the origin y = m*x.
#include "numeric/ProportionalModel.h"

#include "numeric/FitModels.h"

namespace kurvex {

namespace {

std::string formulaText()
{
    return "y = m*x";
}
int firstParam()
{
    return 0;
}
int lastParam()
{
    return 0;
}
std::string paramName(int)
{
    return "m";
}
double value(double x, const TVector& B)
{
    return B[0] * x;
}
int startFit(TVector& X, TVector& Y, int N, TMatrix& V, TVector& B)
{
    return FitProportional(X, Y, N, V, B);
}

} // namespace

const FitModel& ProportionalModel()
{
    static const FitModel model{formulaText, firstParam, lastParam, paramName, value, startFit, nullptr};
    return model;
}

} // namespace kurvex
