// The grid of a value's scroll bar: which position shows a value, and which value a position stands for.
#pragma once

namespace kurvex {

// A bar whose positions first..last span the range [lo, hi]: position = round((x − lo) · last / span)
// kept within first..last, value = lo + position · span / last. A last below 1 or an empty or
// undefined span never divides by zero: every value then shows at the first position.
struct ValueBar {
    double lo = 0.0;
    double hi = 1.0;
    int first = 0;
    int last = 100;

    int position(double x) const;
    double value(int position) const;
    // The bar's highest position, never below its first.
    int maximum() const;
};

// A range as it is when its minimum lies below its maximum; else the start range, or −4..4 when
// the start range is no better.
struct ParamRange {
    double min = -4.0;
    double max = 4.0;
    bool operator==(const ParamRange&) const = default;
};
ParamRange CheckedRange(double min, double max, double startMin, double startMax);

} // namespace kurvex
