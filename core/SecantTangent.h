// Secants and tangents of the tangent-problem and differentiability windows: values of f, the line
// through P and Q and the one at P, their slope triangles and texts, fixed secants and examples.
#pragma once

#include "core/Decorations.h"
#include "core/ExampleFile.h"
#include "core/RecordList.h"
#include "core/WorldWindow.h"
#include "core/term/Term.h"
#include "platform/Canvas.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kurvex {

// CurveKind in these windows: the function, or the straight line ParamA·x + ParamB.
inline constexpr int kKindFunction = 0;
inline constexpr int kKindStraightLine = 6;

// The secant's slope while Q lies on P or f is undefined at P or Q, and the tangent's while none is drawn.
inline constexpr const char* kSecantUndefinedText = "nicht definiert!";
inline constexpr const char* kNoTangentText = "?";

// What a term reads besides x here: t, a and b take ParamA, ParamB and ParamC; c and d read 0.
struct TermSlots {
    double t = 0.0;
    double a = 0.0;
    double b = 0.0;
};
TermSlots CurrentTermSlots();

// Value and first derivative of f at x; nothing where they are undefined or not finite.
std::optional<double> TermValueAt(const TermTree& f, double x, const TermSlots& slots);
std::optional<double> TermSlopeAt(const TermTree& f, double x, const TermSlots& slots);
// f1 at and left of the junction, f2 right of it.
std::optional<double> PiecewiseValueAt(const TermTree& f1, const TermTree& f2, double junction, double x,
                                       const TermSlots& slots);

// y = slope·x + intercept, drawn from xFrom to xTo.
struct StraightLine {
    double slope = 0.0;
    double intercept = 0.0;
    double xFrom = 0.0;
    double xTo = 0.0;
    double at(double x) const { return slope * x + intercept; }
};

// The secant through P and Q, drawn beyond the left and the right point by length × tickStep
// along the line. Nothing when Q lies on P or the slope or intercept is not finite.
std::optional<StraightLine> SecantLine(double xP, double yP, double xQ, double yQ, double length,
                                       double tickStep);

// The tangent at x0 and the point it touches.
struct PointTangent {
    double x0 = 0.0;
    double y0 = 0.0;
    StraightLine line;
};
// Slope f'(x0) read with the slots given; the point's f(x0) read with that slope in the t slot, as
// the lines drawn leave it in ParamA. Drawn length × tickStep along the line to either side.
// Nothing where f or f' is undefined at x0.
std::optional<PointTangent> TangentLine(const TermTree& f, double x0, TermSlots slots, double length,
                                        double tickStep);

// The secant's triangle: along from the left point, then up or down to the right one.
SlopeTriangle SecantTriangle(double xP, double yP, double xQ, double yQ);
// The tangent's triangle: one unit to the right, then to the tangent.
SlopeTriangle TangentTriangle(const PointTangent& t);

// A slope as the labels show it: at most 5 significant digits, decimal comma, scientific with at
// least two exponent digits beyond 5 integer digits or below 0.00001.
std::string SlopeText(double m);

// The bars of P and Q have round(span / tickStep × 100) positions, at least 1 (a window far
// narrower than its tick step) and never more than an int keeps.
int PointBarMaximum(double span, double tickStep);

// Q as an animation step finds it: where it is, or the nearer end of the window when it lies more
// than the window's span outside (typed far away), so that the sweep comes into view at once.
double SweepPosition(double x, double min, double max);

// ---- Fixed secants (FixedSecants: the x of Q in slot 1, the colour; newest first) ----

ListRecord FixedSecantRecord(double xQ, TColor color);
// One secant of a frame: where Q lies and its colour.
struct SecantPass {
    double xQ = 0.0;
    TColor color = 0;
    bool current = false;
};
// The fixed secants from the oldest to the newest, then the current one: the current is drawn last.
std::vector<SecantPass> SecantPasses(const RecordList& fixed, double currentXQ, TColor currentColor);

// ---- Examples: the term line, then xP, xQ, XMin, XMax, YMin, YMax ----

// The example file's format with the text of its default entry (P at 1, Q at 3, -7..7 × -3..11).
ExampleFormat TangentExampleFormat(std::string defaultText);
std::vector<double> ExampleNumbers(double xP, double xQ, const WorldRect& world);
struct TangentExample {
    double xP = 1.0;
    double xQ = 2.0;
    WorldRect world;
};
// The numbers of an entry with its world window checked: reversed, equal or non-finite ends give
// the start window.
TangentExample ExampleFromNumbers(const std::vector<double>& numbers, const WorldLimits& limits);

// The two terms of a differentiability example, "f1;f2": split at the first ";"; a line without
// one is all f2.
struct TermPieces {
    std::string first;
    std::string second;
    bool operator==(const TermPieces&) const = default;
};
TermPieces SplitPieces(std::string_view line);
std::string JoinPieces(std::string_view first, std::string_view second);

} // namespace kurvex
