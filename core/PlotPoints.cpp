// Points the fitting windows edit with the mouse: snapping, arrow steps, hit test and markers.
#include "core/PlotPoints.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>

namespace kurvex {

namespace {

struct SnapGrid {
    std::string_view caption;
    double divisor;   // grid unit = tick step / divisor
    double arrowStep; // nominal arrow step in world units
};

constexpr std::array<SnapGrid, 5> kGrids{{
    {"Pixel", 50.0, 0.02},
    {"1/1", 1.0, 1.0},
    {"1/2", 2.0, 0.5},
    {"1/4", 4.0, 0.25},
    {"1/10", 10.0, 0.1},
}};

const SnapGrid& grid(int mode)
{
    return kGrids[static_cast<std::size_t>(std::clamp(mode, kSnapModeFirst, kSnapModeLast) - 1)];
}

bool usableStep(double tickStep)
{
    return std::isfinite(tickStep) && tickStep > 0.0;
}

} // namespace

std::string_view SnapCaption(int mode)
{
    return grid(mode).caption;
}

double SnapUnit(int mode, double tickStep)
{
    return tickStep / grid(mode).divisor;
}

double SnapValue(double v, int mode, double tickStep)
{
    if (mode <= kSnapModeFirst || !usableStep(tickStep) || !std::isfinite(v)) {
        return v;
    }
    const double unit = SnapUnit(mode, tickStep);
    return std::nearbyint(v / unit) * unit;
}

double ArrowStep(int mode, double tickStep)
{
    const SnapGrid& g = grid(mode);
    if (!usableStep(tickStep)) {
        return g.arrowStep;
    }
    const double unit = SnapUnit(mode, tickStep);
    // A tick step larger than the nominal step would round it to nothing and freeze the point.
    return std::max(1.0, std::nearbyint(g.arrowStep / unit)) * unit;
}

bool HitTestPoint(int x, int y, Point p, int radius)
{
    return std::abs(x - p.x) < radius && std::abs(y - p.y) < radius;
}

void DrawPointMarker(Canvas& c, Point p, int style, int radius, int penWidth)
{
    const int r = radius;
    const auto cross = [&](bool diagonal) {
        if (diagonal) {
            c.moveTo(p.x - r, p.y - r);
            c.lineTo(p.x + r, p.y + r);
            c.moveTo(p.x - r, p.y + r);
            c.lineTo(p.x + r, p.y - r);
        } else {
            c.moveTo(p.x, p.y - r);
            c.lineTo(p.x, p.y + r);
            c.moveTo(p.x - r, p.y);
            c.lineTo(p.x + r, p.y);
        }
    };
    c.setPenWidth(penWidth);
    switch (style) {
    case 0:
    case 1:
    case 2:
    case 3:
        c.setBrushStyle(style % 2 == 0 ? BrushStyle::Clear : BrushStyle::Solid);
        if (style < 2) {
            c.ellipse(p.x - r, p.y - r, p.x + r, p.y + r);
        } else {
            c.rectangle(p.x - r, p.y - r, p.x + r, p.y + r);
        }
        c.setBrushStyle(BrushStyle::Solid);
        break;
    case 4:
    case 6:
        cross(style == 6);
        break;
    case 5:
    case 7:
        c.setPenWidth(2 * penWidth);
        cross(style == 7);
        c.setPenWidth(penWidth);
        break;
    default:
        break;
    }
}

std::vector<DataPoint> SortedByX(std::span<const PlotPoint> points)
{
    std::vector<DataPoint> out;
    out.reserve(points.size());
    for (const PlotPoint& p : points) {
        out.push_back({p.x, p.y});
    }
    std::stable_sort(out.begin(), out.end(),
                     [](const DataPoint& a, const DataPoint& b) { return a.x < b.x; });
    return out;
}

WorldRect WidenedDataBox(std::span<const DataPoint> points)
{
    if (points.empty()) {
        return {};
    }
    WorldRect box{points.front().x, points.front().x, points.front().y, points.front().y};
    for (const DataPoint& p : points) {
        box.xMin = std::min(box.xMin, p.x);
        box.xMax = std::max(box.xMax, p.x);
        box.yMin = std::min(box.yMin, p.y);
        box.yMax = std::max(box.yMax, p.y);
    }
    const double hx = (box.xMax - box.xMin) / 2.0;
    const double hy = (box.yMax - box.yMin) / 2.0;
    return {box.xMin - hx, box.xMax + hx, box.yMin - hy, box.yMax + hy};
}

} // namespace kurvex
