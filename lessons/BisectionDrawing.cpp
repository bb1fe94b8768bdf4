// Bisection window (TForm13): the band of the interval, help lines, point labels, the curve and
// the nested intervals below the plot.
#include "lessons/BisectionWindow.h"

#include "core/Decorations.h"
#include "core/Settings.h"

#include <algorithm>
#include <array>

namespace kurvex {

namespace {

// The bars show the start interval and this many halvings; later steps are not drawn.
constexpr int kDrawnSteps = 12;

void verticalLine(Canvas& c, int x, int top, int bottom)
{
    c.moveTo(x, top);
    c.lineTo(x, bottom);
}

// One nested interval below the plot: a line from a to b with a tick at each end.
void drawBar(Canvas& c, double a, double b, int y)
{
    const int t = ScaledSize(3);
    const int xa = PixelOf(a, 0.0).x;
    const int xb = PixelOf(b, 0.0).x;
    verticalLine(c, xa, y - t, y + t);
    verticalLine(c, xb, y - t, y + t);
    c.moveTo(xa, y);
    c.lineTo(xb, y);
}

} // namespace

void BisectionWindow::setAxisCaptions(int)
{
    NumberLineMode = false;
    XAxisLabel = "x";
    YAxisLabel = "y=f(x)";
}

void BisectionWindow::paintCoordinateSystem(int pane)
{
    // The band lies under the help lines, the labels and the axes.
    CurveColor = GraphColor;
    drawBand();
    drawHelpLines();
    drawPointLabels();
    LessonWindow::paintCoordinateSystem(pane);
}

void BisectionWindow::paintForeground(int)
{
    if (DrawCanvas == nullptr) {
        return;
    }
    drawCurve();
    drawBars();
    Canvas& c = *DrawCanvas;
    c.setPen({clBlack, ScaledSize(1), PenStyle::Solid, PenMode::Copy});
    c.moveTo(0, PlotHeight);
    c.lineTo(PlotWidth, PlotHeight);
    c.setBrush({BackgroundColor, BrushStyle::Solid});
}

void BisectionWindow::drawBand()
{
    if (DrawCanvas == nullptr) {
        return;
    }
    Canvas& c = *DrawCanvas;
    const CurveValueFunction f = function();
    const int xa = PixelOf(a_, 0.0).x;
    const int xb = PixelOf(b_, 0.0).x;
    const BandKind kind = BandOf(f(a_), f(b_));
    if (kind == BandKind::Undefined) {
        // Without both values there is no sign to colour by: only the interval's ends.
        c.setPen({clGray, ScaledSize(1), PenStyle::Solid, PenMode::Copy});
        verticalLine(c, xa, 0, PlotHeight);
        verticalLine(c, xb, 0, PlotHeight);
        return;
    }
    const TColor colour = kind == BandKind::SameSign ? sameSignColour_ : signChangeColour_;
    c.setBrush({colour, BrushStyle::Solid});
    c.setPen({colour, ScaledSize(1), PenStyle::Solid, PenMode::Copy});
    c.rectangle(std::min(xa, xb), 0, std::max(xa, xb), PlotHeight);
    // An interval of no width still shows as a line.
    if (a_ <= b_) {
        verticalLine(c, xa, 0, PlotHeight);
    }
}

void BisectionWindow::drawHelpLines()
{
    if (!showHelpLines_ || DrawCanvas == nullptr) {
        return;
    }
    Canvas& c = *DrawCanvas;
    const CurveValueFunction f = function();
    const double m = (a_ + b_) / 2.0;
    c.setPen({clBlack, ScaledSize(1), PenStyle::Solid, PenMode::Copy});
    for (const double x : {a_, b_, m}) {
        verticalLine(c, PixelOf(x, 0.0).x, 0, PlotHeight);
    }
    const std::array<std::pair<double, TColor>, 3> points{{{m, clYellow}, {a_, clBlue}, {b_, clBlue}}};
    for (const auto& [x, colour] : points) {
        const std::optional<double> y = f(x);
        if (!y) {
            continue;
        }
        const Point p = PixelOf(x, *y);
        c.moveTo(p.x, p.y);
        c.lineTo(PixelOf(0.0, *y).x, p.y);
    }
    const int r = ScaledSize(3);
    for (const auto& [x, colour] : points) {
        if (const std::optional<double> y = f(x)) {
            const Point p = PixelOf(x, *y);
            c.setBrush({colour, BrushStyle::Solid});
            c.ellipse(p.x - r, p.y - r, p.x + r, p.y + r);
        }
    }
    c.setBrush({BackgroundColor, BrushStyle::Solid});
}

void BisectionWindow::drawPointLabels()
{
    if (!showPointLabels_ || DrawCanvas == nullptr) {
        return;
    }
    Canvas& c = *DrawCanvas;
    const CurveValueFunction f = function();
    c.setPen({clBlack, ScaledSize(1), PenStyle::Solid, PenMode::Copy});
    c.setBrush({BackgroundColor, BrushStyle::Solid});
    const int axis = PixelOf(0.0, 0.0).x;
    const std::array<std::pair<const char*, double>, 3> labels{
        {{"f(a)", a_}, {"f(b)", b_}, {"f(m)", (a_ + b_) / 2.0}}};
    for (const auto& [text, x] : labels) {
        const std::optional<double> y = f(x);
        if (!y) {
            continue;
        }
        // Beside the y axis, on the side away from the point.
        const int column = x < 0 ? axis + ScaledSize(8) : axis - ScaledSize(25);
        c.textOut(column, PixelOf(x, *y).y - ScaledSize(6), text);
    }
}

void BisectionWindow::drawBars()
{
    Canvas& c = *DrawCanvas;
    const int h = PlotHeight / 60;
    c.setBrush({BackgroundColor, BrushStyle::Solid});
    c.setPen({BackgroundColor, ScaledSize(1), PenStyle::Solid, PenMode::Copy});
    c.rectangle(0, PlotHeight, PlotWidth, PlotHeight * 5 / 4);
    c.setPenColor(clBlack);
    drawBar(c, startA_, startB_, PlotHeight + 2 * h);
    const std::vector<BisectionInterval> bars =
        NestedIntervals(function(), startA_, startB_, std::min(steps_, kDrawnSteps));
    for (std::size_t i = 0; i < bars.size(); ++i) {
        drawBar(c, bars[i].a, bars[i].b, PlotHeight + (static_cast<int>(i) + 3) * h);
    }
}

} // namespace kurvex
