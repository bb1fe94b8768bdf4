// Curve-discussion window: one animation step of x0 with f', f'', the slope triangle and the
// growing derivative on: the moving parts of both panes over the curves kept in the background.
#include "bench/frames/FrameBench.h"

#include "controls/BitCheckBox.h"
#include "core/Settings.h"
#include "core/WorldWindow.h"
#include "lessons/CurveDiscussionWindow.h"

namespace {

using namespace kurvex;

void BM_CurveDiscussionAnimationStep(benchmark::State& state)
{
    setWorld({-7, 7, -7, 7});
    TermText = "x^3-3x";
    CurrentX = 0;
    auto& w = bench::FrameWindow<CurveDiscussionWindow>();
    for (const char* name : {"BitCheckBox1", "BitCheckBox2", "BitCheckBox3", "BitCheckBox4"}) {
        auto* box = w.findChild<BitCheckBox*>(QString::fromLatin1(name));
        box->setChecked(true);
        emit box->clicked();
    }
    const double step = 14.0 / bench::kFrameSize.width();
    for (auto _ : state) {
        CurrentX = CurrentX > 7 ? -7 : CurrentX + step;
        w.drawPicture();
    }
    bench::ReportGoal(state, 4.0);
}
BENCHMARK(BM_CurveDiscussionAnimationStep)->Unit(benchmark::kMillisecond);

} // namespace
