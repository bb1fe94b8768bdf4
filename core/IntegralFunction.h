// Computations of the integral-function window: the integrand of a term in t, the integral
// function F(x) from x0 across the window, the shaded area under f and the value text.
#pragma once

#include "core/Integration.h"
#include "core/term/Term.h"
#include "platform/Canvas.h"

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace kurvex {

// The term as an integrand: its value at t with t also in the slots of x, a and b (c, d, n are 0).
// The tree must outlive the integrand.
Integrand IntegrandOf(const TermTree& f);

// F on one side of x0 at start + k · step (step < 0 on the left side). The values end before the
// first point that could not be integrated, so the sweep stops there.
struct IntegralSweep {
    double start = 0.0;
    double step = 0.0;
    std::vector<double> values;

    // F at the sample nearest x, or nothing outside the sweep.
    std::optional<double> valueAt(double x) const;
    // The farthest sample from x0 (start for an empty sweep).
    double last() const;
};

struct IntegralCurve {
    double x0 = 0.0;
    IntegralSweep right;
    IntegralSweep left;
};

struct IntegralCurveLimits {
    IntegrationLimits piece;         // each step from one sample to the next
    long totalEvaluations = 2000000; // the whole curve; the sweeps stop where it is used up
};

// F(x) = ∫ f from x0 to x at steps of dx across [xLeft, xRight] and one step beyond, swept from
// x0 to the right and to the left. Each step adds the integral over one step, so the curve costs
// one short integration per sample. With x0 outside the window a sweep starts at the window's
// edge with F there, so that no sweep walks from a far x0 towards the window.
IntegralCurve IntegralCurveOver(const Integrand& f, double x0, double xLeft, double xRight, double dx,
                                const IntegralCurveLimits& limits = {});

// F(x) from x0: the curve's sample nearest x plus the integral over the short rest, where the
// sweep on x's side reaches x, so the value sits on the curve drawn; else the integral from x0 to x
// on its own (nothing across a pole).
std::optional<double> IntegralAt(const Integrand& f, const IntegralCurve& curve, double x0, double x,
                                 const IntegrationLimits& limits = {});

// The area between f and the axis from column colFrom to colTo (either order): one polygon per run
// of columns where rowOf gives a row, along f from left to right and back along zeroRow.
std::vector<std::vector<Point>>
AreaPolygons(int colFrom, int colTo, const std::function<std::optional<int>(int column)>& rowOf, int zeroRow);

// Left edge of the "x" beside the line at x: its text width to the right of the line when x lies
// right of x0, else twice its width to the left.
int XLabelLeft(int lineColumn, bool rightOfLowerLimit, int textWidth);
// Top row of the "x" whose box is label: where it is, unless it comes within gap pixels of a tick
// label, which it would be read with ("x2"); then below the tick labels it meets.
int XLabelTop(const Rect& label, const std::vector<Rect>& tickLabels, int gap);

// F with the given decimals and its unit, or "nicht definiert".
std::string IntegralValueText(std::optional<double> value, int decimals);

} // namespace kurvex
