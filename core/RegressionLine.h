// The linear-regression lesson's numbers: the sum of squared errors of a line through the points,
// the least-squares line, the smallest sum a line reaches, and the grid of the m and c scroll bars.
#pragma once

#include "core/PlotPoints.h"
#include "core/ValueBar.h"

#include <optional>
#include <span>
#include <string>

namespace kurvex {

// y = slope * x + intercept.
struct LineCoefficients {
    double slope = 0.0;
    double intercept = 0.0;
};

// The sum over the points of (slope * x + intercept - y)^2.
double SquaredErrorSum(std::span<const DataPoint> points, LineCoefficients line);

// The least-squares line at full precision, from the deviations about the means. With all x equal
// every line through (x, mean y) is as good as another, and the level one is given. Nothing for
// fewer than 2 points.
std::optional<LineCoefficients> LeastSquaresLine(std::span<const DataPoint> points);

// The smallest sum of squared errors any line reaches: that of the least-squares line (or of the
// level line through the mean where rounding makes a steep line worse). Nothing for fewer than 2
// points.
std::optional<double> MinimumSquaredErrorSum(std::span<const DataPoint> points);

// A sum as the labels show it: two decimals, or "–" for none.
std::string SquareSumText(std::optional<double> sum);

// Positions of the m and c scroll bars: 1 to kLineBarSteps over the range.
inline constexpr int kLineBarSteps = 1000;
ValueBar LineValueBar(double min, double max);

} // namespace kurvex
