// What the integral function's F curve costs across 1920 columns of -7..7 for f(t) = sin(t)·t²,
// and how far it is off: Simpson's rule with 16 intervals from x0 at every column, the adaptive
// integration from x0 at every column, and the window's sweep that adds one column at a time.
#include "core/IntegralFunction.h"
#include "core/Integration.h"
#include "core/term/Term.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>

namespace {

using namespace kurvex;

constexpr int kColumns = 1920;
constexpr double kLeft = -7.0;
constexpr double kRight = 7.0;
constexpr double kDx = (kRight - kLeft) / kColumns;

double exactF(double x)
{
    const auto F = [](double t) { return -t * t * std::cos(t) + 2 * t * std::sin(t) + 2 * std::cos(t); };
    return F(x) - F(0);
}

const TermTree& integrandTree()
{
    static const TermTree tree = [] {
        IntegrandMode = true;
        TermTree t;
        CompileTerm(t, "sin(t)*t^2", true);
        IntegrandMode = false;
        return t;
    }();
    return tree;
}

// Every column integrated from x0 = 0 by the given rule; the largest error goes to the counters.
template <class Rule> void perColumn(benchmark::State& state, Rule rule)
{
    const Integrand f = IntegrandOf(integrandTree());
    double worst = 0.0;
    for (auto _ : state) {
        worst = 0.0;
        for (int k = 0; k <= kColumns; ++k) {
            const double x = kLeft + k * kDx;
            const std::optional<double> v = rule(f, x);
            benchmark::DoNotOptimize(v);
            worst = std::max(worst, v ? std::abs(*v - exactF(x)) : HUGE_VAL);
        }
    }
    state.counters["max_error"] = worst;
}

void BM_FCurveSimpson16PerColumn(benchmark::State& state)
{
    perColumn(state, [](const Integrand& f, double x) { return SimpsonSum(f, 8, 0.0, x); });
}
BENCHMARK(BM_FCurveSimpson16PerColumn)->Unit(benchmark::kMillisecond);

void BM_FCurveAdaptivePerColumn(benchmark::State& state)
{
    perColumn(state, [](const Integrand& f, double x) { return Integrate(f, 0.0, x); });
}
BENCHMARK(BM_FCurveAdaptivePerColumn)->Unit(benchmark::kMillisecond);

void BM_FCurveSwept(benchmark::State& state)
{
    const Integrand f = IntegrandOf(integrandTree());
    double worst = 0.0;
    for (auto _ : state) {
        const IntegralCurve curve = IntegralCurveOver(f, 0.0, kLeft, kRight, kDx);
        worst = 0.0;
        for (const IntegralSweep* s : {&curve.right, &curve.left}) {
            for (std::size_t k = 0; k < s->values.size(); ++k) {
                worst = std::max(worst, std::abs(s->values[k] - exactF(s->start + k * s->step)));
            }
        }
        benchmark::DoNotOptimize(curve);
    }
    state.counters["max_error"] = worst;
}
BENCHMARK(BM_FCurveSwept)->Unit(benchmark::kMillisecond);

// The label's value at one x: the rule of 16 intervals against the adaptive integration.
void BM_FValueSimpson16(benchmark::State& state)
{
    const Integrand f = IntegrandOf(integrandTree());
    for (auto _ : state) {
        benchmark::DoNotOptimize(SimpsonSum(f, 8, 0.0, 7.0));
    }
    state.counters["error"] = std::abs(*SimpsonSum(f, 8, 0.0, 7.0) - exactF(7.0));
}
BENCHMARK(BM_FValueSimpson16)->Unit(benchmark::kMicrosecond);

void BM_FValueAdaptive(benchmark::State& state)
{
    const Integrand f = IntegrandOf(integrandTree());
    for (auto _ : state) {
        benchmark::DoNotOptimize(Integrate(f, 0.0, 7.0));
    }
    state.counters["error"] = std::abs(*Integrate(f, 0.0, 7.0) - exactF(7.0));
}
BENCHMARK(BM_FValueAdaptive)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
