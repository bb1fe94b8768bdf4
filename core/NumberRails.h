// The mappings lesson's computations: its two number rails, the x bar's grid, the animation turn,
// the arrowheads, the order of the arrows, the value labels and the print height.
#pragma once

#include "core/PrintGeometry.h"
#include "core/RecordList.h"
#include "core/WorldWindow.h"
#include "platform/Canvas.h"

#include <array>
#include <optional>
#include <string>
#include <vector>

namespace kurvex {

// One number line's range.
struct RailRange {
    double lo = -7.0;
    double hi = 7.0;
    double span() const { return hi - lo; }
    bool operator==(const RailRange&) const = default;
};

// The x rail (also the Cartesian view's x range) and the f(x) rail (also its y range).
struct Rails {
    RailRange x;
    RailRange f;
    bool operator==(const Rails&) const = default;
};

// "x-Bereich halbieren": each end moves in by a quarter of the span; the centre stays.
RailRange HalvedRail(const RailRange& r);
// "x - Bereich verdoppeln": each end moves out by half the span; the centre stays.
RailRange DoubledRail(const RailRange& r);
// The world-window check on (x rail, f rail) taken as (x range, y range): ends clamped, and both
// rails back to the start window (x1, x2 and y1, y2 of IniSettings) when a span leaves its limits.
Rails CheckedRails(const Rails& rails);

// The Cartesian view's world window: x from the x rail, y from the f(x) rail.
WorldRect CartesianWorld(const Rails& rails);

// The x a pixel column of the plot stands for on the rail: lo + span · column / width.
double RailValueAt(int column, int width, const RailRange& rail);

// The x bar's highest position: 100 positions per tick step of the x rail's own number line,
// kept within 1..kMaxXBarPositions whatever the span.
constexpr int kMaxXBarPositions = 100000;
int XBarMaximum(const RailRange& xRail);

// The animation's direction after x moved: down once x lies beyond the rail's upper end, up once
// it lies below its lower end (both strict), else as it was.
double RailTurn(double x, double step, const RailRange& rail);

// The arrowhead at the end q of an arrow from p: tip q, its base length pixels back along the
// arrow with corners halfWidth pixels to either side; straight up when p and q share a column.
std::array<Point, 3> MappingArrowHead(Point p, Point q, int length, int halfWidth);
// The Cartesian view's arrowhead at the y axis point tip: its base lies length pixels to the right
// when x > 0, else to the left, halfWidth pixels above and below.
std::array<Point, 3> AxisArrowHead(Point tip, double x, int length, int halfWidth);

// The x of every arrow in drawing order: the fixed ones from the last list position to the first
// (the value slot 0 of each record), then the current x.
std::vector<double> ArrowOrder(const RecordList& arrows, double current);

// "x =" and "f(x) =" followed by the number with decimals, or "f(x) = nicht definiert"
// (UTF-8, without the number's trailing blanks).
std::string XValueText(double x, int decimals);
std::string FValueText(std::optional<double> y, int decimals);

// The printed picture keeps the screen's proportions: the plot height follows the printed width
// as the screen plot's height follows its width, and the clip grows to the whole picture (the
// plot height times pictureHeightFactor).
void KeepScreenProportions(PrintLayout& layout, int screenWidth, int screenHeight,
                           double pictureHeightFactor);

} // namespace kurvex
