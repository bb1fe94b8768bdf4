// Test fixture of the fitting window: an open window in its own program folder on a known world
// window, the shared state put back afterwards, and helpers for mouse, keys and the picture.
#pragma once

#include "fitting/FittingWindow.h"

#include "core/CoordinateSystem.h"
#include "core/FitTerm.h"
#include "core/Settings.h"
#include "core/WorldWindow.h"
#include "fitting/PointEditor.h"
#include "lesson/PlotBox.h"
#include "numeric/SineFit.h"
#include "platform/RecordingCanvas.h"
#include "support/LessonWindowTest.h"

#include <QApplication>
#include <QLineEdit>
#include <QMouseEvent>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace kurvex::test {

class FittingWindowTest : public test::ProgramWindowFixture {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        // No settings file here: the window starts from the built-in defaults.
        ProgramDir = dir.path().toStdString() + "/";
        SetSyntaxErrorHandler([this](int, const std::string& text, int) { messages.push_back(text); });
        NewModel = true;
        window = std::make_unique<FittingWindow>();
        window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
        window->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
        // About -7..7 at a whole 34 pixels per unit from the corner (-7, 7), whatever size the
        // screen gives the plot: clicks at whole world positions land on whole pixels.
        const QSize plot = window->plotBox()->size();
        setWorld({-7, -7 + plot.width() / 34.0, 7 - plot.height() / 34.0, 7});
        window->refresh();
    }

    void TearDown() override
    {
        window.reset();
        SetSyntaxErrorHandler(nullptr);
        DrawCanvas = nullptr;
    }

    template <class T> T* control(const char* name) const
    {
        auto* w = window->findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(w, nullptr) << name;
        return w;
    }

    PointEditor& editor() const { return window->pointEditor(); }
    const std::vector<PlotPoint>& points() const { return editor().points(); }

    static QPoint pixel(double x, double y) { return {WorldToPixelX(x), WorldToPixelY(y)}; }

    void mouse(QEvent::Type type, QPoint at, Qt::MouseButton button, Qt::MouseButtons held)
    {
        PlotBox* box = window->plotBox();
        QMouseEvent e(type, at, box->mapToGlobal(at), button, held, Qt::NoModifier);
        QApplication::sendEvent(box, &e);
    }
    void click(QPoint at, Qt::MouseButton button = Qt::LeftButton)
    {
        mouse(QEvent::MouseButtonPress, at, button, button);
        mouse(QEvent::MouseButtonRelease, at, button, Qt::NoButton);
    }
    void clickAt(double x, double y) { click(pixel(x, y)); }

    void typeInto(QLineEdit* edit, const QString& text)
    {
        edit->setFocus();
        edit->selectAll();
        QTest::keyClicks(edit, text);
        QTest::keyClick(edit, Qt::Key_Return);
    }

    // The picture drawn onto a recording canvas through the same passes as printing.
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

    // Everything the window reads or writes in the shared state, put back when the test ends.
    QTemporaryDir dir;
    std::vector<std::string> messages;
    std::unique_ptr<FittingWindow> window;
};

} // namespace kurvex::test
