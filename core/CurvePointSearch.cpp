// The search for a curve's high, low and inflection points, and their disk markers.
#include "core/CurvePointSearch.h"

#include "core/CoordinateSystem.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>

namespace kurvex {
namespace {

constexpr int kScanSteps = 30;
constexpr double kProbeOffset = 0.001;    // H
constexpr double kValidLimit = 100000.0;  // |f| must stay below this
constexpr double kExtremumWidth = 1e-5;   // bisection stops below this half width
constexpr double kInflectionWidth = 1e-5; // fine enough to place inflection points to 1e-5
constexpr double kFlatRatio = 1e-6;       // flat when a change is this small against the spread
constexpr double kNoiseUlps = 64.0;       // second differences this close to 0 are rounding noise
constexpr int kMaxBisections = 200;

struct Probe {
    bool valid = false;
    double y0 = 0.0;
    double d1 = 0.0;
    double d2 = 0.0;
};

class Search {
public:
    Search(const SpecialPointFunction& f, double xFrom, double xTo, SignVariant variant,
           SpecialPointKinds kinds)
        : f_(f), xFrom_(xFrom), dx_((xTo - xFrom) / kScanSteps), variant_(variant), kinds_(kinds)
    {
    }

    std::vector<SpecialPoint> run();

private:
    std::optional<double> value(double x) const
    {
        const std::optional<double> y = f_(x);
        if (!y || !std::isfinite(*y) || !(std::fabs(*y) < kValidLimit))
            return std::nullopt;
        return y;
    }
    int sign(double v) const
    {
        if (variant_ == SignVariant::ZeroPositive)
            return v >= 0 ? 1 : -1;
        return v > 0 ? 1 : (v < 0 ? -1 : 0);
    }
    // Scan positions run from one step before xFrom to one step beyond xTo.
    double scanX(int k) const { return xFrom_ + (k - 1) * dx_; }

    Probe probeThree(double x) const;
    Probe probeTwo(double x) const;
    void locateExtremum(double a, double b);
    void locateInflection(double x);

    const SpecialPointFunction& f_;
    double xFrom_;
    double dx_;
    SignVariant variant_;
    SpecialPointKinds kinds_;
    double spread_ = 0.0; // max - min of f over the valid scan probes
    std::vector<SpecialPoint> found_;
};

Probe Search::probeThree(double x) const
{
    const auto minus = value(x - kProbeOffset);
    const auto centre = value(x);
    const auto plus = value(x + kProbeOffset);
    if (!minus || !centre || !plus)
        return {};
    Probe p{true, *centre, *plus - *minus, *plus - 2.0 * *centre + *minus};
    // For a straight line the second difference is pure rounding noise; its sign means nothing.
    const double noise = kNoiseUlps * std::numeric_limits<double>::epsilon() *
                         (std::fabs(*minus) + 2 * std::fabs(*centre) + std::fabs(*plus));
    if (std::fabs(p.d2) <= noise)
        p.d2 = 0.0;
    return p;
}

Probe Search::probeTwo(double x) const
{
    const auto minus = value(x - kProbeOffset);
    const auto plus = value(x + kProbeOffset);
    if (!minus || !plus)
        return {};
    return {true, 0.0, *plus - *minus, 0.0};
}

void Search::locateExtremum(double a, double b)
{
    Probe pa = probeTwo(a);
    Probe pb = probeTwo(b);
    if (!pa.valid || !pb.valid)
        return;
    double m = a;
    for (int i = 0; i < kMaxBisections; ++i) {
        m = (a + b) / 2;
        const Probe pm = probeTwo(m);
        if (!pm.valid)
            return;
        if (std::fabs(m - a) < kExtremumWidth)
            break;
        if (sign(pm.d1) == sign(pb.d1)) {
            b = m;
            pb = pm;
        } else {
            a = m;
            pa = pm;
        }
    }
    const std::optional<double> y = f_(m);
    if (!y || !std::isfinite(*y))
        return;
    if (pa.d1 < pb.d1 && kinds_.low)
        found_.push_back({SpecialPointKind::Low, m, *y});
    else if (pa.d1 > pb.d1 && kinds_.high)
        found_.push_back({SpecialPointKind::High, m, *y});
}

void Search::locateInflection(double x)
{
    // A flat stretch to the left (a constant part) shows noise, not a bend.
    const auto left = value(x - 8 * dx_);
    const auto nearer = value(x - 3 * dx_);
    if (left && nearer && std::fabs(*left - *nearer) <= kFlatRatio * spread_)
        return;

    double a = x - dx_;
    double b = x;
    const Probe pa = probeThree(a);
    Probe pb = probeThree(b);
    if (!pa.valid || !pb.valid)
        return;
    double fa = pa.y0;
    double fb = pb.y0;
    double d2b = pb.d2;
    double m = a;
    double fm = fa;
    for (int i = 0; i < kMaxBisections; ++i) {
        m = (a + b) / 2;
        const Probe pm = probeThree(m);
        if (!pm.valid)
            return; // undefined inside the bracket: a gap, not a bend
        fm = pm.y0;
        // A change larger than the whole scan saw is a jump such as a pole.
        if (std::fabs(fa - fb) > spread_)
            return;
        if (std::fabs(m - a) < kInflectionWidth || pm.d2 == 0.0)
            break;
        if (sign(pm.d2) == sign(d2b)) {
            b = m;
            d2b = pm.d2;
            fb = fm;
        } else {
            a = m;
            fa = fm;
        }
    }
    // Shown at 0 only what is 0 within the search's resolution, so x^3 + 0.005 keeps its height.
    if (std::fabs(m) < kInflectionWidth) {
        m = 0.0;
        if (const auto y0 = value(0.0))
            fm = *y0;
    }
    if (std::fabs(fm) <= kNoiseUlps * std::numeric_limits<double>::epsilon() * spread_)
        fm = 0.0;
    found_.push_back({SpecialPointKind::Inflection, m, fm});
}

std::vector<SpecialPoint> Search::run()
{
    constexpr int kProbes = kScanSteps + 3; // xFrom - dx ... xTo + dx
    std::array<Probe, kProbes> probes;
    double low = std::numeric_limits<double>::infinity();
    double high = -low;
    for (int k = 0; k < kProbes; ++k) {
        probes[k] = probeThree(scanX(k));
        if (probes[k].valid) {
            low = std::min(low, probes[k].y0);
            high = std::max(high, probes[k].y0);
        }
    }
    if (!(low <= high))
        return {}; // undefined everywhere
    spread_ = high - low;

    const int first = static_cast<int>(
        std::find_if(probes.begin(), probes.end(), [](const Probe& p) { return p.valid; }) - probes.begin());
    double prevD1 = 0.0;
    double prevD2 = 0.0;
    // Variant signs compare against the last sign seen; an undefined probe has none to give.
    bool havePrev = false;
    for (int k = first; k < kProbes; ++k) {
        const Probe& p = probes[k];
        if (!p.valid)
            continue;
        if (havePrev) {
            const double x = scanX(k);
            if (sign(prevD1) * sign(p.d1) == -1)
                locateExtremum(x - dx_, x);
            if (kinds_.inflection && sign(prevD2) * sign(p.d2) == -1)
                locateInflection(x);
        }
        if (p.d1 != 0.0)
            prevD1 = p.d1;
        if (p.d2 != 0.0)
            prevD2 = p.d2;
        havePrev = true;
    }
    return found_;
}

} // namespace

std::vector<SpecialPoint> FindSpecialPoints(const SpecialPointFunction& f, double xFrom, double xTo,
                                            SignVariant variant, SpecialPointKinds kinds)
{
    if (!f || !std::isfinite(xFrom) || !std::isfinite(xTo) || !(xTo > xFrom))
        return {};
    if (!std::isfinite(xTo - xFrom))
        return {};
    return Search(f, xFrom, xTo, variant, kinds).run();
}

void DrawSpecialPointMarkers(const std::vector<SpecialPoint>& points, const SpecialPointStyle& style)
{
    if (!DrawCanvas)
        return;
    const int r = static_cast<int>(std::nearbyint(std::clamp(style.markerFactor * DrawScale, 0.0, 1000.0)));
    for (const SpecialPoint& p : points) {
        const TColor color = p.kind == SpecialPointKind::High  ? style.highColor
                             : p.kind == SpecialPointKind::Low ? style.lowColor
                                                               : style.inflectionColor;
        DrawCanvas->setPenColor(color);
        DrawCanvas->setBrushColor(color);
        DrawCanvas->setBrushStyle(BrushStyle::Solid);
        const int px = WorldToPixelX(p.x);
        const int py = WorldToPixelY(p.y);
        DrawCanvas->ellipse(px - r, py - r, px + r, py + r);
    }
}

void MarkSpecialPoints(const SpecialPointFunction& f, double xFrom, double xTo, SignVariant variant,
                       SpecialPointKinds kinds, const SpecialPointStyle& style)
{
    DrawSpecialPointMarkers(FindSpecialPoints(f, xFrom, xTo, variant, kinds), style);
}

} // namespace kurvex
