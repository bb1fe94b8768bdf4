// Sequences window: an ε step of its bar with the limit marked, n0 sought through all 10 000
// starts, and 1000 points joined and marked on the number line.
#include "bench/frames/FrameBench.h"

#include "controls/BitCheckBox.h"
#include "core/Settings.h"
#include "core/WorldWindow.h"
#include "core/term/Term.h"
#include "lesson/TermField.h"
#include "lessons/SequenceWindow.h"

#include <QScrollBar>

namespace {

using namespace kurvex;

SequenceWindow& sequenceWindow()
{
    SequenceMode = true;
    TermSequence = "sin(n)/n";
    auto& w = bench::FrameWindow<SequenceWindow>();
    // Every box on: the picture with the most to draw.
    for (const char* name :
         {"BitCheckBox1", "BitCheckBox2", "BitCheckBox3", "BitCheckBox4", "BitCheckBox5"}) {
        auto* box = w.findChild<BitCheckBox*>(QString::fromLatin1(name));
        box->setChecked(true);
        emit box->clicked();
    }
    // Nearly all 1000 points inside the plot.
    setWorld({-75, 900, -1.2, 1.2});
    return w;
}

void BM_SequenceEpsilonStep(benchmark::State& state)
{
    auto& w = sequenceWindow();
    auto* bar = w.findChild<QScrollBar*>(QStringLiteral("ScrollBar3"));
    int position = 1;
    for (auto _ : state) {
        // ε of a thousandth and less: no n0 up to 10001, so the search runs to its end.
        position = position == 1 ? 2 : 1;
        bar->setValue(position);
    }
    bench::ReportGoal(state, 3.0);
}
BENCHMARK(BM_SequenceEpsilonStep)->Unit(benchmark::kMillisecond);

void BM_SequenceTermEntered(benchmark::State& state)
{
    auto& w = sequenceWindow();
    auto* term = w.findChild<TermField*>();
    bool odd = false;
    for (auto _ : state) {
        // 10 051 terms evaluated, the limit estimated, and the picture drawn.
        odd = !odd;
        term->enter(odd ? "cos(n)/n" : "sin(n)/n");
    }
    bench::ReportGoal(state, 3.0);
}
BENCHMARK(BM_SequenceTermEntered)->Unit(benchmark::kMillisecond);

} // namespace
