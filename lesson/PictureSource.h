// What printing and metafile export need from a lesson window: its picture and its geometry.
#pragma once

#include "core/PrintGeometry.h"

#include <QFont>
#include <QSize>

class QWidget;

namespace kurvex {

// How a window's picture goes to printer and metafile (one row of the window variants).
struct ExportVariant {
    double metafileScale = 4.0; // DrawScale while a metafile is recorded (4.0 or 2.0)
    double fontFactor = 1.2;    // metafile font size = screen size x scale x factor
    bool clipToPage = false;    // printing clips to the page instead of the plot
    // The picture's height in plot heights: 2 for two stacked panes, 5/4 for a plot in the top
    // four fifths of its box.
    double pictureHeightFactor = 1.0;
    // The screen combines the picture's two layers by AND, so no fill of the moving layer hides a
    // line of the fixed one.
    bool layered = false;
};

class PictureSource {
public:
    virtual ~PictureSource() = default;
    // Runs the window's background and foreground passes on DrawCanvas; the caller has set
    // Printing, DrawScale, the plot size and DrawCanvas and restores them afterwards.
    virtual void paintPicture() = 0;
    // Size of the plot (one pane) on screen, in pixels.
    virtual QSize plotSize() const = 0;
    // Font of the plot paint box (family and pixel size).
    virtual QFont plotFont() const = 0;
    virtual ExportVariant exportVariant() const = 0;
    // A window with its own print scaling changes the computed layout here.
    virtual void adjustPrintLayout(PrintLayout& layout) const { (void)layout; }
    // Rebuilds the screen picture once the device state has been restored.
    virtual void refresh() = 0;
    // Parent for the dialogs and message boxes the export shows.
    virtual QWidget* dialogParent() = 0;
};

} // namespace kurvex
