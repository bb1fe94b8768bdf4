// Computations of the integral-function window.
#include "core/IntegralFunction.h"

#include "core/NumberText.h"

#include <algorithm>
#include <cmath>

namespace kurvex {

namespace {

// One side of the curve: from x0 (or the window's edge it faces) in steps of step up to the far
// bound, while each step can be integrated and evaluations are left.
IntegralSweep sweep(const Integrand& f, double x0, double nearEdge, double farEdge, double step,
                    const IntegralCurveLimits& limits, long& evaluationsLeft)
{
    IntegralSweep s;
    s.step = step;
    const bool rightwards = step > 0;
    const auto beyond = [rightwards](double x, double bound) { return rightwards ? x > bound : x < bound; };
    s.start = x0;
    if (beyond(x0, farEdge)) {
        return s; // the whole side lies outside the window
    }
    long used = 0;
    const Integrand counted = [&f, &used](double t) {
        ++used;
        return f(t);
    };
    const auto integrate = [&](double from, double to, long most) {
        IntegrationLimits l = limits.piece;
        l.maxEvaluations = std::min(most, evaluationsLeft - used);
        return l.maxEvaluations > 0 ? Integrate(counted, from, to, l) : std::nullopt;
    };
    double value = 0.0;
    if (beyond(nearEdge, x0)) {
        // x0 lies before the window: F at the window's edge in one integration.
        s.start = nearEdge;
        const std::optional<double> edge = integrate(x0, nearEdge, limits.piece.maxEvaluations);
        if (!edge) {
            evaluationsLeft -= used;
            return s;
        }
        value = *edge;
    }
    s.values.push_back(value);
    double from = s.start;
    for (long k = 1;; ++k) {
        const double to = s.start + static_cast<double>(k) * step;
        if (beyond(to, farEdge) || to == from) {
            break;
        }
        const std::optional<double> piece = integrate(from, to, limits.piece.maxEvaluations);
        if (!piece) {
            break;
        }
        value += *piece;
        s.values.push_back(value);
        from = to;
    }
    evaluationsLeft -= used;
    return s;
}

} // namespace

Integrand IntegrandOf(const TermTree& f)
{
    return [&f](double t) -> std::optional<double> {
        const double v = EvaluateTerm(f, t, t, t, t, 0.0, 0.0, 0.0);
        if (!EvalOk || !std::isfinite(v)) {
            return std::nullopt;
        }
        return v;
    };
}

std::optional<double> IntegralSweep::valueAt(double x) const
{
    if (values.empty() || step == 0.0) {
        return std::nullopt;
    }
    const double k = std::nearbyint((x - start) / step);
    if (!(k >= 0.0 && k < static_cast<double>(values.size()))) {
        return std::nullopt;
    }
    return values[static_cast<std::size_t>(k)];
}

double IntegralSweep::last() const
{
    return values.empty() ? start : start + static_cast<double>(values.size() - 1) * step;
}

IntegralCurve IntegralCurveOver(const Integrand& f, double x0, double xLeft, double xRight, double dx,
                                const IntegralCurveLimits& limits)
{
    IntegralCurve curve;
    if (!std::isfinite(x0) || !std::isfinite(xLeft) || !std::isfinite(xRight) || !(dx > 0.0) ||
        !(xLeft < xRight)) {
        return curve;
    }
    const double low = xLeft - dx;
    const double high = xRight + dx;
    long evaluationsLeft = limits.totalEvaluations;
    curve.right = sweep(f, x0, low, high, dx, limits, evaluationsLeft);
    curve.left = sweep(f, x0, high, low, -dx, limits, evaluationsLeft);
    return curve;
}

std::vector<std::vector<Point>>
AreaPolygons(int colFrom, int colTo, const std::function<std::optional<int>(int column)>& rowOf, int zeroRow)
{
    std::vector<std::vector<Point>> polygons;
    if (colTo < colFrom) {
        std::swap(colFrom, colTo);
    }
    std::vector<Point> run;
    const auto closeRun = [&] {
        if (!run.empty()) {
            const int right = run.back().x;
            const int left = run.front().x;
            run.push_back({right, zeroRow});
            run.push_back({left, zeroRow});
            polygons.push_back(std::move(run));
            run.clear();
        }
    };
    for (int col = colFrom; col <= colTo; ++col) {
        const std::optional<int> row = rowOf(col);
        if (!row) {
            closeRun();
            continue;
        }
        run.push_back({col, *row});
    }
    closeRun();
    return polygons;
}

int XLabelLeft(int lineColumn, bool rightOfLowerLimit, int textWidth)
{
    return rightOfLowerLimit ? lineColumn + textWidth : lineColumn - 2 * textWidth;
}

std::string IntegralValueText(std::optional<double> value, int decimals)
{
    if (!value || !std::isfinite(*value)) {
        return kUndefinedNumberText;
    }
    return FormatNumber(decimals, *value) + " [FE]";
}

} // namespace kurvex
