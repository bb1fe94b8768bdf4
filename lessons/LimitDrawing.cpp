// Limit-and-continuity window (TForm11): the ε strip, the two pieces, the δ halves with their
// images, the markers at x0 and the ε and δ letters.
#include "lessons/LimitWindow.h"

#include "core/Decorations.h"
#include "core/Settings.h"
#include "core/TermFunction.h"
#include "lesson/TermField.h"

#include <algorithm>

namespace kurvex {

namespace {

void segment(Canvas& c, double x1, double y1, double x2, double y2)
{
    const Point p = PixelOf(x1, y1);
    const Point q = PixelOf(x2, y2);
    c.moveTo(p.x, p.y);
    c.lineTo(q.x, q.y);
}

// A help line from the x axis up or down to the curve, where the curve has a value.
void lineToCurve(Canvas& c, double x, std::optional<double> y)
{
    if (y) {
        segment(c, x, 0.0, x, *y);
    }
}

} // namespace

CurveValueFunction LimitWindow::piece(NeighbourhoodSide side) const
{
    return TermFunction(side == NeighbourhoodSide::Left ? term1_->tree() : term2_->tree());
}

void LimitWindow::paintCoordinateSystem(int pane)
{
    // The strip lies under everything, the pieces under the axes.
    drawEpsilonStrip();
    drawPieces();
    LessonWindow::paintCoordinateSystem(pane);
}

void LimitWindow::paintForeground(int)
{
    if (DrawCanvas == nullptr) {
        return;
    }
    drawHalf(NeighbourhoodSide::Left);
    drawHalf(NeighbourhoodSide::Right);
    drawStripLines();
    drawMarkers();
    if (!piece(NeighbourhoodSide::Left)(PointXP)) {
        drawUndefinedValueNote();
    }
    if (showStripLabels_) {
        drawLetters();
    }
}

void LimitWindow::drawEpsilonStrip()
{
    const std::optional<double> centre = piece(NeighbourhoodSide::Left)(PointXP);
    if (DrawCanvas == nullptr || !centre) {
        return;
    }
    Canvas& c = *DrawCanvas;
    c.setBrush({EpsilonColor, BrushStyle::Solid});
    c.setPen({EpsilonColor, ScaledSize(1), PenStyle::Solid, PenMode::Copy});
    const Point top = PixelOf(XMin, *centre + epsilon_);
    const Point bottom = PixelOf(XMax, *centre - epsilon_);
    c.rectangle(top.x, top.y, bottom.x, bottom.y);
}

void LimitWindow::drawPieces()
{
    CurveColor = GraphColor;
    drawCurve(piece(NeighbourhoodSide::Left), XMin, PointXP);
    drawCurve(piece(NeighbourhoodSide::Right), PointXP, XMax);
}

void LimitWindow::drawHalf(NeighbourhoodSide side)
{
    Canvas& c = *DrawCanvas;
    const bool left = side == NeighbourhoodSide::Left;
    const CurveValueFunction f = piece(side);
    const double x0 = PointXP;
    const double edge = left ? x0 - delta_ : x0 + delta_;
    // Half a pixel of the window: the search sees every column of the curve.
    const double h = (XMax - XMin) / (2.0 * std::max(1, PlotWidth));
    const std::optional<ImageInterval> image = HalfNeighbourhoodImage(f, x0, delta_, h, side);

    c.setPen({clBlack, ScaledSize(1), PenStyle::Solid, PenMode::Copy});
    lineToCurve(c, x0, f(x0));
    lineToCurve(c, edge, f(edge));
    if (image) {
        segment(c, 0.0, image->max, image->xAtMax, image->max);
        segment(c, 0.0, image->min, image->xAtMin, image->min);
    }
    c.setPen({DeltaColor, ScaledSize(3), PenStyle::Solid, PenMode::Copy});
    segment(c, x0, 0.0, edge, 0.0);
    if (image) {
        c.setPenColor(FOfDeltaColor);
        segment(c, 0.0, image->min, 0.0, image->max);
        // An image of one value is a point, drawn as wide as the thick line would be.
        const Point low = PixelOf(0.0, image->min);
        if (low == PixelOf(0.0, image->max)) {
            const int r = ScaledSize(2);
            c.setPenWidth(ScaledSize(1));
            c.setBrush({FOfDeltaColor, BrushStyle::Solid});
            c.ellipse(low.x - r, low.y - r, low.x + r + 1, low.y + r + 1);
        }
    } else {
        // No value on this half: no image to draw, and the picture says why.
        const std::string text = "nicht definiert";
        const Point at = PixelOf(x0, 0.0);
        const int width = c.textWidth(text);
        c.setFontColor(FOfDeltaColor);
        c.setBkMode(BkMode::Transparent);
        c.textOut(left ? at.x - width - ScaledSize(2) : at.x + ScaledSize(2), at.y + 2 * c.textHeight(text),
                  text);
        c.setBkMode(BkMode::Opaque);
        c.setFontColor(clBlack);
    }
    c.setPenWidth(ScaledSize(1));
}

void LimitWindow::drawStripLines()
{
    const std::optional<double> centre = piece(NeighbourhoodSide::Left)(PointXP);
    if (!centre) {
        return;
    }
    Canvas& c = *DrawCanvas;
    c.setPen({clBlack, ScaledSize(1), PenStyle::Dash, PenMode::Copy});
    segment(c, XMin, *centre, XMax, *centre);
    c.setPenStyle(PenStyle::Dot);
    segment(c, XMin, *centre + epsilon_, XMax, *centre + epsilon_);
    segment(c, XMax, *centre - epsilon_, XMin, *centre - epsilon_);
    c.setPenStyle(PenStyle::Solid);
}

void LimitWindow::drawMarkers()
{
    CurveColor = GraphColor;
    Canvas& c = *DrawCanvas;
    const int r = ScaledSize(3);
    c.setPen({clBlack, ScaledSize(1), PenStyle::Solid, PenMode::Copy});
    // The square: where the right piece arrives, a value f does not take at x0.
    if (const std::optional<double> right = piece(NeighbourhoodSide::Right)(PointXP)) {
        const Point p = PixelOf(PointXP, *right);
        c.setBrush({EpsilonColor, BrushStyle::Solid});
        c.rectangle(p.x - r, p.y - r, p.x + r, p.y + r);
    }
    // The disk: the value f takes at x0.
    if (const std::optional<double> value = piece(NeighbourhoodSide::Left)(PointXP)) {
        const Point p = PixelOf(PointXP, *value);
        c.setBrush({GraphColor, BrushStyle::Solid});
        c.ellipse(p.x - r, p.y - r, p.x + r, p.y + r);
    }
    c.setBrushColor(BackgroundColor);
}

void LimitWindow::drawUndefinedValueNote()
{
    Canvas& c = *DrawCanvas;
    const std::string text = "f(x0) ist nicht definiert";
    const int width = c.textWidth(text);
    const int margin = ScaledSize(6);
    // Near the top beside x0, on the side with room, on the background so no line runs through it;
    // kept inside the plot when x0 lies outside.
    const int x0 = PixelOf(PointXP, 0.0).x;
    int left = x0 + margin;
    if (left + width > PlotWidth - margin) {
        left = x0 - margin - width;
    }
    left = std::clamp(left, margin, std::max(margin, PlotWidth - width - margin));
    c.setFontColor(clBlack);
    c.setBrush({BackgroundColor, BrushStyle::Solid});
    c.setBkMode(BkMode::Opaque);
    c.textOut(left, c.textHeight(text) + margin, text);
}

void LimitWindow::drawLetters()
{
    Canvas& c = *DrawCanvas;
    const Font plotFont = c.font();
    // In the symbol font "e" shows ε and "d" shows δ, on screen and in a metafile alike.
    Font symbol = plotFont;
    symbol.family = "Symbol";
    symbol.charset = FontCharset::Symbol;
    symbol.color = clBlack;
    c.setFont(symbol);
    c.setPenColor(clBlack);
    c.setBkMode(BkMode::Transparent);
    const int height = c.textHeight("e");
    if (const std::optional<double> centre = piece(NeighbourhoodSide::Left)(PointXP)) {
        const int leftX = PixelOf(XMin, 0.0).x + PlotWidth / 10;
        const int rightX = PixelOf(XMax, 0.0).x - PlotWidth / 10;
        for (const double y : {*centre + epsilon_ / 2.0, *centre - epsilon_ / 2.0}) {
            const int row = PixelOf(0.0, y).y - height / 2;
            c.textOut(leftX, row, "e");
            c.textOut(rightX, row, "e");
        }
    }
    const int width = c.textWidth("d");
    const int row = PixelOf(0.0, 0.0).y + c.textHeight("d") / 2;
    for (const double x : {PointXP - delta_ / 2.0, PointXP + delta_ / 2.0}) {
        c.textOut(PixelOf(x, 0.0).x - width / 2, row, "d");
    }
    c.setBkMode(BkMode::Opaque);
    c.setFont(plotFont);
}

} // namespace kurvex
