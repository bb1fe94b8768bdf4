// Decorations at world points.
#include "core/Decorations.h"

#include "core/CoordinateSystem.h"
#include "core/Settings.h"

#include <algorithm>
#include <cmath>

namespace kurvex {

namespace {

constexpr int kFarPixel = 100000;

} // namespace

Point PixelOf(double x, double y)
{
    return {std::clamp(WorldToPixelX(x), -kFarPixel, kFarPixel),
            std::clamp(WorldToPixelY(y), -kFarPixel, kFarPixel)};
}

namespace {

// A point of the segment as a share t of the way from its start, with s = 1 - t computed on its
// own: a point near the far end is then reached from that end without cancellation.
struct SegmentShare {
    double t;
    double s;
};

} // namespace

std::optional<std::pair<Point, Point>> PlotSegment(double x0, double y0, double x1, double y1)
{
    // Cut in world coordinates, where every value is finite, and map only the cut ends, which lie
    // in the plot: no far point is ever scaled to pixels.
    constexpr double kFar = 1e300;
    const double a[2] = {std::clamp(x0, -kFar, kFar), std::clamp(y0, -kFar, kFar)};
    const double b[2] = {std::clamp(x1, -kFar, kFar), std::clamp(y1, -kFar, kFar)};
    const double lo[2] = {XMin, YMin};
    const double hi[2] = {XMax, YMax};
    if (!std::isfinite(x0 + y0 + x1 + y1) || !(XMin < XMax) || !(YMin < YMax) ||
        !std::isfinite(XMax - XMin) || !std::isfinite(YMax - YMin)) {
        return std::nullopt;
    }
    // Liang-Barsky: the shares of the way at which the segment enters and leaves the window.
    SegmentShare enter{0.0, 1.0};
    SegmentShare leave{1.0, 0.0};
    for (int c = 0; c < 2; ++c) {
        const double d = b[c] - a[c];
        if (d == 0.0) {
            if (a[c] < lo[c] || a[c] > hi[c]) {
                return std::nullopt;
            }
            continue;
        }
        const double in = d > 0 ? lo[c] : hi[c];
        const double out = d > 0 ? hi[c] : lo[c];
        const SegmentShare entering{(in - a[c]) / d, (b[c] - in) / d};
        const SegmentShare leaving{(out - a[c]) / d, (b[c] - out) / d};
        if (entering.t > enter.t) {
            enter = entering;
        }
        if (leaving.t < leave.t) {
            leave = leaving;
        }
    }
    if (enter.t > leave.t) {
        return std::nullopt;
    }
    const auto at = [&](SegmentShare share) {
        double p[2];
        for (int c = 0; c < 2; ++c) {
            const double d = b[c] - a[c];
            p[c] = std::clamp(share.t <= 0.5 ? a[c] + share.t * d : b[c] - share.s * d, lo[c], hi[c]);
        }
        const double px = (p[0] - XMin) / (XMax - XMin) * PlotWidth;
        const double py = PlotHeight - (p[1] - YMin) / (YMax - YMin) * PlotHeight;
        return Point{static_cast<int>(std::nearbyint(px)), static_cast<int>(std::nearbyint(py))};
    };
    return std::pair{at(enter), at(leave)};
}

int ScaledSize(double factor)
{
    const double size = std::nearbyint(factor * DrawScale);
    return std::isfinite(size) ? static_cast<int>(std::clamp(size, 0.0, 10000.0)) : 0;
}

void DrawPointDisk(Canvas& c, double x, double y, int radius, TColor color)
{
    const Point p = PixelOf(x, y);
    c.setPen({color, ScaledSize(1), PenStyle::Solid, PenMode::Copy});
    c.setBrush({color, BrushStyle::Solid});
    c.ellipse(p.x - radius, p.y - radius, p.x + radius, p.y + radius);
}

void DrawSlopeTriangle(Canvas& c, const SlopeTriangle& t, std::optional<TColor> fill, TColor outline)
{
    const Point p0 = PixelOf(t.x0, t.y0);
    const Point p1 = PixelOf(t.x1, t.y0);
    const Point p2 = PixelOf(t.x1, t.y1);
    if (fill) {
        c.setPen({outline, ScaledSize(1), PenStyle::Solid, PenMode::Copy});
        c.setBrush({*fill, BrushStyle::Solid});
        c.polygon({p0, p1, p2});
    }
    c.setPen({clGreen, ScaledSize(2), PenStyle::Solid, PenMode::Copy});
    c.moveTo(p0.x, p0.y);
    c.lineTo(p1.x, p1.y);
    c.setPenColor(clRed);
    c.lineTo(p2.x, p2.y);
    c.setPenWidth(ScaledSize(1));
}

void DrawLinesToAxes(Canvas& c, double x, double y, TColor color, bool toXAxis, bool toYAxis)
{
    const Point p = PixelOf(x, y);
    c.setPen({color, ScaledSize(1), PenStyle::Solid, PenMode::Copy});
    if (toXAxis) {
        c.moveTo(p.x, p.y);
        c.lineTo(p.x, PixelOf(x, 0.0).y);
    }
    if (toYAxis) {
        c.moveTo(p.x, p.y);
        c.lineTo(PixelOf(0.0, y).x, p.y);
    }
}

void DrawLabelAt(Canvas& c, double x, double y, int dx, int dy, const std::string& text)
{
    const Point p = PixelOf(x, y);
    c.textOut(p.x + dx, p.y + dy, text);
}

void DrawStraightLine(double slope, double intercept, double xFrom, double xTo, const CurveVariant& variant,
                      TColor color)
{
    DrawCurve(
        XMin, XMax, xFrom, xTo, [slope, intercept](double x) { return slope * x + intercept; }, variant,
        color, LineWidth);
}

} // namespace kurvex
