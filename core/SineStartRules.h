// Rules of the sine fit's start-value dialog: which typed start values are taken, the iteration
// limit typed as text, and the period shown beside b.
#pragma once

#include <string>
#include <string_view>

namespace kurvex {

// Start values of a and b smaller than this make the sine fit degenerate.
inline constexpr double kSmallestSineStart = 0.001;

// The start value to use for a typed one: the automatic start value where the typed a or b is
// smaller than kSmallestSineStart in size; c and d are taken as typed, 0 included.
double SineStartValue(double typed, double automatic, bool amplitudeOrFrequency);

// The iteration limit typed as text: 15 when the text is no whole number, 10 when it lies outside
// 1..30.
int SineIterationLimit(std::string_view text);

// 2pi/b with the given digits as the dialog shows it; "–" where there is no period (b = 0 or a
// result that is not finite).
std::string SinePeriodText(double b, int digits);

} // namespace kurvex
