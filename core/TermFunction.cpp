// A compiled term as a function of x, with the parameter slots the analysis lessons pass.
#include "core/TermFunction.h"

#include "core/Settings.h"

#include <cmath>

namespace kurvex {

std::optional<double> DefinedValue(double value)
{
    if (!EvalOk || !std::isfinite(value)) {
        return std::nullopt;
    }
    return value;
}

CurveValueFunction TermFunction(const TermTree& tree)
{
    return [&tree](double x) { return DefinedValue(EvaluateTerm(tree, x, ParamA, ParamB, ParamC, 0, 0, 0)); };
}

} // namespace kurvex
