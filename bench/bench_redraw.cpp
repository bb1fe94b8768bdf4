// Time of one full redraw of a lesson window at 1920 x 1080: background and foreground pass,
// coordinate system, "sin(x)*x^2" and its first derivative, AND composition.
#include "tests/lesson/TestLessonWindow.h"

#include "core/CoordinateSystem.h"
#include "core/Settings.h"
#include "core/WorldWindow.h"
#include "lesson/PrintExport.h"
#include "lesson/ValueRow.h"
#include "lessons/StripSumsWindow.h"
#include "platform/QtCanvas.h"
#include "platform/RecordingCanvas.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QRadioButton>
#include <benchmark/benchmark.h>

namespace {

using namespace kurvex;

// One window for all runs: the frame's layers stay allocated, as they do in the program.
TestLessonWindow& benchWindow()
{
    static TestLessonWindow* window = [] {
        setWorld({-7, 7, -7, 7});
        auto* w = new TestLessonWindow(); // freed with the process; outlives every benchmark
        w->setTerm("sin(x)*x^2");
        w->setFixedLayerSize(QSize(1920, 1080));
        w->refresh();
        return w;
    }();
    return *window;
}

void BM_FullRedraw(benchmark::State& state)
{
    TestLessonWindow& w = benchWindow();
    for (auto _ : state) {
        w.fullRedraw();
        benchmark::DoNotOptimize(w.foregroundImage().constBits());
    }
    state.counters["frames/s"] =
        benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_FullRedraw)->Unit(benchmark::kMillisecond);

// The same full redraw on layers at device pixel ratio 2 (the 1920 x 1080 logical plot on a HiDPI
// screen, four times the pixels): the window's passes drawn through canvases on such layers.
void BM_FullRedrawAtPixelRatio2(benchmark::State& state)
{
    TestLessonWindow& w = benchWindow();
    constexpr double kRatio = 2.0;
    const QSize logical(1920, 1080);
    QImage background(logical * kRatio, QImage::Format_RGB32);
    QImage foreground(logical * kRatio, QImage::Format_RGB32);
    background.setDevicePixelRatio(kRatio);
    foreground.setDevicePixelRatio(kRatio);
    QtCanvas backgroundCanvas(background);
    QtCanvas foregroundCanvas(foreground);
    backgroundCanvas.setFont(DrawCanvas->font());
    foregroundCanvas.setFont(DrawCanvas->font());
    Canvas* const windowCanvas = DrawCanvas;
    // While Printing is set the passes draw on DrawCanvas and leave the window's own layers alone.
    Printing = true;
    for (auto _ : state) {
        TestLessonWindow::clearLayer(backgroundCanvas, background);
        DrawCanvas = &backgroundCanvas;
        w.drawBackground();
        TestLessonWindow::clearLayer(foregroundCanvas, foreground);
        DrawCanvas = &foregroundCanvas;
        w.drawPicture();
        TestLessonWindow::andImages(foreground, background);
        benchmark::DoNotOptimize(foreground.constBits());
    }
    Printing = false;
    DrawCanvas = windowCanvas;
    state.counters["frames/s"] =
        benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_FullRedrawAtPixelRatio2)->Unit(benchmark::kMillisecond);

// An animation frame redraws only the foreground pass.
void BM_ForegroundRedraw(benchmark::State& state)
{
    TestLessonWindow& w = benchWindow();
    for (auto _ : state) {
        w.drawPicture();
        benchmark::DoNotOptimize(w.foregroundImage().constBits());
    }
}
BENCHMARK(BM_ForegroundRedraw)->Unit(benchmark::kMillisecond);

// Parts of a full redraw: clearing both layers and combining them, and the coordinate system alone.
void BM_ClearAndCombineLayers(benchmark::State& state)
{
    TestLessonWindow& w = benchWindow();
    RecordingCanvas unused;
    for (auto _ : state) {
        TestLessonWindow::clearLayer(unused, w.backgroundImage());
        TestLessonWindow::clearLayer(unused, w.foregroundImage());
        TestLessonWindow::andImages(w.foregroundImage(), w.backgroundImage());
        benchmark::DoNotOptimize(w.foregroundImage().constBits());
    }
}
BENCHMARK(BM_ClearAndCombineLayers)->Unit(benchmark::kMillisecond);

void BM_CoordinateSystem(benchmark::State& state)
{
    TestLessonWindow& w = benchWindow();
    w.fullRedraw();
    for (auto _ : state) {
        DrawCoordinateSystem();
        benchmark::DoNotOptimize(w.foregroundImage().constBits());
    }
}
BENCHMARK(BM_CoordinateSystem)->Unit(benchmark::kMillisecond);

// "WMF - Datei" of the same window with a dotted grid, without the file: the picture recorded at the
// metafile's scale and written as WMF (0) or EMF (1) bytes.
void BM_MetafileExport(benchmark::State& state)
{
    TestLessonWindow& w = benchWindow();
    const int gridMode = GridMode;
    GridMode = 2;
    const MetafileKind kind = state.range(0) == 0 ? MetafileKind::Wmf : MetafileKind::Emf;
    std::size_t bytes = 0;
    for (auto _ : state) {
        bytes = PictureMetafile(w, kind).size();
        benchmark::DoNotOptimize(bytes);
    }
    GridMode = gridMode;
    w.refresh();
    state.counters["kB"] = static_cast<double>(bytes) / 1024.0;
}
BENCHMARK(BM_MetafileExport)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// Typed as the user types it: the edit left with Enter.
void enterText(QLineEdit* edit, const QString& text)
{
    edit->setText(text);
    edit->setModified(true);
    QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
    QCoreApplication::sendEvent(edit, &enter);
}

// "WMF - Datei" of the sums window with both sums and their band hatched: x^2/2+1 on -1..3 in
// n strips (second argument), written as WMF (0) or EMF (1) bytes.
void BM_HatchedMetafileExport(benchmark::State& state)
{
    static StripSumsWindow* window = [] {
        auto* w = new StripSumsWindow(); // freed with the process; outlives every benchmark
        w->setFixedLayerSize(QSize(1920, 1080));
        w->refresh();
        enterText(w->findChild<QLineEdit*>(QStringLiteral("Edit1")), QStringLiteral("x^2/2+1"));
        enterText(w->findChild<QLineEdit*>(QStringLiteral("Edit2")), QStringLiteral("-1"));
        enterText(w->findChild<QLineEdit*>(QStringLiteral("Edit3")), QStringLiteral("3"));
        w->findChild<QRadioButton*>(QStringLiteral("RadioButton3"))->setChecked(true);
        return w;
    }();
    enterText(window->stripRow().valueEdit(), QString::number(state.range(1)));
    const MetafileKind kind = state.range(0) == 0 ? MetafileKind::Wmf : MetafileKind::Emf;
    std::size_t bytes = 0;
    for (auto _ : state) {
        bytes = PictureMetafile(*window, kind).size();
        benchmark::DoNotOptimize(bytes);
    }
    state.counters["kB"] = static_cast<double>(bytes) / 1024.0;
}
BENCHMARK(BM_HatchedMetafileExport)
    ->Args({0, 6})
    ->Args({1, 6})
    ->Args({0, 100})
    ->Args({1, 100})
    ->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
        return 1;
    }
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
