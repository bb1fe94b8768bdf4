// The grid of a value's scroll bar.
#include "core/ValueBar.h"

#include <algorithm>
#include <cmath>

namespace kurvex {

int ValueBar::maximum() const
{
    return std::max(first, last);
}

int ValueBar::position(double x) const
{
    const double divisor = std::max(1, last);
    const double p = std::nearbyint((x - lo) * divisor / (hi - lo));
    if (std::isnan(p)) {
        return first;
    }
    // Clamped in double first: an int cannot hold what a value far outside its range gives.
    return static_cast<int>(std::clamp(p, double(first), double(maximum())));
}

double ValueBar::value(int position) const
{
    return lo + position * (hi - lo) / std::max(1, last);
}

ParamRange CheckedRange(double min, double max, double startMin, double startMax)
{
    if (min < max && std::isfinite(min) && std::isfinite(max)) {
        return {min, max};
    }
    if (startMin < startMax && std::isfinite(startMin) && std::isfinite(startMax)) {
        return {startMin, startMax};
    }
    return {};
}

} // namespace kurvex
