// A compiled term as a function of x, with the parameter slots the analysis lessons pass.
#pragma once

#include "core/Plotter.h"
#include "core/term/Term.h"

#include <optional>

namespace kurvex {

// The value, or nothing when the evaluation cleared EvalOk or gave no finite number.
std::optional<double> DefinedValue(double value);

// f(x) = the term at (x, ParamA, ParamB, ParamC, 0, 0, 0): the term's t, a and b read the
// parameters a, b and c. The parameters are read at each call; the tree must outlive the function.
CurveValueFunction TermFunction(const TermTree& tree);

} // namespace kurvex
