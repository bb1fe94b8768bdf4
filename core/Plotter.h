// Curve plotter of the lesson windows: samples a curve across the plot and draws it on DrawCanvas.
#pragma once

#include "platform/Canvas.h"

#include <functional>
#include <optional>

namespace kurvex {

// The plotter's constants that differ between windows.
struct CurveVariant {
    int stepPx = 2;             // pixel columns per sample (1 or 2); 0: the window draws no curve
    double jumpInside = 20000;  // rows between two samples up to which a segment inside is drawn
    double jumpLeaving = 20000; // the same for a segment that leaves the plot at the top or bottom
};

// The curve's value at x, or nothing where it is undefined.
using CurveValueFunction = std::function<std::optional<double>(double x)>;

// Lowest and highest world value a sample keeps before it is mapped to a pixel row.
constexpr double kCurveValueLow = -10000.0;
constexpr double kCurveValueHigh = 100000.0;

// Draws the curve from xFrom to xTo with pen CurveColor and width LineWidth x DrawScale; xLeft and
// xRight set the sampling step and where the skip over undefined points ends (every caller passes
// XMin, XMax). A segment is drawn when it stays inside the plot's rows, up to the top or bottom row
// when it leaves them, and never across a jump of the variant's limits or an undefined gap.
void DrawCurve(double xLeft, double xRight, double xFrom, double xTo, const CurveValueFunction& curveValue,
               const CurveVariant& variant);
// The same in the caller's colour and pen width (before DrawScale) instead of CurveColor and
// LineWidth.
void DrawCurve(double xLeft, double xRight, double xFrom, double xTo, const CurveValueFunction& curveValue,
               const CurveVariant& variant, TColor color, int lineWidth);
// How a curve reaches the canvas: line by line, or each unbroken run as one polyline, which a wide
// pen strokes far faster than lines capped one by one.
enum class CurveStroke { Segments, Polylines };

// The same with a pen of the caller's: its colour and its width in device pixels (for a window that
// keeps its own curve pen instead of CurveColor and LineWidth).
void DrawCurveWithPen(double xLeft, double xRight, double xFrom, double xTo,
                      const CurveValueFunction& curveValue, const CurveVariant& variant, TColor color,
                      int width, CurveStroke stroke = CurveStroke::Segments);

} // namespace kurvex
