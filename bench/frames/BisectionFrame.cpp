// Bisection window: a frame after a whole run with help lines and labels on (band, curve, status
// line and the bars replayed from the start interval); and the step table replaying a whole run
// to the bound 1e-12.
#include "bench/frames/FrameBench.h"

#include "controls/BitCheckBox.h"
#include "core/Settings.h"
#include "core/WorldWindow.h"
#include "lessons/BisectionTableDialog.h"
#include "lessons/BisectionWindow.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>

namespace {

using namespace kurvex;

void BM_BisectionFrameAfterFullRun(benchmark::State& state)
{
    setWorld({-7, 7, -7, 7});
    ProgramDir = "/nonexistent/";
    TermBisection = "x^3-2*x-5";
    auto& w = bench::FrameWindow<BisectionWindow>();
    // Six decimals: the bound 0.000001, the finest the window offers.
    auto* decimals = w.findChild<QLineEdit*>(QStringLiteral("Edit4"));
    decimals->setText(QStringLiteral("6"));
    decimals->setModified(true);
    QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
    QApplication::sendEvent(decimals, &enter);
    w.pickStartInterval(-7, 7);
    for (int steps = -1; steps != w.stepCount();) {
        steps = w.stepCount();
        w.makeStep();
    }
    // "Hilfslinien" and "Beschriftung" on, as clicks leave them.
    for (const char* name : {"BitCheckBox1", "BitCheckBox2"}) {
        auto* box = w.findChild<BitCheckBox*>(QString::fromLatin1(name));
        box->setChecked(true);
        emit box->clicked();
    }
    state.counters["steps"] = w.stepCount();
    for (auto _ : state) {
        w.drawPicture();
    }
    bench::ReportGoal(state, 3.0);
}
BENCHMARK(BM_BisectionFrameAfterFullRun)->Unit(benchmark::kMillisecond);

void BM_BisectionTableReplayTo1e12(benchmark::State& state)
{
    BisectionTableInput input;
    CompileTerm(input.term, "x^2-2", true);
    input.startA = -7;
    input.startB = 7;
    input.tolerance = 1e-12;
    input.decimals = 6;
    int rows = 0;
    for (auto _ : state) {
        const BisectionTableDialog table(input);
        rows = table.table() != nullptr ? 1 : 0;
        benchmark::DoNotOptimize(rows);
    }
    bench::ReportGoal(state, 3.0);
}
BENCHMARK(BM_BisectionTableReplayTo1e12)->Unit(benchmark::kMillisecond);

} // namespace
