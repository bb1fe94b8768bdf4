// Curve plotter of the lesson windows: samples a curve across the plot and draws it on DrawCanvas.
#include "core/Plotter.h"

#include "core/CoordinateSystem.h"
#include "core/Settings.h"
#include "platform/Canvas.h"
#include "platform/VectorState.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <vector>

namespace kurvex {

namespace {

// Hands the curve's moves and lines straight to the canvas.
class SegmentOutput {
public:
    explicit SegmentOutput(Canvas& canvas) : canvas_(canvas) {}
    void moveTo(int x, int y) { canvas_.moveTo(x, y); }
    void lineTo(int x, int y) { canvas_.lineTo(x, y); }
    void finish() {}

private:
    Canvas& canvas_;
};

// Gathers each unbroken run of lines and strokes it as one polyline.
class PolylineOutput {
public:
    explicit PolylineOutput(Canvas& canvas) : canvas_(canvas) {}
    void moveTo(int x, int y)
    {
        flush();
        run_.push_back({x, y});
    }
    void lineTo(int x, int y)
    {
        if (run_.empty()) {
            run_.push_back(canvas_.penPos());
        }
        // A point on the straight way from the one before to this one adds only a join nobody sees.
        if (run_.size() >= 2 && continuesStraight(run_[run_.size() - 2], run_.back(), {x, y})) {
            run_.back() = {x, y};
            return;
        }
        run_.push_back({x, y});
    }
    // The last run drawn, and the pen where the lines would have left it.
    void finish()
    {
        if (run_.empty()) {
            return;
        }
        const Point last = run_.back();
        flush();
        canvas_.moveTo(last.x, last.y);
    }

private:
    static bool continuesStraight(Point a, Point b, Point c)
    {
        const std::int64_t abx = b.x - std::int64_t{a.x};
        const std::int64_t aby = b.y - std::int64_t{a.y};
        const std::int64_t bcx = c.x - std::int64_t{b.x};
        const std::int64_t bcy = c.y - std::int64_t{b.y};
        return abx * bcy == aby * bcx && abx * bcx + aby * bcy > 0;
    }

    void flush()
    {
        if (run_.size() >= 2) {
            canvas_.polyline(run_);
        }
        run_.clear();
    }

    Canvas& canvas_;
    std::vector<Point> run_;
};

// The state one curve shares between its sampling and its segments.
template <class Output> class CurvePlotter {
public:
    CurvePlotter(Output& canvas, double xRight, double xTo, double dx, const CurveValueFunction& curveValue,
                 const CurveVariant& variant)
        : canvas_(canvas), curveValue_(curveValue), variant_(variant), xRight_(xRight), xTo_(xTo), dx_(dx)
    {
    }

    void draw(double xFrom)
    {
        x_ = xFrom - dx_;
        if (!NextCurvePoint()) {
            return;
        }
        if (py_ > PlotHeight) {
            py_ = PlotHeight + 10;
        }
        if (py_ < PlotTop) {
            py_ = PlotTop - 10;
        }
        canvas_.moveTo(px_, py_);
        last_ = py_;
        while (xTo_ + dx_ >= x_) {
            CurveLineTo(px_, py_);
            if (!NextCurvePoint()) {
                return;
            }
        }
    }

private:
    // Steps on to the next defined sample, lifting the pen over an undefined gap. False when no
    // defined sample is left before xRight (nothing is drawn from an undefined value) or when the
    // step no longer moves x.
    bool NextCurvePoint()
    {
        bool undefinedSeen = false;
        std::optional<double> value;
        do {
            const double next = x_ + dx_;
            if (next == x_) {
                return false;
            }
            x_ = next;
            value = curveValue_(x_ > xTo_ ? xTo_ : x_);
            if (value && std::isnan(*value)) {
                value.reset();
            }
            if (!value) {
                undefinedSeen = true;
            }
        } while (!value && x_ < xRight_);
        if (!value) {
            return false;
        }
        const double y = std::clamp(*value, kCurveValueLow, kCurveValueHigh);
        px_ = WorldToPixelX(x_);
        py_ = WorldToPixelY(y);
        if (undefinedSeen) {
            canvas_.moveTo(px_, py_);
        }
        return true;
    }

    // One segment: in full inside the plot's rows, up to the edge row when it leaves them, else
    // the pen only moves.
    void CurveLineTo(int px, int py)
    {
        const double jump = std::abs(static_cast<double>(last_) - static_cast<double>(py));
        if (PlotTop <= py && py <= PlotHeight && jump < variant_.jumpInside) {
            canvas_.lineTo(px, py);
        } else {
            if (PlotTop < last_ && last_ <= PlotHeight && jump < variant_.jumpLeaving) {
                if (py > PlotHeight) {
                    canvas_.lineTo(px, PlotHeight);
                } else if (py < PlotTop) {
                    canvas_.lineTo(px, PlotTop);
                }
            }
            canvas_.moveTo(px, py);
        }
        last_ = py;
    }

    Output& canvas_;
    const CurveValueFunction& curveValue_;
    const CurveVariant& variant_;
    double xRight_;
    double xTo_;
    double dx_;
    double x_ = 0.0;
    int px_ = 0;
    int py_ = 0;
    int last_ = 0;
};

} // namespace

void DrawCurve(double xLeft, double xRight, double xFrom, double xTo, const CurveValueFunction& curveValue,
               const CurveVariant& variant)
{
    DrawCurve(xLeft, xRight, xFrom, xTo, curveValue, variant, CurveColor, LineWidth);
}

void DrawCurve(double xLeft, double xRight, double xFrom, double xTo, const CurveValueFunction& curveValue,
               const CurveVariant& variant, TColor color, int lineWidth)
{
    DrawCurveWithPen(xLeft, xRight, xFrom, xTo, curveValue, variant, color,
                     static_cast<int>(std::nearbyint(lineWidth * DrawScale)));
}

void DrawCurveWithPen(double xLeft, double xRight, double xFrom, double xTo,
                      const CurveValueFunction& curveValue, const CurveVariant& variant, TColor color,
                      int width, CurveStroke stroke)
{
    if (DrawCanvas == nullptr || !curveValue || PlotWidth <= 0 || variant.stepPx <= 0) {
        return;
    }
    if (!std::isfinite(xLeft) || !std::isfinite(xRight) || !std::isfinite(xFrom) || !std::isfinite(xTo)) {
        return;
    }
    const double dx = (xRight - xLeft) * variant.stepPx / PlotWidth;
    if (!std::isfinite(dx) || !(dx > 0.0)) {
        return;
    }
    // Samples beyond a step outside the window draw nothing visible; a typed point far outside
    // (1e12) would otherwise keep the loop busy for hours.
    xFrom = std::max(xFrom, std::min(xLeft, xRight) - dx);
    xTo = std::min(xTo, std::max(xLeft, xRight) + dx);
    if (xFrom > xTo) {
        return;
    }
    // The painting before may leave the processor's wide registers in use, which slows every
    // scalar step of the sampling many times over until they are cleared.
    ClearUpperVectorState();
    DrawCanvas->setPenColor(color);
    DrawCanvas->setPenWidth(width);
    const auto plot = [&](auto output) {
        CurvePlotter(output, xRight, xTo, dx, curveValue, variant).draw(xFrom);
        output.finish();
    };
    if (stroke == CurveStroke::Polylines) {
        plot(PolylineOutput(*DrawCanvas));
    } else {
        plot(SegmentOutput(*DrawCanvas));
    }
}

} // namespace kurvex
