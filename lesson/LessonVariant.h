// The constants in which the lesson windows' shared frame differs: one row per window class.
#pragma once

#include "core/Plotter.h"
#include "core/WorldWindow.h"
#include "lesson/PictureSource.h"

namespace kurvex {

// How Delay waits: kind A at least ms + 16 milliseconds; kind B ms milliseconds, and with 0 it
// only handles the pending events once; None does not wait at all.
enum class DelayKind { A, B, None };

// Whether a left drag on the plot draws a zoom rectangle: never, only while the window's "Zoom"
// check box is checked, or on every left drag (the window then has no "Zoom" check box).
enum class RubberBandMode { None, WithZoomBox, Always };

// Up and Down: not handled, move the focus between the controls, or left to the window.
enum class ArrowKeys { None, MoveFocus, Own };

struct LessonVariant {
    DelayKind delay = DelayKind::A;
    CurveVariant curve;
    double metafileScale = 2.0; // DrawScale of a metafile and the clipboard
    double fontFactor = 1.0;    // metafile font size = screen size x scale x factor
    bool printClipToPage = false;
    RubberBandMode rubberBand = RubberBandMode::WithZoomBox;
    ArrowKeys arrowKeys = ArrowKeys::None;
    bool helpButton = true;
    bool zoomPad = true; // zoom buttons and the pan pad with "Anfangswerte setzen"
    // 1: one bitmap that the single redraw paints completely; 2: background and foreground
    // bitmaps combined by bitwise AND (a window with more keeps its own beside them).
    int layers = 1;
    WorldLimits worldLimits;

    ExportVariant exportVariant() const { return {metafileScale, fontFactor, printClipToPage}; }
};

} // namespace kurvex
