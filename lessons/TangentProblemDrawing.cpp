// Tangent-problem window (TForm8): the frame, one secant pass per fixed secant and the current one,
// then the axes over them and the graph on top.
#include "lessons/TangentProblemWindow.h"

#include "controls/ColorButton.h"
#include "core/CoordinateSystem.h"
#include "core/Decorations.h"
#include "core/RecordList.h"
#include "core/Settings.h"
#include "lesson/TermField.h"

#include <QLabel>

namespace kurvex {

std::optional<double> TangentProblemWindow::functionValue(double x) const
{
    return TermValueAt(termField_->tree(), x, CurrentTermSlots());
}

std::optional<double> TangentProblemWindow::curveValue(double x)
{
    if (CurveKind == kKindStraightLine) {
        return ParamA * x + ParamB;
    }
    return functionValue(x);
}

void TangentProblemWindow::drawGraph()
{
    drawCurve(XMin, XMax);
}

void TangentProblemWindow::paintCoordinateSystem(int)
{
    // Drawn by paintForeground, over the secants and under the graph.
}

void TangentProblemWindow::paintForeground(int pane)
{
    if (DrawCanvas == nullptr) {
        return;
    }
    // The secants' length is measured in ticks of the axes drawn in this frame.
    ComputeXTickStep();
    // The current pass draws its tangent over everything before it; the same tangent drawn in a
    // fixed secant's pass would only be covered again, pixel for pixel.
    const bool tangentOnTop =
        (display_.tangent || PointXQ == PointXP) && functionValue(PointXP) && functionValue(PointXQ);
    SlopeTexts texts;
    for (const SecantPass& pass :
         SecantPasses(FixedSecants, PointXQ, secantColourButton_->SelectionColor())) {
        texts = drawSecantPass(pass, !pass.current && tangentOnTop);
    }
    LessonWindow::paintCoordinateSystem(pane);
    CurveColor = GraphColor;
    CurveKind = kKindFunction;
    drawGraph();
    secantSlopeLabel_->setText(QString::fromStdString(texts.secant));
    tangentSlopeLabel_->setText(QString::fromStdString(texts.tangent));
}

TangentProblemWindow::SlopeTexts TangentProblemWindow::drawSecantPass(const SecantPass& pass,
                                                                      bool tangentCovered)
{
    SecantColor = pass.color;
    const double xP = PointXP;
    const double xQ = pass.xQ;
    const std::optional<double> yQ = functionValue(xQ);
    const std::optional<double> yP = functionValue(xP);
    if (!yP || !yQ) {
        return {kSecantUndefinedText, kNoTangentText};
    }
    Canvas& c = *DrawCanvas;
    const int radius = ScaledSize(3);
    DrawPointDisk(c, xP, *yP, radius, clBlack);
    DrawPointDisk(c, xQ, *yQ, radius, clBlack);
    if (display_.helpLines) {
        DrawLinesToAxes(c, xQ, *yQ, clSilver, true, true);
        DrawLinesToAxes(c, xP, *yP, clSilver, true, true);
    }
    if (display_.pointLabels && pass.current) {
        c.setBrush({BackgroundColor, BrushStyle::Solid});
        DrawLabelAt(c, xQ, *yQ, -ScaledSize(8), -ScaledSize(20), "Q");
        DrawLabelAt(c, xP, *yP, -ScaledSize(8), -ScaledSize(20), "P");
    }

    SlopeTexts texts;
    const std::optional<StraightLine> secant = SecantLine(xP, *yP, xQ, *yQ, TangentLength, XTickStep);
    texts.secant = secant ? SlopeText(secant->slope) : kSecantUndefinedText;
    const SlopeTriangle legs = SecantTriangle(xP, *yP, xQ, *yQ);
    if (display_.helpLines) {
        drawHelpLegs(legs);
    }
    if (display_.secantTriangle && pass.current) {
        DrawSlopeTriangle(c, legs, TriangleColor, clSilver);
    }
    if (secant) {
        CurveColor = SecantColor;
        drawLine(*secant);
    }
    // Q on P leaves no secant: the tangent stands in for it.
    const bool tangentDue = display_.tangent || xQ == xP;
    texts.tangent = tangentDue && !tangentCovered ? drawTangent() : kNoTangentText;
    return texts;
}

void TangentProblemWindow::drawHelpLegs(const SlopeTriangle& legs)
{
    Canvas& c = *DrawCanvas;
    const Point left = PixelOf(legs.x0, legs.y0);
    const Point corner = PixelOf(legs.x1, legs.y0);
    const Point right = PixelOf(legs.x1, legs.y1);
    c.setPen({clSilver, ScaledSize(1), PenStyle::Solid, PenMode::Copy});
    c.moveTo(left.x, left.y);
    c.lineTo(corner.x, corner.y);
    c.lineTo(right.x, right.y);
}

std::string TangentProblemWindow::drawTangent()
{
    const std::optional<PointTangent> tangent =
        TangentLine(termField_->tree(), PointXP, CurrentTermSlots(), TangentLength, XTickStep);
    if (!tangent) {
        return kNoTangentText;
    }
    CurveColor = TangentLineColor;
    drawLine(tangent->line);
    if (display_.tangentTriangle) {
        DrawSlopeTriangle(*DrawCanvas, TangentTriangle(*tangent), std::nullopt, clSilver);
    }
    return SlopeText(tangent->line.slope);
}

void TangentProblemWindow::drawLine(const StraightLine& line)
{
    ParamA = line.slope;
    ParamB = line.intercept;
    CurveKind = kKindStraightLine;
    drawCurve(line.xFrom, line.xTo);
    CurveKind = kKindFunction;
}

} // namespace kurvex
