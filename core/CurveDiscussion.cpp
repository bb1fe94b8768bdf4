// Computations of the curve-discussion window.
#include "core/CurveDiscussion.h"

#include "core/NumberText.h"
#include "core/Settings.h"

#include <algorithm>
#include <cmath>

namespace kurvex {

namespace {

// The labels show x0 and the values with this many decimals, whatever the settings say.
constexpr int kLabelDecimals = 4;

} // namespace

TermParameters LoadedTermParameters()
{
    return {ParamA, ParamB, ParamC};
}

std::optional<double> DiscussionValue(const TermTree& f, int order, double x, const TermParameters& p)
{
    const double v = order == 0 ? EvaluateTerm(f, x, p.t, p.a, p.b, 0.0, 0.0, 0.0)
                                : EvaluateDerivative(f, order, x, p.t, p.a, p.b, 0.0, 0.0, 0.0);
    if (!EvalOk || !std::isfinite(v)) {
        return std::nullopt;
    }
    return v;
}

std::optional<TangentSegment> DiscussionTangent(const TermTree& f, double x0, const TermParameters& p,
                                                double length, double tickStep)
{
    const std::optional<double> y0 = DiscussionValue(f, 0, x0, p);
    if (!y0) {
        return std::nullopt;
    }
    const std::optional<double> m = DiscussionValue(f, 1, x0, p);
    if (!m) {
        return std::nullopt;
    }
    const double half = TangentHalfLength(*m, length, tickStep);
    if (!std::isfinite(half)) {
        return std::nullopt;
    }
    return TangentSegment{x0, *y0, *m, half};
}

SlopeTriangle UnitSlopeTriangle(const TangentSegment& tangent)
{
    return {tangent.x0, tangent.y0, tangent.x0 + 1.0, tangent.y0 + tangent.m};
}

SweepRange StartSweep(double x0)
{
    return {x0, x0, x0};
}

SweepRange GrowSweep(SweepRange range, double x0)
{
    if (x0 <= range.start) {
        range.min = std::min(range.min, x0);
    } else {
        range.max = std::max(range.max, x0);
    }
    return range;
}

std::string DerivativeLabel(int order, double x0, std::optional<double> value)
{
    const std::string name = order == 2 ? "f''(" : "f'(";
    const std::string shown =
        value ? FormatNumberShort(kLabelDecimals, *value) : std::string(" ") + kUndefinedNumberText;
    return name + FormatNumberShort(kLabelDecimals, x0) + ") =" + shown;
}

} // namespace kurvex
