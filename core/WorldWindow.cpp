// World-window operations of the lesson windows: start window, bounds check, zoom, pan, rubber band,
// and the turn-around of an animated value.
#include "core/WorldWindow.h"

#include "core/CoordinateSystem.h"
#include "core/Settings.h"

#include <cmath>
#include <cstdlib>
#include <utility>

namespace kurvex {

WorldRect currentWorld()
{
    return {XMin, XMax, YMin, YMax};
}

void setWorld(const WorldRect& w)
{
    XMin = w.xMin;
    XMax = w.xMax;
    YMin = w.yMin;
    YMax = w.yMax;
}

WorldRect startWorld()
{
    return {IniSettings.x1, IniSettings.x2, IniSettings.y1, IniSettings.y2};
}

void ResetWorld(double& xMin, double& xMax, double& yMin, double& yMax)
{
    const WorldRect s = startWorld();
    xMin = s.xMin;
    xMax = s.xMax;
    yMin = s.yMin;
    yMax = s.yMax;
}

namespace {

// A usable range: finite ends in increasing order with a span inside the limits.
bool rangeUsable(double lo, double hi, double minSpan, double maxSpan)
{
    if (!std::isfinite(lo) || !std::isfinite(hi) || !(lo < hi)) {
        return false;
    }
    const double span = std::abs(hi - lo);
    return span < maxSpan && span > minSpan;
}

} // namespace

bool CheckWorld(double& xMin, double& xMax, double& yMin, double& yMax, const WorldLimits& limits)
{
    if (xMin < limits.lowest) {
        xMin = limits.lowest;
    }
    if (yMin < limits.lowest) {
        yMin = limits.lowest;
    }
    if (xMax >= limits.highest) {
        xMax = limits.highest;
    }
    if (yMax >= limits.highest) {
        yMax = limits.highest;
    }
    // The reversed and the empty range are checked here too: clamping both ends of a far window
    // (2e5..3e5 gives 2e5..1e5) or a typed 5..-5 would otherwise draw a mirrored picture.
    if (!rangeUsable(xMin, xMax, limits.minSpanX, limits.maxSpanX) ||
        !rangeUsable(yMin, yMax, limits.minSpanY, limits.maxSpanY)) {
        ResetWorld(xMin, xMax, yMin, yMax);
        return true;
    }
    return false;
}

void ResetWorld()
{
    ResetWorld(XMin, XMax, YMin, YMax);
}

bool CheckWorld(const WorldLimits& limits)
{
    return CheckWorld(XMin, XMax, YMin, YMax, limits);
}

WorldRect zoomedOut(const WorldRect& w)
{
    const double hx = (w.xMax - w.xMin) / 2;
    const double hy = (w.yMax - w.yMin) / 2;
    return {w.xMin - hx, w.xMax + hx, w.yMin - hy, w.yMax + hy};
}

WorldRect zoomedIn(const WorldRect& w)
{
    const double qx = (w.xMax - w.xMin) / 4;
    const double qy = (w.yMax - w.yMin) / 4;
    return {w.xMin + qx, w.xMax - qx, w.yMin + qy, w.yMax - qy};
}

WorldRect panned(const WorldRect& w, int dirX, int dirY)
{
    const double dx = (w.xMax - w.xMin) / 10 * (dirX > 0 ? 1 : dirX < 0 ? -1 : 0);
    const double dy = (w.yMax - w.yMin) / 10 * (dirY > 0 ? 1 : dirY < 0 ? -1 : 0);
    return {w.xMin + dx, w.xMax + dx, w.yMin + dy, w.yMax + dy};
}

bool bandZooms(int anchorX, int anchorY, int x, int y)
{
    return std::abs(anchorX - x) > kMinBandPixels && std::abs(anchorY - y) > kMinBandPixels;
}

WorldRect bandToWorld(int anchorX, int anchorY, int x, int y)
{
    int left = anchorX;
    int right = x;
    int top = anchorY;
    int bottom = y;
    if (left > right) {
        std::swap(left, right);
    }
    if (top > bottom) {
        std::swap(top, bottom);
    }
    return {PixelToWorldX(left), PixelToWorldX(right), PixelToWorldY(bottom), PixelToWorldY(top)};
}

double turnAround(double value, double step, double min, double max)
{
    if (value >= max) {
        return -std::abs(step);
    }
    if (value < min) {
        return std::abs(step);
    }
    return step;
}

} // namespace kurvex
