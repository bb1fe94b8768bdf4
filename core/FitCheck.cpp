// The check of the points before a fit.
#include "core/FitCheck.h"

#include <algorithm>

namespace kurvex {

FitDataCheck CheckFitData(std::span<const PlotPoint> points, int regModel, const FitDegrees& degrees)
{
    FitDataCheck check;
    check.sorted = SortedByX(points);
    const std::size_t count = points.size();
    if (count < 2) {
        check.message = kMorePointsMessage;
        return check;
    }
    check.startValuesAvailable = regModel == kRegSine && count >= kSinePoints;
    const auto fail = [&check](const char* message) {
        check.message = message;
        return check;
    };
    const bool threePointModel = regModel == kRegBoundedGrowth || regModel == kRegPower ||
                                 regModel == kRegQuadratic || regModel == kRegLogistic;
    if (regModel == kRegSine && count < kSinePoints) {
        return fail(kMorePointsMessage);
    }
    if (threePointModel && count < 3) {
        return fail(kMorePointsMessage);
    }
    const auto n = static_cast<long long>(count);
    if (regModel == kRegRational && static_cast<long long>(degrees.numerator) + degrees.denominator + 1 > n) {
        return fail(kMorePointsRationalMessage);
    }
    if (regModel == kRegPolynomial && degrees.polynomial >= n) {
        return fail(kMorePointsPolynomialMessage);
    }
    if (regModel == kRegPower &&
        std::any_of(points.begin(), points.end(), [](const PlotPoint& p) { return p.x <= 0; })) {
        return fail(kPositiveXMessage);
    }
    check.passed = true;
    return check;
}

} // namespace kurvex
