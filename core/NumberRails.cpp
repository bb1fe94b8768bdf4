// The mappings lesson's computations: rails, bar grid, animation turn, arrowheads, labels, print.
#include "core/NumberRails.h"

#include "core/CoordinateSystem.h"
#include "core/NumberText.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace kurvex {

namespace {

// Far beyond any picture, yet far from int overflow.
constexpr double kPixelBound = 1e6;

int pixel(double v)
{
    if (std::isnan(v)) {
        return 0;
    }
    return static_cast<int>(std::nearbyint(std::clamp(v, -kPixelBound, kPixelBound)));
}

std::string trimmedNumber(double v, int decimals)
{
    std::string text = FormatNumber(decimals, v);
    text.erase(text.find_last_not_of(' ') + 1);
    return text;
}

} // namespace

RailRange HalvedRail(const RailRange& r)
{
    const double d = r.span() / 4.0;
    return {r.lo + d, r.hi - d};
}

RailRange DoubledRail(const RailRange& r)
{
    const double d = r.span() / 2.0;
    return {r.lo - d, r.hi + d};
}

Rails CheckedRails(const Rails& rails)
{
    Rails checked = rails;
    CheckWorld(checked.x.lo, checked.x.hi, checked.f.lo, checked.f.hi);
    return checked;
}

WorldRect CartesianWorld(const Rails& rails)
{
    return {rails.x.lo, rails.x.hi, rails.f.lo, rails.f.hi};
}

double RailValueAt(int column, int width, const RailRange& rail)
{
    if (width <= 0) {
        return rail.lo;
    }
    return rail.lo + rail.span() * column / width;
}

int XBarMaximum(const RailRange& xRail)
{
    const double span = std::abs(xRail.span());
    const double positions = std::nearbyint(span / AutoTickStep(span) * 100.0);
    if (!std::isfinite(positions)) {
        return 1;
    }
    return static_cast<int>(std::clamp(positions, 1.0, double(kMaxXBarPositions)));
}

double RailTurn(double x, double step, const RailRange& rail)
{
    // A rail made narrower while x lies beyond it sends x back instead of turning it every frame.
    if (x > rail.hi) {
        return -std::abs(step);
    }
    if (x < rail.lo) {
        return std::abs(step);
    }
    return step;
}

std::array<Point, 3> MappingArrowHead(Point p, Point q, int length, int halfWidth)
{
    if (p.x == q.x) {
        return {q, Point{q.x - halfWidth, q.y + length}, Point{q.x + halfWidth, q.y + length}};
    }
    double theta = std::atan(double(p.y - q.y) / double(q.x - p.x));
    if (q.x < p.x) {
        theta += std::numbers::pi;
    }
    const double c = std::cos(theta);
    const double s = std::sin(theta);
    const double baseX = q.x - length * c;
    const double baseY = q.y + length * s;
    return {q, Point{pixel(baseX - halfWidth * s), pixel(baseY - halfWidth * c)},
            Point{pixel(baseX + halfWidth * s), pixel(baseY + halfWidth * c)}};
}

std::array<Point, 3> AxisArrowHead(Point tip, double x, int length, int halfWidth)
{
    const int baseX = x > 0.0 ? tip.x + length : tip.x - length;
    return {tip, Point{baseX, tip.y - halfWidth}, Point{baseX, tip.y + halfWidth}};
}

std::vector<double> ArrowOrder(const RecordList& arrows, double current)
{
    std::vector<double> order;
    for (const ListNode* node = arrows.Head.get(); node != nullptr; node = node->Next.get()) {
        order.push_back(node->record.value[0]);
    }
    std::reverse(order.begin(), order.end());
    order.push_back(current);
    return order;
}

std::string XValueText(double x, int decimals)
{
    return "x =" + trimmedNumber(x, decimals);
}

std::string FValueText(std::optional<double> y, int decimals)
{
    if (!y) {
        return "f(x) = nicht definiert";
    }
    return "f(x) =" + trimmedNumber(*y, decimals);
}

void KeepScreenProportions(PrintLayout& layout, int screenWidth, int screenHeight, double pictureHeightFactor)
{
    if (screenWidth <= 0 || screenHeight <= 0) {
        return;
    }
    layout.plotHeight = std::max(1, pixel(double(layout.plotWidth) * screenHeight / screenWidth));
    const int extra = pixel(layout.drawScale);
    const double factor = std::clamp(pictureHeightFactor, 1.0, 4.0);
    layout.clip.bottom = layout.clip.top + pixel((layout.plotHeight + extra) * factor);
}

} // namespace kurvex
