// Helpers of the lesson-window tests on top of the fixture: a fixture that opens one window type,
// short names for the kit's helpers, and opening a lesson from the launcher.
#pragma once

#include "app/LessonRegistry.h"
#include "app/SettingsDialog.h"
#include "controls/ToggleSwitch.h"
#include "core/CoordinateSystem.h"
#include "core/WorldWindow.h"
#include "lesson/LessonWindow.h"
#include "lesson/PrintExportHooks.h"
#include "support/LessonFixture.h"
#include "support/WindowsState.h"

#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QPointer>
#include <QPrinter>
#include <QTimer>

#include <optional>
#include <vector>

#include <functional>
#include <memory>
#include <string>

namespace kurvex::test {

// The window's control of that form name; a missing one fails the test.
template <class T> T* Control(const QWidget& window, const char* name)
{
    auto* w = window.findChild<T*>(QString::fromLatin1(name));
    EXPECT_NE(w, nullptr) << name;
    return w;
}

inline void TypeInto(QLineEdit* edit, const QString& text)
{
    typeInto(edit, text);
}

inline void ClickBox(BitCheckBox* box)
{
    clickBox(box);
}

inline void DragOnPlot(PlotBox* box, QPoint from, QPoint to)
{
    dragOnPlot(box, from, to);
}

inline void DragOnPlot(LessonWindow& window, QPoint from, QPoint to)
{
    dragOnPlot(window.plotBox(), from, to);
}

inline RecordingCanvas RecordPicture(LessonWindow& window)
{
    return recordPicture(window);
}

// One mouse event on the plot, as the user's mouse sends it; a move drags with the button held
// unless button is Qt::NoButton.
inline void MouseOnPlot(PlotBox* box, QEvent::Type type, QPoint at, Qt::MouseButton button = Qt::LeftButton)
{
    const Qt::MouseButtons held =
        type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::MouseButtons(button);
    QMouseEvent e(type, at, box->mapToGlobal(at), type == QEvent::MouseMove ? Qt::NoButton : button, held,
                  Qt::NoModifier);
    QApplication::sendEvent(box, &e);
}

inline void ClickOnPlot(PlotBox* box, QPoint at, Qt::MouseButton button = Qt::LeftButton)
{
    MouseOnPlot(box, QEvent::MouseButtonPress, at, button);
    MouseOnPlot(box, QEvent::MouseButtonRelease, at, button);
}

// Presses the left button at the first point, moves through the others with it held, and releases
// it at the last.
inline void DragOnPlot(PlotBox* box, const std::vector<QPoint>& path)
{
    if (path.empty()) {
        return;
    }
    MouseOnPlot(box, QEvent::MouseButtonPress, path.front());
    for (std::size_t i = 1; i < path.size(); ++i) {
        MouseOnPlot(box, QEvent::MouseMove, path[i]);
    }
    MouseOnPlot(box, QEvent::MouseButtonRelease, path.back());
}

// A world window with exactly 50 pixels per unit on the plot as it is now, x and y from -7 up.
inline void SetExactWorld(LessonWindow& window)
{
    const QSize s = window.plotBox()->size();
    setWorld({-7, -7 + s.width() / 50.0, 7 - s.height() / 50.0, 7});
    window.refresh();
}

inline QPoint PixelAt(double x, double y)
{
    return {WorldToPixelX(x), WorldToPixelY(y)};
}

// End points of the lines drawn in the colour; only those of one pane when paneTop (the pane's
// first row on the recording) is given.
inline std::vector<Point> LinePoints(const RecordingCanvas& c, TColor color, std::optional<int> paneTop = {})
{
    std::vector<Point> pts;
    for (const CanvasCall& call : c.callsOf(CanvasOp::LineTo)) {
        if (call.pen.color == color && (!paneTop || call.origin.y == *paneTop)) {
            pts.insert(pts.end(), call.points.begin(), call.points.end());
        }
    }
    return pts;
}

// Turns the switch on and runs its loop; every 20 ms stop(tick) says whether to turn it off.
inline void Animate(ToggleSwitch* s, const std::function<bool(int tick)>& stop)
{
    int ticks = 0;
    QTimer timer;
    QObject::connect(&timer, &QTimer::timeout, [&] {
        if (stop(++ticks)) {
            s->setChecked(false);
        }
    });
    timer.start(20);
    s->setChecked(true);
    emit s->clicked();
}

// Turns the switch on and runs its loop through start(); the switch goes off once done() holds,
// looked at every 10 ms, or after ten seconds.
inline void AnimateUntil(ToggleSwitch* s, const std::function<void()>& start,
                         const std::function<bool()>& done)
{
    int ticks = 0;
    QTimer timer;
    QObject::connect(&timer, &QTimer::timeout, [&] {
        if (done() || ++ticks > 1000) {
            s->setChecked(false);
        }
    });
    timer.start(10);
    s->setChecked(true);
    start();
}

// Opens the "Analysis" lesson of that caption as the launcher does, hands the window shown to
// check and closes it; true when a W was shown and freed on closing.
template <class W> bool OpenFromLauncher(const char* caption, const std::function<void(W&)>& check)
{
    const LessonEntry* entry = nullptr;
    for (const LessonEntry& e : AnalysisLessons()) {
        entry = std::string(e.caption) == caption ? &e : entry;
    }
    if (entry == nullptr) {
        return false;
    }
    QPointer<W> shown;
    QTimer::singleShot(0, [&] {
        shown = qobject_cast<W*>(QApplication::activeModalWidget());
        if (shown) {
            check(*shown);
            shown->reject();
        }
    });
    OpenAnalysisLesson(entry->imageIndex, nullptr);
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    return shown.isNull() && entry->open != nullptr;
}

// While it lives, "WMF - Datei" saves to choice (which a test may change between exports),
// "Drucken" prints into the PDF file pdf and answers a picture too large for the page with
// fitToPage, noting the question; any error message fails the test.
class ScopedExportTo {
public:
    explicit ScopedExportTo(SaveChoice first = {}) : choice(std::move(first)), scoped_(hooks()) {}

    SaveChoice choice;
    QString pdf;
    bool fitToPage = true;
    std::vector<QString> fitQuestions;

private:
    PrintExportHooks hooks()
    {
        PrintExportHooks h;
        h.chooseFile = [this](QWidget*) { return std::optional<SaveChoice>(choice); };
        h.showError = [](QWidget*, const QString& m) { ADD_FAILURE() << m.toStdString(); };
        h.setupPrinter = [this](QWidget*, QPrinter& printer) {
            EXPECT_FALSE(pdf.isEmpty()) << "a print without a PDF file to print to";
            printer.setOutputFormat(QPrinter::PdfFormat);
            printer.setOutputFileName(pdf);
            return !pdf.isEmpty();
        };
        h.confirmFitToPage = [this](QWidget*, const QString& question) {
            fitQuestions.push_back(question);
            return fitToPage;
        };
        return h;
    }

    ScopedPrintExportHooks scoped_;
};

// A window of type W opened in the fixture's own program folder (no settings file or example
// list unless the test writes one); every shared variable comes back afterwards.
template <class W> class WindowFixture : public ProgramWindowFixture {
protected:
    void SetUp() override
    {
        InstallApplicationDialogs();
        AnimationDelay = 0;
    }
    void TearDown() override { window.reset(); }

    // layers: a fixed layer size, so pixel checks do not depend on the screen
    void open(QSize layers = {})
    {
        window = std::make_unique<W>();
        if (layers.isValid()) {
            window->setFixedLayerSize(layers);
        }
        window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    }

    template <class T> T* control(const char* name) const { return Control<T>(*window, name); }
    QLineEdit* edit(const char* name) const { return control<QLineEdit>(name); }
    QString label(const char* name) const { return control<QLabel>(name)->text(); }

    void writeFile(const char* name, const char* bytes) const
    {
        writeProgramFile(QString::fromLatin1(name), bytes);
    }
    QByteArray readFile(const char* name) const
    {
        QFile f(programDir.filePath(QString::fromLatin1(name)));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }

    std::vector<std::string>& messages = syntaxMessages;
    std::unique_ptr<W> window;
};

} // namespace kurvex::test
