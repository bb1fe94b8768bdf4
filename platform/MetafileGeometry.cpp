// Geometry a metafile writer needs: clipping lines and polygons into the 16-bit coordinate range.
#include "platform/MetafileGeometry.h"

#include <cmath>

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
