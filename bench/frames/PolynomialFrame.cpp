// Polynomial window: one step of a drag of a condition with seven equations, f, f', f'' and the
// high, low and inflection points shown: solve, term and frame.
#include "bench/frames/FrameBench.h"

#include "controls/BitCheckBox.h"
#include "core/CoordinateSystem.h"
#include "core/Settings.h"
#include "core/WorldWindow.h"
#include "lesson/PlotBox.h"
#include "lessons/PolynomialWindow.h"

#include <QApplication>
#include <QMouseEvent>

namespace {

using namespace kurvex;

void mouse(PlotBox* box, QEvent::Type type, QPoint at, Qt::MouseButtons held)
{
    QMouseEvent e(type, at, at, type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton, held,
                  Qt::NoModifier);
    QApplication::sendEvent(box, &e);
}

QPoint pixel(double x, double y)
{
    return {WorldToPixelX(x), WorldToPixelY(y)};
}

// The window with seven conditions (seven equations), f', f'' and every kind of special point on.
PolynomialWindow& preparedWindow()
{
    setWorld({-7, 7, -7, 7});
    auto& w = bench::FrameWindow<PolynomialWindow>();
    static const bool prepared = [&w] {
        PlotBox* box = w.plotBox();
        for (int i = 0; i < 7; ++i) {
            const QPoint at = pixel(-4.5 + 1.5 * i, i % 2 == 0 ? 1.0 : -1.0);
            mouse(box, QEvent::MouseButtonPress, at, Qt::LeftButton);
            mouse(box, QEvent::MouseButtonRelease, at, Qt::NoButton);
        }
        for (const char* name : {"FirstDerivativeBox", "SecondDerivativeBox", "HighPointsBox", "LowPointsBox",
                                 "InflectionPointsBox"}) {
            auto* b = w.findChild<BitCheckBox*>(QString::fromLatin1(name));
            b->setChecked(true);
            emit b->clicked();
        }
        return w.conditions().equationCount() == 7;
    }();
    (void)prepared;
    return w;
}

void BM_PolynomialDragStep(benchmark::State& state)
{
    PolynomialWindow& w = preparedWindow();
    PlotBox* box = w.plotBox();
    // Grab the middle condition and move it up and down by a few pixels at a time.
    const QPoint grab = pixel(0, -1);
    mouse(box, QEvent::MouseButtonPress, grab, Qt::LeftButton);
    int step = 0;
    for (auto _ : state) {
        step = (step + 1) % 40;
        const int dy = step < 20 ? step : 40 - step;
        mouse(box, QEvent::MouseMove, grab - QPoint(0, 3 * dy), Qt::LeftButton);
    }
    mouse(box, QEvent::MouseMove, grab, Qt::LeftButton);
    mouse(box, QEvent::MouseButtonRelease, grab, Qt::NoButton);
    if (w.conditions().equationCount() != 7 || !w.polynomial().solved() || w.conditions().selected() != 3) {
        state.SkipWithError("the drag did not hold the middle of seven conditions");
    }
    bench::ReportGoal(state, 4.0);
}
BENCHMARK(BM_PolynomialDragStep)->Unit(benchmark::kMillisecond);

} // namespace
