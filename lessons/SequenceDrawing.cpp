// Sequences window (TForm15): its picture in one pass: ε band, axes, n0, the limit's line and the
// points of the sequence.
#include "lessons/SequenceWindow.h"

#include "core/CoordinateSystem.h"
#include "core/Decorations.h"
#include "core/SequenceLimit.h"
#include "core/Settings.h"

#include <algorithm>
#include <cmath>

namespace kurvex {

namespace {

int scaledOffset(double pixels)
{
    return static_cast<int>(std::nearbyint(pixels * DrawScale));
}

// A horizontal line across the plot at world y, or nothing when y lies outside it.
void drawAcross(Canvas& c, double y)
{
    const int row = WorldToPixelY(y);
    if (row < PlotTop || row > PlotHeight) {
        return;
    }
    c.moveTo(PlotLeft, row);
    c.lineTo(PlotWidth, row);
}

} // namespace

void SequenceWindow::setAxisCaptions(int)
{
    XAxisLabel = "n";
    YAxisLabel = "a(n)";
}

void SequenceWindow::paintCoordinateSystem(int pane)
{
    drawEpsilonBand();
    LessonWindow::paintCoordinateSystem(pane);
}

std::optional<double> SequenceWindow::term(int n) const
{
    if (n < 1 || static_cast<std::size_t>(n) > table_.size()) {
        return std::nullopt;
    }
    return table_[static_cast<std::size_t>(n - 1)];
}

void SequenceWindow::drawEpsilonBand()
{
    if (DrawCanvas == nullptr) {
        return;
    }
    // Rows clamped to the plot, so a band far above or below draws nothing and a huge g or ε no
    // pixel beyond it.
    const int a = WorldToPixelY(SequenceLimit + epsilon_);
    const int b = WorldToPixelY(SequenceLimit - epsilon_);
    const int top = std::min(a, b);
    const int bottom = std::max(a, b);
    if (bottom < PlotTop || top > PlotHeight) {
        return;
    }
    Canvas& c = *DrawCanvas;
    c.setPen({EpsilonColor, 1, PenStyle::Solid, PenMode::Copy});
    c.setBrush({EpsilonColor, BrushStyle::Solid});
    c.rectangle(PlotLeft, std::max(top, PlotTop), PlotWidth, std::min(bottom, PlotHeight));
}

void SequenceWindow::paintForeground(int)
{
    if (DrawCanvas == nullptr) {
        return;
    }
    if (n0_) {
        drawN0Mark();
    }
    if (limitFound_ && markLimit_ && findLimit_) {
        drawLimitLine();
    }
    drawPoints();
}

void SequenceWindow::drawLimitLine()
{
    Canvas& c = *DrawCanvas;
    c.setPen({clRed, ScaledSize(1), PenStyle::Solid, PenMode::Copy});
    drawAcross(c, SequenceLimit);
}

void SequenceWindow::drawN0Mark()
{
    const int n0 = *n0_;
    const std::optional<double> y = term(n0);
    if (!(n0 < XMax) || !y) {
        return;
    }
    Canvas& c = *DrawCanvas;
    c.setPen({clBlue, ScaledSize(1), PenStyle::Solid, PenMode::Copy});
    if (const auto segment = PlotSegment(n0, 0.0, n0, *y)) {
        c.moveTo(segment->first.x, segment->first.y);
        c.lineTo(segment->second.x, segment->second.y);
    }
    // "n" with a lowered "o" below the axis for a positive term, above it otherwise.
    const Point foot = PixelOf(n0, 0.0);
    const bool above = *y > 0;
    Font font = c.font();
    font.color = clBlack;
    c.setFont(font);
    c.setBrush({BackgroundColor, BrushStyle::Solid});
    c.textOut(foot.x - scaledOffset(4), foot.y + scaledOffset(above ? 16 : -22), "n");
    c.textOut(foot.x + scaledOffset(4), foot.y + scaledOffset(above ? 20 : -18), "o");
}

void SequenceWindow::drawPoints()
{
    Canvas& c = *DrawCanvas;
    const double lastJoined = std::nearbyint(XMax);
    for (int n = 1; n <= kSequencePointCount; ++n) {
        const std::optional<double> y = term(n);
        if (!y) {
            continue;
        }
        const bool inside = YMin < *y && *y < YMax;
        // A point is joined to its predecessor only when both exist; the segment is cut to the
        // plot, so a predecessor far outside never reaches the canvas as a huge pixel.
        const std::optional<double> previous = term(n - 1);
        if (connectPoints_ && n <= lastJoined && n > XMin && inside && previous) {
            c.setPen({pointColor_, ScaledSize(1), PenStyle::Solid, PenMode::Copy});
            if (const auto segment = PlotSegment(n, *y, n - 1, *previous)) {
                c.moveTo(segment->first.x, segment->first.y);
                c.lineTo(segment->second.x, segment->second.y);
            }
        }
        if (inside) {
            drawPointMarker({WorldToPixelX(n), WorldToPixelY(*y)});
        }
    }
}

void SequenceWindow::drawPointMarker(Point p)
{
    Canvas& c = *DrawCanvas;
    const bool rowInside = PlotTop <= p.y && p.y <= PlotHeight;
    c.setPen({pointColor_, ScaledSize(1), PenStyle::Solid, PenMode::Copy});
    if (PlotLeft <= p.x && p.x <= PlotWidth && rowInside) {
        c.setBrush({pointColor_, BrushStyle::Solid});
        c.ellipse(p.x - scaledOffset(2), p.y - scaledOffset(2), p.x + scaledOffset(3), p.y + scaledOffset(3));
    }
    // The values on a number line at the plot's left edge.
    if (numberLineMarks_ && rowInside) {
        c.moveTo(scaledOffset(4), p.y);
        c.lineTo(scaledOffset(16), p.y);
    }
}

} // namespace kurvex
