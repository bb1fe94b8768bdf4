// Points the fitting windows edit with the mouse: the point record and its limit, grid snapping,
// arrow-key steps, the hit test and the eight marker shapes.
#pragma once

#include "core/WorldWindow.h"
#include "platform/Canvas.h"

#include <cstddef>
#include <span>
#include <string_view>
#include <vector>

namespace kurvex {

struct PlotPoint {
    double x = 0.0;
    double y = 0.0;
    TColor color = clBlack;
    int style = 1; // marker shape 0..7 (DrawPointMarker)
    bool operator==(const PlotPoint&) const = default;
};

// A point as the files and the value table carry it.
struct DataPoint {
    double x = 0.0;
    double y = 0.0;
    bool operator==(const DataPoint&) const = default;
};

// Points the mouse and a point file may make; the value table and text files give at most 100.
inline constexpr std::size_t kMaxPlotPoints = 101;
inline constexpr std::size_t kMaxTablePoints = 100;
// A point is hit when the pointer is closer than this many pixels in x and in y.
inline constexpr int kHitRadius = 10;

// Snap modes of the track bar: 1 no grid ("Pixel"), then a half, quarter or tenth of a tick step.
inline constexpr int kSnapModeFirst = 1;
inline constexpr int kSnapModeLast = 5;

// The track bar's caption for a mode: "Pixel", "1/1", "1/2", "1/4", "1/10".
std::string_view SnapCaption(int mode);
// The mode's grid unit on an axis with this tick step: the step / 1, 2, 4, 10 for modes 2 to 5,
// the step / 50 for mode 1 (which snaps nothing, but steps by it with the arrow keys).
double SnapUnit(int mode, double tickStep);
// v moved to the nearest grid line of the mode (halves to the even multiple); mode 1 and an
// unusable tick step leave it as it is.
double SnapValue(double v, int mode, double tickStep);
// How far an arrow key moves a point: the mode's nominal step in whole grid units, at least one.
double ArrowStep(int mode, double tickStep);

// Whether the pixel (x, y) lies within radius pixels of p in both directions (strictly).
bool HitTestPoint(int x, int y, Point p, int radius = kHitRadius);

// The marker of a point at pixel p, half size radius, in the canvas's pen and brush colour:
// 0 circle, 1 disk, 2 square, 3 filled square, 4 upright cross, 5 the same bold,
// 6 diagonal cross, 7 the same bold. Bold strokes use twice the pen width.
void DrawPointMarker(Canvas& c, Point p, int style, int radius, int penWidth);

// The points' coordinates sorted by x; points with equal x keep their order.
std::vector<DataPoint> SortedByX(std::span<const PlotPoint> points);

// The box around the points widened by half its size on every side (a world window showing loaded
// points); a box without extent stays one, for the world check to replace. At least one point.
WorldRect WidenedDataBox(std::span<const DataPoint> points);

} // namespace kurvex
