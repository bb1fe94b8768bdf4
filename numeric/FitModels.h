// The fit models behind one dispatcher: model choice and degrees, formula texts, parameter ranges
// and names, values, derivatives, start fits, and FitAndEvaluate, the entry the windows call.
#pragma once

#include <string>

#include "numeric/LeastSquares.h"
#include "numeric/Matrices.h"
#include "numeric/Statistics.h"

namespace kurvex {

// Model numbers (1, 6 and 8 have no model; the window maps 8 to 2 and fits 11 by the sine fit).
inline constexpr int kModelLine = 0;
inline constexpr int kModelPolynomial = 2;
inline constexpr int kModelRational = 3;
inline constexpr int kModelExponential = 4;
inline constexpr int kModelBoundedGrowth = 5;
inline constexpr int kModelPower = 7;
inline constexpr int kModelProportional = 9;
inline constexpr int kModelLogistic = 10;

// Degrees above this are ignored by InitPolyDeg and InitFracDeg (the windows offer at most 6).
inline constexpr int kMaxModelDegree = 100;

inline int CurrentModel = kModelLine;
inline int ModelMode = 0;
inline int PolyModelDegree = 2;
inline int FracNumeratorDegree = 1;
inline int FracDenominatorDegree = 1;
inline bool FracHasConstant = true;

// What the dispatcher routes to: one table per model, provided by the model's own unit.
struct FitModel {
    std::string (*formulaText)();
    int (*firstParam)();
    int (*lastParam)();
    std::string (*paramName)(int i);
    double (*value)(double x, const TVector& B);
    // The start fit; may sort X and Y by x.
    int (*startFit)(TVector& X, TVector& Y, int N, TMatrix& V, TVector& B);
    // D[first..last] := the partial derivatives at x, y being the model value there; null for none.
    void (*derivatives)(const TVector& B, TVector& D, double x, double y);
};

// Sets the model and its mode; Degrees[0] (and Degrees[1]) give the degrees of models 2 and 3.
void SelectModel(int Model, int Mode, const TVector& Degrees);
// Degree Degrees[0] rounded (halves to even) when above 1; otherwise the previous degree stays.
void InitPolyDeg(const TVector& Degrees);
// Numerator and denominator degrees from Degrees[0] and Degrees[1] when positive; constant term on.
void InitFracDeg(const TVector& Degrees);
// By ModelMode: 0 and 6 give 0; 1, 4 and 5 give 1; 2 gives 2; 3 gives 3.
int ModeToIndex();

// The dispatchers; for a number without a model the text and name stay as they were, the range
// is 0..0, the value 0 and the start fit returns -1.
void CurrentFormulaText(std::string& Text);
int CurrentFirstParam();
int CurrentLastParam();
void CurrentParamName(int i, std::string& Name);
double CurrentModelValue(const TVector& B, double x);
int FitCurrentModel(TVector& X, TVector& Y, int N, TMatrix& V, TVector& B);
void CurrentModelDerivatives(const ModelFunction& f, const TVector& B, TVector& D, double x, double y);

// The current model's value and derivatives in the form FitNonlinear takes, bound to the model
// selected now (resolved once, not at every point).
ModelFunction CurrentModelFunction();
ModelDerivatives CurrentModelDerivativeRoutine();

// C[d] x^d + ... + C[0] by Horner's rule.
double PolynomialValue(const TVector& C, int d, double x);
// (C[0] + ... + C[n] x^n) / (1 + C[n+1] x + ... + C[n+m] x^m); an exact pole is moved off to
// -1.00001 and sets FitFailed.
double RationalValue(const TVector& C, int n, int m, double x);
// Sorts the points 1..N by ascending x in place; points with equal x keep their order.
void ModelSortByX(TVector& X, TVector& Y, int N);

// Start fit (when InitialFit), refinement of models 5 and 10 (when MaxIter >= 1; model 10 keeps its
// start fit when the refinement fails), fitted values Ycalc, statistics, VrOut[0] := Vr and
// S[i] := sqrt(Vr). Returns the fit's code, -1 when the fit has fewer than two different x; a
// parameter, fitted value or statistic that is not finite sets FitFailed and gives -1. Weights are
// not used.
int FitAndEvaluate(TVector& X, const TMatrix& Weights, TVector& Y, int N, bool InitialFit, int MaxIter,
                   double Tol, TVector& VrOut, TVector& B, const TVector& Bmin, const TVector& Bmax,
                   TMatrix& V, TVector& Ycalc, TVector& S, FitStatistics& Stats);

} // namespace kurvex
