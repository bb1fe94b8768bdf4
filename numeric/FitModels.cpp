// The fit models behind one dispatcher: model choice and degrees, formula texts, parameter ranges
// and names, values, derivatives, start fits, and FitAndEvaluate, the entry the windows call.
#include "numeric/FitModels.h"

#include <algorithm>
#include <cmath>
#include <numeric>
#include <vector>

#include "numeric/BoundedGrowthModel.h"
#include "numeric/ExponentialModel.h"
#include "numeric/LogisticModel.h"
#include "numeric/PolynomialModel.h"
#include "numeric/PowerModel.h"
#include "numeric/ProportionalModel.h"
#include "numeric/RationalModel.h"
#include "numeric/StraightLineModel.h"

namespace kurvex {

namespace {

const FitModel* currentFitModel()
{
    switch (CurrentModel) {
    case kModelLine:
        return &LineModel();
    case kModelPolynomial:
        return &PolynomialModel();
    case kModelRational:
        return &RationalModel();
    case kModelExponential:
        return &ExponentialModel();
    case kModelBoundedGrowth:
        return &BoundedGrowthModel();
    case kModelPower:
        return &PowerModel();
    case kModelProportional:
        return &ProportionalModel();
    case kModelLogistic:
        return &LogisticModel();
    default:
        return nullptr;
    }
}

// Rounds a degree (halves to even); 0 when it is not a usable degree, so no cast overflows.
int roundedDegree(double value)
{
    const double r = std::nearbyint(value);
    if (!(r >= 1.0 && r <= kMaxModelDegree))
        return 0;
    return static_cast<int>(r);
}

void ensureSize(TVector& V, int ub)
{
    if (static_cast<int>(V.size()) <= ub)
        V.resize(ub + 1, 0.0);
}

bool xVaries(const TVector& X, int N)
{
    for (int i = FirstPointIndex + 1; i <= N; ++i) {
        if (X[i] != X[FirstPointIndex])
            return true;
    }
    return false;
}

// The line through the logits is no least-squares fit in y (its asymptote is the last y); the
// refinement makes it one, and when the refinement fails the line stays.
void refineLogistic(const TVector& X, const TVector& Y, int N, int MaxIter, double Tol, TVector& B,
                    const TVector& Bmin, const TVector& Bmax, TMatrix& V)
{
    const TVector start = B;
    const TMatrix startV = V;
    TVector lower = Bmin;
    TVector upper = Bmax;
    WidenLogisticBounds(X, Y, N, lower, upper);
    const int code = FitNonlinear(CurrentModelFunction(), CurrentModelDerivativeRoutine(), X, Y, N,
                                  CurrentFirstParam(), CurrentLastParam(), MaxIter, Tol, B, lower, upper, V);
    if (code != 0) {
        B = start;
        V = startV;
    }
}

} // namespace

void InitPolyDeg(const TVector& Degrees)
{
    const int k = Degrees.empty() ? 0 : roundedDegree(Degrees[0]);
    if (k > 1)
        PolyModelDegree = k;
}

void InitFracDeg(const TVector& Degrees)
{
    const int n = Degrees.empty() ? 0 : roundedDegree(Degrees[0]);
    const int m = Degrees.size() < 2 ? 0 : roundedDegree(Degrees[1]);
    if (n > 0)
        FracNumeratorDegree = n;
    if (m > 0)
        FracDenominatorDegree = m;
    FracHasConstant = true;
}

void SelectModel(int Model, int Mode, const TVector& Degrees)
{
    CurrentModel = Model;
    ModelMode = Mode;
    if (Model == kModelPolynomial)
        InitPolyDeg(Degrees);
    if (Model == kModelRational)
        InitFracDeg(Degrees);
}

int ModeToIndex()
{
    switch (ModelMode) {
    case 1:
    case 4:
    case 5:
        return 1;
    case 2:
        return 2;
    case 3:
        return 3;
    default:
        return 0;
    }
}

void CurrentFormulaText(std::string& Text)
{
    if (const FitModel* model = currentFitModel())
        Text = model->formulaText();
}

int CurrentFirstParam()
{
    const FitModel* model = currentFitModel();
    return model ? model->firstParam() : 0;
}

int CurrentLastParam()
{
    const FitModel* model = currentFitModel();
    return model ? model->lastParam() : 0;
}

void CurrentParamName(int i, std::string& Name)
{
    if (const FitModel* model = currentFitModel())
        Name = model->paramName(i);
}

double CurrentModelValue(const TVector& B, double x)
{
    const FitModel* model = currentFitModel();
    return model ? model->value(x, B) : 0.0;
}

int FitCurrentModel(TVector& X, TVector& Y, int N, TMatrix& V, TVector& B)
{
    const FitModel* model = currentFitModel();
    if (!model || N < FirstPointIndex)
        return -1;
    ensureSize(B, model->lastParam());
    return model->startFit(X, Y, N, V, B);
}

void CurrentModelDerivatives(const ModelFunction& /*f*/, const TVector& B, TVector& D, double x, double y)
{
    const FitModel* model = currentFitModel();
    if (!model || !model->derivatives)
        return;
    ensureSize(D, model->lastParam());
    model->derivatives(B, D, x, y);
}

ModelFunction CurrentModelFunction()
{
    const FitModel* model = currentFitModel();
    if (!model)
        return [](double, const TVector&) { return 0.0; };
    return model->value;
}

ModelDerivatives CurrentModelDerivativeRoutine()
{
    const FitModel* model = currentFitModel();
    if (!model || !model->derivatives)
        return [](const ModelFunction&, double, double, const TVector&, TVector&) {};
    return [derivatives = model->derivatives, last = model->lastParam()](
               const ModelFunction&, double x, double y, const TVector& B, TVector& D) {
        if (static_cast<int>(D.size()) <= last)
            D.resize(last + 1, 0.0);
        derivatives(B, D, x, y);
    };
}

double PolynomialValue(const TVector& C, int d, double x)
{
    double value = 0.0;
    for (int k = d; k >= 0; --k)
        value = value * x + C[k];
    return value;
}

double RationalValue(const TVector& C, int n, int m, double x)
{
    double q = 0.0;
    for (int k = n + m; k >= n + 1; --k)
        q = (q + C[k]) * x;
    if (q == -1.0) {
        q = -1.00001;
        FitFailed = true;
    }
    return PolynomialValue(C, n, x) / (1.0 + q);
}

void ModelSortByX(TVector& X, TVector& Y, int N)
{
    if (N < 2)
        return;
    // A stable order makes start fits that pick "the last point" independent of the sort.
    std::vector<int> order(N);
    std::iota(order.begin(), order.end(), 1);
    std::stable_sort(order.begin(), order.end(), [&X](int a, int b) { return X[a] < X[b]; });
    const TVector x = X;
    const TVector y = Y;
    for (int i = 1; i <= N; ++i) {
        X[i] = x[order[i - 1]];
        Y[i] = y[order[i - 1]];
    }
}

int FitAndEvaluate(TVector& X, const TMatrix& /*Weights*/, TVector& Y, int N, bool InitialFit, int MaxIter,
                   double Tol, TVector& VrOut, TVector& B, const TVector& Bmin, const TVector& Bmax,
                   TMatrix& V, TVector& Ycalc, TVector& S, FitStatistics& Stats)
{
    const int first = CurrentFirstParam();
    const int last = CurrentLastParam();
    ensureSize(B, last);
    // Without two different x the data say nothing about how y depends on x, whatever the model.
    int code = (InitialFit || MaxIter >= 1) && !xVaries(X, N) ? -1 : 0;
    if (InitialFit && code == 0)
        code = FitCurrentModel(X, Y, N, V, B);
    if (CurrentModel == kModelBoundedGrowth && MaxIter >= 1 && code == 0) {
        TVector lower = Bmin;
        TVector upper = Bmax;
        WidenBoundedGrowthBounds(X, Y, N, lower, upper);
        code = FitNonlinear(CurrentModelFunction(), CurrentModelDerivativeRoutine(), X, Y, N, first, last,
                            MaxIter, Tol, B, lower, upper, V);
    }
    if (CurrentModel == kModelLogistic && MaxIter >= 1 && code == 0 && !FitFailed)
        refineLogistic(X, Y, N, MaxIter, Tol, B, Bmin, Bmax, V);
    ensureSize(Ycalc, N);
    ensureSize(S, N);
    ensureSize(VrOut, 0);
    bool finite = true;
    for (int j = first; j <= last; ++j)
        finite = finite && std::isfinite(B[j]);
    for (int i = FirstPointIndex; i <= N; ++i) {
        Ycalc[i] = CurrentModelValue(B, X[i]);
        finite = finite && std::isfinite(Ycalc[i]);
    }
    RegressionStatistics(Y, Ycalc, N, Stats, first, last);
    VrOut[0] = Stats.Vr;
    for (int i = FirstPointIndex; i <= N; ++i)
        S[i] = std::sqrt(Stats.Vr);
    // An overflowing exponential or a pole must never reach the number text as a result.
    if (!finite || !std::isfinite(Stats.Vr) || !std::isfinite(Stats.R2)) {
        FitFailed = true;
        if (code == 0)
            code = -1;
    }
    return code;
}

} // namespace kurvex
