// Button glyphs of the launcher and the info window, and the helper that draws glyphs at the
// screen's pixel ratio.
#pragma once

#include <QIcon>
#include <QPixmap>
#include <QSize>

#include <functional>

class QPainter;

namespace kurvex {

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

} // namespace kurvex
