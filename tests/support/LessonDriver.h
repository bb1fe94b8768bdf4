// Test helpers that drive a lesson window through its widgets: type, click, drag, animate, and
// record its picture through the same passes as printing.
#pragma once

#include "controls/BitCheckBox.h"
#include "controls/ToggleSwitch.h"
#include "lesson/LessonWindow.h"
#include "lesson/PlotBox.h"
#include "platform/RecordingCanvas.h"

#include <QApplication>
#include <QLineEdit>
#include <QMouseEvent>
#include <QTest>
#include <QTimer>

#include <functional>
#include <optional>
#include <vector>

namespace kurvex::test {

// The control of that form name below root; nullptr when there is none.
template <class T> T* Control(const QWidget& root, const char* name)
{
    return root.findChild<T*>(QString::fromLatin1(name));
}

// Types text into the edit and leaves it with Enter, as a user does.
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

// Presses the left button at the first point, moves through the others with it held, and releases
// it at the last.
inline void DragOnPlot(PlotBox* box, const std::vector<QPoint>& path)
{
    if (path.empty()) {
        return;
    }
    const auto send = [box](QEvent::Type type, QPoint at, Qt::MouseButton button, Qt::MouseButtons held) {
        QMouseEvent e(type, at, box->mapToGlobal(at), button, held, Qt::NoModifier);
        QApplication::sendEvent(box, &e);
    };
    send(QEvent::MouseButtonPress, path.front(), Qt::LeftButton, Qt::LeftButton);
    for (std::size_t i = 1; i < path.size(); ++i) {
        send(QEvent::MouseMove, path[i], Qt::NoButton, Qt::LeftButton);
    }
    send(QEvent::MouseButtonRelease, path.back(), Qt::LeftButton, Qt::NoButton);
}

// The whole picture drawn onto a recording canvas through the passes printing uses; the screen is
// drawn anew afterwards.
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

} // namespace kurvex::test
