// Computations of the function-graph window: curve kinds, vertex, slope triangle, tangent, bar grid,
// colour spectrum and the fixed-curve records.
#pragma once

#include "core/Decorations.h"
#include "core/RecordList.h"
#include "core/ValueBar.h"
#include "core/term/Term.h"
#include "platform/Canvas.h"

#include <cstddef>
#include <optional>
#include <string>

namespace kurvex {

// Values of CurveKind.
constexpr int kKindLine = 1;              // a·x + b
constexpr int kKindQuadratic = 2;         // a·x² + b·x + c
constexpr int kKindVertexForm = 3;        // a·(x − b)² + c
constexpr int kKindTerm = 4;              // f(x)
constexpr int kKindTermDerivative = 5;    // f'(x)
constexpr int kKindTangent = 6;           // a·x + b, only while a tangent is drawn
constexpr int kKindShifted = 7;           // a·f(x − b) + c
constexpr int kKindShiftedDerivative = 8; // a·f'(x − b)

constexpr int kTabCount = 5;
// The curve kind each tab draws (tab 3 is the shifted term, tab 4 the general one).
int TabCurveKind(int tab);
// The derivative curve of a term kind (5 for 4, 8 for 7); other kinds have none.
int DerivativeKind(int kind);
// Tabs that offer the derivative, the tangent and f' (3 and 4), and the vertex boxes (1 and 2).
bool TabHasDerivative(int tab);
bool TabHasVertex(int tab);

// The five parameters a term or a curve kind reads.
struct CurveParams {
    double a = 1.0;
    double b = 0.0;
    double c = 0.0;
    double d = 0.0;
    double t = 0.0;
    bool operator==(const CurveParams&) const = default;
};
// ParamA..ParamD and ParamT, and back.
CurveParams CurrentParams();
void SetCurrentParams(const CurveParams& p);

// Value of a curve kind at x, f being the compiled term; nothing where it is undefined.
std::optional<double> CurveValueOf(int kind, double x, const CurveParams& p, const TermTree& f);
// Slope of a curve kind at x (kinds 1, 2, 3, 4, 6, 7); nothing where it is undefined.
std::optional<double> CurveSlopeOf(int kind, double x, const CurveParams& p, const TermTree& f);

// ---- Vertex of the parabolas (kinds 2 and 3) ----

struct VertexPoint {
    double x = 0.0;
    double y = 0.0;
};
// The vertex in kinds 2 and 3 with a ≠ 0; nothing otherwise.
std::optional<VertexPoint> VertexOf(int kind, const CurveParams& p);
// "S(x|y)" with both coordinates shown with the given decimals.
std::string VertexText(const VertexPoint& v, int decimals);
// Shortest text of up to 15 significant digits with a decimal comma; scientific ("1,5E20",
// "1E-6") when the integer part has more than 15 digits or |v| is below 0.00001.
std::string GeneralNumberText(double v);

// b and c that move the vertex to (x, y) with a kept: kind 2 b = −2·a·x, c = b²/(4a) + y; kind 3
// b = x, c = y. Nothing when a = 0, where there is no vertex to move.
struct VertexDragResult {
    double b = 0.0;
    double c = 0.0;
};
std::optional<VertexDragResult> VertexDragTo(int kind, double a, double x, double y);

// ---- Point decorations ----

// Kinds 4 and 7: one unit to the right and the slope up; kind 1: stepWidth to the right, up to the
// line. Nothing in other kinds or where the curve or its slope is undefined at x0.
std::optional<SlopeTriangle> SlopeTriangleAt(int kind, double x0, double stepWidth, const CurveParams& p,
                                             const TermTree& f);

// Half the horizontal extent of a tangent segment of slope m: its length along the line is
// 2 × length × tickStep.
double TangentHalfLength(double m, double length, double tickStep);

struct TangentSegment {
    double x0 = 0.0;
    double y0 = 0.0;
    double m = 0.0;
    double halfLength = 0.0; // horizontal, from x0 to either end
    double intercept() const { return y0 - x0 * m; }
};
// The tangent at x0 in kinds 4 and 7; nothing in other kinds or where curve or slope is undefined.
std::optional<TangentSegment> TangentAt(int kind, double x0, const CurveParams& p, const TermTree& f,
                                        double length, double tickStep);

// Height of the f' marker at x0: f'(x0) in kind 4, a·f'(x0 − b) in kind 7. Nothing in other kinds
// or where the function itself or its derivative is undefined at x0.
std::optional<double> DerivativeMarkerAt(int kind, double x0, const CurveParams& p, const TermTree& f);

// ---- Colour spectrum ----

constexpr int kSpectrumCount = 12;
// Chosen spectrum, 1..12 (shared with the loci window).
inline int SpectrumIndex = 1;
// GraphColor from before the spectrum was switched on.
inline TColor SavedGraphColor = 0x000000;

// k = |(value − min) / (max − min)| × 127 rounded half to even, at most 127; 0 for an empty or
// undefined range.
int SpectrumLevel(double value, double min, double max);
// Colour of spectrum index (1..12, others as 1) for the value in its range.
TColor SpectrumColor(double value, double min, double max, int index);
// The same with SpectrumIndex.
TColor SpectrumColor(double value, double min, double max);

// ---- Fixed curves (ObjectList) ----

// A fixed family stops growing here (over two sweeps of a 200-step range), so that a long animation
// cannot slow the full redraw, which draws every fixed curve, to a standstill.
constexpr std::size_t kMaxFamilyCurves = 500;

// a, b, c, d, t in the first five slots, GraphColor and LineWidth.
ListRecord MakeObjectRecord();
// The record's parameters into ParamA..ParamT, its colour into CurveColor, its width into LineWidth.
void ApplyObjectRecord(const ListRecord& rec);
// Inserts the current curve at the front; false (and nothing inserted) when the family is full.
bool AddFamilyCurve(RecordList& list);

// Keeps ParamA..ParamT, CurveKind, CurveColor and LineWidth, and puts them back when it goes.
class CurveStateSaver {
public:
    CurveStateSaver();
    ~CurveStateSaver();
    CurveStateSaver(const CurveStateSaver&) = delete;
    CurveStateSaver& operator=(const CurveStateSaver&) = delete;

private:
    CurveParams params_;
    int kind_;
    TColor color_;
    int width_;
};

} // namespace kurvex
