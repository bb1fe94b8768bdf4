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

void DrawStraightLine(double slope, double intercept, double xFrom, double xTo, const CurveVariant& variant)
{
    DrawCurve(
        XMin, XMax, xFrom, xTo, [slope, intercept](double x) { return slope * x + intercept; }, variant);
}

} // namespace kurvex
