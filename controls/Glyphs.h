// Button glyphs of the launcher, the info window, the grid and scale buttons and the polynomial
// window's condition kinds, and the helper that draws glyphs at the screen's pixel ratio.
#pragma once

#include <QIcon>
#include <QPixmap>
#include <QSize>

#include <functional>

class QPainter;

namespace kurvex {

enum class ConditionKind;

// Device pixels per logical pixel of the sharpest screen the program shows on; 1 without a GUI.
qreal ScreenPixelRatio();

// A transparent pixmap of logicalSize, made of logicalSize x ratio pixels, so it is as sharp as
// the widgets around it. draw paints in logical coordinates on a plain painter (no antialiasing).
QPixmap DrawnPixmap(QSize logicalSize, const std::function<void(QPainter&)>& draw,
                    qreal ratio = ScreenPixelRatio());
// The same pixmap as an icon.
QIcon DrawnIcon(QSize logicalSize, const std::function<void(QPainter&)>& draw,
                qreal ratio = ScreenPixelRatio());

QIcon InfoGlyph(); // blue disc with an "i"
QIcon ExitGlyph(); // open door with an arrow
QIcon OkGlyph();   // green tick

// Axes alone, a dotted grid, a solid grid (GridMode 1, 2, 3) on a white square of size pixels.
QIcon GridGlyph(int mode, int size);
// Axes with a tick, labelled "1" or not (scale labels shown or hidden), 16 pixels.
QIcon ScaleGlyph(bool labelled);
// The shape a condition kind gives the curve near its point: the point and, where the kind sets
// the slope, the tangent through it.
QIcon ConditionGlyph(ConditionKind kind);
// Pixel size of a condition glyph.
inline constexpr int kConditionGlyphSize = 22;

} // namespace kurvex
