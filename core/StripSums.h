// Upper and lower sums: [a, b] cut into n strips, each strip's smallest and largest sampled value,
// and the sums they give.
#pragma once

#include "core/Plotter.h"

#include <optional>
#include <string>
#include <vector>

namespace kurvex {

// A typed n is brought into 0..kMaxStripCount before it drives the strips.
inline constexpr int kMaxStripCount = 10000;
// Samples over the whole interval at most: an interval many plot widths wide is sampled more
// coarsely than one per pixel column, so no interval can make a frame take unbounded time.
inline constexpr double kMaxStripSamples = 200000;

// n rounded (halves to even) and kept within 0..kMaxStripCount; not a number gives 0.
int BoundedStripCount(double n);

// One strip from x0 to x1 with its extremes; nothing where a sample in the strip is undefined.
struct Strip {
    double x0 = 0.0;
    double x1 = 0.0;
    std::optional<double> min;
    std::optional<double> max;
};

struct StripSums {
    // The strips drawn: n of them, one for n = 0, none for a negative n (the sums are then 0) or
    // an interval with an end that is not finite (no sums then).
    int count = 0;
    std::vector<Strip> strips;
    // O and U (signed: parts below the axis count negative); nothing when a strip has an
    // undefined sample, which no number could stand for.
    std::optional<double> upper;
    std::optional<double> lower;
};

// The strips of [a, b] (b < a is taken as [b, a]) and their sums. Each strip is sampled at its
// ends and every step h from its left end (h: one pixel column in world units), so an extremum
// inside a strip counts, not only the values at its ends.
StripSums ComputeStripSums(const CurveValueFunction& f, double a, double b, int n, double h);

// "nicht definiert" for a missing sum, else the number with four decimals.
std::string StripSumText(const std::optional<double>& sum);

} // namespace kurvex
