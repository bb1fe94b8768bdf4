// Integral-function window: the full redraw after x0 moved, F swept from x0 across the lower pane
// and the area from x0 to x shaded above, for f(t) = sin(t)·t² on -7..7.
#include "bench/frames/FrameBench.h"

#include "core/Settings.h"
#include "core/WorldWindow.h"
#include "lessons/IntegralFunctionWindow.h"

namespace {

using namespace kurvex;

void BM_IntegralFunctionFullSweep(benchmark::State& state)
{
    setWorld({-7, 7, -7, 7});
    TermOfT = "sin(t)*t^2";
    CurrentX = 5;
    auto& w = bench::FrameWindow<IntegralFunctionWindow>();
    for (auto _ : state) {
        w.fullRedraw();
    }
    bench::ReportGoal(state, 4.0);
}
BENCHMARK(BM_IntegralFunctionFullSweep)->Unit(benchmark::kMillisecond);

} // namespace
