// The bisection lesson's computations.
#include "core/Bisection.h"

#include "core/NumberText.h"
#include "core/SettingsRules.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>

namespace kurvex {

namespace {

constexpr int kMinDecimals = 1;
constexpr int kMaxDecimals = 6;
constexpr int kFallbackDecimals = 4;
// Fixed notation up to here; beyond, the digits before the comma would only be noise.
constexpr double kFixedLimit = 1e15;

int keptDecimals(int decimals)
{
    return std::clamp(decimals, kMinDecimals, kMaxDecimals);
}

std::optional<double> valueAt(const CurveValueFunction& f, double x)
{
    return f ? f(x) : std::nullopt;
}

} // namespace

int BisectionDecimalsFromText(std::string_view text)
{
    const std::optional<int> n = ParseInteger(text);
    if (!n || *n < kMinDecimals || *n > kMaxDecimals) {
        return kFallbackDecimals;
    }
    return *n;
}

double BisectionTolerance(int decimals)
{
    // Written out, not multiplied up: 0.1 * 0.1 * 0.1 * 0.1 lands below 0.0001.
    static constexpr std::array<double, kMaxDecimals> kBounds{1e-1, 1e-2, 1e-3, 1e-4, 1e-5, 1e-6};
    return kBounds[static_cast<std::size_t>(keptDecimals(decimals) - 1)];
}

std::string BisectionToleranceText(int decimals)
{
    const int d = keptDecimals(decimals);
    return "= " + PointToComma(FloatStrFixed(0, d, BisectionTolerance(d)));
}

std::string BisectionNumber(std::optional<double> value, int decimals)
{
    if (!value || !std::isfinite(*value)) {
        return kUndefinedNumberText;
    }
    const int d = keptDecimals(decimals);
    if (std::fabs(*value) >= kFixedLimit) {
        std::string text = FloatStrSci(0, d, *value);
        text.erase(0, text.find_first_not_of(' '));
        return PointToComma(text);
    }
    return PointToComma(FloatStrFixed(0, d, *value));
}

BisectionStep StepBisection(const CurveValueFunction& f, double a, double b, double tolerance)
{
    BisectionStep step;
    step.a = a;
    step.b = b;
    step.m = (a + b) / 2.0;
    if (!(b - a >= tolerance)) {
        step.outcome = StepOutcome::BelowTolerance;
        return step;
    }
    if (step.m <= a || step.m >= b) {
        step.outcome = StepOutcome::NoShrink;
        return step;
    }
    step.fa = valueAt(f, a);
    step.fm = valueAt(f, step.m);
    if (!step.fa || !step.fm) {
        step.outcome = StepOutcome::Undefined;
        return step;
    }
    step.outcome = StepOutcome::Halved;
    if (*step.fa * *step.fm > 0.0) {
        step.a = step.m;
    } else {
        step.b = step.m;
    }
    return step;
}

BisectionVerdict VerdictOn(const CurveValueFunction& f, double a, double b, StepOutcome end)
{
    BisectionVerdict verdict;
    verdict.x = (a + b) / 2.0;
    verdict.fx = valueAt(f, verdict.x);
    verdict.solved = end != StepOutcome::Undefined && verdict.fx && std::fabs(*verdict.fx) < kZeroBound;
    return verdict;
}

std::vector<std::string> ResultLines(const BisectionVerdict& verdict, int decimals)
{
    if (!verdict.solved) {
        return {" Keine L\u00F6sung!"};
    }
    return {"x := (a + b) / 2 = " + BisectionNumber(verdict.x, decimals),
            "f(x) = " + BisectionNumber(verdict.fx, decimals)};
}

std::optional<double> BisectionRow::product() const
{
    if (!fa || !fm) {
        return std::nullopt;
    }
    return *fm * *fa;
}

BisectionReplay ReplayBisection(const CurveValueFunction& f, double a, double b, double tolerance,
                                int maxRows)
{
    BisectionReplay replay;
    replay.end = StepOutcome::Halved;
    const auto rows = static_cast<std::size_t>(std::max(1, maxRows));
    while (replay.rows.size() < rows) {
        const BisectionStep step = StepBisection(f, a, b, tolerance);
        if (step.outcome == StepOutcome::Halved || step.outcome == StepOutcome::Undefined) {
            replay.rows.push_back({a, b, step.m, step.fa, step.fm});
        } else if (replay.rows.empty()) {
            replay.rows.push_back({a, b, step.m, valueAt(f, a), valueAt(f, step.m)});
        }
        if (step.outcome != StepOutcome::Halved) {
            replay.end = step.outcome;
            break;
        }
        a = step.a;
        b = step.b;
    }
    replay.a = a;
    replay.b = b;
    replay.verdict = VerdictOn(f, a, b, replay.end);
    return replay;
}

std::vector<BisectionInterval> NestedIntervals(const CurveValueFunction& f, double a, double b, int steps)
{
    std::vector<BisectionInterval> intervals;
    for (int i = 0; i < steps; ++i) {
        const BisectionStep step = StepBisection(f, a, b, std::numeric_limits<double>::lowest());
        if (step.outcome != StepOutcome::Halved) {
            break;
        }
        a = step.a;
        b = step.b;
        intervals.push_back({a, b});
    }
    return intervals;
}

BandKind BandOf(std::optional<double> fa, std::optional<double> fb)
{
    if (!fa || !fb) {
        return BandKind::Undefined;
    }
    return *fa * *fb > 0.0 ? BandKind::SameSign : BandKind::SignChange;
}

} // namespace kurvex
