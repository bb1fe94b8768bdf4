// What the lesson windows' shared frame lets each window choose: its picture plan and the constants
// in which the windows differ (one row per window class).
#pragma once

#include "core/Plotter.h"
#include "core/WorldWindow.h"
#include "lesson/PictureSource.h"

#include <array>

namespace kurvex {

// How Delay waits: kind A at least ms + 16 milliseconds; kind B ms milliseconds, and with 0 it
// only handles the pending events once; None does not wait at all.
enum class DelayKind { A, B, None };

// Whether a left drag on the plot draws a zoom rectangle: never, only while the window's "Zoom"
// check box is checked, or on every left drag (the window then has no "Zoom" check box).
enum class RubberBandMode { None, WithZoomBox, Always };

// Up and Down: not handled, move the focus between the controls, or left to the window.
enum class ArrowKeys { None, MoveFocus, Own };

// The part of the plot box the coordinate plot takes: all of it, or the top four fifths with the
// bottom fifth left to the window (bars, number lines).
enum class PlotShare { WholeBox, TopFourFifths };

// The shape of the plot box at every window size: any, square, four wide to five high, half as
// wide as high (two square panes one above the other), or the plan's widthPerHeight.
enum class PlotAspect { Free, Square, FourToFive, HalfAsWide, Given };

// The window's picture: a fixed background layer ANDed under the moving one or a single layer, and
// one pane or two stacked panes sharing one world window.
struct PicturePlan {
    bool backgroundLayer = false;
    int panes = 1; // 1 or 2
    PlotShare share = PlotShare::WholeBox;
    PlotAspect aspect = PlotAspect::Free;
    double widthPerHeight = 1.0; // with PlotAspect::Given
};

// Form component names of the frame's own controls; windows whose forms name them otherwise pass
// their own, so that every control keeps its form name and no name is used twice.
struct FrameControlNames {
    const char* zoomOut = "SpeedButton3";
    const char* zoomIn = "SpeedButton7";
    // The pan pad row by row; its centre is "Anfangswerte setzen".
    std::array<const char*, 9> pad{"SpeedButton21", "SpeedButton11", "SpeedButton20",
                                   "SpeedButton8",  "SpeedButton22", "SpeedButton9",
                                   "SpeedButton18", "SpeedButton10", "SpeedButton19"};
    const char* coordinateCaption = "Label10"; // "Koordinatensys."
    const char* close = "SpeedButton35";       // "&Beenden"
    const char* zoomBox = "BitCheckBox5";      // "Zoom"
};

// The window's height when it opens: the one it sets itself, or the screen's whole working height
// (the lessons that open maximised); the width always follows from the plot's shape.
enum class WindowOpening { OwnSize, FullHeight };

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
    PicturePlan picture;
    WindowOpening opening = WindowOpening::OwnSize;
    WorldLimits worldLimits;
    // Cursor slot of the plot while the window's own drag is available (0: the default cursor).
    int dragCursorSlot = 0;
    FrameControlNames names = {};
    // The lessons that count as an open module: ModuleOpen is set while the window is open.
    bool setsModuleOpen = false;
};

// The row of the windows whose picture is two square panes on one world window, above and below:
// curves every pixel column, metafile scale 2, the page as print clip, no zoom rectangle, the drag
// cursor on the plot; they differ in how they wait between frames.
inline LessonVariant TwoPaneVariant(DelayKind delay)
{
    LessonVariant v;
    v.delay = delay;
    v.curve = {1, 20000, 20000};
    v.metafileScale = 2.0;
    v.fontFactor = 1.0;
    v.printClipToPage = true;
    v.rubberBand = RubberBandMode::None;
    v.arrowKeys = ArrowKeys::None;
    v.picture = {
        .backgroundLayer = true, .panes = 2, .share = PlotShare::WholeBox, .aspect = PlotAspect::HalfAsWide};
    v.dragCursorSlot = 4;
    return v;
}

} // namespace kurvex
