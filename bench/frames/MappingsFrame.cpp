// Mappings window: a frame of the animated arrow with 20 fixed arrows, the graph, the arrows and the
// Cartesian view on.
#include "bench/frames/FrameBench.h"

#include "controls/BitCheckBox.h"
#include "core/Settings.h"
#include "lessons/MappingsWindow.h"

#include <QToolButton>

namespace {

using namespace kurvex;

void BM_MappingsAnimatedArrow(benchmark::State& state)
{
    XMin = -7;
    XMax = 7;
    TermCovariation = "x^2/4-2";
    auto& w = bench::FrameWindow<MappingsWindow>();
    for (const char* name : {"BitCheckBox1", "BitCheckBox2", "BitCheckBox3"}) {
        auto* box = w.findChild<BitCheckBox*>(QString::fromLatin1(name));
        box->setChecked(true);
        emit box->clicked();
    }
    // Each run of the benchmark starts from the same 20 arrows.
    w.findChild<QToolButton*>(QStringLiteral("SpeedButton18"))->click();
    auto* fix = w.findChild<QToolButton*>(QStringLiteral("SpeedButton13"));
    for (int i = 0; i < 20; ++i) {
        PointXP = -6.5 + 0.65 * i;
        fix->click();
    }
    double x = -7.0;
    for (auto _ : state) {
        x = x > 6.9 ? -7.0 : x + 0.07;
        PointXP = x;
        w.fullRedraw();
    }
    bench::ReportGoal(state, 3.0);
}
BENCHMARK(BM_MappingsAnimatedArrow)->Unit(benchmark::kMillisecond);

} // namespace
