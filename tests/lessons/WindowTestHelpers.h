// Helpers of the lesson-window tests: controls by form name, typing, clicks, drags and the picture
// recorded through the printing passes.
#pragma once

#include "controls/BitCheckBox.h"
#include "core/Settings.h"
#include "lesson/LessonWindow.h"
#include "lesson/PlotBox.h"
#include "platform/RecordingCanvas.h"

#include <QApplication>
#include <QLineEdit>
#include <QMouseEvent>
#include <QTest>

#include <gtest/gtest.h>

#include <tuple>

namespace kurvex::test {

// The window's control of that form name; a missing one fails the test.
template <class T> T* Control(const QWidget& window, const char* name)
{
    auto* w = window.findChild<T*>(QString::fromLatin1(name));
    EXPECT_NE(w, nullptr) << name;
    return w;
}

// Types text into the edit as a user does and leaves it with Enter.
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

// The picture drawn onto a recording canvas through the same passes as printing; the screen is
// drawn again afterwards, as after printing.
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

// A left-button press, move and release on the plot box.
inline void DragOnPlot(LessonWindow& window, QPoint from, QPoint to)
{
    PlotBox* box = window.plotBox();
    const std::tuple<QEvent::Type, QPoint, Qt::MouseButton, Qt::MouseButtons> steps[] = {
        {QEvent::MouseButtonPress, from, Qt::LeftButton, Qt::LeftButton},
        {QEvent::MouseMove, to, Qt::NoButton, Qt::LeftButton},
        {QEvent::MouseButtonRelease, to, Qt::LeftButton, Qt::NoButton}};
    for (const auto& [type, at, button, held] : steps) {
        QMouseEvent e(type, at, box->mapToGlobal(at), button, held, Qt::NoModifier);
        QApplication::sendEvent(box, &e);
    }
}

} // namespace kurvex::test
