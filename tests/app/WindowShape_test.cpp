// Every launcher entry's picture keeps the shape it opened with when its window is made wide, tall
// or maximised: pixels per world unit in x against y stay as they were.
#include "app/CategoryList.h"
#include "app/LauncherWindow.h"
#include "app/LessonRegistry.h"
#include "core/Settings.h"
#include "lesson/LessonWindow.h"
#include "lesson/PlotBox.h"
#include "lessons/MappingsWindow.h"
#include "lessons/TrigonometryWindow.h"
#include "support/WindowsState.h"

#include <QApplication>
#include <QScrollBar>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace kurvex {
namespace {

class QuietLauncher : public LauncherWindow {
protected:
    void showInfoWindow() override {}
    bool confirmExit() override { return true; }
};

struct EntryCase {
    const char* caption;
    bool graphList; // "Funktionsgraphen" rather than "Analysis"
};

void PrintTo(const EntryCase& c, std::ostream* os)
{
    *os << c.caption;
}

const EntryCase kEntries[] = {
    {"y = m  x + c", true},
    {"y = a x² + b x + c", true},
    {"y = a (x - u)² + v", true},
    {"y = a f(x - u) + v", true},
    {"y = f(x) Parameter a, b, c, d", true},
    {"Funktionsanpassung", false},
    {"Tangentenproblem", false},
    {"Lineare Regression", false},
    {"Differenzierbarkeit", false},
    {"Ganzrationale Funktionen", false},
    {"Grenzwert - Stetigkeit", false},
    {"f f' f''  Kurvendiskussion", false},
    {"Folgen -  Grenzwert", false},
    {"f  F    Integralfunktion", false},
    {"Bisektion  f(x) = 0", false},
    {"Ortskurven - H, T, W", false},
    {"Zuordnungen", false},
    {"Unter- und Obersumme", false},
    {"sin cos    tan cot", false},
};

// Lets the window and the layouts finish what a size change started.
void settle()
{
    for (int i = 0; i < 6; ++i) {
        QCoreApplication::sendPostedEvents();
        QCoreApplication::processEvents();
    }
}

// Pixels per world unit in x over pixels per world unit in y, on the plot as it is shown now.
double unitRatio(const LessonWindow& w)
{
    const QSize plot = w.plotSize();
    return (plot.width() / (XMax - XMin)) / (plot.height() / (YMax - YMin));
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

class WindowShapeTest : public test::ProgramWindowFixture, public ::testing::WithParamInterface<EntryCase> {
protected:
    void SetUp() override { AnimationDelay = 0; }

    void checkShapes(LessonWindow& w)
    {
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
        settle();
        const double opened = unitRatio(w);
        for (const Resize& r : kResizes) {
            SCOPED_TRACE(r.name);
            r.apply(w);
            settle();
            EXPECT_NEAR(unitRatio(w) / opened, 1.0, 0.02)
                << w.plotSize().width() << " x " << w.plotSize().height();
            // Drawn anew at the size shown, and wholly inside the window.
            EXPECT_EQ(w.plotBox()->picture()->deviceIndependentSize().toSize(), w.plotBox()->size());
            EXPECT_TRUE(w.rect().contains(QRect(w.plotBox()->mapTo(&w, QPoint()), w.plotBox()->size())));
        }
    }
};

TEST_P(WindowShapeTest, PictureKeepsItsShapeWideTallAndMaximised)
{
    const EntryCase& c = GetParam();
    QuietLauncher launcher;
    launcher.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&launcher));
    CategoryList* list = c.graphList ? launcher.graphList() : launcher.analysisList();
    int row = -1;
    for (int i = 0; i < list->count(); ++i) {
        row = list->caption(i) == QString::fromUtf8(c.caption) ? i : row;
    }
    ASSERT_GE(row, 0) << "no launcher entry " << c.caption;

    bool used = false;
    QTimer::singleShot(0, [&] {
        auto* w = qobject_cast<LessonWindow*>(QApplication::activeModalWidget());
        if (w == nullptr) {
            return;
        }
        used = true;
        checkShapes(*w);
        w->reject();
    });
    QTest::mouseClick(list, Qt::LeftButton, {}, list->itemRect(row).center());
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(used) << "no lesson window opened";
}

// The angle bars stand under the graph's -π..2π whatever room the plot gets.
TEST_F(WindowShapeTest, TrigonometryBarsFollowThePlotIntoAMaximisedWindow)
{
    TrigonometryWindow w;
    w.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
    for (const Resize& r : kResizes) {
        SCOPED_TRACE(r.name);
        r.apply(w);
        settle();
        const QRect plot(w.plotBox()->mapTo(&w, QPoint()), w.plotBox()->size());
        const auto* bar = test::child<QScrollBar>(&w, "ScrollBar1");
        const QRect barRect(bar->mapTo(&w, QPoint()), bar->size());
        EXPECT_NEAR(barRect.left(), plot.left() + 0.25 * plot.width(), 1);
        EXPECT_NEAR(barRect.right(), plot.right(), 10);
        EXPECT_GT(barRect.top(), plot.bottom());
        EXPECT_LT(barRect.top(), plot.bottom() + 10);
    }
}

// The rails' captions stand beside their rails whatever room the plot gets.
TEST_F(WindowShapeTest, MappingsRailCaptionsFollowThePlotIntoAMaximisedWindow)
{
    NumberLineMode = true;
    MappingsWindow w;
    w.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
    for (const Resize& r : kResizes) {
        SCOPED_TRACE(r.name);
        r.apply(w);
        settle();
        const QRect plot(w.plotBox()->mapTo(&w, QPoint()), w.plotBox()->size());
        const auto* caption = test::child<QWidget>(&w, "Panel4"); // "x - Schiene"
        const int middle = caption->mapTo(&w, QPoint(0, caption->height() / 2)).y();
        EXPECT_NEAR(middle, plot.top() + plot.height() * 20.0 / 21.0, 2);
    }
    NumberLineMode = false;
}

TEST(WindowShapeCoverage, EveryLauncherEntryHasItsCase)
{
    std::vector<std::string> captions;
    for (const auto lessons : {AnalysisLessons(), FunctionGraphLessons()}) {
        for (const LessonEntry& e : lessons) {
            captions.emplace_back(e.caption);
        }
    }
    ASSERT_EQ(captions.size(), std::size(kEntries));
    for (const std::string& caption : captions) {
        const bool covered = std::any_of(std::begin(kEntries), std::end(kEntries),
                                         [&](const EntryCase& c) { return caption == c.caption; });
        EXPECT_TRUE(covered) << caption;
    }
}

INSTANTIATE_TEST_SUITE_P(Launcher, WindowShapeTest, ::testing::ValuesIn(kEntries),
                         [](const ::testing::TestParamInfo<EntryCase>& info) {
                             std::string name;
                             for (const char ch : std::string(info.param.caption)) {
                                 if (std::isalnum(static_cast<unsigned char>(ch))) {
                                     name += ch;
                                 }
                             }
                             return name + "_" + std::to_string(info.index);
                         });

} // namespace
} // namespace kurvex
