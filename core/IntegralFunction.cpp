// Computations of the integral-function window.
#include "core/IntegralFunction.h"

#include "core/NumberText.h"

#include <algorithm>
#include <cmath>

namespace kurvex {

namespace {

// A step of a sweep first tries this much: most steps settle at once, and one that does not is
// integrated on its own.
IntegrationLimits quickStep(const IntegrationLimits& piece)
{
    IntegrationLimits l = piece;
    l.maxDepth = 8;
    l.maxEvaluations = 128;
    return l;
}

// The integral of |f| across the window as a coarse trapezoid rule of kCells cells sees it
// (undefined points count 0): the size of which the sweeps' tolerance is a share.
constexpr int kCells = 64;
double windowSize(const Integrand& f, double xLeft, double xRight)
{
    const double h = (xRight - xLeft) / kCells;
    double sum = 0.0;
    for (int i = 0; i <= kCells; ++i) {
        if (const std::optional<double> v = f(xLeft + i * h)) {
            sum += (i == 0 || i == kCells ? 0.5 : 1.0) * std::abs(*v);
        }
    }
    return sum * h;
}

// One side of the curve: from x0 (or the window's edge it faces) in steps of step up to the far
// bound, while each step can be integrated. Each step's allowed error is its share of the
// window's size, so the errors of all steps add up to the tolerance relative to that size.
IntegralSweep sweep(const Integrand& f, double x0, double nearEdge, double farEdge, double step,
                    const IntegralCurveLimits& limits, double stepTolerance, long& evaluationsLeft)
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
    // The limits of one integration, within the evaluations the curve has left.
    const auto allowed = [&](const IntegrationLimits& base) {
        IntegrationLimits l = base;
        l.maxEvaluations = std::min(base.maxEvaluations, evaluationsLeft - used);
        return l;
    };
    const IntegrationLimits quick = quickStep(limits.piece);
    double value = 0.0;
    if (beyond(nearEdge, x0)) {
        // x0 lies before the window: F at the window's edge in one integration.
        s.start = nearEdge;
        const std::optional<double> edge = Integrate(counted, x0, nearEdge, allowed(limits.piece));
        if (!edge) {
            evaluationsLeft -= used;
            return s;
        }
        value = *edge;
    }
    s.values.push_back(value);
    double from = s.start;
    std::optional<double> fFrom = counted(from);
    for (long k = 1; fFrom && used < evaluationsLeft; ++k) {
        const double to = s.start + static_cast<double>(k) * step;
        if (beyond(to, farEdge) || to == from) {
            break;
        }
        std::optional<IntegratedPiece> piece =
            IntegratePiece(counted, from, *fFrom, to, stepTolerance, allowed(quick));
        if (!piece) {
            // A jump, a steep part or a pole: this step on its own, to its own size.
            const std::optional<double> alone = Integrate(counted, from, to, allowed(limits.piece));
            const std::optional<double> fTo = alone ? counted(to) : std::nullopt;
            if (!alone || !fTo) {
                break;
            }
            piece = IntegratedPiece{*alone, *fTo};
        }
        value += piece->value;
        s.values.push_back(value);
        from = to;
        fFrom = piece->fTo;
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
    curve.x0 = x0;
    if (!std::isfinite(x0) || !std::isfinite(xLeft) || !std::isfinite(xRight) || !(dx > 0.0) ||
        !(xLeft < xRight)) {
        return curve;
    }
    const double low = xLeft - dx;
    const double high = xRight + dx;
    const double stepTolerance =
        limits.piece.relativeTolerance * windowSize(f, xLeft, xRight) * dx / (xRight - xLeft);
    long evaluationsLeft = limits.totalEvaluations - (kCells + 1);
    curve.right = sweep(f, x0, low, high, dx, limits, stepTolerance, evaluationsLeft);
    curve.left = sweep(f, x0, high, low, -dx, limits, stepTolerance, evaluationsLeft);
    return curve;
}

std::optional<double> IntegralAt(const Integrand& f, const IntegralCurve& curve, double x0, double x,
                                 const IntegrationLimits& limits)
{
    const IntegralSweep& side = x < x0 ? curve.left : curve.right;
    if (curve.x0 == x0 && !side.values.empty() && side.step != 0.0) {
        const double k = std::nearbyint((x - side.start) / side.step);
        if (k >= 0.0 && k < static_cast<double>(side.values.size())) {
            const double sampled = side.start + k * side.step;
            const std::optional<double> rest = Integrate(f, sampled, x, limits);
            if (rest) {
                return side.values[static_cast<std::size_t>(k)] + *rest;
            }
        }
    }
    return Integrate(f, x0, x, limits);
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

int XLabelTop(const Rect& label, const std::vector<Rect>& tickLabels, int gap)
{
    int top = label.top;
    for (const Rect& tick : tickLabels) {
        const bool near = label.left < tick.right + gap && tick.left < label.right + gap &&
                          label.top < tick.bottom && tick.top < label.bottom;
        if (near) {
            top = std::max(top, tick.bottom + 1);
        }
    }
    return top;
}

std::string IntegralValueText(std::optional<double> value, int decimals)
{
    if (!value || !std::isfinite(*value)) {
        return kUndefinedNumberText;
    }
    return FormatNumber(decimals, *value) + " [FE]";
}

} // namespace kurvex
