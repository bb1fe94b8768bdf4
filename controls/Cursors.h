// The program's seven mouse cursors, drawn at start and kept in slots 1 to 7.
#pragma once

#include <QCursor>

namespace kurvex {

// Fills the slots from the drawn shapes 1 to 7 in the launcher's order (slot 1 := shape 4, ...).
void LoadCursors();
// The cursor in slot 1..7; the arrow for any other slot or before LoadCursors.
QCursor ProgramCursor(int slot);
// Which drawn shape each slot holds (index 1..7).
int CursorShapeOfSlot(int slot);

} // namespace kurvex
