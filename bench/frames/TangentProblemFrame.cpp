// Tangent-problem window: one sweep step of Q with the tangent, both slope triangles, the help lines,
// the letters and ten fixed secants, each of them a secant pass of its own.
#include "bench/frames/FrameBench.h"

#include "core/RecordList.h"
#include "core/SecantTangent.h"
#include "core/Settings.h"
#include "core/WorldWindow.h"
#include "lesson/ValueRow.h"
#include "lessons/TangentProblemWindow.h"

namespace {

using namespace kurvex;

void BM_TangentProblemSweepStep(benchmark::State& state)
{
    setWorld({-7, 7, -3, 11});
    TermText = "1/4x^3-x+2";
    PointXP = 1;
    PointXQ = 3;
    auto& w = bench::FrameWindow<TangentProblemWindow>();
    w.setDisplay({.tangent = true,
                  .tangentTriangle = true,
                  .secantTriangle = true,
                  .pointLabels = true,
                  .helpLines = true});
    ListClear(FixedSecants);
    for (int i = 0; i < 10; ++i) {
        ListInsert(FixedSecants, 1, FixedSecantRecord(-6.0 + 1.3 * i, 0x400000 + 0x1500 * i));
    }
    double step = (XMax - XMin) / AnimationSteps;
    for (auto _ : state) {
        PointXQ += step;
        step = turnAround(PointXQ, step, XMin, XMax);
        w.pointRowQ().showValues();
        w.drawPicture();
    }
    bench::ReportGoal(state, 3.0);
}
BENCHMARK(BM_TangentProblemSweepStep)->Unit(benchmark::kMillisecond);

} // namespace
