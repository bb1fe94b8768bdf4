// Every launcher entry's picture keeps the shape it opened with when its window is made wide, tall
// or maximised: pixels per world unit in x against y stay as they were. A window that opens
// maximised takes the screen's working height. Controls placed by the plot follow it.
#include "core/Settings.h"
#include "lesson/LessonWindow.h"
#include "lesson/PlotBox.h"
#include "lessons/MappingsWindow.h"
#include "lessons/TrigonometryWindow.h"
#include "support/LauncherEntries.h"

#include <QScreen>
#include <QScrollBar>
#include <QTest>

#include <gtest/gtest.h>

#include <functional>

namespace kurvex {
namespace {

// Pixels per world unit in x over pixels per world unit in y, on the plot as it is shown now.
double unitRatio(const LessonWindow& w)
{
    const QSize plot = w.plotSize();
    return (plot.width() / (XMax - XMin)) / (plot.height() / (YMax - YMin));
}

QRect plotInWindow(const LessonWindow& w)
{
    return {w.plotBox()->mapTo(&w, QPoint()), w.plotBox()->size()};
}

struct Resize {
    const char* name;
    std::function<void(LessonWindow&)> apply;
};

const Resize kResizes[] = {
    {"wide", [](LessonWindow& w) { w.resize(1500, 700); }},
    {"tall", [](LessonWindow& w) { w.resize(700, 1100); }},
    {"maximised", [](LessonWindow& w) { w.showMaximized(); }},
    {"back to normal", [](LessonWindow& w) { w.showNormal(); }},
};

// Shows the window and runs check after each of the resizes, with the plot's place in the window.
void throughEveryResize(LessonWindow& w, const std::function<void(QRect plot)>& check)
{
    w.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
    test::settle();
    for (const Resize& r : kResizes) {
        SCOPED_TRACE(r.name);
        r.apply(w);
        test::settle();
        check(plotInWindow(w));
    }
}

using WindowShapeTest = test::LauncherEntryTest;

TEST_P(WindowShapeTest, PictureKeepsItsShapeWideTallAndMaximised)
{
    const bool opened = test::UseEntryWindow(GetParam(), [](LessonWindow& w) {
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
        test::settle();
        if (w.variant().opening == WindowOpening::FullHeight) {
            // Opened "maximised": the screen's whole working height, the plot's width, centred.
            const QRect area = w.screen()->availableGeometry();
            EXPECT_EQ(w.frameGeometry().top(), area.top());
            EXPECT_EQ(w.frameGeometry().height(), area.height());
            EXPECT_NEAR(w.frameGeometry().center().x(), area.center().x(), 1);
        }
        const double ratio = unitRatio(w);
        throughEveryResize(w, [&](QRect plot) {
            EXPECT_NEAR(unitRatio(w) / ratio, 1.0, 0.02) << plot.width() << " x " << plot.height();
            // Drawn anew at the size shown, and wholly inside the window.
            EXPECT_EQ(w.plotBox()->picture()->deviceIndependentSize().toSize(), plot.size());
            EXPECT_TRUE(w.rect().contains(plot));
        });
    });
    EXPECT_TRUE(opened) << "no lesson window opened";
}

INSTANTIATE_TEST_SUITE_P(Launcher, WindowShapeTest, ::testing::ValuesIn(test::LauncherEntries()),
                         test::EntryParamName);

// The angle bars stand under the graph's -π..2π whatever room the plot gets.
TEST_F(WindowShapeTest, TrigonometryBarsFollowThePlotIntoAMaximisedWindow)
{
    TrigonometryWindow w;
    const auto* bar = test::child<QScrollBar>(&w, "ScrollBar1");
    throughEveryResize(w, [&](QRect plot) {
        const QRect barRect(bar->mapTo(&w, QPoint()), bar->size());
        EXPECT_NEAR(barRect.left(), plot.left() + 0.25 * plot.width(), 1);
        EXPECT_NEAR(barRect.right(), plot.right(), 10);
        EXPECT_GT(barRect.top(), plot.bottom());
        EXPECT_LT(barRect.top(), plot.bottom() + 10);
    });
}

// The rails' captions stand beside their rails whatever room the plot gets.
TEST_F(WindowShapeTest, MappingsRailCaptionsFollowThePlotIntoAMaximisedWindow)
{
    NumberLineMode = true;
    MappingsWindow w;
    const auto* caption = test::child<QWidget>(&w, "Panel4"); // "x - Schiene"
    throughEveryResize(w, [&](QRect plot) {
        const int middle = caption->mapTo(&w, QPoint(0, caption->height() / 2)).y();
        EXPECT_NEAR(middle, plot.top() + plot.height() * 20.0 / 21.0, 2);
    });
}

} // namespace
} // namespace kurvex
