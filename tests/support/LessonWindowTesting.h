// Helpers of the lesson-window tests: controls by their form names, typing, clicking, the mouse on
// the plot, the picture recorded through the printing passes, and an animation run for some ticks.
#pragma once

#include "controls/BitCheckBox.h"
#include "controls/ToggleSwitch.h"
#include "core/CoordinateSystem.h"
#include "core/Settings.h"
#include "core/WorldWindow.h"
#include "lesson/LessonWindow.h"
#include "lesson/PlotBox.h"
#include "platform/RecordingCanvas.h"
#include "support/RestoreShared.h"

#include <QApplication>
#include <QLineEdit>
#include <QMouseEvent>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>

namespace kurvex::test {

// Keeps the run-time state a lesson window resets when it opens (core/LessonStart.h) and puts it
// back, so that a window test leaves it as it found it.
class KeepLessonRunState {
    RestoreShared<bool, bool, double, int, bool, int, bool, bool, bool, bool, bool, double, double, double,
                  bool>
        keep_{AutoTicks,      ModuleOpen,    CurrentX,  CurveKind,   TraceMode,
              LineWidth,      ShowScale,     Printing,  UseSpectrum, FixFamily,
              ShowDerivative, TangentLength, DrawScale, StepWidth,   SpareFlag1};
};

// The window's control of that form name; a missing one fails the test.
template <class T> T* Control(const QWidget& window, const char* name)
{
    auto* w = window.findChild<T*>(QString::fromLatin1(name));
    EXPECT_NE(w, nullptr) << name;
    return w;
}

// Types the text over the edit's content and leaves the edit with Enter.
inline void TypeInto(QLineEdit* edit, const QString& text)
{
    edit->setFocus();
    edit->selectAll();
    QTest::keyClicks(edit, text);
    QTest::keyClick(edit, Qt::Key_Return);
}

inline void ClickBox(BitCheckBox* box)
{
    QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(6, box->height() / 2));
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

inline void DragOnPlot(PlotBox* box, QPoint from, QPoint to)
{
    MouseOnPlot(box, QEvent::MouseButtonPress, from);
    MouseOnPlot(box, QEvent::MouseMove, to);
    MouseOnPlot(box, QEvent::MouseButtonRelease, to);
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

// The picture drawn onto a recording canvas through the same passes as printing.
inline RecordingCanvas RecordPicture(LessonWindow& window)
{
    RecordingCanvas canvas;
    DrawCanvas = &canvas;
    Printing = true;
    window.paintPicture();
    Printing = false;
    window.refresh();
    return canvas;
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

} // namespace kurvex::test
