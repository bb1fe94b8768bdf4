// The sequences lesson's computations: the limit estimate, the index n0 from which the terms stay in
// the ε band, the table of terms the picture and the search read, and the lesson's world rule.
#pragma once

#include "core/WorldWindow.h"

#include <functional>
#include <optional>
#include <span>
#include <vector>

namespace kurvex {

// a(n), or nothing where the term is undefined or not finite.
using SequenceFunction = std::function<std::optional<double>(double n)>;

// What the estimate found. A limit is accepted only when the terms far out lie close together and
// the estimate is moderate; g may be computed without being accepted.
struct LimitEstimate {
    std::optional<double> g; // the new estimate; nothing when g keeps its value
    bool accepted = false;
};

// Compares a(N), a(N+1) with a(10N), a(10N+1) for N = 10000 (N = 5 when a(10000) is undefined).
// When the far pair lies no further apart than the near one, g is their mean to six significant
// digits (below 1e-5 in size it is 0), accepted when the far pair differs by less than 0.001 and
// |g| < 1000. Any of the four terms undefined: nothing is estimated.
LimitEstimate EstimateLimit(const SequenceFunction& a);

// v to six significant digits, as the general number text of precision 6 read back.
double RoundToSignificantDigits(double v, int digits);

// n0 is searched among n = 1..kLastN0Start, each needing a(n)..a(n + kN0Window) inside the band.
inline constexpr int kLastN0Start = 10001;
inline constexpr int kN0Window = 50;
// The terms the picture and the search read: a(1)..a(kSequenceTableSize).
inline constexpr int kSequenceTableSize = kLastN0Start + kN0Window;
// The picture shows the points n = 1..kSequencePointCount.
inline constexpr int kSequencePointCount = 1000;

// a(1)..a(count), element i holding a(i + 1).
std::vector<std::optional<double>> SequenceTable(const SequenceFunction& a, int count = kSequenceTableSize);

// The first n <= kLastN0Start for which a(n)..a(n + 50) are all defined and each lies closer to g
// than eps, read from a table holding a(1) at index 0; nothing when no such n exists.
std::optional<int> FindN0(std::span<const std::optional<double>> table, double g, double eps);

// ---- The lesson's world window: only its right end follows zoom, pad and rubber band ----

// The start window: x from -1 to 15, y from the start window of the settings.
WorldRect SequenceStartWorld();
// The pad's "Anfangswerte setzen" and the window as the lesson opens: x from -1.5 to 18.
WorldRect SequenceOpeningWorld();
// The bounds of every window, then XMin = -XMax/12; an x span of 1000 or more or below 2, or a
// y span of 1e7 or more or 1e-7 or less, gives the start window. A reversed or undefined window
// counts as a span out of bounds, so the result is never reversed.
WorldRect CheckedSequenceWorld(const WorldRect& w);

} // namespace kurvex
