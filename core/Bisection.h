// The bisection lesson's computations: one halving step, the verdict on the final interval, the
// replay the step table and the bars show, the error bound of a number of decimals, and the text
// of its numbers.
#pragma once

#include "core/Plotter.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kurvex {

// ---- Decimals, error bound and number text ----

// "Nachkommastellen": a whole number from 1 to 6; anything else gives 4.
int BisectionDecimalsFromText(std::string_view text);
// The error bound of that many decimals, 10^-decimals exactly as a double (decimals kept in 1..6).
double BisectionTolerance(int decimals);
// The bound as its label shows it: "= 0,00001".
std::string BisectionToleranceText(int decimals);
// A value of the status line, the result line and the table: rounded to the given decimals and
// written with them and a decimal comma; scientific from 1e15 on; "nicht definiert" for nothing.
std::string BisectionNumber(std::optional<double> value, int decimals);

// ---- Steps ----

// |f| below this at the midpoint of the final interval counts as a zero.
constexpr double kZeroBound = 0.1;

enum class StepOutcome {
    Halved,         // a or b moved to the midpoint
    BelowTolerance, // b − a was already below the bound (also a reversed or empty interval)
    NoShrink,       // the midpoint equals an end: the numbers cannot halve the interval further
    Undefined,      // f(a) or f(m) is undefined: nothing to compare, the interval stays
};

struct BisectionStep {
    StepOutcome outcome = StepOutcome::BelowTolerance;
    double a = 0.0; // the interval after the step
    double b = 0.0;
    double m = 0.0; // the midpoint of the interval before it
    std::optional<double> fa;
    std::optional<double> fm;
};

// One step on [a, b]: m := (a + b) / 2; if f(a) · f(m) > 0 then a := m, else b := m (a product of
// exactly 0 moves b). Only while b − a is at least the bound, the midpoint lies strictly inside
// and both values are defined.
BisectionStep StepBisection(const CurveValueFunction& f, double a, double b, double tolerance);

struct BisectionVerdict {
    double x = 0.0; // the midpoint of the final interval
    std::optional<double> fx;
    bool solved = false;
};
// f at the midpoint of [a, b]: solved when it is defined and below kZeroBound in magnitude and
// the run did not stop at an undefined value.
BisectionVerdict VerdictOn(const CurveValueFunction& f, double a, double b, StepOutcome end);
// The result as the lines the panel shows (UTF-8): " Keine Lösung!", or "x := (a + b) / 2 = …" and
// "f(x) = …" below it, as one line would not fit beside its caption.
std::vector<std::string> ResultLines(const BisectionVerdict& verdict, int decimals);

// ---- Replay ----

// The step table never lists more rows than this.
constexpr int kMaxReplayRows = 200;

struct BisectionRow {
    double a = 0.0; // at the start of the step
    double b = 0.0;
    double m = 0.0;
    std::optional<double> fa;
    std::optional<double> fm;
    // f(m) · f(a), nothing when either is undefined.
    std::optional<double> product() const;
};

struct BisectionReplay {
    std::vector<BisectionRow> rows;
    double a = 0.0; // the final interval
    double b = 0.0;
    // Why the replay stopped; Halved when it reached maxRows.
    StepOutcome end = StepOutcome::BelowTolerance;
    BisectionVerdict verdict;
};

// Every step the window makes from the start interval, one row each, until a step would end the
// run; the row of an undefined value is listed before the run stops there. A start interval that
// allows no step still gives one row. At most maxRows rows.
BisectionReplay ReplayBisection(const CurveValueFunction& f, double a, double b, double tolerance,
                                int maxRows = kMaxReplayRows);

struct BisectionInterval {
    double a = 0.0;
    double b = 0.0;
};
// The intervals after each of the first `steps` halvings from [a, b], without the bound (the
// window counted them while it held); fewer when a step cannot be made.
std::vector<BisectionInterval> NestedIntervals(const CurveValueFunction& f, double a, double b, int steps);

// The interval's band colour: the same-sign colour when f(a) · f(b) > 0, the sign-change colour
// otherwise, nothing when either value is undefined.
enum class BandKind { SameSign, SignChange, Undefined };
BandKind BandOf(std::optional<double> fa, std::optional<double> fb);

} // namespace kurvex
