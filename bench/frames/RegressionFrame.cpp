// Linear-regression window: a drag step of one of 101 points with the squares, the deviations and
// the regression line on, the refit and the sums it costs.
#include "bench/frames/FrameBench.h"

#include "controls/BitCheckBox.h"
#include "core/WorldWindow.h"
#include "fitting/PointEditor.h"
#include "fitting/RegressionWindow.h"

#include <QScrollBar>

#include <cmath>
#include <vector>

namespace {

using namespace kurvex;

void BM_RegressionDragStep(benchmark::State& state)
{
    setWorld({-1, 11, -6, 16});
    auto& w = bench::FrameWindow<RegressionWindow>();
    for (const char* box : {"BitCheckBox1", "BitCheckBox2", "BitCheckBox3", "BitCheckBox4"}) {
        w.findChild<BitCheckBox*>(QString::fromLatin1(box))->setChecked(true);
    }
    // m = 0.4 and c = 1.5: a line a little off the data, so that every square has a size.
    w.findChild<QScrollBar*>(QStringLiteral("ScrollBar1"))->setValue(520);
    w.findChild<QScrollBar*>(QStringLiteral("ScrollBar2"))->setValue(575);
    std::vector<DataPoint> points;
    for (int i = 0; i < 101; ++i) {
        const double x = 0.1 * i;
        points.push_back({x, 0.5 * x + 1 + 0.8 * std::sin(1.7 * i)});
    }
    const double y50 = points[50].y;
    PointEditor& editor = w.pointEditor();
    int step = 0;
    for (auto _ : state) {
        // The dragged point wanders up and down by a little, as under the mouse; the editor's
        // change redraws the window as a drag does.
        points[50].y = y50 + 0.02 * (step++ % 40 - 20);
        editor.setPoints(points, 50);
    }
    if (!w.lastFit().shown || std::fabs(w.userLine().slope - 0.4) > 1e-9) {
        state.SkipWithError("the fit was refused");
    }
    bench::ReportGoal(state, 3.0);
}
BENCHMARK(BM_RegressionDragStep)->Unit(benchmark::kMillisecond);

} // namespace
