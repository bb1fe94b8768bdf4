// The trigonometry lesson's picture in world numbers.
#include "core/UnitCircle.h"

#include "core/CoordinateSystem.h"

#include <algorithm>
#include <cmath>

namespace kurvex {

namespace {

constexpr double kPi = std::numbers::pi;
constexpr double kFullTurn = 2.0 * kPi;
// Four significant digits cannot show a value this small as anything but rounding noise.
constexpr double kNoise = 1e-12;

int barPosition(double value, int low, int high)
{
    if (!std::isfinite(value)) {
        return 0;
    }
    return static_cast<int>(std::nearbyint(std::clamp(value, double(low), double(high))));
}

const char* functionName(TrigFunction f)
{
    switch (f) {
    case TrigFunction::Sin:
        return "sin(";
    case TrigFunction::Cos:
        return "cos(";
    case TrigFunction::Tan:
        return "tan(";
    case TrigFunction::Cot:
        return "cot(";
    }
    return "";
}

} // namespace

WorldXY CirclePoint(double angle)
{
    return {kCircleCentreX + std::cos(angle), std::sin(angle)};
}

ArcShape ArcShapeOf(double angle, bool endsOnOnePixel)
{
    if (!std::isfinite(angle) || angle == 0.0) {
        return ArcShape::None;
    }
    const double size = std::abs(angle);
    if (size >= kFullTurn) {
        return ArcShape::FullTurn;
    }
    if (endsOnOnePixel) {
        return size > kPi ? ArcShape::FullTurn : ArcShape::None;
    }
    return ArcShape::Partial;
}

ArcRays ArcRaysOf(double angle)
{
    const WorldXY zero{kTangentLineX, 0.0};
    if (std::abs(angle) >= kFullTurn) {
        return {zero, zero};
    }
    const WorldXY point = CirclePoint(angle);
    return angle < 0.0 ? ArcRays{point, zero} : ArcRays{zero, point};
}

std::optional<double> TangentValue(double x)
{
    const double v = std::tan(x);
    return std::isfinite(v) ? std::optional<double>(v) : std::nullopt;
}

std::optional<double> CotangentValue(double x)
{
    const double s = std::sin(x);
    if (s == 0.0) {
        return std::nullopt;
    }
    const double v = std::cos(x) / s;
    return std::isfinite(v) ? std::optional<double>(v) : std::nullopt;
}

std::optional<double> TangentOnCircle(double angle)
{
    const double c = std::cos(angle);
    if (!(std::abs(c) > kTanCotMinDivisor)) {
        return std::nullopt;
    }
    return std::sin(angle) / c;
}

std::optional<double> CotangentOnCircle(double angle)
{
    const double s = std::sin(angle);
    if (!(std::abs(s) > kTanCotMinDivisor)) {
        return std::nullopt;
    }
    return std::cos(angle) / s;
}

std::vector<double> GraphSampleXs(double from, double to, double step)
{
    if (!std::isfinite(from) || !std::isfinite(to) || !std::isfinite(step) || !(step > 0.0)) {
        return {};
    }
    const double distance = std::abs(to - from);
    double steps = std::floor(distance / step);
    constexpr double kMaxSteps = static_cast<double>(kMaxGraphSamples - 1);
    if (steps > kMaxSteps) {
        step = distance / kMaxSteps;
        steps = kMaxSteps;
    }
    const double direction = to < from ? -1.0 : 1.0;
    std::vector<double> xs;
    xs.reserve(static_cast<std::size_t>(steps) + 1);
    for (std::size_t k = 0; k <= static_cast<std::size_t>(steps); ++k) {
        const double x = from + direction * static_cast<double>(k) * step;
        // k · step may land an ulp beyond the end.
        xs.push_back(direction * (x - to) > 0.0 ? to : x);
    }
    return xs;
}

std::string TrigValueText(TrigFunction function, double angle, double value, bool radianMode)
{
    const std::string angleText =
        radianMode ? FormatAxisLabel(angle) : FormatAxisLabel(angle * 180.0 / kPi) + "\u00B0";
    const double shown = std::abs(value) < kNoise ? 0.0 : value;
    return functionName(function) + angleText + ") = " + FormatAxisLabel(shown);
}

std::vector<AxisMark> AxisMarks(bool radianMode)
{
    if (radianMode) {
        return {
            {"x", false, kFullTurn, -0.1, 1}, {"-p", true, -kPi, 0.37, 2},       {"p", true, kPi, 0.37, 1},
            {"2p", true, kFullTurn, 0.37, 2}, {"p/6", true, kPi / 6.0, -0.1, 3},
        };
    }
    return {
        {"-180\u00B0", false, -kPi, 0.38, 5},     {"180\u00B0", false, kPi, 0.38, 4},
        {"360\u00B0", false, kFullTurn, 0.38, 4}, {"30\u00B0", false, kPi / 6.0, -0.1, 3},
        {"a", true, kFullTurn, -0.1, 1},
    };
}

double AngleOfDegreeBar(int position)
{
    return position * kPi / 180.0;
}

double AngleOfStepBar(int position)
{
    return position * kPi / 12.0;
}

int DegreeBarPosition(double angle)
{
    return barPosition(angle * 180.0 / kPi, kDegreeBarMin, kDegreeBarMax);
}

int StepBarPosition(double angle)
{
    return barPosition(12.0 * angle / kPi, kStepBarMin, kStepBarMax);
}

double AnimationAngleStep(int trigAnimationSteps)
{
    return 0.06981317007977318 / std::max(1, trigAnimationSteps);
}

int TurnAround(double angle, int direction)
{
    if (angle >= kFullTurn) {
        return -1;
    }
    if (angle <= -kPi) {
        return 1;
    }
    return direction < 0 ? -1 : 1;
}

} // namespace kurvex
