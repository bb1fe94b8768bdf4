// Geometry of a printed or exported picture: plot size, scale, origin, clip, font size, file name.
#include "core/PrintGeometry.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <filesystem>

namespace kurvex {

namespace {

// The printed picture may be large, but its pixel numbers must stay far from int overflow.
constexpr double kMaxPrintPixels = 1e6;
// The factor that turns pixels per centimetre into the printer's DrawScale.
constexpr double kPrintScalePerPxPerCm = 0.020532;

bool positive(double v)
{
    return std::isfinite(v) && v > 0.0;
}

int roundToInt(double v, double limit)
{
    return static_cast<int>(std::nearbyint(std::clamp(v, -limit, limit)));
}

} // namespace

std::optional<PrintLayout> ComputePrintLayout(const DeviceCaps& caps, const PrintRequest& r)
{
    if (caps.horzRes <= 0 || caps.vertRes <= 0 || caps.horzSize <= 0 || caps.vertSize <= 0 ||
        caps.logPixelsX <= 0) {
        return std::nullopt;
    }
    const int usableWidth = r.plotWidth - r.plotLeft;
    const int usableHeight = r.plotHeight - r.plotTop;
    if (usableWidth <= 0 || usableHeight <= 0 || !positive(r.xSpan) || !positive(r.ySpan) ||
        !positive(r.autoXTickStep) || !positive(r.autoYTickStep)) {
        return std::nullopt;
    }
    const double size = std::clamp(r.sizePercent, kMinPrintSizePercent, kMaxPrintSizePercent) / 100.0;

    PrintLayout l;
    l.pxPerCmX = caps.horzRes * 10.0 / caps.horzSize;
    l.pxPerCmY = caps.vertRes * 10.0 / caps.vertSize;

    const double fx = r.xSpan * size / r.autoXTickStep / usableWidth * l.pxPerCmX;
    const double fy = r.ySpan * size / r.autoYTickStep / usableHeight * l.pxPerCmY;
    l.plotWidth = std::max(1, roundToInt(r.plotWidth * fx, kMaxPrintPixels));
    l.plotHeight = std::max(1, roundToInt(r.plotHeight * fy, kMaxPrintPixels));

    l.drawScale = size * kPrintScalePerPxPerCm * l.pxPerCmX;

    l.originX = roundToInt(l.pxPerCmX * r.marginLeftCm, kMaxPrintPixels) + caps.physicalOffsetX;
    l.originY = roundToInt(l.pxPerCmY * r.marginTopCm, kMaxPrintPixels) + caps.physicalOffsetY;

    if (r.clip == PrintClip::Page) {
        l.clip = Rect{l.originX, l.originY, caps.horzRes, caps.vertRes};
    } else {
        const int extra = roundToInt(l.drawScale, kMaxPrintPixels);
        l.clip =
            Rect{l.originX, l.originY, l.originX + l.plotWidth + extra, l.originY + l.plotHeight + extra};
    }

    l.logPixelsX = caps.logPixelsX;
    l.screenFontPoints = r.screenFontPoints;
    l.fontPoints = PrintFontPoints(r.screenFontPoints, l.drawScale, caps.logPixelsX);
    l.fontPixelHeight = PointsToPixels(l.fontPoints, caps.logPixelsX);
    return l;
}

double PrintFitFactor(const PrintLayout& layout, const DeviceCaps& caps, double heightFactor)
{
    const double extra = std::nearbyint(std::clamp(layout.drawScale, 0.0, kMaxPrintPixels));
    const double needX = layout.plotWidth + extra;
    const double needY = std::nearbyint(layout.plotHeight * std::clamp(heightFactor, 1.0, 4.0)) + extra;
    const double roomX = caps.horzRes - layout.originX;
    const double roomY = caps.vertRes - layout.originY;
    // A page without room beyond the origin cannot take any picture; shrinking does not help.
    if (roomX <= 0.0 || roomY <= 0.0 || needX <= 0.0 || needY <= 0.0) {
        return 1.0;
    }
    const double factor = std::min(roomX / needX, roomY / needY);
    // A little below the exact share, so that rounding the shrunk sizes never overshoots.
    return factor >= 1.0 ? 1.0 : factor * 0.999;
}

void ShrinkPrintLayout(PrintLayout& l, double factor, PrintClip clip)
{
    if (!positive(factor) || factor >= 1.0) {
        return;
    }
    l.plotWidth = std::max(1, roundToInt(l.plotWidth * factor, kMaxPrintPixels));
    l.plotHeight = std::max(1, roundToInt(l.plotHeight * factor, kMaxPrintPixels));
    l.drawScale *= factor;
    if (clip == PrintClip::Plot) {
        l.clip.right = l.originX + roundToInt((l.clip.right - l.originX) * factor, kMaxPrintPixels);
        l.clip.bottom = l.originY + roundToInt((l.clip.bottom - l.originY) * factor, kMaxPrintPixels);
    }
    l.fontPoints = PrintFontPoints(l.screenFontPoints, l.drawScale, l.logPixelsX);
    if (l.logPixelsX > 0) {
        l.fontPixelHeight = PointsToPixels(l.fontPoints, l.logPixelsX);
    }
}

int PrintFontPoints(double screenPoints, double drawScale, int logPixelsX)
{
    if (logPixelsX <= 0) {
        return 1;
    }
    const double points = screenPoints * drawScale / logPixelsX * 330.0 * 0.39;
    return std::max(1, roundToInt(points, 10000));
}

ExportSize ExportPlotSize(int plotWidth, int plotHeight, double scale)
{
    return {roundToInt((plotWidth + 1.0) * scale, kMaxPrintPixels),
            roundToInt((plotHeight + 1.0) * scale, kMaxPrintPixels)};
}

int ExportFontPoints(double screenPoints, double scale, double factor)
{
    return std::max(1, roundToInt(screenPoints * scale * factor, 10000));
}

int PointsToPixels(double points, double dotsPerInch)
{
    return std::max(1, roundToInt(points * dotsPerInch / 72.0, kMaxPrintPixels));
}

std::string MetafileTargetPath(const std::string& chosenPath, MetafileKind kind)
{
    const std::filesystem::path chosen(chosenPath);
    std::string name = chosen.filename().string();
    const std::string wanted = kind == MetafileKind::Emf ? ".emf" : ".wmf";
    const std::string other = kind == MetafileKind::Emf ? ".wmf" : ".emf";
    std::string suffix = name.size() >= 4 ? name.substr(name.size() - 4) : std::string();
    std::transform(suffix.begin(), suffix.end(), suffix.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    if (suffix == wanted) {
        return chosen.string();
    }
    if (suffix == other && name.size() > 4) {
        name.resize(name.size() - 4);
    }
    return (chosen.parent_path() / (name + wanted)).string();
}

} // namespace kurvex
