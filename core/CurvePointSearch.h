// The search for a curve's high, low and inflection points, and their disk markers.
#pragma once

#include "platform/Canvas.h"

#include <functional>
#include <optional>
#include <vector>

namespace kurvex {

// f(x), or no value where f is undefined.
using SpecialPointFunction = std::function<std::optional<double>(double)>;

enum class SpecialPointKind { High, Low, Inflection };

struct SpecialPoint {
    SpecialPointKind kind = SpecialPointKind::High;
    double x = 0.0;
    double y = 0.0;
};

// How a difference's sign is read: Standard has sign 0 for a zero difference; ZeroPositive (the
// fitting window) counts zero as positive.
enum class SignVariant { Standard, ZeroPositive };

struct SpecialPointKinds {
    bool high = true;
    bool low = true;
    bool inflection = true;
};

// Scans [xFrom, xTo] in 30 steps and refines each sign change of the first or second difference by
// bisection. Points outside the interval by less than one step may be returned.
std::vector<SpecialPoint> FindSpecialPoints(const SpecialPointFunction& f, double xFrom, double xTo,
                                            SignVariant variant, SpecialPointKinds kinds);

struct SpecialPointStyle {
    TColor highColor = 0x0000FF;
    TColor lowColor = 0xFF0000;
    TColor inflectionColor = 0x008000;
    int markerFactor = 2; // disk radius = round(markerFactor * DrawScale) pixels
};

// Draws a filled disk per point on DrawCanvas, in the world-to-pixel mapping of the plot.
void DrawSpecialPointMarkers(const std::vector<SpecialPoint>& points, const SpecialPointStyle& style);

// Finds the points of the chosen kinds and marks them.
void MarkSpecialPoints(const SpecialPointFunction& f, double xFrom, double xTo, SignVariant variant,
                       SpecialPointKinds kinds, const SpecialPointStyle& style);

} // namespace kurvex
