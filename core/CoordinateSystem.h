// World-to-pixel mapping, tick steps and the coordinate-system painter on DrawCanvas.
#pragma once

#include "platform/Canvas.h"

#include <cstdint>
#include <string>
#include <vector>

namespace kurvex {

// Pixel coordinates are clamped to this magnitude, so a far point still compares as far away
// (the curve plotters test jumps of up to 20000000 pixels) and differences fit an int.
constexpr int kPixelLimit = 1'000'000'000;
// More tick intervals than this on one axis means a user step unfit for the current window.
constexpr std::int64_t kMaxTickCount = 500;

// round((x - XMin) / (XMax - XMin) * PlotWidth), halves to even, clamped to +-kPixelLimit.
// A world window of zero or undefined width maps everything to column 0.
int WorldToPixelX(double x);
// round(PlotHeight - (y - YMin) / (YMax - YMin) * PlotHeight); a degenerate window gives PlotHeight.
int WorldToPixelY(double y);
double PixelToWorldX(int px);
double PixelToWorldY(int py);

// 10^n by repeated multiplication with 10 (or 0.1 for negative n).
double PowerOfTen(int n);
// ln v * 0.434294481: deliberately a little below log10, which the tick rule relies on.
double Log10(double v);

// Automatic 1-2-5 step for an axis span; spans of 0, NaN or infinity give 1.
double AutoTickStep(double span);
// Set XTickStep/AutoXTickStep (and the y pair) from the world window and the tick settings.
void ComputeXTickStep();
void ComputeYTickStep();

// Four significant digits, decimal comma; scientific ("2E+04") beyond 4 integer digits or
// below 0.00001 in magnitude.
std::string FormatAxisLabel(double v);

// Axes with arrow heads, grid, ticks, labels and captions on DrawCanvas; the x axis in multiples
// of π as PiAxis says.
void DrawCoordinateSystem();
// The same with the x axis in multiples of π or not, whatever PiAxis says.
void DrawCoordinateSystem(bool piAxis);

// Where DrawCoordinateSystem puts the labels of the x ticks on canvas c, in pixels of the plot,
// so that a window's own text beside the axis can keep clear of them. Leaves the tick steps as
// they were.
std::vector<Rect> XTickLabelBoxes(Canvas& c);

} // namespace kurvex
