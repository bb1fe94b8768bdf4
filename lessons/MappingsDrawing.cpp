// Mappings window (TForm12): one frame, the Cartesian view in the top four fifths and the two
// number rails in the bottom fifth, with a mapping for every fixed arrow and the current x.
#include "lessons/MappingsWindow.h"

#include "core/CoordinateSystem.h"
#include "core/Decorations.h"
#include "core/RecordList.h"
#include "core/Settings.h"
#include "core/term/Term.h"
#include "lesson/TermField.h"

#include <QLabel>

#include <cmath>
#include <vector>

namespace kurvex {

namespace {

// The graph's own colour; the shared pen colour stays the user's.
constexpr TColor kGraphColour = clBlack;
// World windows that put the x rail at 20/21 and the f(x) rail at 5/6 of the picture's height.
constexpr double kXRailBottom = -1.0;
constexpr double kXRailTop = 20.0;
constexpr double kFRailBottom = -1.0;
constexpr double kFRailTop = 5.0;

struct Sizes {
    int radius = ScaledSize(4);
    int headLength = ScaledSize(12);
    int headHalfWidth = ScaledSize(4);
};

void blackPen(Canvas& c)
{
    c.setPen({clBlack, ScaledSize(1), PenStyle::Solid, PenMode::Copy});
}

void blackHead(Canvas& c, const std::array<Point, 3>& head)
{
    c.setBrush({clBlack, BrushStyle::Solid});
    c.polygon({head.begin(), head.end()});
}

} // namespace

std::optional<double> MappingsWindow::valueAt(double x) const
{
    const double y = EvaluateTerm(ParsedTerm, x, ParamA, ParamB, ParamC, 0, 0, 0);
    if (!EvalOk || !std::isfinite(y)) {
        return std::nullopt;
    }
    return y;
}

std::optional<double> MappingsWindow::curveValue(double x)
{
    return valueAt(x);
}

int MappingsWindow::pictureHeight() const
{
    if (Printing) {
        return static_cast<int>(std::lround(PlotHeight * exportVariant().pictureHeightFactor));
    }
    return layerSize().height();
}

void MappingsWindow::paintCoordinateSystem(int)
{
    // Both parts draw their own coordinate systems in the foreground pass, in the order they need.
}

void MappingsWindow::paintForeground(int)
{
    if (DrawCanvas == nullptr) {
        return;
    }
    Canvas& c = *DrawCanvas;
    const int cartesianHeight = PlotHeight;
    const int fullHeight = pictureHeight();
    const bool numberLine = NumberLineMode;
    termField_->use(ParsedTerm);
    const std::vector<double> order = ArrowOrder(ArrowList, PointXP);
    std::vector<std::optional<double>> values;
    values.reserve(order.size());
    for (const double x : order) {
        values.push_back(valueAt(x));
    }

    c.setPenWidth(ScaledSize(1));
    NumberLineMode = false;
    XAxisLabel = "x";
    YAxisLabel = "y=f(x)";
    setWorld(CartesianWorld(rails_));
    DrawCoordinateSystem();
    if (showGraph_) {
        drawCurve([this](double x) { return curveValue(x); }, XMin, XMax, kGraphColour, LineWidth);
    }
    if (showCartesian_) {
        for (std::size_t i = 0; i < order.size(); ++i) {
            if (values[i]) {
                drawCartesianMapping(order[i], *values[i]);
            }
        }
    }
    showValueLabels(order.back(), values.back());

    // The rails below: what the Cartesian part drew beyond its bottom edge goes first.
    PlotHeight = fullHeight;
    NumberLineMode = true;
    c.setBrush({BackgroundColor, BrushStyle::Solid});
    c.setPen({BackgroundColor, ScaledSize(1), PenStyle::Solid, PenMode::Copy});
    c.fillRect({0, cartesianHeight, PlotWidth, fullHeight});
    // The rails go under every arrow: drawn again for each one, their opaque tick labels would
    // cover the heads of the arrows drawn before.
    drawRails();
    for (std::size_t i = 0; i < order.size(); ++i) {
        drawRailMapping(order[i], values[i]);
    }

    // The shared state shows this window's own view again, for printing and the settings dialog.
    PlotHeight = cartesianHeight;
    NumberLineMode = numberLine;
    setWorld(CartesianWorld(rails_));
    ComputeXTickStep();
    ComputeYTickStep();
}

void MappingsWindow::drawCartesianMapping(double x, double y)
{
    Canvas& c = *DrawCanvas;
    const Sizes s;
    DrawPointDisk(c, x, 0.0, s.radius, xRailColour_);
    DrawPointDisk(c, 0.0, y, s.radius, fRailColour_);
    const Point onYAxis = PixelOf(0.0, y);
    const Point onGraph = PixelOf(x, y);
    const Point onXAxis = PixelOf(x, 0.0);
    blackPen(c);
    c.moveTo(onYAxis.x, onYAxis.y);
    c.lineTo(onGraph.x, onGraph.y);
    c.lineTo(onXAxis.x, onXAxis.y);
    DrawPointDisk(c, x, y, s.radius, clBlack);
    if (showArrows_) {
        blackHead(c, AxisArrowHead(onYAxis, x, s.headLength, s.headHalfWidth));
    }
}

void MappingsWindow::drawRails()
{
    setWorld({rails_.x.lo, rails_.x.hi, kXRailBottom, kXRailTop});
    XAxisLabel = "x";
    DrawCoordinateSystem();
    setWorld({rails_.f.lo, rails_.f.hi, kFRailBottom, kFRailTop});
    XAxisLabel = "f(x)";
    DrawCoordinateSystem();
}

void MappingsWindow::drawRailMapping(double x, std::optional<double> y)
{
    Canvas& c = *DrawCanvas;
    const Sizes s;
    setWorld({rails_.x.lo, rails_.x.hi, kXRailBottom, kXRailTop});
    const Point p = PixelOf(x, 0.0);
    DrawPointDisk(c, x, 0.0, s.radius, xRailColour_);
    if (!y) {
        return;
    }
    setWorld({rails_.f.lo, rails_.f.hi, kFRailBottom, kFRailTop});
    const Point q = PixelOf(*y, 0.0);
    DrawPointDisk(c, *y, 0.0, s.radius, fRailColour_);
    if (!showArrows_) {
        return;
    }
    blackPen(c);
    c.moveTo(p.x, p.y);
    c.lineTo(q.x, q.y);
    blackHead(c, MappingArrowHead(p, q, s.headLength, s.headHalfWidth));
}

void MappingsWindow::showValueLabels(double x, std::optional<double> y)
{
    xRail_.value->setText(QString::fromStdString(XValueText(x, Decimals)));
    fRail_.value->setText(QString::fromStdString(FValueText(y, Decimals)));
}

} // namespace kurvex
