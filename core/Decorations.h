// Decorations the lesson windows draw at world points: point disks, slope triangles, help lines to
// the axes, labels and straight-line segments, all on a canvas through the shared mapping.
#pragma once

#include "core/Plotter.h"
#include "platform/Canvas.h"

#include <optional>
#include <string>
#include <utility>

namespace kurvex {

// The pixel of a world point, pulled in to ±100000 pixels: far points keep horizontal and vertical
// lines as they are and the painter within its range.
Point PixelOf(double x, double y);
// The part of the segment between two world points that lies inside the plot rectangle, mapped in
// double so that a far point never overflows a pixel; nothing when no part of it lies inside.
std::optional<std::pair<Point, Point>> PlotSegment(double x0, double y0, double x1, double y1);
// A pen width or size in pixels: factor × DrawScale, rounded.
int ScaledSize(double factor);

// A filled disk of the given pixel radius, outline and fill in colour.
void DrawPointDisk(Canvas& c, double x, double y, int radius, TColor color);

// Corners (x0, y0), (x1, y0), (x1, y1): the horizontal leg and then the vertical one.
struct SlopeTriangle {
    double x0 = 0.0;
    double y0 = 0.0;
    double x1 = 0.0;
    double y1 = 0.0;
};
// With a fill colour the triangle is filled first (outlined with the thin pen in outline); then
// the legs with a pen twice as wide: the horizontal one green, the vertical one red.
void DrawSlopeTriangle(Canvas& c, const SlopeTriangle& t, std::optional<TColor> fill, TColor outline);

// Thin lines from the point straight down or up to the x axis and across to the y axis.
void DrawLinesToAxes(Canvas& c, double x, double y, TColor color, bool toXAxis, bool toYAxis);

// Text whose upper left corner lies dx, dy pixels from the point's pixel.
void DrawLabelAt(Canvas& c, double x, double y, int dx, int dy, const std::string& text);

// The line y = slope · x + intercept from xFrom to xTo through the curve plotter, in color and
// LineWidth on DrawCanvas.
void DrawStraightLine(double slope, double intercept, double xFrom, double xTo, const CurveVariant& variant,
                      TColor color);

} // namespace kurvex
