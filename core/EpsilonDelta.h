// The ε-δ lesson's computations: the image of each half of the δ neighbourhood, the bar grids of
// x0, ε and δ, and the example line "term 1;  term 2; xo = x0".
#pragma once

#include "core/Plotter.h"
#include "core/ValueBar.h"

#include <optional>
#include <string>
#include <string_view>

namespace kurvex {

// Largest ε and δ when the settings file gives none that is above 0.
constexpr double kDefaultMaxRadius = 2.0;
// The radius when it is a number above 0, else the default: every bar position divides by it.
double CheckedMaxRadius(double radius);

// ε and δ: positions 1..200 stand for maxRadius/200 .. maxRadius.
ValueBar RadiusBar(double maxRadius);
// x0: 100 positions per tick step across the window, the first position one step above xMin.
ValueBar PointBar(double xMin, double xMax, double tickStep);

enum class NeighbourhoodSide { Left, Right };

// More samples than this on one half widen the step, so a typed δ of any size costs bounded time;
// a half as wide as a window of 4096 pixels still gets a sample every half pixel, and a wider one
// keeps them over the 2048 pixels next to x0.
constexpr int kMaxImageSamples = 8192;

// The smallest and largest value on one half of the neighbourhood, and where they were found.
struct ImageInterval {
    double min = 0.0;
    double max = 0.0;
    double xAtMin = 0.0;
    double xAtMax = 0.0;
    bool operator==(const ImageInterval&) const = default;
};

// Samples f on one half of the δ neighbourhood of x0: the left half at x0 − δ, x0 − δ + step, ...
// while x < x0, the right half at x0 + δ, x0 + δ − step, ... while x > x0, and then at x0 ∓ h, the
// point next to x0. The far end is always sampled, x0 itself never. The step is h (half a pixel of
// the window); a half that would need more than maxSamples samples is walked in wider steps with
// half of them, and the other half samples the points next to x0 in steps of h. Undefined samples
// are skipped; nothing when none was defined. Of equal extremes the first sample keeps its place.
std::optional<ImageInterval> HalfNeighbourhoodImage(const CurveValueFunction& f, double x0, double delta,
                                                    double h, NeighbourhoodSide side,
                                                    int maxSamples = kMaxImageSamples);

// One line of the example list: the two pieces and the text x0 was shown with.
struct LimitExample {
    std::string term1;
    std::string term2;
    std::string x0Text;
    bool operator==(const LimitExample&) const = default;
};
// term1 + ";  " + term2 + "; xo = " + x0Text.
std::string ComposeLimitExample(const LimitExample& example);
// The parts of a line as ComposeLimitExample writes it, also with other blanks around them: term
// 1 before the first ";", term 2 up to the ";" before "xo =", x0 every character after "xo =" but
// the blanks around it. A part that is missing is empty.
LimitExample ParseLimitExample(std::string_view line);

} // namespace kurvex
