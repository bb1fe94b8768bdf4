// Geometry of a printed or exported picture: plot size, scale, origin, clip, font size, file name.
#pragma once

#include "platform/Canvas.h"

#include <optional>
#include <string>

namespace kurvex {

// What a printer reports about itself (the names are those of the platform's device caps).
struct DeviceCaps {
    int horzRes = 0;  // printable width, device pixels
    int vertRes = 0;  // printable height, device pixels
    int horzSize = 0; // printable width, millimetres
    int vertSize = 0; // printable height, millimetres
    int logPixelsX = 0;
    int physicalOffsetX = 0;
    int physicalOffsetY = 0;
};

enum class PrintClip { Plot, Page };

// The screen picture and the settings a print starts from.
struct PrintRequest {
    double xSpan = 14.0; // |XMax - XMin|
    double ySpan = 14.0;
    double autoXTickStep = 1.0;
    double autoYTickStep = 1.0;
    int plotWidth = 0;
    int plotHeight = 0;
    int plotLeft = 0;
    int plotTop = 0;
    int sizePercent = 100;
    double marginLeftCm = 0.0;
    double marginTopCm = 0.0;
    PrintClip clip = PrintClip::Plot;
    double screenFontPoints = 10.0;
};

struct PrintLayout {
    double pxPerCmX = 0.0;
    double pxPerCmY = 0.0;
    int plotWidth = 0; // printer pixels
    int plotHeight = 0;
    double drawScale = 1.0;
    int originX = 0; // printer pixel of plot pixel (0, 0)
    int originY = 0;
    Rect clip; // printer pixels, not moved by the origin
    int fontPoints = 1;
    int fontPixelHeight = 1; // printer pixels
    // What the font size was computed from, for a window that scales its print on its own.
    int logPixelsX = 0;
    double screenFontPoints = 0.0;
};

constexpr int kMinPrintSizePercent = 20;
constexpr int kMaxPrintSizePercent = 200;

// One automatic tick step prints sizePercent/100 cm long on each axis. Nothing when the device
// or the picture gives nothing to scale by (zero sizes, zero steps).
std::optional<PrintLayout> ComputePrintLayout(const DeviceCaps& caps, const PrintRequest& request);

// The share of its size a printed picture keeps so that it fits the printable page: 1 when it fits
// as it is, less than 1 when it must shrink. The picture is the plot, heightFactor plot heights
// tall, with the margin of DrawScale that the plot clip adds.
double PrintFitFactor(const PrintLayout& layout, const DeviceCaps& caps, double heightFactor);
// The layout shrunk by factor around its origin: plot, DrawScale, font and a plot clip (a page
// clip stays).
void ShrinkPrintLayout(PrintLayout& layout, double factor, PrintClip clip);

// The printer font for a DrawScale: screen size x scale / LOGPIXELSX x 330 x 0.39, rounded (at least 1).
int PrintFontPoints(double screenPoints, double drawScale, int logPixelsX);

struct ExportSize {
    int width = 0;
    int height = 0;
    bool operator==(const ExportSize&) const = default;
};

// A metafile's plot: (size + 1) x scale, rounded.
ExportSize ExportPlotSize(int plotWidth, int plotHeight, double scale);
// A metafile's font: the screen size x scale x factor, in points, rounded (at least 1).
int ExportFontPoints(double screenPoints, double scale, double factor);
// Points at a resolution, rounded (at least 1).
int PointsToPixels(double points, double dotsPerInch);

enum class MetafileKind { Wmf, Emf };

// The file the export writes: the chosen file in its folder, with ".wmf" or ".emf" as the kind
// says. Only a metafile suffix is replaced, so "graph.old" becomes "graph.old.wmf".
std::string MetafileTargetPath(const std::string& chosenPath, MetafileKind kind);

} // namespace kurvex
