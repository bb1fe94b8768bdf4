// The run-time state a curve lesson window starts from, whatever the window before it left behind.
#pragma once

namespace kurvex {

// Curve kind "term", pen width 1, no trace, spectrum, family or derivative, automatic ticks with
// the scale shown, the screen as drawing target (scale 1, not printing), tangent length 2, step
// width 1 and the point at x = 0.
void ResetCurveRunState();

// ResetCurveRunState, and no lesson counted as open yet.
void ResetLessonRunState();

} // namespace kurvex
