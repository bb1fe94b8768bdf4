// Geometry a metafile writer needs: clipping lines and polygons into the 16-bit coordinate range.
#pragma once

#include "platform/Canvas.h"

#include <optional>
#include <utility>
#include <vector>

namespace kurvex {

struct DPoint {
    double x = 0.0;
    double y = 0.0;
    bool operator==(const DPoint&) const = default;
};

// Closed box: points on the edges are inside.
struct DBox {
    double left = 0.0;
    double top = 0.0;
    double right = 0.0;
    double bottom = 0.0;
    bool operator==(const DBox&) const = default;
    bool contains(DPoint p) const { return p.x >= left && p.x <= right && p.y >= top && p.y <= bottom; }
};

// The part of segment a-b inside the box, or nothing when it misses the box.
std::optional<std::pair<DPoint, DPoint>> ClipSegment(DPoint a, DPoint b, const DBox& box);

// The polygon cut to the box (Sutherland-Hodgman); edges along the box replace the parts outside.
std::vector<DPoint> ClipPolygon(const std::vector<DPoint>& polygon, const DBox& box);

// A polyline cut to the box: the runs that stay inside, each with at least two points.
std::vector<std::vector<DPoint>> ClipPolyline(const std::vector<DPoint>& line, const DBox& box);

// The dashes of a line drawn with a pattern of on and off lengths (starting with on, repeated
// along the whole line). Each dash is cut short by trim at both ends, where a reader's round caps
// add that much again; a dash too short for it keeps a length of at most one unit.
std::vector<std::vector<DPoint>> DashPolyline(const std::vector<DPoint>& line,
                                              const std::vector<double>& pattern, double trim);

// The lines of a hatch style across a polygon (alternate fill), in each of the style's directions:
// horizontal and vertical lines pitch apart, diagonal ones pitch apart along a row, all at whole
// multiples of the pitch, so neighbouring areas continue each other's hatch. Only the parts at least
// margin away from the outline are kept, so a pen of twice that width stays inside the polygon.
std::vector<std::pair<DPoint, DPoint>> HatchLines(const std::vector<DPoint>& polygon, BrushStyle style,
                                                  double pitch, double margin);

// The outline of an ellipse in the box, or of the pie from the ray through start counter-clockwise
// to the ray through end, as a polygon whose corners lie on the curve, so it stays inside the shape.
std::vector<DPoint> EllipsePolygon(const DBox& box);
std::vector<DPoint> PiePolygon(const DBox& box, DPoint start, DPoint end);

// Rounded to the nearest integer and held inside [lo, hi]; NaN becomes lo.
int RoundClamped(double v, int lo, int hi);

} // namespace kurvex
