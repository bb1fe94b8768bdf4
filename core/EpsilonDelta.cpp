// The ε-δ lesson's computations.
#include "core/EpsilonDelta.h"

#include <algorithm>
#include <cmath>

namespace kurvex {

namespace {

constexpr int kRadiusPositions = 200;
constexpr double kPointPositionsPerTick = 100.0;
// A window of more ticks than the tick rule ever gives; bounds the bar before it becomes an int.
constexpr double kMaxPointPositions = 1e6;

std::string_view trimmedBlanks(std::string_view s)
{
    const std::size_t first = s.find_first_not_of(' ');
    if (first == std::string_view::npos) {
        return {};
    }
    return s.substr(first, s.find_last_not_of(' ') - first + 1);
}

} // namespace

double CheckedMaxRadius(double radius)
{
    return std::isfinite(radius) && radius > 0.0 ? radius : kDefaultMaxRadius;
}

ValueBar RadiusBar(double maxRadius)
{
    return {0.0, CheckedMaxRadius(maxRadius), 1, kRadiusPositions};
}

ValueBar PointBar(double xMin, double xMax, double tickStep)
{
    double positions = std::nearbyint((xMax - xMin) / tickStep * kPointPositionsPerTick);
    if (!std::isfinite(positions)) {
        positions = 1.0;
    }
    return {xMin, xMax, 1, static_cast<int>(std::clamp(positions, 1.0, kMaxPointPositions))};
}

std::optional<ImageInterval> HalfNeighbourhoodImage(const CurveValueFunction& f, double x0, double delta,
                                                    double h, NeighbourhoodSide side, int maxSamples)
{
    const bool left = side == NeighbourhoodSide::Left;
    const double start = left ? x0 - delta : x0 + delta;
    // x0 itself is never sampled; far from 0, x0 - h may equal x0.
    const auto inHalf = [left, x0](double x) { return left ? x < x0 : x > x0; };
    std::optional<ImageInterval> image;
    const auto take = [&f, &image](double x) {
        const std::optional<double> y = f(x);
        if (!y) {
            return;
        }
        if (!image) {
            image = ImageInterval{*y, *y, x, x};
            return;
        }
        if (*y > image->max) {
            image->max = *y;
            image->xAtMax = x;
        }
        if (*y < image->min) {
            image->min = *y;
            image->xAtMin = x;
        }
    };

    // Samples are counted, never walked to x0: once x0 is far from 0, x + h may equal x.
    const double samples = delta > 0.0 && h > 0.0 ? std::ceil(delta / h) : 1.0;
    const int budget = std::max(2, maxSamples);
    const bool everyHalfPixel = samples < budget;
    // A half too wide for the budget is walked in wider steps with one half of it, and the other
    // half keeps steps of h next to x0, where the picture is.
    const int farCount = everyHalfPixel ? static_cast<int>(samples) : budget / 2;
    const double farStep = everyHalfPixel ? h : delta / farCount;
    for (int i = 0; i < farCount; ++i) {
        const double x = left ? start + i * farStep : start - i * farStep;
        if (i > 0 && !inHalf(x)) {
            break;
        }
        take(x);
    }
    // The points next to x0, nearest last, so the image reaches as close to x0 as the pixels go.
    const int nearCount = h > 0.0 && h < delta ? (everyHalfPixel ? 1 : budget - farCount) : 0;
    for (int k = nearCount; k >= 1; --k) {
        const double x = left ? x0 - k * h : x0 + k * h;
        if (inHalf(x) && (left ? x >= start : x <= start)) {
            take(x);
        }
    }
    return image;
}

std::string ComposeLimitExample(const LimitExample& example)
{
    return example.term1 + ";  " + example.term2 + "; xo = " + example.x0Text;
}

LimitExample ParseLimitExample(std::string_view line)
{
    LimitExample example;
    const std::size_t p1 = line.find(';');
    example.term1 = trimmedBlanks(line.substr(0, p1));
    if (p1 == std::string_view::npos) {
        return example;
    }
    const std::size_t p2 = line.find("xo =", p1);
    std::string_view middle = line.substr(p1 + 1, p2 == std::string_view::npos ? p2 : p2 - p1 - 1);
    if (p2 != std::string_view::npos) {
        middle = middle.substr(0, middle.rfind(';'));
        example.x0Text = trimmedBlanks(line.substr(p2 + 4));
    }
    example.term2 = trimmedBlanks(middle);
    return example;
}

} // namespace kurvex
