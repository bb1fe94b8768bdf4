// Computations of the function-graph window: curve kinds, vertex, slope triangle, tangent, bar grid,
// colour spectrum and the fixed-curve records.
#include "core/FunctionGraph.h"

#include "core/NumberText.h"
#include "core/Settings.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>

namespace kurvex {

namespace {

std::optional<double> defined(double v)
{
    if (!EvalOk || !std::isfinite(v)) {
        return std::nullopt;
    }
    return v;
}

std::optional<double> termValue(const TermTree& f, double x, const CurveParams& p)
{
    return defined(EvaluateTerm(f, x, p.t, p.a, p.b, p.c, p.d, 0));
}

std::optional<double> termSlope(const TermTree& f, double x, const CurveParams& p)
{
    return defined(EvaluateDerivative(f, 1, x, p.t, p.a, p.b, p.c, p.d, 0));
}

std::optional<double> finite(double v)
{
    if (!std::isfinite(v)) {
        return std::nullopt;
    }
    return v;
}

} // namespace

int TabCurveKind(int tab)
{
    static constexpr std::array<int, kTabCount> kinds{kKindLine, kKindQuadratic, kKindVertexForm,
                                                      kKindShifted, kKindTerm};
    if (tab < 0 || tab >= kTabCount) {
        return kKindTerm;
    }
    return kinds[static_cast<std::size_t>(tab)];
}

int DerivativeKind(int kind)
{
    if (kind == kKindTerm) {
        return kKindTermDerivative;
    }
    if (kind == kKindShifted) {
        return kKindShiftedDerivative;
    }
    return kind;
}

bool TabHasDerivative(int tab)
{
    return tab == 3 || tab == 4;
}

bool TabHasVertex(int tab)
{
    return tab == 1 || tab == 2;
}

CurveParams CurrentParams()
{
    return {ParamA, ParamB, ParamC, ParamD, ParamT};
}

void SetCurrentParams(const CurveParams& p)
{
    ParamA = p.a;
    ParamB = p.b;
    ParamC = p.c;
    ParamD = p.d;
    ParamT = p.t;
}

std::optional<double> CurveValueOf(int kind, double x, const CurveParams& p, const TermTree& f)
{
    switch (kind) {
    case kKindLine:
    case kKindTangent:
        return finite(p.a * x + p.b);
    case kKindQuadratic:
        return finite(p.a * x * x + p.b * x + p.c);
    case kKindVertexForm:
        return finite(p.a * (x - p.b) * (x - p.b) + p.c);
    case kKindTerm:
        return termValue(f, x, p);
    case kKindTermDerivative:
        return termSlope(f, x, p);
    case kKindShifted: {
        const auto v = termValue(f, x - p.b, p);
        return v ? finite(p.a * *v + p.c) : std::nullopt;
    }
    case kKindShiftedDerivative: {
        const auto s = termSlope(f, x - p.b, p);
        return s ? finite(p.a * *s) : std::nullopt;
    }
    default:
        return std::nullopt;
    }
}

std::optional<double> CurveSlopeOf(int kind, double x, const CurveParams& p, const TermTree& f)
{
    switch (kind) {
    case kKindLine:
    case kKindTangent:
        return finite(p.a);
    case kKindQuadratic:
        return finite(2 * p.a * x + p.b);
    case kKindVertexForm:
        return finite(2 * p.a * (x - p.b));
    case kKindTerm:
        return termSlope(f, x, p);
    case kKindShifted: {
        const auto s = termSlope(f, x - p.b, p);
        return s ? finite(p.a * *s) : std::nullopt;
    }
    default:
        return std::nullopt;
    }
}

// ---------------------------------------------------------------------------------------------
// Vertex

std::optional<VertexPoint> VertexOf(int kind, const CurveParams& p)
{
    if (p.a == 0.0) {
        return std::nullopt;
    }
    VertexPoint v;
    if (kind == kKindQuadratic) {
        v = {-p.b / (2 * p.a), p.c - p.b * p.b / (4 * p.a)};
    } else if (kind == kKindVertexForm) {
        v = {p.b, p.c};
    } else {
        return std::nullopt;
    }
    if (!std::isfinite(v.x) || !std::isfinite(v.y)) {
        return std::nullopt;
    }
    return v;
}

std::string GeneralNumberText(double v)
{
    return FormatGeneral(v, 15, 1);
}

std::string VertexText(const VertexPoint& v, int decimals)
{
    // The chosen decimals, as every other number of the window; a dragged vertex would otherwise
    // show fifteen digits of bar-grid noise.
    const auto number = [decimals](double x) {
        std::string text = FormatNumberShort(decimals, x);
        const auto first = text.find_first_not_of(' ');
        const auto last = text.find_last_not_of(' ');
        return first == std::string::npos ? std::string() : text.substr(first, last - first + 1);
    };
    return "S(" + number(v.x) + "|" + number(v.y) + ")";
}

std::optional<VertexDragResult> VertexDragTo(int kind, double a, double x, double y)
{
    if (a == 0.0 || !std::isfinite(x) || !std::isfinite(y)) {
        return std::nullopt;
    }
    if (kind == kKindQuadratic) {
        const double b = -2 * a * x;
        const double c = b * b / (4 * a) + y;
        if (!std::isfinite(b) || !std::isfinite(c)) {
            return std::nullopt;
        }
        return VertexDragResult{b, c};
    }
    return VertexDragResult{x, y};
}

// ---------------------------------------------------------------------------------------------
// Point decorations

std::optional<SlopeTriangle> SlopeTriangleAt(int kind, double x0, double stepWidth, const CurveParams& p,
                                             const TermTree& f)
{
    if (kind != kKindLine && kind != kKindTerm && kind != kKindShifted) {
        return std::nullopt;
    }
    const auto y0 = CurveValueOf(kind, x0, p, f);
    if (!y0) {
        return std::nullopt;
    }
    if (kind == kKindLine) {
        const double x1 = x0 + stepWidth;
        const auto y1 = finite(p.a * x1 + p.b);
        if (!y1) {
            return std::nullopt;
        }
        return SlopeTriangle{x0, *y0, x1, *y1};
    }
    const auto m = CurveSlopeOf(kind, x0, p, f);
    if (!m) {
        return std::nullopt;
    }
    return SlopeTriangle{x0, *y0, x0 + 1, *y0 + *m};
}

double TangentHalfLength(double m, double length, double tickStep)
{
    return std::cos(std::atan(m)) * length * tickStep;
}

std::optional<TangentSegment> TangentAt(int kind, double x0, const CurveParams& p, const TermTree& f,
                                        double length, double tickStep)
{
    if (kind != kKindTerm && kind != kKindShifted) {
        return std::nullopt;
    }
    const auto y0 = CurveValueOf(kind, x0, p, f);
    if (!y0) {
        return std::nullopt;
    }
    const auto m = CurveSlopeOf(kind, x0, p, f);
    if (!m) {
        return std::nullopt;
    }
    const double h = TangentHalfLength(*m, length, tickStep);
    if (!std::isfinite(h)) {
        return std::nullopt;
    }
    return TangentSegment{x0, *y0, *m, h};
}

std::optional<double> DerivativeMarkerAt(int kind, double x0, const CurveParams& p, const TermTree& f)
{
    if (kind != kKindTerm && kind != kKindShifted) {
        return std::nullopt;
    }
    if (!CurveValueOf(kind, x0, p, f)) {
        return std::nullopt;
    }
    return CurveSlopeOf(kind, x0, p, f);
}

// ---------------------------------------------------------------------------------------------
// Scroll bars

// ---------------------------------------------------------------------------------------------
// Colour spectrum

int SpectrumLevel(double value, double min, double max)
{
    const double ratio = std::abs((value - min) / (max - min));
    if (!std::isfinite(ratio)) {
        return std::isinf(ratio) ? 127 : 0;
    }
    const double k = std::nearbyint(ratio * 127);
    return k > 127 ? 127 : static_cast<int>(k);
}

TColor SpectrumColor(double value, double min, double max, int index)
{
    const auto v = static_cast<TColor>(2 * SpectrumLevel(value, min, max));
    const TColor w = 255 - v;
    switch (index) {
    case 2:
        return (w << 8) + (v << 16);
    case 3:
        return w + (v << 8);
    case 4:
        return w;
    case 5:
        return w << 8;
    case 6:
        return w << 16;
    case 7:
        return (v << 8) + 0xFF0000;
    case 8:
        return v + 0xFF0000;
    case 9:
        return (v << 16) + 0x80;
    case 10:
        return v + 0x800000;
    case 11:
        return (v << 8) + 0x800000;
    case 12:
        return v * 0x010101;
    default:
        return (w << 16) + v;
    }
}

TColor SpectrumColor(double value, double min, double max)
{
    return SpectrumColor(value, min, max, SpectrumIndex);
}

// ---------------------------------------------------------------------------------------------
// Fixed curves

ListRecord MakeObjectRecord()
{
    ListRecord rec;
    rec.value[0] = ParamA;
    rec.value[1] = ParamB;
    rec.value[2] = ParamC;
    rec.value[3] = ParamD;
    rec.value[4] = ParamT;
    rec.color = GraphColor;
    rec.width = LineWidth;
    return rec;
}

void ApplyObjectRecord(const ListRecord& rec)
{
    SetCurrentParams({rec.value[0], rec.value[1], rec.value[2], rec.value[3], rec.value[4]});
    CurveColor = rec.color;
    LineWidth = rec.width;
}

bool AddFamilyCurve(RecordList& list)
{
    if (ListCount(list) >= kMaxFamilyCurves) {
        return false;
    }
    ListInsert(list, 1, MakeObjectRecord());
    return true;
}

CurveStateSaver::CurveStateSaver()
    : params_(CurrentParams()), kind_(CurveKind), color_(CurveColor), width_(LineWidth)
{
}

CurveStateSaver::~CurveStateSaver()
{
    SetCurrentParams(params_);
    CurveKind = kind_;
    CurveColor = color_;
    LineWidth = width_;
}

} // namespace kurvex
