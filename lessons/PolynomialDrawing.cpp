// Polynomial window (TForm17): the conditions with their slope lines, the polynomial, its
// derivatives and its special points.
#include "lessons/PolynomialWindow.h"

#include "core/CurvePointSearch.h"
#include "core/Decorations.h"
#include "core/Settings.h"
#include "lesson/CurvePointRows.h"

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
        return [&p, n](double x) -> std::optional<double> {
            const double v = EvaluatePolynomial(p, x, n);
            return std::isfinite(v) ? std::optional(v) : std::nullopt;
        };
    };
    for (int n = 0; n < static_cast<int>(curves_.size()); ++n) {
        const CurveRow& row = curves_[static_cast<std::size_t>(n)];
        if (!row.shown) {
            continue;
        }
        drawCurve(order(n), XMin, XMax, n == 0 ? GraphColor : row.color, n == 0 ? LineWidth : row.width);
    }
    if (pointRows_->anyShown()) {
        MarkSpecialPoints(order(0), XMin, XMax, SignVariant::Standard, pointRows_->shown(),
                          pointRows_->style());
    }
}

} // namespace kurvex
