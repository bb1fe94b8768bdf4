// Model 3, the rational function of degrees FracNumeratorDegree / FracDenominatorDegree, fitted
// by linear least squares on the linearised equation.
#pragma once

#include <string>

namespace kurvex {

struct FitModel;

const FitModel& RationalModel();
// "y = (p0 + p1*x + p2*x^2) / (1 + q1*x)" and the like.
std::string RationalFormulaText(int numeratorDegree, int denominatorDegree, bool hasConstant);

} // namespace kurvex
