// Geometry a metafile writer needs: clipping lines and polygons into the 16-bit coordinate range.
#include "platform/MetafileGeometry.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace kurvex {

std::optional<std::pair<DPoint, DPoint>> ClipSegment(DPoint a, DPoint b, const DBox& box)
{
    // Liang-Barsky: the segment is a + t (b - a) for t in [0, 1].
    const double dx = b.x - a.x;
    const double dy = b.y - a.y;
    double t0 = 0.0;
    double t1 = 1.0;
    const auto clipEdge = [&](double p, double q) {
        if (p == 0.0) {
            return q >= 0.0;
        }
        const double r = q / p;
        if (p < 0.0) {
            if (r > t1) {
                return false;
            }
            if (r > t0) {
                t0 = r;
            }
        } else {
            if (r < t0) {
                return false;
            }
            if (r < t1) {
                t1 = r;
            }
        }
        return true;
    };
    if (!clipEdge(-dx, a.x - box.left) || !clipEdge(dx, box.right - a.x) || !clipEdge(-dy, a.y - box.top) ||
        !clipEdge(dy, box.bottom - a.y)) {
        return std::nullopt;
    }
    const DPoint from = t0 > 0.0 ? DPoint{a.x + t0 * dx, a.y + t0 * dy} : a;
    const DPoint to = t1 < 1.0 ? DPoint{a.x + t1 * dx, a.y + t1 * dy} : b;
    return std::pair{from, to};
}

namespace {

enum class Edge { Left, Right, Top, Bottom };

bool inside(DPoint p, Edge e, const DBox& box)
{
    switch (e) {
    case Edge::Left:
        return p.x >= box.left;
    case Edge::Right:
        return p.x <= box.right;
    case Edge::Top:
        return p.y >= box.top;
    case Edge::Bottom:
        return p.y <= box.bottom;
    }
    return true;
}

DPoint intersect(DPoint a, DPoint b, Edge e, const DBox& box)
{
    if (e == Edge::Left || e == Edge::Right) {
        const double x = e == Edge::Left ? box.left : box.right;
        const double t = (x - a.x) / (b.x - a.x);
        return {x, a.y + t * (b.y - a.y)};
    }
    const double y = e == Edge::Top ? box.top : box.bottom;
    const double t = (y - a.y) / (b.y - a.y);
    return {a.x + t * (b.x - a.x), y};
}

} // namespace

std::vector<DPoint> ClipPolygon(const std::vector<DPoint>& polygon, const DBox& box)
{
    std::vector<DPoint> current = polygon;
    for (const Edge e : {Edge::Left, Edge::Right, Edge::Top, Edge::Bottom}) {
        if (current.empty()) {
            break;
        }
        std::vector<DPoint> next;
        next.reserve(current.size() + 4);
        DPoint prev = current.back();
        for (const DPoint p : current) {
            const bool pIn = inside(p, e, box);
            const bool prevIn = inside(prev, e, box);
            if (pIn) {
                if (!prevIn) {
                    next.push_back(intersect(prev, p, e, box));
                }
                next.push_back(p);
            } else if (prevIn) {
                next.push_back(intersect(prev, p, e, box));
            }
            prev = p;
        }
        current = std::move(next);
    }
    return current;
}

std::vector<std::vector<DPoint>> ClipPolyline(const std::vector<DPoint>& line, const DBox& box)
{
    std::vector<std::vector<DPoint>> runs;
    std::vector<DPoint> run;
    const auto flush = [&] {
        if (run.size() >= 2) {
            runs.push_back(std::move(run));
        }
        run.clear();
    };
    for (std::size_t i = 1; i < line.size(); ++i) {
        const auto piece = ClipSegment(line[i - 1], line[i], box);
        if (!piece) {
            flush();
            continue;
        }
        if (run.empty() || !(run.back() == piece->first)) {
            flush();
            run.push_back(piece->first);
        }
        run.push_back(piece->second);
        if (!(piece->second == line[i])) {
            flush();
        }
    }
    flush();
    return runs;
}

namespace {

// The part of the line between the lengths from and to along it.
std::vector<DPoint> stretchOf(const std::vector<DPoint>& line, const std::vector<double>& at, double from,
                              double to)
{
    const auto pointAt = [&](std::size_t i, double length) {
        const double span = at[i + 1] - at[i];
        const double t = span > 0.0 ? (length - at[i]) / span : 0.0;
        return DPoint{line[i].x + t * (line[i + 1].x - line[i].x),
                      line[i].y + t * (line[i + 1].y - line[i].y)};
    };
    std::vector<DPoint> out;
    for (std::size_t i = 0; i + 1 < line.size(); ++i) {
        if (at[i + 1] < from || at[i] > to || (at[i + 1] == from && i + 2 < line.size())) {
            continue;
        }
        if (out.empty()) {
            out.push_back(pointAt(i, std::max(from, at[i])));
        }
        if (at[i + 1] >= to) {
            out.push_back(pointAt(i, to));
            break;
        }
        out.push_back(line[i + 1]);
    }
    return out;
}

} // namespace

std::vector<std::vector<DPoint>> DashPolyline(const std::vector<DPoint>& line,
                                              const std::vector<double>& pattern, double trim)
{
    std::vector<std::vector<DPoint>> dashes;
    double period = 0.0;
    for (const double length : pattern) {
        if (!std::isfinite(length) || length < 0.0) {
            return dashes;
        }
        period += length;
    }
    if (line.size() < 2 || pattern.size() < 2 || !(period > 0.0)) {
        return dashes;
    }
    std::vector<double> at{0.0};
    for (std::size_t i = 1; i < line.size(); ++i) {
        at.push_back(at.back() + std::hypot(line[i].x - line[i - 1].x, line[i].y - line[i - 1].y));
    }
    const double total = at.back();
    if (!std::isfinite(total) || total <= 0.0 || total / period > 1e6) {
        return dashes;
    }
    double start = 0.0;
    for (std::size_t k = 0; start < total; k = (k + 1) % pattern.size()) {
        const double end = std::min(start + pattern[k], total);
        if (k % 2 == 0 && end > start) {
            double from = start + trim;
            double to = end - trim;
            if (to - from < 1.0) {
                const double middle = (start + end) / 2.0;
                const double half = std::min(0.5, (end - start) / 2.0);
                from = middle - half;
                to = middle + half;
            }
            dashes.push_back(stretchOf(line, at, from, to));
        }
        start = end;
    }
    return dashes;
}

namespace {

// The lines a.x * x + a.y * y = k * pitch of one hatch direction.
struct Family {
    DPoint a;
};

std::vector<Family> familiesOf(BrushStyle style)
{
    const Family horizontal{{0, 1}};
    const Family vertical{{1, 0}};
    const Family downward{{1, -1}}; // forward diagonal: down from left to right
    const Family upward{{1, 1}};
    switch (style) {
    case BrushStyle::Horizontal:
        return {horizontal};
    case BrushStyle::Vertical:
        return {vertical};
    case BrushStyle::FDiagonal:
        return {downward};
    case BrushStyle::BDiagonal:
        return {upward};
    case BrushStyle::Cross:
        return {horizontal, vertical};
    case BrushStyle::DiagCross:
        return {downward, upward};
    default:
        return {};
    }
}

double dot(DPoint p, DPoint q)
{
    return p.x * q.x + p.y * q.y;
}

DPoint minus(DPoint p, DPoint q)
{
    return {p.x - q.x, p.y - q.y};
}

struct Interval {
    double from = 0.0;
    double to = 0.0;
    bool empty() const { return !(from < to); }
};

// Where lo <= alpha + beta * u <= hi.
Interval solveLinear(double alpha, double beta, double lo, double hi)
{
    if (beta == 0.0) {
        return alpha >= lo && alpha <= hi ? Interval{-HUGE_VAL, HUGE_VAL} : Interval{};
    }
    const double a = (lo - alpha) / beta;
    const double b = (hi - alpha) / beta;
    return {std::min(a, b), std::max(a, b)};
}

// Where the line base + u * d (d of length 1) comes closer than r to the point.
Interval nearPoint(DPoint base, DPoint d, DPoint p, double r)
{
    const DPoint w = minus(base, p);
    const double b = dot(d, w);
    const double disc = b * b - (dot(w, w) - r * r);
    if (disc <= 0.0) {
        return {};
    }
    const double root = std::sqrt(disc);
    return {-b - root, -b + root};
}

// Where the line base + u * d comes closer than r to the edge p-q: one interval, as the points
// that close form a convex capsule.
Interval nearEdge(DPoint base, DPoint d, DPoint p, DPoint q, double r)
{
    Interval hull{HUGE_VAL, -HUGE_VAL};
    const auto add = [&hull](Interval i) {
        if (!i.empty()) {
            hull = {std::min(hull.from, i.from), std::max(hull.to, i.to)};
        }
    };
    add(nearPoint(base, d, p, r));
    add(nearPoint(base, d, q, r));
    const DPoint edge = minus(q, p);
    const double length = std::hypot(edge.x, edge.y);
    if (length > 0.0) {
        const DPoint e{edge.x / length, edge.y / length};
        const DPoint n{-e.y, e.x};
        const DPoint w = minus(base, p);
        const Interval along = solveLinear(dot(e, w), dot(e, d), 0.0, length);
        const Interval across = solveLinear(dot(n, w), dot(n, d), -r, r);
        add({std::max(along.from, across.from), std::min(along.to, across.to)});
    }
    return hull;
}

// The parts of the intervals outside every cut.
std::vector<Interval> without(const std::vector<Interval>& keep, std::vector<Interval> cuts)
{
    std::sort(cuts.begin(), cuts.end(), [](Interval a, Interval b) { return a.from < b.from; });
    std::vector<Interval> out;
    for (Interval rest : keep) {
        for (const Interval cut : cuts) {
            if (cut.to <= rest.from || cut.from >= rest.to) {
                continue;
            }
            if (cut.from > rest.from) {
                out.push_back({rest.from, cut.from});
            }
            rest.from = std::max(rest.from, cut.to);
            if (rest.empty()) {
                break;
            }
        }
        if (!rest.empty()) {
            out.push_back(rest);
        }
    }
    return out;
}

} // namespace

std::vector<std::pair<DPoint, DPoint>> HatchLines(const std::vector<DPoint>& polygon, BrushStyle style,
                                                  double pitch, double margin)
{
    std::vector<std::pair<DPoint, DPoint>> lines;
    if (polygon.size() < 3 || !std::isfinite(pitch) || pitch < 1.0 || !std::isfinite(margin)) {
        return lines;
    }
    const std::size_t n = polygon.size();
    for (const Family family : familiesOf(style)) {
        const double norm = std::hypot(family.a.x, family.a.y);
        const DPoint d{-family.a.y / norm, family.a.x / norm};
        double low = HUGE_VAL;
        double high = -HUGE_VAL;
        for (const DPoint p : polygon) {
            low = std::min(low, dot(family.a, p));
            high = std::max(high, dot(family.a, p));
        }
        if (!std::isfinite(low) || !std::isfinite(high) || (high - low) / pitch > 1e6) {
            continue;
        }
        for (double k = std::ceil(low / pitch); k * pitch <= high; ++k) {
            const double c = k * pitch;
            const DPoint base{c * family.a.x / (norm * norm), c * family.a.y / (norm * norm)};
            // Where the line crosses the outline; a corner on the line counts for the edge above it.
            std::vector<double> crossings;
            std::vector<Interval> nearOutline;
            for (std::size_t i = 0; i < n; ++i) {
                const DPoint p = polygon[i];
                const DPoint q = polygon[(i + 1) % n];
                const double vp = dot(family.a, p);
                const double vq = dot(family.a, q);
                if ((vp <= c) != (vq <= c)) {
                    const double t = (c - vp) / (vq - vp);
                    crossings.push_back(dot(d, {p.x + t * (q.x - p.x), p.y + t * (q.y - p.y)}));
                }
                if (margin > 0.0 && std::min(vp, vq) - margin * norm < c &&
                    c < std::max(vp, vq) + margin * norm) {
                    nearOutline.push_back(nearEdge(base, d, p, q, margin));
                }
            }
            std::sort(crossings.begin(), crossings.end());
            std::vector<Interval> inside;
            for (std::size_t i = 0; i + 1 < crossings.size(); i += 2) {
                inside.push_back({crossings[i], crossings[i + 1]});
            }
            for (const Interval part : without(inside, std::move(nearOutline))) {
                lines.emplace_back(DPoint{base.x + part.from * d.x, base.y + part.from * d.y},
                                   DPoint{base.x + part.to * d.x, base.y + part.to * d.y});
            }
        }
    }
    return lines;
}

namespace {

// The corners of the arc from angle start over span (radians of the ellipse's parameter,
// counter-clockwise on screen), close enough for the chords to stay within a quarter unit of it.
void appendArc(std::vector<DPoint>& out, const DBox& box, double start, double span)
{
    const double cx = (box.left + box.right) / 2.0;
    const double cy = (box.top + box.bottom) / 2.0;
    const double rx = (box.right - box.left) / 2.0;
    const double ry = (box.bottom - box.top) / 2.0;
    const double r = std::max(rx, ry);
    const double step = r > 0.25 ? 2.0 * std::acos(1.0 - 0.25 / r) : span;
    const int count = std::clamp(static_cast<int>(std::ceil(span / step)), 8, 1024);
    for (int i = 0; i <= count; ++i) {
        const double t = start + span * i / count;
        out.push_back({cx + rx * std::cos(t), cy - ry * std::sin(t)});
    }
}

} // namespace

std::vector<DPoint> EllipsePolygon(const DBox& box)
{
    std::vector<DPoint> out;
    appendArc(out, box, 0.0, 2.0 * std::numbers::pi);
    out.pop_back(); // the first corner again
    return out;
}

std::vector<DPoint> PiePolygon(const DBox& box, DPoint start, DPoint end)
{
    const DPoint centre{(box.left + box.right) / 2.0, (box.top + box.bottom) / 2.0};
    const double rx = std::max((box.right - box.left) / 2.0, 0.5);
    const double ry = std::max((box.bottom - box.top) / 2.0, 0.5);
    // The angle of the ellipse's parameter where the ray through the point meets it.
    const auto angleOf = [&](DPoint p) { return std::atan2(-(p.y - centre.y) / ry, (p.x - centre.x) / rx); };
    const double from = angleOf(start);
    double span = angleOf(end) - from;
    while (span <= 0.0) {
        span += 2.0 * std::numbers::pi;
    }
    std::vector<DPoint> out{centre};
    appendArc(out, box, from, span);
    return out;
}

int RoundClamped(double v, int lo, int hi)
{
    if (std::isnan(v) || v <= lo) {
        return lo;
    }
    if (v >= hi) {
        return hi;
    }
    return static_cast<int>(std::nearbyint(v));
}

} // namespace kurvex
