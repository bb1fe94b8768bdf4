// The sequences lesson's computations: limit estimate, n0, the table of terms and the world rule.
#include "core/SequenceLimit.h"

#include "core/Settings.h"

#include <array>
#include <charconv>
#include <cmath>

namespace kurvex {

double RoundToSignificantDigits(double v, int digits)
{
    if (!std::isfinite(v)) {
        return v;
    }
    std::array<char, 64> text{};
    const auto written =
        std::to_chars(text.data(), text.data() + text.size(), v, std::chars_format::general, digits);
    double result = v;
    std::from_chars(text.data(), written.ptr, result);
    return result;
}

LimitEstimate EstimateLimit(const SequenceFunction& a)
{
    const double n = a(10000.0) ? 10000.0 : 5.0;
    const auto a1 = a(n);
    const auto a2 = a(n + 1);
    const auto a3 = a(10 * n);
    const auto a4 = a(10 * n + 1);
    // Values that do not exist cannot show where the terms go.
    if (!a1 || !a2 || !a3 || !a4) {
        return {};
    }
    const double far = std::abs(*a3 - *a4);
    if (!(far <= std::abs(*a1 - *a2))) {
        return {};
    }
    double g = RoundToSignificantDigits((*a3 + *a4) / 2, 6);
    if (!std::isfinite(g)) {
        return {};
    }
    LimitEstimate estimate;
    estimate.accepted = far < 0.001 && std::abs(g) < 1000;
    if (std::abs(g) < 0.00001) {
        g = 0.0;
    }
    estimate.g = g;
    return estimate;
}

std::vector<std::optional<double>> SequenceTable(const SequenceFunction& a, int count)
{
    std::vector<std::optional<double>> table;
    table.reserve(static_cast<std::size_t>(std::max(count, 0)));
    for (int n = 1; n <= count; ++n) {
        table.push_back(a(n));
    }
    return table;
}

std::optional<int> FindN0(std::span<const std::optional<double>> table, double g, double eps)
{
    // One pass: the run of consecutive terms inside the band that ends at index i.
    constexpr std::size_t kNeeded = kN0Window + 1;
    const std::size_t last = std::min(table.size(), static_cast<std::size_t>(kLastN0Start) + kN0Window);
    std::size_t run = 0;
    for (std::size_t i = 0; i < last; ++i) {
        const auto& v = table[i];
        run = v && std::abs(g - *v) < eps ? run + 1 : 0;
        if (run == kNeeded) {
            return static_cast<int>(i + 1 - kN0Window);
        }
    }
    return std::nullopt;
}

// ---------------------------------------------------------------------------------------------
// World window

namespace {

// A range whose ends are finite and whose signed span lies within the limits.
bool spanWithin(double lo, double hi, double minSpan, bool minInside, double maxSpan)
{
    if (!std::isfinite(lo) || !std::isfinite(hi)) {
        return false;
    }
    const double span = hi - lo;
    return (minInside ? span >= minSpan : span > minSpan) && span < maxSpan;
}

} // namespace

WorldRect SequenceStartWorld()
{
    WorldRect w{-1.0, 15.0, IniSettings.y1, IniSettings.y2};
    // The settings keep their start window sound; should they not, the built-in one serves.
    if (!spanWithin(w.yMin, w.yMax, 1e-7, false, 1e7)) {
        const IniSettingsRecord defaults;
        w.yMin = defaults.y1;
        w.yMax = defaults.y2;
    }
    return w;
}

WorldRect SequenceOpeningWorld()
{
    WorldRect w = SequenceStartWorld();
    w.xMin = -1.5;
    w.xMax = 18.0;
    return w;
}

WorldRect CheckedSequenceWorld(const WorldRect& in)
{
    const WorldLimits bounds;
    WorldRect w = in;
    if (w.xMin < bounds.lowest) {
        w.xMin = bounds.lowest;
    }
    if (w.yMin < bounds.lowest) {
        w.yMin = bounds.lowest;
    }
    if (w.xMax >= bounds.highest) {
        w.xMax = bounds.highest;
    }
    if (w.yMax >= bounds.highest) {
        w.yMax = bounds.highest;
    }
    w.xMin = -w.xMax / 12;
    // The signed spans: XMax below 0 makes XMin the larger end and a negative span, which falls
    // back instead of drawing a mirrored picture.
    if (!spanWithin(w.xMin, w.xMax, 2.0, true, 1000.0) || !spanWithin(w.yMin, w.yMax, 1e-7, false, 1e7)) {
        return SequenceStartWorld();
    }
    return w;
}

} // namespace kurvex
