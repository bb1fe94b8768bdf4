// Function-graph window: a parameter step of the animation with derivative, tangent and slope
// triangle on, the full redraw a step costs when f' is shown.
#include "bench/frames/FrameBench.h"

#include "core/FunctionGraph.h"
#include "core/Settings.h"
#include "core/WorldWindow.h"
#include "lessons/FunctionGraphWindow.h"

namespace {

using namespace kurvex;

void BM_FunctionGraphParameterStep(benchmark::State& state)
{
    setWorld({-7, 7, -7, 7});
    StartTab = 4;
    TermGeneral = "a*sin(b*x)+c";
    auto& w = bench::FrameWindow<FunctionGraphWindow>();
    ShowDerivative = true;
    double a = 1.0;
    for (auto _ : state) {
        a = a > 3.9 ? -4.0 : a + 0.04;
        ParamA = a;
        w.fullRedraw();
    }
    bench::ReportGoal(state, 2.0);
}
BENCHMARK(BM_FunctionGraphParameterStep)->Unit(benchmark::kMillisecond);

} // namespace
