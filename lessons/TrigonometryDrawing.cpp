// Trigonometry window (TForm5): its picture, drawn in one pass through DrawCanvas.
#include "lessons/TrigonometryWindow.h"

#include "core/CoordinateSystem.h"
#include "core/Decorations.h"
#include "core/Plotter.h"
#include "core/Settings.h"
#include "core/UnitCircle.h"

#include <algorithm>
#include <cmath>

namespace kurvex {

namespace {

constexpr TColor kHelpLineGrey = 0x808080;

void usePen(Canvas& c, TColor color, int width, PenStyle style = PenStyle::Solid)
{
    c.setPen({color, width, style, PenMode::Copy});
}

void line(Canvas& c, double x1, double y1, double x2, double y2)
{
    const Point from = PixelOf(x1, y1);
    const Point to = PixelOf(x2, y2);
    c.moveTo(from.x, from.y);
    c.lineTo(to.x, to.y);
}

void text(Canvas& c, double x, double y, const std::string& s)
{
    c.setFontColor(clBlack);
    DrawLabelAt(c, x, y, 0, 0, s);
}

// The unit circle's box, or a circle of the given radius around its centre.
Rect circleBox(double radius)
{
    const Point topLeft = PixelOf(kCircleCentreX - radius, radius);
    const Point bottomRight = PixelOf(kCircleCentreX + radius, -radius);
    return {topLeft.x, topLeft.y, bottomRight.x, bottomRight.y};
}

double sine(double x)
{
    return std::sin(x);
}

double cosine(double x)
{
    return std::cos(x);
}

} // namespace

void TrigonometryWindow::setAxisCaptions(int)
{
    XAxisLabel.clear();
    YAxisLabel = "y";
}

void TrigonometryWindow::paintCoordinateSystem(int pane)
{
    // The window is fixed whatever the settings dialog showed meanwhile.
    setWorld(kTrigWorld);
    setAxisCaptions(pane);
    // A π axis chosen in another lesson would move the ticks off the π/6 grid.
    DrawCoordinateSystem(/*piAxis=*/false);
}

void TrigonometryWindow::paintForeground(int)
{
    if (DrawCanvas == nullptr) {
        return;
    }
    Canvas& c = *DrawCanvas;
    c.setTextAlign(TaLeft | TaTop);
    drawAxisMarks();
    // The circle's part of the picture covers the axes and grid there.
    usePen(c, BackgroundColor, ScaledSize(1));
    c.setBrush({BackgroundColor, BrushStyle::Solid});
    const Point topLeft = PixelOf(kTrigWorld.xMin, kTrigWorld.yMax);
    const Point bottomRight = PixelOf(kCircleAreaRight, kTrigWorld.yMin);
    c.rectangle(topLeft.x, topLeft.y, bottomRight.x, bottomRight.y);
    drawFullGraphs();
    drawUnitCircle();
    drawArc();
    drawAngleOnAxis();
    if (tangentMode_) {
        drawTangentMode();
    } else {
        drawSineMode();
    }
}

double TrigonometryWindow::traceStep() const
{
    // The screen's column, also in print: a printed curve has as many points as the screen's.
    return (kTrigWorld.xMax - kTrigWorld.xMin) / std::max(1, plotSize().width());
}

void TrigonometryWindow::drawAxisMarks()
{
    Canvas& c = *DrawCanvas;
    const Font plain = c.font();
    c.setFontColor(clBlack);
    for (const AxisMark& mark : AxisMarks(radianMode_)) {
        const int half = c.textWidth(std::string(static_cast<std::size_t>(mark.shownCharacters), 'H')) / 2;
        if (mark.symbolFont) {
            // The plot's face with the symbol character set: every backend shows Greek letters in
            // it, while a face named "Symbol" may lack them where it is not the Windows font.
            c.setFontCharset(FontCharset::Symbol);
        }
        const Point p = PixelOf(mark.x, mark.y);
        c.textOut(p.x - half, p.y, mark.text);
        c.setFont(plain);
        c.setFontColor(clBlack);
    }
}

void TrigonometryWindow::drawSampled(double (*f)(double), double from, double to, double step, TColor color,
                                     int width)
{
    const std::vector<double> xs = GraphSampleXs(from, to, step);
    if (xs.size() < 2) {
        return;
    }
    std::vector<Point> points;
    points.reserve(xs.size());
    for (const double x : xs) {
        points.push_back(PixelOf(x, f(x)));
    }
    usePen(*DrawCanvas, color, width);
    DrawCanvas->polyline(points);
}

void TrigonometryWindow::drawTanCot(bool cotangent, double xFrom, double xTo, TColor color, int width,
                                    int stepPx)
{
    DrawCanvas->setPenStyle(PenStyle::Solid);
    const CurveVariant curve{stepPx, variant().curve.jumpInside, variant().curve.jumpLeaving};
    DrawCurveWithPen(XMin, XMax, xFrom, xTo, cotangent ? CotangentValue : TangentValue, curve, color, width,
                     CurveStroke::Polylines);
}

void TrigonometryWindow::drawFullGraphs()
{
    if (tangentMode_) {
        drawTanCot(false, kGraphFrom, kGraphTo, graphPenColor_, ScaledSize(graphPenWidth_), 1);
    }
    if (showCotangent_) {
        drawTanCot(true, kGraphFrom, kGraphTo, graphPenColor_, ScaledSize(graphPenWidth_), 1);
    }
    if (tangentMode_) {
        return;
    }
    drawSampled(sine, kGraphFrom, kGraphTo, 2.0 * traceStep(), clBlack, ScaledSize(1));
    if (showCosine_) {
        drawSampled(cosine, kGraphFrom, kGraphTo, 2.0 * traceStep(), clBlack, ScaledSize(1));
    }
}

void TrigonometryWindow::drawUnitCircle()
{
    Canvas& c = *DrawCanvas;
    text(c, -6.35, 1.5, "Einheitskreis r = 1");
    usePen(c, clBlack, ScaledSize(1));
    c.setBrush({BackgroundColor, BrushStyle::Solid});
    const Rect box = circleBox(1.0);
    c.ellipse(box.left, box.top, box.right, box.bottom);
    line(c, kCircleCentreX - 1.1, 0.0, kCircleCentreX + 1.1, 0.0);
    line(c, kCircleCentreX, 1.1, kCircleCentreX, -1.1);
    if (tangentMode_) {
        text(c, -5.5, 3.5, "Tangente");
        line(c, kTangentLineX, kTrigWorld.yMin, kTangentLineX, kTrigWorld.yMax);
    }
}

void TrigonometryWindow::drawArc()
{
    const ArcRays rays = ArcRaysOf(angle_);
    const Point from = PixelOf(rays.from.x, rays.from.y);
    const Point to = PixelOf(rays.to.x, rays.to.y);
    const ArcShape shape = ArcShapeOf(angle_, from == to);
    if (shape == ArcShape::None) {
        return;
    }
    // A full turn is a whole circle: metafile readers differ on arcs whose ends meet.
    const bool fullTurn = shape == ArcShape::FullTurn;
    Canvas& c = *DrawCanvas;
    usePen(c, ArcColor, ScaledSize(2));
    c.setBrushStyle(BrushStyle::Clear);
    const Rect box = circleBox(1.0);
    if (fullTurn) {
        c.ellipse(box.left, box.top, box.right, box.bottom);
    } else {
        c.arc(box.left, box.top, box.right, box.bottom, from.x, from.y, to.x, to.y);
    }
    if (!radianMode_) {
        // The sector shares the arc's rays, whose points lie on the unit circle, not on the sector.
        usePen(c, ArcColor, ScaledSize(1));
        c.setBrush({AngleColor, BrushStyle::Solid});
        const Rect sector = circleBox(0.25);
        if (fullTurn) {
            c.ellipse(sector.left, sector.top, sector.right, sector.bottom);
        } else {
            c.pie(sector.left, sector.top, sector.right, sector.bottom, from.x, from.y, to.x, to.y);
        }
    }
    c.setBrush({BackgroundColor, BrushStyle::Solid});
}

void TrigonometryWindow::drawAngleOnAxis()
{
    usePen(*DrawCanvas, radianMode_ ? ArcColor : AngleColor, ScaledSize(2));
    line(*DrawCanvas, 0.0, 0.0, angle_, 0.0);
}

void TrigonometryWindow::drawCircleSegments()
{
    Canvas& c = *DrawCanvas;
    const WorldXY p = CirclePoint(angle_);
    usePen(c, clBlack, ScaledSize(1));
    line(c, kCircleCentreX, 0.0, p.x, p.y);
    usePen(c, SinColor, ScaledSize(2));
    line(c, p.x, p.y, p.x, 0.0);
    usePen(c, CosColor, ScaledSize(2));
    line(c, p.x, 0.0, kCircleCentreX, 0.0);
}

void TrigonometryWindow::drawSineMode()
{
    Canvas& c = *DrawCanvas;
    const double s = std::sin(angle_);
    const double co = std::cos(angle_);
    text(c, -6.35, -1.5, TrigValueText(TrigFunction::Sin, angle_, s, radianMode_));
    if (showCosine_) {
        text(c, -6.35, -2.0, TrigValueText(TrigFunction::Cos, angle_, co, radianMode_));
    }
    drawCircleSegments();
    if (showCosine_) {
        usePen(c, CosColor, ScaledSize(2));
        line(c, angle_, 0.0, angle_, co);
    }
    usePen(c, SinColor, ScaledSize(2));
    line(c, angle_, 0.0, angle_, s);
    usePen(c, kHelpLineGrey, ScaledSize(1), PenStyle::Dash);
    line(c, angle_, s, kCircleCentreX + co, s);

    drawSampled(sine, 0.0, angle_, traceStep(), SinColor, ScaledSize(2));
    if (showCosine_) {
        drawSampled(cosine, 0.0, angle_, traceStep(), CosColor, ScaledSize(2));
    }
}

void TrigonometryWindow::drawTangentMode()
{
    Canvas& c = *DrawCanvas;
    drawCircleSegments();
    // Near 90° and 270° the tangent leaves the picture: no text, ray or segment then.
    if (const auto t = TangentOnCircle(angle_)) {
        text(c, -6.35, -1.5, TrigValueText(TrigFunction::Tan, angle_, *t, radianMode_));
        if (const auto k = CotangentOnCircle(angle_); k && showCotangent_) {
            text(c, -6.35, -2.0, TrigValueText(TrigFunction::Cot, angle_, *k, radianMode_));
        }
        usePen(c, clBlack, ScaledSize(1));
        line(c, kCircleCentreX, 0.0, kTangentLineX, *t);
        usePen(c, TanColor, ScaledSize(2));
        line(c, kTangentLineX, 0.0, kTangentLineX, *t);
        line(c, angle_, 0.0, angle_, *t);
        usePen(c, kHelpLineGrey, ScaledSize(1), PenStyle::Dash);
        line(c, angle_, *t, kTangentLineX, *t);
    }
    // The wide traces take every other column: a 3-pixel pen looks the same, and the painter rounds
    // half as many joins.
    const double from = std::min(0.0, angle_);
    const double to = std::max(0.0, angle_);
    drawTanCot(false, from, to, TanColor, ScaledSize(3), 2);
    if (showCotangent_) {
        drawTanCot(true, from, to, CotColor, ScaledSize(3), 2);
    }
    graphPenColor_ = clBlack;
    graphPenWidth_ = 1;
}

} // namespace kurvex
