// The fitted term: the text the result label shows (rounded, decimal comma), the term the curve is
// drawn from (full precision), and the correlation text.
#pragma once

#include <string>
#include <vector>

namespace kurvex {

// The fitted term in parser form at full precision, empty without a fit. The fitting windows
// write it at every redraw and draw their curve from it.
inline std::string FitTermText;

// Fitted values this close to 0 are shown, drawn and reported as 0.
inline constexpr double kTinyParameter = 1e-10;

struct FitTermInput {
    int regModel = 0;
    // The fit's parameters by index (FitParams), or a, b, c, d of the sine.
    std::vector<double> params;
    // Numerator and denominator degree of the rational model.
    int numeratorDegree = 1;
    int denominatorDegree = 1;
    // R2 of the fit's statistics (all models but the sine) and the sine fit's r.
    double r2 = 0.0;
    double sineR = 0.0;
    int digits = 3;
};

struct FitTermTexts {
    std::string term;       // as shown: FormatNumberShort numbers
    std::string parserTerm; // the same term with every number at full precision
    std::string termLine;   // "f(x) = " + term + five blanks (and r for the sine)
    std::string rText;      // "Korrelationskoeffizient: r = " + r; empty for the sine
    std::string correlation; // "Korrelationskoeffizient: r = " + r, for the sine too
    std::string label() const { return termLine + rText; }
    // The label in two lines, as a plot too narrow for the term beside r shows it.
    std::vector<std::string> labelLines() const { return {"f(x) = " + term, correlation}; }
};

// Sets every parameter with |v| < kTinyParameter to 0.
void ZeroTinyParameters(std::vector<double>& params);

// r² as the label and the report show it: SSR / SST, or its reciprocal where a model without a
// constant term takes it above 1, so it stays within [0, 1].
double ShownR2(double r2);

// r as the label and the report show it: the root of ShownR2 with the slope's sign for the line
// and the proportional model; the sine fit's r as it is.
double FitCorrelation(const FitTermInput& input);

// The term of the model with its parameters. Polynomial degree: params.size() - 1; rational:
// the degrees given. Parameters must be finite (the fit refuses others).
FitTermTexts BuildFitTerm(const FitTermInput& input);

} // namespace kurvex
