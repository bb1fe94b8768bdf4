// Function-graph window (TForm1): its two drawing passes, the curve decorations, tangent and trace.
#include "lessons/FunctionGraphWindow.h"

#include "core/CoordinateSystem.h"
#include "core/Decorations.h"
#include "core/FunctionGraph.h"
#include "core/RecordList.h"
#include "core/Settings.h"
#include "platform/QtCanvas.h"

#include <QLabel>

#include <algorithm>
#include <cmath>

namespace kurvex {

std::optional<double> FunctionGraphWindow::curveValue(double x)
{
    return CurveValueOf(CurveKind, x, CurrentParams(), ParsedTerm);
}

void FunctionGraphWindow::drawKindCurve(double xFrom, double xTo)
{
    if (DrawCanvas == nullptr) {
        return;
    }
    drawVertexMark();
    drawSlopeTriangle();
    drawCurve(xFrom, xTo);
}

void FunctionGraphWindow::drawVertexMark()
{
    if (!VertexDrag && !markVertex_) {
        return;
    }
    const auto v = VertexOf(CurveKind, CurrentParams());
    if (!v || !(XMin < v->x && v->x < XMax && YMin < v->y && v->y < YMax)) {
        return;
    }
    Canvas& c = *DrawCanvas;
    c.setPenColor(CurveColor);
    c.setPenStyle(PenStyle::Solid);
    c.setPenWidth(ScaledSize(2));
    c.setBrushStyle(BrushStyle::Clear);
    const Point p = PixelOf(v->x, v->y);
    c.ellipse(p.x - 3, p.y - 3, p.x + 4, p.y + 4);
    c.setPenWidth(ScaledSize(1));
}

void FunctionGraphWindow::drawSlopeTriangle()
{
    if (!showSlopeTriangle_) {
        return;
    }
    const CurveParams params = CurrentParams();
    const auto t = SlopeTriangleAt(CurveKind, CurrentX, StepWidth, params, ParsedTerm);
    if (!t) {
        return;
    }
    Canvas& c = *DrawCanvas;
    DrawSlopeTriangle(c, *t, TriangleColor, TriangleColor);
    if (ShowDerivative) {
        if (const auto height = DerivativeMarkerAt(CurveKind, CurrentX, params, ParsedTerm)) {
            // The derivative's value at the point, in the red of the vertical leg.
            c.setPen({clRed, ScaledSize(2), PenStyle::Solid, PenMode::Copy});
            const Point foot = PixelOf(t->x0, 0.0);
            c.moveTo(foot.x, foot.y);
            c.lineTo(foot.x, PixelOf(t->x0, *height).y);
            c.setPenWidth(ScaledSize(1));
        }
    }
}

void FunctionGraphWindow::drawTangent(TColor color, double lengthFactor, bool withSilverLine)
{
    const auto t = TangentAt(CurveKind, CurrentX, CurrentParams(), ParsedTerm, lengthFactor, 1.0);
    if (!t) {
        return;
    }
    if (withSilverLine) {
        DrawLinesToAxes(*DrawCanvas, t->x0, t->y0, clSilver, true, false);
    }
    const CurveStateSaver saved;
    ParamA = t->m;
    ParamB = t->intercept();
    CurveKind = kKindTangent;
    CurveColor = color;
    drawKindCurve(t->x0 - t->halfLength, t->x0 + t->halfLength);
}

void FunctionGraphWindow::updateVertexLabel()
{
    const auto v = (VertexDrag || markVertex_) ? VertexOf(CurveKind, CurrentParams()) : std::nullopt;
    if (!v) {
        vertexLabel_->hide();
        return;
    }
    vertexLabel_->setText(QString::fromStdString(VertexText(*v, Decimals)));
    vertexLabel_->show();
}

void FunctionGraphWindow::paintBackground(int)
{
    const CurveStateSaver saved;
    for (const ListNode* node = ObjectList.Head.get(); node != nullptr; node = node->Next.get()) {
        ApplyObjectRecord(node->record);
        drawKindCurve(XMin, XMax);
    }
}

void FunctionGraphWindow::paintForeground(int)
{
    updateVertexLabel();
    CurveColor = GraphColor;
    drawKindCurve(XMin, XMax);

    const int kind = CurveKind;
    const bool termKind = kind == kKindTerm || kind == kKindShifted;
    if (ShowDerivative && termKind) {
        CurveKind = DerivativeKind(kind);
        CurveColor = Deriv1Color;
        drawKindCurve(XMin, XMax);
        CurveKind = kind;
    }
    if (showTangent_ && termKind) {
        drawTangent(TangentLineColor, TangentLength * XTickStep, true);
    }
    if (!TraceMode || Printing || backgroundCanvas() == nullptr) {
        return;
    }
    // The fixed curve goes into the background at once; its record redraws it from then on.
    DrawCanvas = backgroundCanvas();
    CurveColor = GraphColor;
    drawKindCurve(XMin, XMax);
    if (showTangent_ && termKind) {
        drawTangent(GraphColor, TangentLength, false);
    }
    DrawCanvas = foregroundCanvas();
}

} // namespace kurvex
