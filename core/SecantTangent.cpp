// Secants and tangents of the tangent-problem and differentiability windows.
#include "core/SecantTangent.h"

#include "core/FunctionGraph.h"
#include "core/NumberText.h"
#include "core/Settings.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace kurvex {

namespace {

std::optional<double> defined(double value)
{
    return EvalOk && std::isfinite(value) ? std::optional(value) : std::nullopt;
}

// More positions than this would only slow the bar down; an int keeps them all.
constexpr double kMostBarPositions = 1e9;

} // namespace

TermSlots CurrentTermSlots()
{
    return {ParamA, ParamB, ParamC};
}

std::optional<double> TermValueAt(const TermTree& f, double x, const TermSlots& slots)
{
    return defined(EvaluateTerm(f, x, slots.t, slots.a, slots.b, 0.0, 0.0, 0.0));
}

std::optional<double> TermSlopeAt(const TermTree& f, double x, const TermSlots& slots)
{
    return defined(EvaluateDerivative(f, 1, x, slots.t, slots.a, slots.b, 0.0, 0.0, 0.0));
}

std::optional<double> PiecewiseValueAt(const TermTree& f1, const TermTree& f2, double junction, double x,
                                       const TermSlots& slots)
{
    return TermValueAt(x <= junction ? f1 : f2, x, slots);
}

std::optional<StraightLine> SecantLine(double xP, double yP, double xQ, double yQ, double length,
                                       double tickStep)
{
    if (xQ == xP) {
        return std::nullopt;
    }
    const double m = (yQ - yP) / (xQ - xP);
    const double intercept = yQ - xQ * m;
    const double h = TangentHalfLength(m, length, tickStep);
    if (!std::isfinite(m) || !std::isfinite(intercept) || !std::isfinite(h)) {
        return std::nullopt;
    }
    return StraightLine{m, intercept, std::min(xP, xQ) - h, std::max(xP, xQ) + h};
}

std::optional<PointTangent> TangentLine(const TermTree& f, double x0, TermSlots slots, double length,
                                        double tickStep)
{
    const std::optional<double> m = TermSlopeAt(f, x0, slots);
    if (!m) {
        return std::nullopt;
    }
    slots.t = *m;
    const std::optional<double> y0 = TermValueAt(f, x0, slots);
    if (!y0) {
        return std::nullopt;
    }
    const double intercept = *y0 - x0 * *m;
    const double h = TangentHalfLength(*m, length, tickStep);
    if (!std::isfinite(intercept) || !std::isfinite(h)) {
        return std::nullopt;
    }
    return PointTangent{x0, *y0, StraightLine{*m, intercept, x0 - h, x0 + h}};
}

SlopeTriangle SecantTriangle(double xP, double yP, double xQ, double yQ)
{
    if (xQ < xP) {
        std::swap(xP, xQ);
        std::swap(yP, yQ);
    }
    return {xP, yP, xQ, yQ};
}

SlopeTriangle TangentTriangle(const PointTangent& t)
{
    return {t.x0, t.y0, t.x0 + 1.0, t.line.at(t.x0 + 1.0)};
}

std::string SlopeText(double m)
{
    return FormatGeneral(m, 5, 2);
}

int PointBarMaximum(double span, double tickStep)
{
    const double positions = std::nearbyint(span / tickStep * 100.0);
    if (!(positions >= 1.0)) {
        return 1; // also a span or step that is no number
    }
    return static_cast<int>(std::min(positions, kMostBarPositions));
}

double SweepPosition(double x, double min, double max)
{
    const double span = max - min;
    if (!(span > 0.0) || (x >= min - span && x <= max + span)) {
        return x;
    }
    return x < min ? min : max;
}

ListRecord FixedSecantRecord(double xQ, TColor color)
{
    ListRecord rec;
    rec.value[0] = xQ;
    rec.color = color;
    return rec;
}

std::vector<SecantPass> SecantPasses(const RecordList& fixed, double currentXQ, TColor currentColor)
{
    std::vector<SecantPass> passes;
    for (const ListNode* node = fixed.Head.get(); node != nullptr; node = node->Next.get()) {
        passes.push_back({node->record.value[0], node->record.color, false});
    }
    std::reverse(passes.begin(), passes.end());
    passes.push_back({currentXQ, currentColor, true});
    return passes;
}

ExampleFormat TangentExampleFormat(std::string defaultText)
{
    ExampleFormat format;
    format.numberLines = 6;
    format.key = ExampleKey::WholeText;
    format.maxEntries = 10;
    format.defaultEntry = ExampleEntry{std::move(defaultText), {1.0, 3.0, -7.0, 7.0, -3.0, 11.0}};
    return format;
}

std::vector<double> ExampleNumbers(double xP, double xQ, const WorldRect& world)
{
    return {xP, xQ, world.xMin, world.xMax, world.yMin, world.yMax};
}

TangentExample ExampleFromNumbers(const std::vector<double>& numbers, const WorldLimits& limits)
{
    TangentExample example;
    example.world = startWorld();
    if (numbers.size() != 6) {
        return example;
    }
    example.xP = numbers[0];
    example.xQ = numbers[1];
    WorldRect w{numbers[2], numbers[3], numbers[4], numbers[5]};
    // The check would pull an infinite end in to its limit; such a window is no window at all.
    if (std::isfinite(w.xMin) && std::isfinite(w.xMax) && std::isfinite(w.yMin) && std::isfinite(w.yMax)) {
        CheckWorld(w.xMin, w.xMax, w.yMin, w.yMax, limits);
        example.world = w;
    }
    return example;
}

TermPieces SplitPieces(std::string_view line)
{
    const std::size_t semicolon = line.find(';');
    if (semicolon == std::string_view::npos) {
        return {std::string(), std::string(line)};
    }
    return {std::string(line.substr(0, semicolon)), std::string(line.substr(semicolon + 1))};
}

std::string JoinPieces(std::string_view first, std::string_view second)
{
    std::string line(first);
    line += ';';
    line += second;
    return line;
}

} // namespace kurvex
