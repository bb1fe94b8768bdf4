// Point snapping to a fraction of the tick step, and the step of the arrow keys.
#include "core/GridSnap.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace kurvex {

namespace {

struct ModeRule {
    const char* text;
    double divisor;     // grid unit = tick step / divisor (mode 1: only for the arrow keys)
    double nominalStep; // what one arrow press should move, in world units
};

constexpr std::array<ModeRule, kSnapModeCount> kRules{{
    {"Pixel", 50.0, 0.02},
    {"1/1", 1.0, 1.0},
    {"1/2", 2.0, 0.5},
    {"1/4", 4.0, 0.25},
    {"1/10", 10.0, 0.1},
}};

const ModeRule& rule(int mode)
{
    return kRules[static_cast<std::size_t>(std::clamp(mode, 1, kSnapModeCount) - 1)];
}

bool usableStep(double tickStep)
{
    return std::isfinite(tickStep) && tickStep > 0.0;
}

} // namespace

std::string SnapModeText(int mode)
{
    return rule(mode).text;
}

double SnapUnit(double tickStep, int mode)
{
    if (mode <= kSnapPixel || mode > kSnapModeCount || !usableStep(tickStep)) {
        return 0.0;
    }
    return tickStep / rule(mode).divisor;
}

double SnapValue(double v, double tickStep, int mode)
{
    const double unit = SnapUnit(tickStep, mode);
    if (unit == 0.0 || !std::isfinite(v)) {
        return v;
    }
    const double snapped = std::nearbyint(v / unit) * unit;
    return std::isfinite(snapped) ? snapped : v;
}

SnapPoint SnapToGrid(double x, double y, double xTickStep, double yTickStep, int mode)
{
    return {SnapValue(x, xTickStep, mode), SnapValue(y, yTickStep, mode)};
}

double ArrowStep(double tickStep, int mode)
{
    if (!usableStep(tickStep)) {
        return 0.0;
    }
    const ModeRule& r = rule(mode);
    const double unit = tickStep / r.divisor;
    // A tick step much larger than the nominal step would round the step to nothing.
    return std::max(1.0, std::nearbyint(r.nominalStep / unit)) * unit;
}

} // namespace kurvex
