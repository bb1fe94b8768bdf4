// Computations of the curve-discussion window: f, f' and f'' with the parameters as loaded, the
// tangent and slope triangle at x0, the range the growing derivative has swept, the value labels.
#pragma once

#include "core/Decorations.h"
#include "core/FunctionGraph.h"
#include "core/term/Term.h"

#include <optional>
#include <string>

namespace kurvex {

// What a term reads for t, a and b in this window (c, d and n are 0).
struct TermParameters {
    double t = 0.0;
    double a = 0.0;
    double b = 0.0;
};
// t, a, b := ParamA, ParamB, ParamC as the settings gave them; the window never writes them.
TermParameters LoadedTermParameters();

// f (order 0), f' (1) or f'' (2) at x; nothing where it is undefined.
std::optional<double> DiscussionValue(const TermTree& f, int order, double x, const TermParameters& p);

// The tangent at x0, its length along the line 2 × length × tickStep; nothing where f or f' is
// undefined at x0.
std::optional<TangentSegment> DiscussionTangent(const TermTree& f, double x0, const TermParameters& p,
                                                double length, double tickStep);
// The triangle under the tangent: (x0, y0), one unit to the right, and up by the slope.
SlopeTriangle UnitSlopeTriangle(const TangentSegment& tangent);

// Where a sweep of "f' erzeugen" started and the smallest and largest x0 reached since.
struct SweepRange {
    double start = 0.0;
    double min = 0.0;
    double max = 0.0;
    bool operator==(const SweepRange&) const = default;
};
SweepRange StartSweep(double x0);
// The range after x0 was reached: at or left of the start it may grow to the left, else to the right.
SweepRange GrowSweep(SweepRange range, double x0);

// "f'(x0) =value" (order 1) or "f''(x0) =value" (order 2), both numbers with four decimals;
// "nicht definiert" in place of an undefined value.
std::string DerivativeLabel(int order, double x0, std::optional<double> value);

} // namespace kurvex
