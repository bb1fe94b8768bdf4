// The plot's shape at every window size: the plot's place in a room, and the frame keeping it
// through resizing, maximising and a full-height opening.
#include "lesson/PlotColumnLayout.h"
#include "lesson/TestLessonWindow.h"

#include "core/Settings.h"
#include "core/WorldWindow.h"
#include "lesson/PlotBox.h"
#include "support/LessonFixture.h"

#include <QLabel>
#include <QScreen>
#include <QTest>

#include <gtest/gtest.h>

#include <cmath>
#include <memory>

namespace kurvex {
namespace {

PicturePlan shaped(PlotAspect aspect, double widthPerHeight = 1.0)
{
    PicturePlan plan;
    plan.aspect = aspect;
    plan.widthPerHeight = widthPerHeight;
    return plan;
}

TEST(PlotShapeRule, PlotTakesTheRoomsHeightOrWidthAndStandsInItsMiddle)
{
    const struct {
        const char* name;
        PicturePlan plan;
        QSize room;
        QRect plot;
    } cases[] = {
        {"square, room fits", shaped(PlotAspect::Square), {600, 600}, {0, 0, 600, 600}},
        {"square, room wider", shaped(PlotAspect::Square), {1000, 600}, {200, 0, 600, 600}},
        {"square, room taller", shaped(PlotAspect::Square), {400, 1000}, {0, 300, 400, 400}},
        {"half as wide, room wider", shaped(PlotAspect::HalfAsWide), {1000, 1000}, {250, 0, 500, 1000}},
        {"half as wide, room narrow", shaped(PlotAspect::HalfAsWide), {300, 1000}, {0, 199, 300, 601}},
        {"four to five, room narrow", shaped(PlotAspect::FourToFive), {400, 900}, {0, 199, 400, 501}},
        {"137 to 80, room wider", shaped(PlotAspect::Given, 137.0 / 80.0), {1344, 550}, {201, 0, 942, 550}},
        {"137 to 80, room taller", shaped(PlotAspect::Given, 137.0 / 80.0), {942, 966}, {0, 208, 942, 550}},
        {"broken ratio is square", shaped(PlotAspect::Given, std::nan("")), {500, 300}, {100, 0, 300, 300}},
        {"free fills the room", shaped(PlotAspect::Free), {1000, 600}, {0, 0, 1000, 600}},
        {"empty room", shaped(PlotAspect::Square), {0, 0}, {0, 0, 0, 0}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(PlotRectInRoom(c.plan, c.room), c.plot) << c.name;
    }
}

// A window whose frame offers the panel below the plot, as the trigonometry window's bars use it.
class PanelWindow : public TestLessonWindow {
public:
    explicit PanelWindow(const LessonVariant& v) : TestLessonWindow(v)
    {
        panel = new QLabel(QStringLiteral("unter dem Bild"), this);
        panel->setFixedHeight(40);
        bottomArea()->addWidget(panel);
    }
    QLabel* panel = nullptr;
};

class PlotShapeWindowTest : public test::LessonWindowFixture {
protected:
    void SetUp() override
    {
        setWorld({-7, 7, -7, 7});
        AnimationDelay = 0;
    }
    void TearDown() override { window.reset(); }

    void open(PlotAspect aspect, WindowOpening opening = WindowOpening::OwnSize, double widthPerHeight = 1.0)
    {
        LessonVariant v = TestLessonWindow::testVariant();
        v.picture.aspect = aspect;
        v.picture.widthPerHeight = widthPerHeight;
        v.opening = opening;
        window = std::make_unique<PanelWindow>(v);
        window->resize(900, 700);
        window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
        settle();
    }
    static void settle()
    {
        for (int i = 0; i < 6; ++i) {
            QCoreApplication::sendPostedEvents();
            QCoreApplication::processEvents();
        }
    }
    QRect plotInWindow() const
    {
        return {window->plotBox()->mapTo(window.get(), QPoint()), window->plotBox()->size()};
    }
    // The frame's panel below the plot, which holds the window's label.
    QRect panelInWindow() const
    {
        const QWidget* below = window->panel->parentWidget();
        return {below->mapTo(window.get(), QPoint()), below->size()};
    }
    QRect screenArea() const { return window->screen()->availableGeometry(); }

    std::unique_ptr<PanelWindow> window;
};

TEST_F(PlotShapeWindowTest, AResizedWindowTakesTheWidthItsPlotNeedsAndIsCentred)
{
    open(PlotAspect::Square);
    const int beside = window->width() - plotInWindow().width();
    for (const QSize size : {QSize(1500, 500), QSize(500, 560), QSize(700, 400)}) {
        SCOPED_TRACE(size.width());
        window->resize(size);
        settle();
        const QRect plot = plotInWindow();
        EXPECT_EQ(window->height(), size.height());
        EXPECT_EQ(plot.width(), plot.height());
        // No empty strip beside the plot: the window is as wide as plot and panels.
        EXPECT_EQ(window->width(), plot.width() + beside);
        EXPECT_NEAR(window->frameGeometry().center().x(), screenArea().center().x(), 1);
    }
}

TEST_F(PlotShapeWindowTest, AMaximisedWindowKeepsTheShapeInTheMiddleOfItsRoom)
{
    open(PlotAspect::Given, WindowOpening::OwnSize, 137.0 / 80.0);
    window->showMaximized();
    settle();
    const QSize room = window->size();
    settle();
    // The window keeps the size the maximise gave it.
    EXPECT_TRUE(window->isMaximized());
    EXPECT_EQ(window->size(), room);
    const QRect plot = plotInWindow();
    EXPECT_NEAR(plot.width(), plot.height() * 137.0 / 80.0, 1);
    // The plot and the panel below it as one block, centred beside the control panel.
    const QRect panel = panelInWindow();
    EXPECT_EQ(panel.left(), plot.left());
    EXPECT_EQ(panel.width(), plot.width());
    EXPECT_EQ(panel.top(), plot.bottom() + 1);
    const int spaceAbove = plot.top();
    const int spaceBelow = window->height() - panel.bottom() - 1;
    EXPECT_NEAR(spaceAbove, spaceBelow, 12);
    EXPECT_GT(spaceAbove, 50);
}

TEST_F(PlotShapeWindowTest, AFullHeightOpeningTakesTheScreensWorkingHeightCentred)
{
    open(PlotAspect::HalfAsWide, WindowOpening::FullHeight);
    const QRect area = screenArea();
    EXPECT_EQ(window->frameGeometry().top(), area.top());
    EXPECT_EQ(window->frameGeometry().height(), area.height());
    EXPECT_NEAR(window->frameGeometry().center().x(), area.center().x(), 1);
    const QRect plot = plotInWindow();
    EXPECT_NEAR(plot.width(), plot.height() / 2, 1);
    EXPECT_GT(plot.height(), area.height() / 2);
}

} // namespace
} // namespace kurvex
