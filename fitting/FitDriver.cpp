// The fitting window's fit of the checked points.
#include "fitting/FitDriver.h"

#include "numeric/FitModels.h"
#include "numeric/Matrices.h"
#include "numeric/SineFit.h"

#include <algorithm>
#include <cmath>

namespace kurvex {

namespace {

constexpr double kParameterBound = 100000.0;
constexpr int kMaxIterations = 100;
constexpr double kTolerance = 0.001;
// A bounded growth explaining less than this share of the spread is no fit worth showing.
constexpr double kLeastBoundedGrowthR2 = 0.2;

bool allFinite(const std::vector<double>& values)
{
    return std::all_of(values.begin(), values.end(), [](double v) { return std::isfinite(v); });
}

FitOutcome refused()
{
    FitOutcome out;
    out.message = kFitImpossibleMessage;
    return out;
}

// The points as the numeric library takes them: x and y at 1..N.
void toVectors(const std::vector<DataPoint>& points, TVector& X, TVector& Y)
{
    const int n = static_cast<int>(points.size());
    AllocVector(X, n);
    AllocVector(Y, n);
    for (int i = 1; i <= n; ++i) {
        X[i] = points[static_cast<std::size_t>(i - 1)].x;
        Y[i] = points[static_cast<std::size_t>(i - 1)].y;
    }
}

// The report's parts every model shares.
FitReportInput reportOf(const FitOutcome& out, const std::vector<DataPoint>& points, int regModel, int digits)
{
    FitReportInput report;
    report.regModel = regModel;
    report.params = out.params;
    report.points = points;
    report.fitted = out.fitted;
    report.digits = digits;
    return report;
}

FitOutcome fitSine(const std::vector<DataPoint>& points, int digits)
{
    TVector X;
    TVector Y;
    toVectors(points, X, Y);
    const int status = RunSineFit(X, Y, static_cast<int>(points.size()));
    FitOutcome out;
    out.params.assign(SineParams.begin(), SineParams.end());
    if (status == kSineFailed || !allFinite(out.params) || !std::isfinite(SineFitR) ||
        !std::isfinite(SineFitVariance)) {
        return refused();
    }
    ZeroTinyParameters(out.params);
    std::copy(out.params.begin(), out.params.end(), SineParams.begin());
    out.fitted.assign(SineFitCurve.begin() + std::min<std::ptrdiff_t>(1, std::ssize(SineFitCurve)),
                      SineFitCurve.end());
    out.shown = true;
    FitTermInput in;
    in.regModel = kRegSine;
    in.params = out.params;
    in.sineR = SineFitR;
    in.digits = digits;
    out.texts = BuildFitTerm(in);
    out.report = reportOf(out, points, kRegSine, digits);
    out.report.r = SineFitR;
    out.report.r2 = SineFitR * SineFitR;
    out.report.residualVariance = SineFitVariance;
    return out;
}

// The degree vector SelectModel reads for each model.
TVector modelDegrees(int regModel, const FitDegrees& degrees)
{
    TVector N;
    AllocVector(N, 2);
    switch (regModel) {
    case kRegPolynomial:
        N[0] = degrees.polynomial;
        break;
    case kRegRational:
        N[0] = degrees.numerator;
        N[1] = degrees.denominator;
        N[2] = 1.0;
        break;
    case kRegExponential:
        N[0] = 1.0;
        break;
    case kRegQuadratic:
        N[0] = 2.0;
        break;
    default:
        break;
    }
    return N;
}

} // namespace

FitOutcome FitPoints(int regModel, const FitDegrees& degrees, const std::vector<DataPoint>& points,
                     int digits)
{
    if (regModel == kRegSine) {
        return fitSine(points, digits);
    }
    const int model = regModel == kRegQuadratic ? kRegPolynomial : regModel;
    SelectModel(model, 0, modelDegrees(regModel, degrees));
    const int n = static_cast<int>(points.size());
    const int first = CurrentFirstParam();
    const int last = CurrentLastParam();
    TVector X;
    TVector Y;
    toVectors(points, X, Y);
    TVector vrOut;
    TVector B;
    TVector lower;
    TVector upper;
    TMatrix V;
    TVector fitted;
    TVector S;
    AllocVector(vrOut, ModeToIndex());
    AllocVector(B, last);
    AllocVector(lower, last);
    AllocVector(upper, last);
    AllocMatrix(V, last, last);
    AllocVector(fitted, n);
    AllocVector(S, n);
    for (int i = first; i <= last; ++i) {
        lower[i] = -kParameterBound;
        upper[i] = kParameterBound;
    }
    FitFailed = false;
    FitStatistics stats;
    const int code = FitAndEvaluate(X, TMatrix{}, Y, n, true, kMaxIterations, kTolerance, vrOut, B, lower,
                                    upper, V, fitted, S, stats);
    B.resize(static_cast<std::size_t>(last) + 1);
    const bool badGrowth = regModel == kRegBoundedGrowth && (std::fabs(stats.R2) < kLeastBoundedGrowthR2 ||
                                                             std::fabs(stats.R2) > 1.0 + kR2RoundingAboveOne);
    if (code != 0 || FitFailed || badGrowth || !allFinite(B) || !std::isfinite(stats.R2) ||
        !std::isfinite(stats.Vr)) {
        return refused();
    }
    FitOutcome out;
    out.shown = true;
    out.params.assign(B.begin(), B.end());
    ZeroTinyParameters(out.params);
    out.stats = stats;
    out.fitted.assign(fitted.begin() + 1, fitted.end());
    FitTermInput in;
    in.regModel = regModel;
    in.params = out.params;
    in.numeratorDegree = FracNumeratorDegree;
    in.denominatorDegree = FracDenominatorDegree;
    in.r2 = stats.R2;
    in.digits = digits;
    out.texts = BuildFitTerm(in);
    out.report = reportOf(out, points, regModel, digits);
    CurrentFormulaText(out.report.formulaText);
    out.report.firstParam = first;
    for (int i = first; i <= last; ++i) {
        CurrentParamName(i, out.report.paramNames.emplace_back());
    }
    out.report.r = FitCorrelation(in);
    out.report.r2 = ShownR2(stats.R2);
    out.report.residualVariance = stats.Vr;
    return out;
}

} // namespace kurvex
