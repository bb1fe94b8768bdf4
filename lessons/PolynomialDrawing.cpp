// Polynomial window (TForm17): the conditions with their slope lines, the polynomial, its
// derivatives and its special points.
#include "lessons/PolynomialWindow.h"

#include "core/Decorations.h"
#include "core/Settings.h"
#include "core/SpecialPoints.h"

#include <algorithm>
#include <cmath>

namespace kurvex {

void PolynomialWindow::paintForeground(int)
{
    if (DrawCanvas == nullptr) {
        return;
    }
    drawConditions();
    // A system without a solution leaves the conditions alone on the plot.
    if (polynomial_.solved()) {
        drawPolynomialCurves();
    }
}

void PolynomialWindow::drawConditions()
{
    Canvas& c = *DrawCanvas;
    const int radius = 4 * static_cast<int>(std::nearbyint(std::clamp(DrawScale, 0.0, 1000.0)));
    const std::vector<Condition>& items = conditions_.items();
    for (std::size_t i = 0; i < items.size(); ++i) {
        const Condition& k = items[i];
        const TColor color = static_cast<int>(i) == conditions_.selected() ? selectedPointColor_ : k.color;
        c.setPen({color, ScaledSize(LineWidth), PenStyle::Solid, PenMode::Copy});
        c.setBrush({color, BrushStyle::Solid});
        const Point p = PixelOf(k.x, k.y);
        c.ellipse(p.x - radius, p.y - radius, p.x + radius, p.y + radius);
        if (showSlopeLines_ && HasSlopeLine(k.kind)) {
            const double s = XTickStep;
            const Point from = PixelOf(k.x + s, k.y + s * k.m);
            const Point to = PixelOf(k.x - s, k.y - s * k.m);
            c.moveTo(from.x, from.y);
            c.lineTo(to.x, to.y);
        }
    }
}

void PolynomialWindow::drawPolynomialCurves()
{
    const Polynomial& p = polynomial_;
    const auto order = [&p](int n) {
        return [&p, n](double x) -> std::optional<double> { return EvaluatePolynomial(p, x, n); };
    };
    const TColor keptColor = CurveColor;
    const int keptWidth = LineWidth;
    CurveColor = GraphColor;
    if (showPolynomial_) {
        drawCurve(order(0), XMin, XMax);
    }
    if (showFirstDerivative_) {
        CurveColor = firstDerivativeColor_;
        LineWidth = firstDerivativeWidth_;
        drawCurve(order(1), XMin, XMax);
    }
    if (showSecondDerivative_) {
        CurveColor = secondDerivativeColor_;
        LineWidth = secondDerivativeWidth_;
        drawCurve(order(2), XMin, XMax);
    }
    CurveColor = keptColor;
    LineWidth = keptWidth;
    if (showHigh_ || showLow_ || showInflection_) {
        MarkSpecialPoints(order(0), XMin, XMax, SignVariant::Standard, {showHigh_, showLow_, showInflection_},
                          {highColor_, lowColor_, inflectionColor_, 4});
    }
}

} // namespace kurvex
