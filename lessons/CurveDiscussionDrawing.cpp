// Curve-discussion window (TForm3): the curves of both panes, the tangent and triangle above, the
// values of f' and f'' at x0 below, and their labels.
#include "lessons/CurveDiscussionWindow.h"

#include "core/CoordinateSystem.h"
#include "core/Decorations.h"
#include "core/Settings.h"
#include "lesson/TermField.h"

#include <QLabel>

namespace kurvex {

void CurveDiscussionWindow::setAxisCaptions(int pane)
{
    XAxisLabel = "x";
    YAxisLabel = pane == 0 ? "y" : "y'";
}

void CurveDiscussionWindow::drawOrder(int order, TColor color, double xFrom, double xTo)
{
    const TermTree& f = termField_->tree();
    const TermParameters p = parameters();
    drawCurve([&f, p, order](double x) { return DiscussionValue(f, order, x, p); }, xFrom, xTo, color,
              LineWidth);
}

void CurveDiscussionWindow::verticalLine(double x, int fromRow, int toRow, TColor color, double widthFactor)
{
    Canvas& c = *DrawCanvas;
    c.setPen({color, ScaledSize(widthFactor), PenStyle::Solid, PenMode::Copy});
    const int column = PixelOf(x, 0.0).x;
    c.moveTo(column, fromRow);
    c.lineTo(column, toRow);
}

void CurveDiscussionWindow::paintBackground(int pane)
{
    if (pane == 0) {
        drawOrder(0, GraphColor, XMin, XMax);
        return;
    }
    if (showFirst_) {
        drawOrder(1, Deriv1Color, XMin, XMax);
    }
    if (showSecond_) {
        drawOrder(2, Deriv2Color, XMin, XMax);
    }
}

void CurveDiscussionWindow::paintForeground(int pane)
{
    if (DrawCanvas == nullptr) {
        return;
    }
    if (pane == 0) {
        paintUpperParts();
    } else {
        paintLowerParts();
    }
}

void CurveDiscussionWindow::paintUpperParts()
{
    const double x0 = CurrentX;
    const std::optional<double> y0 = DiscussionValue(termField_->tree(), 0, x0, parameters());
    if (!y0) {
        return;
    }
    // Down to the axis, and on into the lower pane while a derivative is shown there.
    const int bottom = (showFirst_ || showSecond_) ? PlotHeight : PixelOf(x0, 0.0).y;
    verticalLine(x0, PixelOf(x0, *y0).y, bottom, clSilver, 1);

    const auto tangent = DiscussionTangent(termField_->tree(), x0, parameters(), TangentLength, XTickStep);
    if (!tangent) {
        return;
    }
    DrawStraightLine(tangent->m, tangent->intercept(), x0 - tangent->halfLength, x0 + tangent->halfLength,
                     variant().curve, TangentLineColor);
    if (showTriangle_) {
        DrawSlopeTriangle(*DrawCanvas, UnitSlopeTriangle(*tangent), TriangleColor, TriangleColor);
    }
}

void CurveDiscussionWindow::paintLowerParts()
{
    const double x0 = CurrentX;
    const TermTree& f = termField_->tree();
    // Where f itself is undefined, so are its derivatives.
    const bool defined = DiscussionValue(f, 0, x0, parameters()).has_value();
    const std::optional<double> m = defined ? DiscussionValue(f, 1, x0, parameters()) : std::nullopt;
    const std::optional<double> m2 = defined ? DiscussionValue(f, 2, x0, parameters()) : std::nullopt;
    const int axisRow = PixelOf(x0, 0.0).y;
    if (showFirst_ && m) {
        verticalLine(x0, 0, PixelOf(x0, *m).y, clSilver, 1);
        verticalLine(x0, axisRow, PixelOf(x0, *m).y, clRed, 2);
    }
    if (showSecond_ && defined) {
        verticalLine(x0, 0, axisRow, clSilver, 1);
    }
    if (showSecond_ && m2) {
        // One pixel column right of f', so that both values show side by side.
        const double nextColumn = PixelToWorldX(PixelOf(x0, 0.0).x + ScaledSize(1));
        verticalLine(nextColumn, axisRow, PixelOf(x0, *m2).y, Deriv2Color, 2);
    }
    if (generate_) {
        sweep_ = GrowSweep(sweep_, x0);
        drawOrder(1, Deriv1Color, sweep_.min, sweep_.max);
    }
    updateValueLabels(m, m2);
}

void CurveDiscussionWindow::updateValueLabels(const std::optional<double>& m, const std::optional<double>& m2)
{
    firstLabel_->setText(showFirst_ ? QString::fromStdString(DerivativeLabel(1, CurrentX, m)) : QString());
    secondLabel_->setText(showSecond_ ? QString::fromStdString(DerivativeLabel(2, CurrentX, m2)) : QString());
}

} // namespace kurvex
