// The trigonometry lesson's settings: step divisor, saving under the saved world, print scale.
#include "core/TrigonometrySettings.h"

#include "core/Settings.h"
#include "core/SettingsRules.h"
#include "core/UnitCircle.h"

#include <algorithm>
#include <cmath>

namespace kurvex {

namespace {

// Centimetres one x tick (π/6) prints at 100 %.
constexpr double kCmPerXTick = 0.5263;
constexpr double kMaxPrintPixels = 1e6;

int roundedPixels(double v)
{
    return static_cast<int>(std::nearbyint(std::clamp(v, 1.0, kMaxPrintPixels)));
}

// Sets the world window when it goes, also when a save throws.
class WorldAfterwards {
public:
    explicit WorldAfterwards(const WorldRect& w) : world_(w) {}
    ~WorldAfterwards() { setWorld(world_); }
    WorldAfterwards(const WorldAfterwards&) = delete;
    WorldAfterwards& operator=(const WorldAfterwards&) = delete;

private:
    WorldRect world_;
};

} // namespace

int TrigAnimationStepsFromText(std::string_view text)
{
    const auto v = ParseInteger(text);
    return v && *v >= 1 && *v <= 20 ? *v : 2;
}

WorldRect SavedWorld()
{
    return {SavedXMin, SavedXMax, SavedYMin, SavedYMax};
}

std::string SaveSettingsWithWorld(const WorldRect& inFile, const WorldRect& afterwards)
{
    const WorldAfterwards restore(afterwards);
    setWorld(inFile);
    return SaveSettings();
}

void ApplyTrigPrintScale(PrintLayout& layout, const TrigPrintRequest& r)
{
    const auto positive = [](double v) { return std::isfinite(v) && v > 0.0; };
    const int usableWidth = r.plotWidth - r.plotLeft;
    const int usableHeight = r.plotHeight - r.plotTop;
    if (usableWidth <= 0 || usableHeight <= 0 || !positive(r.autoXTickStep) || !positive(r.autoYTickStep) ||
        !positive(r.ySpan) || !positive(layout.pxPerCmX) || !positive(layout.pxPerCmY)) {
        return;
    }
    const double size = std::clamp(r.sizePercent, kMinPrintSizePercent, kMaxPrintSizePercent) / 100.0;
    const double xSpan = kTrigWorld.xMax - kTrigWorld.xMin;
    const double fx = size * kCmPerXTick * xSpan / r.autoXTickStep / usableWidth * layout.pxPerCmX;
    const double fy = r.ySpan * size / r.autoYTickStep / usableHeight * layout.pxPerCmY;
    layout.plotWidth = roundedPixels(r.plotWidth * fx);
    layout.plotHeight = roundedPixels(r.plotHeight * fy);
    layout.drawScale = fy;
    const int extra = static_cast<int>(std::nearbyint(std::min(fy, kMaxPrintPixels)));
    layout.clip = Rect{layout.originX, layout.originY, layout.originX + layout.plotWidth + extra,
                       layout.originY + layout.plotHeight + extra};
    layout.fontPoints = PrintFontPoints(layout.screenFontPoints, fy, layout.logPixelsX);
    if (layout.logPixelsX > 0) {
        layout.fontPixelHeight = PointsToPixels(layout.fontPoints, layout.logPixelsX);
    }
}

} // namespace kurvex
