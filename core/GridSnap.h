// Point snapping to a fraction of the tick step, and the step of the arrow keys: one rule for every
// window where points are placed and moved with the mouse and the keys.
#pragma once

#include <string>

namespace kurvex {

// Positions of the snap track bar: 1 "Pixel" (no snapping), 2 "1/1", 3 "1/2", 4 "1/4", 5 "1/10".
constexpr int kSnapModeCount = 5;
constexpr int kSnapPixel = 1;

// The track bar's caption for a mode ("Pixel", "1/1", ...); modes out of range count as "Pixel".
std::string SnapModeText(int mode);

// The grid of a mode on an axis with the given tick step: tickStep / k with k = 1, 2, 4, 10 for
// modes 2 to 5; no grid (0) in mode 1, for an unusable tick step, or a mode out of range.
double SnapUnit(double tickStep, int mode);

// v on the grid of the mode (round to the nearest grid line, halves to even); v itself without a
// grid or where the grid cannot hold it.
double SnapValue(double v, double tickStep, int mode);

struct SnapPoint {
    double x = 0.0;
    double y = 0.0;
};
SnapPoint SnapToGrid(double x, double y, double xTickStep, double yTickStep, int mode);

// One press of an arrow key: the multiple of tickStep / k nearest to the mode's nominal step
// ((k, nominal) = (50, 0.02), (1, 1), (2, 0.5), (4, 0.25), (10, 0.1) for modes 1 to 5), but at
// least one such unit, so a key always moves the point. 0 only for an unusable tick step.
double ArrowStep(double tickStep, int mode);

} // namespace kurvex
