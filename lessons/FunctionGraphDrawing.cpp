// Function-graph window: its two drawing passes, the curve decorations, tangent and trace.
#include "lessons/FunctionGraphWindow.h"

#include "core/CoordinateSystem.h"
#include "core/FunctionGraph.h"
#include "core/RecordList.h"
#include "platform/QtCanvas.h"

#include <QLabel>

#include <algorithm>
#include <cmath>

namespace kurvex {

namespace {

// Pixel coordinates of decorations far outside the plot are pulled in to this distance, which
// keeps horizontal and vertical lines as they are and the painter within its range.
constexpr int kFarPixel = 100000;

int px(double x)
{
    return std::clamp(WorldToPixelX(x), -kFarPixel, kFarPixel);
}

int py(double y)
{
    return std::clamp(WorldToPixelY(y), -kFarPixel, kFarPixel);
}

int scaledWidth(double factor)
{
    return static_cast<int>(std::nearbyint(factor * DrawScale));
}

} // namespace

std::optional<double> FunctionGraphWindow::curveValue(double x)
{
    return CurveValueOf(CurveKind, x, CurrentParams(), ParsedTerm);
}

void FunctionGraphWindow::DrawCurve(double xLeft, double xRight, double xFrom, double xTo)
{
    if (DrawCanvas == nullptr) {
        return;
    }
    drawVertexMark();
    drawSlopeTriangle();
    LessonWindow::DrawCurve(xLeft, xRight, xFrom, xTo);
}

void FunctionGraphWindow::drawVertexMark()
{
    if (!VertexDrag && !MarkVertex) {
        return;
    }
    const auto v = VertexOf(CurveKind, CurrentParams());
    if (!v || !(XMin < v->x && v->x < XMax && YMin < v->y && v->y < YMax)) {
        return;
    }
    Canvas& c = *DrawCanvas;
    c.setPenColor(CurveColor);
    c.setPenStyle(PenStyle::Solid);
    c.setPenWidth(scaledWidth(2));
    c.setBrushStyle(BrushStyle::Clear);
    const int x = px(v->x);
    const int y = py(v->y);
    c.ellipse(x - 3, y - 3, x + 4, y + 4);
    c.setPenWidth(scaledWidth(1));
}

void FunctionGraphWindow::drawSlopeTriangle()
{
    if (!ShowSlopeTriangle) {
        return;
    }
    const CurveParams params = CurrentParams();
    const auto t = SlopeTriangleAt(CurveKind, CurrentX, StepWidth, params, ParsedTerm);
    if (!t) {
        return;
    }
    Canvas& c = *DrawCanvas;
    const Point p0{px(t->x0), py(t->y0)};
    const Point p1{px(t->x1), py(t->y0)};
    const Point p2{px(t->x1), py(t->y1)};
    c.setPen({TriangleColor, scaledWidth(1), PenStyle::Solid, PenMode::Copy});
    c.setBrush({TriangleColor, BrushStyle::Solid});
    c.polygon({p0, p1, p2});
    c.setPenWidth(scaledWidth(2));
    c.setPenColor(clGreen);
    c.moveTo(p0.x, p0.y);
    c.lineTo(p1.x, p1.y);
    c.setPenColor(clRed);
    c.lineTo(p2.x, p2.y);
    if (ShowDerivative) {
        if (const auto height = DerivativeMarkerAt(CurveKind, CurrentX, params, ParsedTerm)) {
            c.moveTo(p0.x, py(0.0));
            c.lineTo(p0.x, py(*height));
        }
    }
    c.setPenWidth(scaledWidth(1));
}

void FunctionGraphWindow::drawTangent(TColor color, double lengthFactor, bool withSilverLine)
{
    const auto t = TangentAt(CurveKind, CurrentX, CurrentParams(), ParsedTerm, lengthFactor, 1.0);
    if (!t) {
        return;
    }
    if (withSilverLine) {
        Canvas& c = *DrawCanvas;
        c.setPen({clSilver, scaledWidth(1), PenStyle::Solid, PenMode::Copy});
        c.moveTo(px(t->x0), py(0.0));
        c.lineTo(px(t->x0), py(t->y0));
    }
    const CurveStateSaver saved;
    ParamA = t->m;
    ParamB = t->intercept();
    CurveKind = kKindTangent;
    CurveColor = color;
    DrawCurve(XMin, XMax, t->x0 - t->halfLength, t->x0 + t->halfLength);
}

void FunctionGraphWindow::updateVertexLabel()
{
    const auto v = (VertexDrag || MarkVertex) ? VertexOf(CurveKind, CurrentParams()) : std::nullopt;
    if (!v) {
        Label5->hide();
        return;
    }
    Label5->setText(QString::fromStdString(VertexText(*v, Decimals)));
    Label5->show();
}

void FunctionGraphWindow::paintBackground()
{
    const CurveStateSaver saved;
    for (const ListNode* node = ObjectList.Head.get(); node != nullptr; node = node->Next.get()) {
        ApplyObjectRecord(node->record);
        DrawCurve(XMin, XMax, XMin, XMax);
    }
}

void FunctionGraphWindow::paintForeground()
{
    updateVertexLabel();
    CurveColor = GraphColor;
    DrawCurve(XMin, XMax, XMin, XMax);

    const int kind = CurveKind;
    const bool termKind = kind == kKindTerm || kind == kKindShifted;
    if (ShowDerivative && termKind) {
        CurveKind = DerivativeKind(kind);
        CurveColor = Deriv1Color;
        DrawCurve(XMin, XMax, XMin, XMax);
        CurveKind = kind;
    }
    if (ShowTangent && termKind) {
        drawTangent(TangentLineColor, TangentLength * XTickStep, true);
    }
    if (!TraceMode || Printing || backgroundCanvas() == nullptr) {
        return;
    }
    // The fixed curve goes into the background at once; its record redraws it from then on.
    DrawCanvas = backgroundCanvas();
    CurveColor = GraphColor;
    DrawCurve(XMin, XMax, XMin, XMax);
    if (ShowTangent && termKind) {
        drawTangent(GraphColor, TangentLength, false);
    }
    DrawCanvas = foregroundCanvas();
}

} // namespace kurvex
