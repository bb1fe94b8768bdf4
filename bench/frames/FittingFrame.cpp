// Fitting window: a drag step of one of 101 points, the refit and the full redraw it costs with f',
// f'', the special points and the deviations on, for every model.
#include "bench/frames/FrameBench.h"

#include "controls/BitCheckBox.h"
#include "core/FitCheck.h"
#include "core/Settings.h"
#include "core/WorldWindow.h"
#include "fitting/FittingWindow.h"
#include "fitting/PointEditor.h"
#include "numeric/SineFit.h"

#include <QSignalBlocker>
#include <QToolButton>

#include <array>
#include <cmath>
#include <functional>
#include <vector>

namespace {

using namespace kurvex;

struct BenchModel {
    const char* button;
    const char* label;
    std::function<double(double)> f;
};

const std::array<BenchModel, 10> kModels{{
    {"SpeedButtonlinF", "line", [](double x) { return 0.5 * x + 1; }},
    {"SpeedButtonProF", "proportional", [](double x) { return 0.8 * x; }},
    {"SpeedButtonexpfkt", "exponential", [](double x) { return 2 * std::exp(0.2 * x); }},
    {"SpeedButtongebrR", "rational 1/1", [](double x) { return (1 + 2 * x) / (1 + 0.5 * x); }},
    {"SpeedButtonbeschrW", "bounded growth", [](double x) { return 5 - 3 * std::exp(-0.4 * x); }},
    {"SpeedButtonPotfkt", "power", [](double x) { return 2 * std::pow(x, 1.5); }},
    {"SpeedButtonlogW", "logistic", [](double x) { return 10 / (1 + std::exp(2 - x)); }},
    {"SpeedButtonganzR", "polynomial 3", [](double x) { return x * x * x / 10 - x; }},
    {"SpeedButtonQuadFkt", "quadratic", [](double x) { return 0.5 * x * x - x; }},
    {"SpeedButtonSinFit", "sine", [](double x) { return 2 * std::sin(x + 0.5) + 1; }},
}};

std::vector<DataPoint> benchPoints(const BenchModel& m)
{
    std::vector<DataPoint> points;
    for (int i = 0; i < 101; ++i) {
        const double x = 0.1 + 0.1 * i;
        points.push_back({x, m.f(x) + 0.05 * std::sin(1.7 * i)});
    }
    return points;
}

void BM_FittingDragStep(benchmark::State& state)
{
    const BenchModel& model = kModels[static_cast<std::size_t>(state.range(0))];
    state.SetLabel(model.label);
    setWorld({-1, 11, -6, 16});
    auto& w = bench::FrameWindow<FittingWindow>();
    for (const char* box :
         {"BitCheckBox6", "BitCheckBox8", "BitCheckBox3", "BitCheckBox2", "BitCheckBox1", "BitCheckBox4"}) {
        w.findChild<BitCheckBox*>(QString::fromLatin1(box))->setChecked(true);
    }
    w.findChild<QToolButton*>(QString::fromLatin1(model.button))->setChecked(true);
    NewModel = true;
    std::vector<DataPoint> points = benchPoints(model);
    const double y50 = points[50].y;
    PointEditor& editor = w.pointEditor();
    int step = 0;
    for (auto _ : state) {
        // The dragged point wanders up and down by a little, as under the mouse.
        points[50].y = y50 + 0.02 * (step++ % 40 - 20);
        {
            const QSignalBlocker block(&editor);
            editor.setPoints(points, 50);
        }
        w.fullRedraw();
    }
    if (!w.lastFit().shown) {
        state.SkipWithError("the fit was refused");
    }
    bench::ReportGoal(state, 3.0);
}
BENCHMARK(BM_FittingDragStep)->DenseRange(0, 9)->Unit(benchmark::kMillisecond);

} // namespace
