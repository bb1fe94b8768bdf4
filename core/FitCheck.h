// The fitting window's models and the check of the points before a fit: enough points for the
// model, positive x for the power model, and the points sorted by x.
#pragma once

#include "core/PlotPoints.h"

#include <span>
#include <string>
#include <vector>

namespace kurvex {

// The window's model numbers (RegModel). 8 is the quadratic function, fitted as a polynomial of
// degree 2; 11 the sine, fitted by its own iteration.
inline constexpr int kRegLine = 0;
inline constexpr int kRegPolynomial = 2;
inline constexpr int kRegRational = 3;
inline constexpr int kRegExponential = 4;
inline constexpr int kRegBoundedGrowth = 5;
inline constexpr int kRegPower = 7;
inline constexpr int kRegQuadratic = 8;
inline constexpr int kRegProportional = 9;
inline constexpr int kRegLogistic = 10;
inline constexpr int kRegSine = 11;

// Points the sine fit needs; the start-value dialog is offered from this many points on.
inline constexpr std::size_t kSinePoints = 5;

// Why a fit is not shown (UTF-8, shown in red).
inline constexpr const char* kMorePointsMessage = "Zahl der Wertepaare erh\xC3\xB6hen!";
inline constexpr const char* kMorePointsRationalMessage =
    "Zahl der Wertepaare erh\xC3\xB6hen! z>=Grad p + Grad q + 1";
inline constexpr const char* kMorePointsPolynomialMessage =
    "Zahl der Wertepaare erh\xC3\xB6hen! z>=Grad p + 1";
inline constexpr const char* kPositiveXMessage = "x-Werte: x > 0";
inline constexpr const char* kFitImpossibleMessage = "Die Kurvenanpassung ist nicht m\xC3\xB6glich!";

// Degrees of the polynomial and rational models as the spin edits give them.
struct FitDegrees {
    int polynomial = 3;
    int numerator = 1;
    int denominator = 1;
};

struct FitDataCheck {
    bool passed = false;
    // The first failed rule's message; empty when the check passed.
    std::string message;
    // Whether the sine's start-value dialog may open.
    bool startValuesAvailable = false;
    // The points sorted by x (equal x in list order), also when the check failed.
    std::vector<DataPoint> sorted;
};

// The rules in their order: at least 2 points, then the model's own count, then x > 0 for the
// power model.
FitDataCheck CheckFitData(std::span<const PlotPoint> points, int regModel, const FitDegrees& degrees);

} // namespace kurvex
