// Limit-and-continuity window: a frame with the image search over the widest δ the bars give (every
// half pixel of both halves), the letters on; and a frame with a typed δ so large that the search
// runs at its sample bound.
#include "bench/frames/FrameBench.h"

#include "controls/BitCheckBox.h"
#include "core/Settings.h"
#include "core/WorldWindow.h"
#include "lessons/LimitWindow.h"

#include <QScrollBar>

namespace {

using namespace kurvex;

LimitWindow& limitWindow()
{
    setWorld({-7, 7, -7, 7});
    ProgramDir = "/nonexistent/";
    TermPiece1 = "x*sin(1/x)";
    TermPiece2 = "x^2+1";
    PointXP = 0.5;
    auto& w = bench::FrameWindow<LimitWindow>();
    // "Beschriftung" on, as a click leaves it.
    auto* labels = w.findChild<BitCheckBox*>(QStringLiteral("BitCheckBox2"));
    labels->setChecked(true);
    emit labels->clicked();
    return w;
}

void BM_LimitFrameWidestDelta(benchmark::State& state)
{
    LimitWindow& w = limitWindow();
    // The δ bar at its end: the largest δ, 549 samples on each half at 1920 pixels.
    w.findChild<QScrollBar*>(QStringLiteral("ScrollBar2"))->setValue(200);
    for (auto _ : state) {
        w.drawPicture();
    }
    bench::ReportGoal(state, 3.0);
}
BENCHMARK(BM_LimitFrameWidestDelta)->Unit(benchmark::kMillisecond);

void BM_LimitFrameSampleBound(benchmark::State& state)
{
    LimitWindow& w = limitWindow();
    // A largest radius of a million makes δ half a million: both halves at the sample bound.
    EpsDeltaMaxRadius = 1e6;
    w.findChild<QScrollBar*>(QStringLiteral("ScrollBar2"))->setValue(199);
    w.findChild<QScrollBar*>(QStringLiteral("ScrollBar2"))->setValue(200);
    for (auto _ : state) {
        w.drawPicture();
    }
    bench::ReportGoal(state, 3.0);
    EpsDeltaMaxRadius = 2.0;
}
BENCHMARK(BM_LimitFrameSampleBound)->Unit(benchmark::kMillisecond);

} // namespace
