// Button glyphs of the launcher and the info window, drawn by the program.
#pragma once

#include <QIcon>

namespace kurvex {

QIcon InfoGlyph(); // blue disc with an "i"
QIcon ExitGlyph(); // open door with an arrow
QIcon OkGlyph();   // green tick

} // namespace kurvex
