// Loci window: an animation step that fixes the member and its special points into the trace, with
// 50 members fixed before it, and the rebuild of that trace.
#include "bench/frames/FrameBench.h"

#include "controls/BitCheckBox.h"
#include "core/RecordList.h"
#include "core/Settings.h"
#include "core/WorldWindow.h"
#include "lesson/ValueRow.h"
#include "lessons/LociWindow.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QScrollBar>

namespace {

using namespace kurvex;

constexpr int kFixedMembers = 50;

// The window with a family whose members have a high, a low and an inflection point, every kind
// shown, curves and points fixed, and 50 members fixed along t.
LociWindow& preparedWindow()
{
    setWorld({-7, 7, -7, 7});
    auto& w = bench::FrameWindow<LociWindow>();
    static const bool prepared = [&w] {
        auto* edit = w.findChild<QLineEdit*>(QStringLiteral("Edit1"));
        edit->setText(QStringLiteral("x^3-t*x+t"));
        edit->setModified(true);
        QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
        QApplication::sendEvent(edit, &enter);
        for (const char* name :
             {"BitCheckBox1", "BitCheckBox2", "BitCheckBox3", "BitCheckBox4", "BitCheckBox10"}) {
            auto* box = w.findChild<BitCheckBox*>(QString::fromLatin1(name));
            box->setChecked(true);
            emit box->clicked();
        }
        for (int i = 1; i <= kFixedMembers; ++i) {
            w.tRow().bar()->setValue(500 + 10 * i);
        }
        return ListCount(ObjectList) == kFixedMembers;
    }();
    (void)prepared;
    return w;
}

void BM_LociAnimationFrame(benchmark::State& state)
{
    LociWindow& w = preparedWindow();
    double t = 0.5;
    for (auto _ : state) {
        t = t > 3.9 ? 0.5 : t + 0.008;
        ParamT = t;
        w.fixCurrentState();
        // The list keeps its 50 members; the frame's cost does not depend on how many there are.
        ListDelete(ObjectList, 1);
    }
    bench::ReportGoal(state, 4.0);
}
BENCHMARK(BM_LociAnimationFrame)->Unit(benchmark::kMillisecond);

// A zoom, a colour change or the settings rebuild the trace from the 50 fixed members.
void BM_LociTraceRebuild(benchmark::State& state)
{
    LociWindow& w = preparedWindow();
    for (auto _ : state) {
        w.fullRedraw();
    }
}
BENCHMARK(BM_LociTraceRebuild)->Unit(benchmark::kMillisecond);

} // namespace
