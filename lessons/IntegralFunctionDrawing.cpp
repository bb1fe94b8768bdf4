// Integral-function window (TForm7): f and F in the background, the area, the line at x and its
// label above, and the bar of F(x) with its value below.
#include "lessons/IntegralFunctionWindow.h"

#include "core/CoordinateSystem.h"
#include "core/Decorations.h"
#include "core/Plotter.h"
#include "core/Settings.h"
#include "lesson/TermField.h"

#include <QLabel>

#include <algorithm>
#include <cmath>

namespace kurvex {

namespace {

// Gap in pixels between the x axis and the "x" below it.
constexpr int kLabelGap = 5;

// The pixel row of a curve value, with the plotter's bounds on world values.
int rowOf(double x, double y)
{
    return PixelOf(x, std::clamp(y, kCurveValueLow, kCurveValueHigh)).y;
}

} // namespace

Integrand IntegralFunctionWindow::integrand() const
{
    return IntegrandOf(termField_->tree());
}

void IntegralFunctionWindow::setAxisCaptions(int pane)
{
    XAxisLabel = pane == 0 ? "t" : "x";
    YAxisLabel = pane == 0 ? "f(t)" : "F(x)";
}

void IntegralFunctionWindow::paintBackground(int pane)
{
    if (pane == 0) {
        CurveColor = GraphColor;
        drawCurve(integrand(), XMin, XMax);
        return;
    }
    drawIntegralCurve();
}

void IntegralFunctionWindow::drawIntegralCurve()
{
    curve_ = IntegralCurveOver(integrand(), lowerLimit_, XMin, XMax, (XMax - XMin) / std::max(1, PlotWidth));
    CurveColor = AreaColor;
    const IntegralSweep& right = curve_.right;
    const IntegralSweep& left = curve_.left;
    drawCurve([&right](double x) { return right.valueAt(x); }, right.start, right.last());
    drawCurve([&left](double x) { return left.valueAt(x); }, left.last(), left.start);
}

void IntegralFunctionWindow::paintForeground(int pane)
{
    if (DrawCanvas == nullptr) {
        return;
    }
    if (pane == 0) {
        drawArea();
        drawUpperLimitLine();
        return;
    }
    drawValueBar();
}

void IntegralFunctionWindow::drawArea()
{
    // Columns beyond the plot add nothing visible, so a far x or x0 costs no more than the plot.
    const auto column = [](double x) { return std::clamp(PixelOf(x, 0.0).x, -2, PlotWidth + 2); };
    const Integrand f = integrand();
    const auto polygons = AreaPolygons(
        column(std::min(CurrentX, lowerLimit_)), column(std::max(CurrentX, lowerLimit_)),
        [&f](int col) -> std::optional<int> {
            const double x = PixelToWorldX(col);
            const std::optional<double> y = f(x);
            return y ? std::optional<int>(rowOf(x, *y)) : std::nullopt;
        },
        PixelOf(0.0, 0.0).y);
    Canvas& c = *DrawCanvas;
    c.setPen({AreaColor, ScaledSize(1), PenStyle::Solid, PenMode::Copy});
    c.setBrush({AreaColor, AreaFillStyle});
    for (const std::vector<Point>& polygon : polygons) {
        c.polygon(polygon);
    }
}

void IntegralFunctionWindow::drawUpperLimitLine()
{
    const double x = CurrentX;
    Canvas& c = *DrawCanvas;
    const int column = PixelOf(x, 0.0).x;
    const int axisRow = PixelOf(x, 0.0).y;
    if (const std::optional<double> y = integrand()(x)) {
        c.setPen({clBlack, ScaledSize(1), PenStyle::Solid, PenMode::Copy});
        c.moveTo(column, rowOf(x, *y));
        c.lineTo(column, axisRow);
    }
    c.setBrush({BackgroundColor, BrushStyle::Solid});
    const int width = c.textWidth("x");
    const int left = XLabelLeft(column, x > lowerLimit_, width);
    const int top = axisRow + ScaledSize(kLabelGap);
    const Rect box{left, top, left + width, top + c.textHeight("x")};
    c.textOut(left, XLabelTop(box, XTickLabelBoxes(c), width), "x");
}

void IntegralFunctionWindow::drawValueBar()
{
    const double x = CurrentX;
    const std::optional<double> value = IntegralAt(integrand(), curve_, lowerLimit_, x);
    valueLabel_->setText(QString::fromStdString(IntegralValueText(value, Decimals)));
    if (!value) {
        return;
    }
    Canvas& c = *DrawCanvas;
    c.setPen({AreaColor, ScaledSize(2.0 * LineWidth), PenStyle::Solid, PenMode::Copy});
    const int column = PixelOf(x, 0.0).x;
    c.moveTo(column, rowOf(x, *value));
    c.lineTo(column, PixelOf(x, 0.0).y);
    c.setPenWidth(ScaledSize(LineWidth));
}

} // namespace kurvex
