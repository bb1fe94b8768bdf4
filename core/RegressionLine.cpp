// The linear-regression lesson's numbers.
#include "core/RegressionLine.h"

#include "core/NumberText.h"

#include <algorithm>

namespace kurvex {

double SquaredErrorSum(std::span<const DataPoint> points, LineCoefficients line)
{
    double sum = 0.0;
    for (const DataPoint& p : points) {
        const double d = line.slope * p.x + line.intercept - p.y;
        sum += d * d;
    }
    return sum;
}

std::optional<LineCoefficients> LeastSquaresLine(std::span<const DataPoint> points)
{
    if (points.size() < 2) {
        return std::nullopt;
    }
    const double n = static_cast<double>(points.size());
    double meanX = 0.0;
    double meanY = 0.0;
    for (const DataPoint& p : points) {
        meanX += p.x;
        meanY += p.y;
    }
    meanX /= n;
    meanY /= n;
    double sxx = 0.0;
    double sxy = 0.0;
    for (const DataPoint& p : points) {
        sxx += (p.x - meanX) * (p.x - meanX);
        sxy += (p.x - meanX) * (p.y - meanY);
    }
    if (!(sxx > 0.0)) {
        return LineCoefficients{0.0, meanY};
    }
    const double slope = sxy / sxx;
    return LineCoefficients{slope, meanY - slope * meanX};
}

std::optional<double> MinimumSquaredErrorSum(std::span<const DataPoint> points)
{
    const auto line = LeastSquaresLine(points);
    if (!line) {
        return std::nullopt;
    }
    double meanY = 0.0;
    for (const DataPoint& p : points) {
        meanY += p.y;
    }
    meanY /= static_cast<double>(points.size());
    return std::min(SquaredErrorSum(points, *line), SquaredErrorSum(points, {0.0, meanY}));
}

std::string SquareSumText(std::optional<double> sum)
{
    return sum ? FormatTwoDecimals(*sum) : std::string("\xE2\x80\x93");
}

ValueBar LineValueBar(double min, double max)
{
    return ValueBar{min, max, 1, kLineBarSteps};
}

} // namespace kurvex
