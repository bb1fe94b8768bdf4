// Shared fixture of the tangent-problem and differentiability window tests: a temporary program
// folder, recorded messages, the picture on a recording canvas and the lines drawn in a colour.
#pragma once

#include "core/CoordinateSystem.h"
#include "core/RecordList.h"
#include "core/Settings.h"
#include "core/WorldWindow.h"
#include "core/term/Term.h"
#include "lesson/ExampleListPanel.h"
#include "lesson/PrintExportHooks.h"
#include "lessons/TangentProblemWindow.h"
#include "platform/RecordingCanvas.h"
#include "support/TestTempDir.h"
#include "support/WindowsState.h"

#include <QApplication>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QTest>
#include <QToolButton>

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <memory>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

namespace kurvex::test {

struct Segment {
    Point from;
    Point to;
};

// Every line drawn in the colour, as the canvas saw it.
inline std::vector<Segment> SegmentsIn(const RecordingCanvas& c, TColor color)
{
    std::vector<Segment> out;
    for (const CanvasCall& call : c.callsOf(CanvasOp::LineTo)) {
        if (call.pen.color == color && call.points.size() == 2) {
            out.push_back({call.points[0], call.points[1]});
        }
    }
    return out;
}

// Whether every end of every segment lies on y = slope·x + intercept, within a pixel and the
// rounding of a sample's column.
inline bool AllOnLine(const std::vector<Segment>& segments, double slope, double intercept)
{
    const auto onLine = [&](Point p) {
        const double y = slope * PixelToWorldX(p.x) + intercept;
        return std::abs(p.y - WorldToPixelY(y)) <= 1.0 + std::abs(slope);
    };
    for (const Segment& s : segments) {
        if (!onLine(s.from) || !onLine(s.to)) {
            return false;
        }
    }
    return !segments.empty();
}

// The leftmost and rightmost column the segments reach.
inline std::pair<int, int> ColumnRange(const std::vector<Segment>& segments)
{
    std::pair<int, int> r{1 << 30, -(1 << 30)};
    for (const Segment& s : segments) {
        r.first = std::min({r.first, s.from.x, s.to.x});
        r.second = std::max({r.second, s.from.x, s.to.x});
    }
    return r;
}

// The fixture's scope gives every shared variable back; the example files go to dir.
template <class W> class TangentWindowFixture : public ProgramWindowFixture {
protected:
    void SetUp() override
    {
        ProgramDir = dir.path().string() + "/";
        PrintExportHooks hooks;
        hooks.showError = [this](QWidget*, const QString& m) { fileMessages.push_back(m.toStdString()); };
        scopedHooks = std::make_unique<ScopedPrintExportHooks>(hooks);
        AnimationDelay = 0;
        AnimationSteps = 200;
        Decimals = 2;
        TangentLength = 1.0;
        AutoTicks = true;
        IniSettings = {};
        setWorld({-7, 7, -3, 11});
        // Colours apart from each other and from the black axes.
        GraphColor = 0x00A0A0;
        SecantColor = 0x800080;
        TangentLineColor = 0xFF0000;
    }

    void TearDown() override
    {
        window.reset();
        scopedHooks.reset();
    }

    void open()
    {
        window = std::make_unique<W>();
        window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    }

    // Closes the window as "Beenden" does, which saves the example list.
    void close()
    {
        window->reject();
        window.reset();
    }

    RecordingCanvas record()
    {
        RecordingCanvas canvas;
        DrawCanvas = &canvas;
        Printing = true;
        window->paintPicture();
        Printing = false;
        window->refresh();
        return canvas;
    }

    template <class T> T* control(const char* name) const
    {
        auto* w = window->template findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(w, nullptr) << name;
        return w;
    }

    void typeInto(const char* editName, const QString& text)
    {
        QLineEdit* edit = control<QLineEdit>(editName);
        edit->setFocus();
        edit->selectAll();
        QTest::keyClicks(edit, text);
        QTest::keyClick(edit, Qt::Key_Return);
    }

    void click(const char* buttonName)
    {
        QTest::mouseClick(control<QToolButton>(buttonName), Qt::LeftButton);
    }

    void selectExample(int row)
    {
        auto* list = control<QListWidget>("ListBox1");
        list->setCurrentRow(row);
    }

    void mouseOnPlot(QEvent::Type type, QPoint at, Qt::MouseButton button, Qt::MouseButtons held)
    {
        QMouseEvent e(type, at, window->plotBox()->mapToGlobal(at), button, held, Qt::NoModifier);
        QApplication::sendEvent(window->plotBox(), &e);
    }

    TempDir dir;
    std::vector<std::string> fileMessages;
    std::unique_ptr<ScopedPrintExportHooks> scopedHooks;
    std::unique_ptr<W> window;
};

} // namespace kurvex::test
