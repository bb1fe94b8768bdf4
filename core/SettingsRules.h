// Limits the settings dialog applies to typed values: integer edits, tick units and axis ends.
#pragma once

#include <optional>
#include <string_view>

namespace kurvex {

// A whole decimal number with optional sign and surrounding blanks; nothing else.
std::optional<int> ParseInteger(std::string_view text);

// "Schritte": 20 to 3000, anything else 200.
int AnimationStepsFromText(std::string_view text);
// "Delay" in ms: clamped to 0..1000; not a number gives 0.
int AnimationDelayFromText(std::string_view text);
// Result digits of the fits: clamped to 2..4; not a number keeps the old value.
int ResultDigitsFromText(std::string_view text, int oldValue);
// Input decimals: clamped to 0..4; not a number gives 2.
int DecimalsFromText(std::string_view text);
// Print size in percent: 20 to 200, anything else 100.
int PrintSizePercentFromText(std::string_view text);

// A tick unit is accepted when the span holds between 3 and 21 of it (rounded, halves to even).
// Zero, negative and non-finite units are refused before any division.
bool TickStepAccepted(double span, double step);
// The lower axis end must lie below the upper one.
bool AxisRangeAccepted(double lower, double upper);

} // namespace kurvex
