// Upper-and-lower-sums window: an animation frame at n = 1000 with both sums drawn, every strip
// sampled per pixel column and hatched twice, and the curve.
#include "bench/frames/FrameBench.h"

#include "lesson/TermField.h"
#include "lesson/ValueRow.h"
#include "lessons/StripSumsWindow.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QRadioButton>

namespace {

using namespace kurvex;

void BM_StripSumsAnimationFrame(benchmark::State& state)
{
    auto& w = bench::FrameWindow<StripSumsWindow>();
    w.findChild<TermField*>()->enter("x^2");
    w.findChild<QRadioButton*>(QStringLiteral("RadioButton3"))->setChecked(true);
    // n typed as the user types it: its edit left with Enter.
    QLineEdit* n = w.stripRow().valueEdit();
    n->setText(QStringLiteral("1000"));
    n->setModified(true);
    QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
    QCoreApplication::sendEvent(n, &enter);
    for (auto _ : state) {
        w.drawPicture();
    }
    state.counters["strips"] = static_cast<double>(w.sums().count);
    bench::ReportGoal(state, 3.0);
}
BENCHMARK(BM_StripSumsAnimationFrame)->Unit(benchmark::kMillisecond);

} // namespace
