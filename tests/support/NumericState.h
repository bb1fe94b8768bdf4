// Test helper: every shared variable of the numeric library, one list per header, and a scope that
// puts them all back.
#pragma once

#include "numeric/FitModels.h"
#include "numeric/GuardedMath.h"
#include "numeric/LeastSquares.h"
#include "numeric/SineFit.h"
#include "numeric/Statistics.h"
#include "support/SavedVariables.h"

#include <tuple>

namespace kurvex::test {

// ---- One list per header, in the header's order; NumericState_test checks them against the headers ----

// numeric/FitModels.h
inline auto FitModelVariables()
{
    return std::tie(CurrentModel, ModelMode, PolyModelDegree, FracNumeratorDegree, FracDenominatorDegree,
                    FracHasConstant);
}

// numeric/GuardedMath.h
inline auto GuardedMathVariables()
{
    return std::tie(MathErrorCode);
}

// numeric/LeastSquares.h
inline auto LeastSquaresVariables()
{
    return std::tie(LinearFitMethod);
}

// numeric/SineFit.h
inline auto SineFitVariables()
{
    return std::tie(SineParams, SineStartValues, SineUserStartA, SineUserStartB, SineUserStartC,
                    SineUserStartD, SineIterations, SineAutoIterations, NewModel, SineFitCurve,
                    SineFitVariance, SineFitR);
}

// numeric/Statistics.h
inline auto StatisticsVariables()
{
    return std::tie(FirstPointIndex, FitFailed);
}

// Snapshots the numeric library's shared variables (model choice, degrees, fit method, sine fit,
// error code) when made and restores them when it goes.
class NumericStateScope {
private:
    SavedVariables<FitModelVariables> fitModels_;
    SavedVariables<GuardedMathVariables> guardedMath_;
    SavedVariables<LeastSquaresVariables> leastSquares_;
    SavedVariables<SineFitVariables> sineFit_;
    SavedVariables<StatisticsVariables> statistics_;
};

} // namespace kurvex::test
