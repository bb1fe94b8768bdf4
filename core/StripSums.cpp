// Upper and lower sums over n strips.
#include "core/StripSums.h"

#include "core/NumberText.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace kurvex {

int BoundedStripCount(double n)
{
    if (std::isnan(n)) {
        return 0;
    }
    return static_cast<int>(std::nearbyint(std::clamp(n, 0.0, static_cast<double>(kMaxStripCount))));
}

namespace {

// Smallest and largest value sampled at x0, x0 + step, ... up to x1 and at x1 itself; nothing as
// soon as one sample is undefined.
Strip sampleStrip(const CurveValueFunction& f, double x0, double x1, double step)
{
    Strip s{x0, x1, std::nullopt, std::nullopt};
    double lo = 0.0;
    double hi = 0.0;
    bool first = true;
    const auto take = [&](double x) {
        const std::optional<double> y = f(x);
        if (!y || !std::isfinite(*y)) {
            return false;
        }
        lo = first ? *y : std::min(lo, *y);
        hi = first ? *y : std::max(hi, *y);
        first = false;
        return true;
    };
    // Counted steps: a step too small to change x can never hold the loop.
    const double inner = step > 0 ? std::floor((x1 - x0) / step) : 0.0;
    const auto steps =
        static_cast<long long>(std::clamp(std::isfinite(inner) ? inner : 0.0, 0.0, kMaxStripSamples));
    for (long long k = 0; k <= steps; ++k) {
        const double x = x0 + static_cast<double>(k) * step;
        if (x > x1) {
            break;
        }
        if (!take(x)) {
            return s;
        }
    }
    if (!take(x1)) {
        return s;
    }
    s.min = lo;
    s.max = hi;
    return s;
}

} // namespace

StripSums ComputeStripSums(const CurveValueFunction& f, double a, double b, int n, double h)
{
    StripSums result;
    if (!std::isfinite(a) || !std::isfinite(b) || !std::isfinite(b - a)) {
        return result;
    }
    if (n < 0) {
        // No strip, and sums of nothing.
        result.upper = 0.0;
        result.lower = 0.0;
        return result;
    }
    n = std::clamp(n, 1, kMaxStripCount);
    if (b < a) {
        std::swap(a, b);
    }
    const double dx = (b - a) / n;
    const double coarsest = (b - a) / kMaxStripSamples;
    const double step = std::isfinite(h) && h >= coarsest ? h : coarsest;
    result.count = n;
    result.strips.reserve(static_cast<std::size_t>(n));
    double upper = 0.0;
    double lower = 0.0;
    bool defined = true;
    for (int i = 1; i <= n; ++i) {
        // Ends from a and the index, the last one exactly b, so no sum of steps drifts past b.
        const double x0 = a + (i - 1) * dx;
        const double x1 = i == n ? b : a + i * dx;
        Strip s = sampleStrip(f, x0, x1, step);
        if (s.min && s.max) {
            lower += *s.min;
            upper += *s.max;
        } else {
            defined = false;
        }
        result.strips.push_back(std::move(s));
    }
    if (defined) {
        result.upper = upper * dx;
        result.lower = lower * dx;
    }
    return result;
}

std::string StripSumText(const std::optional<double>& sum)
{
    if (!sum || !std::isfinite(*sum)) {
        return std::string(" ") + kUndefinedNumberText;
    }
    return FormatNumberShort(4, *sum);
}

} // namespace kurvex
