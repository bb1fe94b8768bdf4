// Trigonometry window: an animation frame in tan mode with cot shown, both graphs drawn in full and
// traced from 0 to an angle beyond a full turn's half.
#include "bench/frames/FrameBench.h"

#include "controls/BitCheckBox.h"
#include "core/Settings.h"
#include "lessons/TrigonometryWindow.h"

#include <QRadioButton>
#include <QScrollBar>

namespace {

using namespace kurvex;

void BM_TrigonometryAnimationFrame(benchmark::State& state)
{
    auto& w = bench::FrameWindow<TrigonometryWindow>();
    w.findChild<QRadioButton*>(QStringLiteral("RadioButton2"))->click();
    auto* cotangent = w.findChild<BitCheckBox*>(QStringLiteral("BitCheckBox3"));
    if (!cotangent->Checked()) {
        cotangent->setChecked(true);
        emit cotangent->clicked();
    }
    // Each new bar position draws one frame, as a step of the animation does.
    auto* degrees = w.findChild<QScrollBar*>(QStringLiteral("ScrollBar1"));
    int position = 200;
    for (auto _ : state) {
        position = position >= 340 ? 200 : position + 1;
        degrees->setValue(position);
    }
    bench::ReportGoal(state, 3.0);
}
BENCHMARK(BM_TrigonometryAnimationFrame)->Unit(benchmark::kMillisecond);

} // namespace
