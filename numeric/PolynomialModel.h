// Model 2, the polynomial of degree PolyModelDegree, fitted by linear least squares.
#pragma once

#include <string>

namespace kurvex {

struct FitModel;

const FitModel& PolynomialModel();
// "y = ax^2 + bx + c" for degree 2, else "y = ad*x^d+...+a1*x^1+a0".
std::string PolynomialFormulaText(int degree);

} // namespace kurvex
