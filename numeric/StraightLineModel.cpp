// Model 0, the straight line y = m*x + c.
#include "numeric/StraightLineModel.h"

#include "numeric/FitModels.h"

namespace kurvex {

namespace {

std::string formulaText()
{
    return "y = m*x + c";
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
    return i == 0 ? "c" : "m";
}
double value(double x, const TVector& B)
{
    return B[1] * x + B[0];
}
int startFit(TVector& X, TVector& Y, int N, TMatrix& V, TVector& B)
{
    return FitStraightLine(X, Y, N, V, B);
}

} // namespace

const FitModel& LineModel()
{
    static const FitModel model{formulaText, firstParam, lastParam, paramName, value, startFit, nullptr};
    return model;
}

} // namespace kurvex
