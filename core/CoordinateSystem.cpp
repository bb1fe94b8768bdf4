// World-to-pixel mapping, tick steps and the coordinate-system painter on DrawCanvas.
#include "core/CoordinateSystem.h"

#include "core/NumberText.h"
#include "core/Settings.h"
#include "platform/Canvas.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <numbers>
#include <vector>

namespace kurvex {

namespace {

constexpr double kPi = std::numbers::pi;

int toPixel(double v)
{
    if (std::isnan(v))
        return kPixelLimit;
    return static_cast<int>(std::nearbyint(std::clamp<double>(v, -kPixelLimit, kPixelLimit)));
}

bool usableSpan(double span)
{
    return std::isfinite(span) && span != 0.0;
}

// round(v * DrawScale), kept to a sane pixel size whatever DrawScale holds.
int scaled(double v)
{
    const double s = v * DrawScale;
    if (!std::isfinite(s))
        return static_cast<int>(v);
    return static_cast<int>(std::nearbyint(std::clamp(s, 0.0, 10000.0)));
}

double tickStep(double span, double userStep, double& autoStep)
{
    autoStep = AutoTickStep(span);
    if (AutoTicks)
        return autoStep;
    // A step typed for another window would draw far too many ticks after a zoom-out.
    const bool fits = std::isfinite(userStep) && userStep > 0.0 && std::isfinite(span) &&
                      std::fabs(span) / userStep <= static_cast<double>(kMaxTickCount);
    return fits ? userStep : autoStep;
}

// Index range of the ticks between lo and hi; false when the range is unusable or too long.
bool tickRange(double lo, double hi, double step, std::int64_t& first, std::int64_t& last)
{
    if (!std::isfinite(lo) || !std::isfinite(hi) || !std::isfinite(step) || step <= 0.0)
        return false;
    const double a = std::trunc(lo / step);
    const double b = std::trunc(hi / step);
    if (!std::isfinite(a) || !std::isfinite(b) || b - a > 4.0 * static_cast<double>(kMaxTickCount) ||
        std::fabs(a) > 1e15 || std::fabs(b) > 1e15)
        return false;
    first = static_cast<std::int64_t>(a);
    last = static_cast<std::int64_t>(b);
    return true;
}

void line(Canvas& c, int x1, int y1, int x2, int y2)
{
    c.moveTo(x1, y1);
    c.lineTo(x2, y2);
}

void blackSolidPen(Canvas& c)
{
    c.setPenColor(clBlack);
    c.setPenStyle(PenStyle::Solid);
}

void arrowHead(Canvas& c, std::vector<Point> pts)
{
    c.setBrushStyle(BrushStyle::Solid);
    c.setBrushColor(clBlack);
    c.polygon(pts);
    c.setBrushColor(BackgroundColor);
}

} // namespace

int WorldToPixelX(double x)
{
    const double span = XMax - XMin;
    if (!usableSpan(span))
        return 0;
    return toPixel((x - XMin) / span * PlotWidth);
}

int WorldToPixelY(double y)
{
    const double span = YMax - YMin;
    if (!usableSpan(span))
        return PlotHeight;
    return toPixel(PlotHeight - (y - YMin) / span * PlotHeight);
}

double PixelToWorldX(int px)
{
    if (PlotWidth == 0)
        return XMin;
    return static_cast<double>(px) / PlotWidth * (XMax - XMin) + XMin;
}

double PixelToWorldY(int py)
{
    if (PlotHeight == 0)
        return YMin;
    return (1.0 - static_cast<double>(py) / PlotHeight) * (YMax - YMin) + YMin;
}

double PowerOfTen(int n)
{
    // Beyond +-400 the product has long been 0 or infinity.
    const int count = std::min(std::abs(n), 400);
    const double factor = n < 0 ? 0.1 : 10.0;
    double r = 1.0;
    for (int i = 0; i < count; ++i)
        r *= factor;
    return r;
}

double Log10(double v)
{
    return std::log(v) * 0.434294481;
}

double AutoTickStep(double span)
{
    const double a = std::fabs(span);
    if (!std::isfinite(a) || a == 0.0)
        return 1.0;
    int k = static_cast<int>(std::trunc(Log10(a)));
    if (a < 1.0)
        k -= 1;
    const double p = PowerOfTen(k);
    const double r = a / p;
    double step = p * 0.5;
    if (r < 2.0)
        step = p * 0.1;
    else if (r < 4.0)
        step = p * 0.2;
    return std::isfinite(step) && step > 0.0 ? step : 1.0;
}

void ComputeXTickStep()
{
    if (TrigTicks) {
        XTickStep = AutoXTickStep = 0.5235987755982989;
        YTickStep = AutoYTickStep = 1.0;
        return;
    }
    XTickStep = tickStep(XMax - XMin, UserXTickStep, AutoXTickStep);
}

void ComputeYTickStep()
{
    if (TrigTicks) {
        XTickStep = AutoXTickStep = 0.5235987755982989;
        YTickStep = AutoYTickStep = 1.0;
        return;
    }
    YTickStep = tickStep(YMax - YMin, UserYTickStep, AutoYTickStep);
}

std::string FormatAxisLabel(double v)
{
    if (std::isnan(v))
        return "NAN";
    if (std::isinf(v))
        return v > 0 ? "INF" : "-INF";
    if (v == 0.0)
        return "0";
    const std::string sci = DecimalText(v, std::chars_format::scientific, 3); // e.g. "-1.235e+04"
    const std::size_t ePos = sci.find('e');
    const bool negative = sci[0] == '-';
    std::string digits;
    for (std::size_t i = negative ? 1 : 0; i < ePos; ++i)
        if (sci[i] != '.')
            digits += sci[i];
    int exponent = 0;
    const char* expBegin = sci.data() + ePos + 1;
    if (*expBegin == '+')
        ++expBegin;
    std::from_chars(expBegin, sci.data() + sci.size(), exponent);
    while (digits.size() > 1 && digits.back() == '0')
        digits.pop_back();

    std::string out = negative ? "-" : "";
    if (exponent >= 4 || std::fabs(v) < 0.00001) {
        out += digits[0];
        if (digits.size() > 1)
            out += "," + digits.substr(1);
        out += exponent < 0 ? "E-" : "E+";
        const int e = std::abs(exponent);
        if (e < 10)
            out += '0';
        out += std::to_string(e);
        return out;
    }
    if (exponent < 0)
        return out + "0," + std::string(static_cast<std::size_t>(-exponent - 1), '0') + digits;
    const std::size_t intDigits = static_cast<std::size_t>(exponent) + 1;
    if (digits.size() <= intDigits)
        return out + digits + std::string(intDigits - digits.size(), '0');
    return out + digits.substr(0, intDigits) + "," + digits.substr(intDigits);
}

void DrawCoordinateSystem()
{
    DrawCoordinateSystem(PiAxis);
}

void DrawCoordinateSystem(bool piAxis)
{
    if (!DrawCanvas)
        return;
    Canvas& c = *DrawCanvas;
    const unsigned oldAlign = c.textAlign();
    c.setTextAlign(TaLeft | TaTop);
    const int A = scaled(6.0);
    const int H = scaled(4.0);

    double y0 = 0.0;
    if (YMin > 0.0)
        y0 = YMin;
    else if (YMax < 0.0)
        y0 = YMax;
    ComputeXTickStep();
    ComputeYTickStep();

    c.setPenWidth(scaled(1.0));
    blackSolidPen(c);
    const int Y0 = WorldToPixelY(y0);
    line(c, 0, Y0, PlotWidth, Y0);
    arrowHead(c, {{PlotWidth - A, Y0 - H}, {PlotWidth, Y0}, {PlotWidth - A, Y0 + H}});
    const PenStyle gridStyle = GridMode == 2 ? PenStyle::Dot : PenStyle::Solid;

    if (piAxis)
        XTickStep *= kPi / 2.0;

    std::int64_t first = 0;
    std::int64_t last = -1;
    if (tickRange(XMin, XMax, XTickStep, first, last)) {
        for (std::int64_t i = first; i <= last; ++i) {
            const double xv = static_cast<double>(i) * XTickStep;
            if (!(XMin < xv && xv < XMax) || (xv == 0.0 && !NumberLineMode))
                continue;
            const int X = WorldToPixelX(xv);
            if (GridMode >= 2 && !NumberLineMode) {
                c.setPenColor(GridColor);
                c.setPenStyle(gridStyle);
                line(c, X, 0, X, PlotHeight);
                const int left = WorldToPixelX(xv - XTickStep / 2.0);
                line(c, left, 0, left, PlotHeight);
                const int right = WorldToPixelX(xv + XTickStep / 2.0);
                line(c, right, 0, right, PlotHeight);
                blackSolidPen(c);
            }
            line(c, X, Y0 - H, X, Y0 + H);
            if (NumberLineMode && i == 0) {
                const std::string zero = FormatAxisLabel(xv);
                c.textOut(X - c.textWidth(zero) / 2, Y0 + A, zero);
            }
            if (!TrigTicks && (!ShowScale || i == 1)) {
                if (piAxis) {
                    const std::string label = FormatAxisLabel(xv / kPi) + "π";
                    c.setFontCharset(FontCharset::Greek);
                    c.textOut(X - c.textWidth(label) / 2, Y0 + A, label);
                    c.setFontCharset(FontCharset::Default);
                } else {
                    const std::string label = FormatAxisLabel(xv);
                    c.textOut(X - c.textWidth(label) / 2, Y0 + A, label);
                }
            }
        }
    }
    c.textOut(PlotWidth - c.textWidth(XAxisLabel) - A, Y0 - 5 * H, XAxisLabel);

    if (NumberLineMode) {
        c.setTextAlign(oldAlign);
        return;
    }

    double x0 = 0.0;
    if (XMin > 0.0)
        x0 = XMin;
    else if (XMax < 0.0)
        x0 = XMax;
    const int X0 = WorldToPixelX(x0);
    line(c, X0, 0, X0, PlotHeight);
    arrowHead(c, {{X0 - H, A}, {X0, 0}, {X0 + H, A}});

    if (tickRange(YMin, YMax, YTickStep, first, last)) {
        for (std::int64_t i = first; i <= last; ++i) {
            const double yv = static_cast<double>(i) * YTickStep;
            if (yv == 0.0 || !(YMin < yv && yv < YMax))
                continue;
            const int Y = WorldToPixelY(yv);
            if (GridMode >= 2) {
                c.setPenColor(GridColor);
                c.setPenStyle(gridStyle);
                line(c, 0, Y, PlotWidth, Y);
                const int above = WorldToPixelY(yv + YTickStep / 2.0);
                line(c, 0, above, PlotWidth, above);
                const int below = WorldToPixelY(yv - YTickStep / 2.0);
                line(c, 0, below, PlotWidth, below);
                blackSolidPen(c);
            }
            line(c, X0 - H, Y, X0 + H, Y);
            if (!ShowScale || i == 1) {
                const std::string label = FormatAxisLabel(yv);
                c.textOut(X0 - c.textWidth(label) - A, Y - c.textHeight("X") / 2, label);
            }
        }
    }
    c.textOut(X0 + A, 0, YAxisLabel);
    c.setTextAlign(oldAlign);
}

std::vector<Rect> XTickLabelBoxes(Canvas& c)
{
    std::vector<Rect> boxes;
    const double keptStep = XTickStep;
    const double keptAutoStep = AutoXTickStep;
    ComputeXTickStep();
    const double step = PiAxis ? XTickStep * kPi / 2.0 : XTickStep;
    XTickStep = keptStep;
    AutoXTickStep = keptAutoStep;

    double y0 = 0.0;
    if (YMin > 0.0)
        y0 = YMin;
    else if (YMax < 0.0)
        y0 = YMax;
    const int top = WorldToPixelY(y0) + scaled(6.0);
    const auto add = [&](int centre, const std::string& label) {
        const int w = c.textWidth(label);
        boxes.push_back({centre - w / 2, top, centre - w / 2 + w, top + c.textHeight(label)});
    };
    std::int64_t first = 0;
    std::int64_t last = -1;
    if (!tickRange(XMin, XMax, step, first, last))
        return boxes;
    for (std::int64_t i = first; i <= last; ++i) {
        const double xv = static_cast<double>(i) * step;
        if (!(XMin < xv && xv < XMax) || (xv == 0.0 && !NumberLineMode))
            continue;
        const int X = WorldToPixelX(xv);
        if (NumberLineMode && i == 0)
            add(X, FormatAxisLabel(xv));
        if (TrigTicks || (ShowScale && i != 1))
            continue;
        if (PiAxis) {
            const FontCharset kept = c.font().charset;
            c.setFontCharset(FontCharset::Greek);
            add(X, FormatAxisLabel(xv / kPi) + "π");
            c.setFontCharset(kept);
        } else {
            add(X, FormatAxisLabel(xv));
        }
    }
    return boxes;
}

} // namespace kurvex
