// Tests of the world-window operations: bounds check, zoom, pan, rubber band and animation turn-around.
#include "core/WorldWindow.h"

#include "core/Settings.h"
#include "support/SharedState.h"

#include <gtest/gtest.h>

#include <limits>

namespace kurvex {
namespace {

// Keeps the shared window, start window and plot size of one test from leaking into the next.
class WorldWindowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        IniSettings.x1 = -3.0;
        IniSettings.x2 = 5.0;
        IniSettings.y1 = -2.0;
        IniSettings.y2 = 4.0;
        setWorld({-7, 7, -7, 7});
        PlotWidth = 700;
        PlotHeight = 700;
    }

    static constexpr WorldRect kStart{-3.0, 5.0, -2.0, 4.0};

private:
    test::SharedStateScope shared_;
};

void expectWorldNear(const WorldRect& actual, const WorldRect& expected)
{
    EXPECT_NEAR(actual.xMin, expected.xMin, 1e-12);
    EXPECT_NEAR(actual.xMax, expected.xMax, 1e-12);
    EXPECT_NEAR(actual.yMin, expected.yMin, 1e-12);
    EXPECT_NEAR(actual.yMax, expected.yMax, 1e-12);
}

TEST_F(WorldWindowTest, ZoomAndPanMoveTheEndsBySpanFractions)
{
    // Off-centre windows keep their centre (the window tests check -7..7 through the buttons).
    expectWorldNear(zoomedOut({0, 4, 10, 12}), {-2, 6, 9, 13});
    expectWorldNear(zoomedIn({0, 4, 10, 12}), {1, 3, 10.5, 11.5});
    expectWorldNear(panned({-7, 7, -7, 7}, 1, 0), {-5.6, 8.4, -7, 7});
    expectWorldNear(panned({0, 4, 10, 12}, -1, 1), {-0.4, 3.6, 10.2, 12.2});
}

TEST_F(WorldWindowTest, ValidWindowPassesAndEndsAreClampedToTheUnsymmetricBounds)
{
    const double inf = std::numeric_limits<double>::infinity();
    const struct {
        WorldRect in, out;
    } cases[] = {{{-1e4 + 1, 99999, 0.5, 0.50011}, {-1e4 + 1, 99999, 0.5, 0.50011}},
                 {{-20000, 150000, -10001, 100000}, {-10000, 100000, -10000, 100000}},
                 {{-7, 7, -inf, inf}, {-7, 7, -10000, 100000}},
                 {{-7, 7, -1e4, 2e7}, {-7, 7, -1e4, 1e5}}};
    for (const auto& c : cases) {
        setWorld(c.in);
        EXPECT_FALSE(CheckWorld());
        EXPECT_EQ(currentWorld(), c.out);
    }
}

TEST_F(WorldWindowTest, RepeatedZoomOutStopsAtTheBoundsAndZoomInReturnsToTheStartWindow)
{
    for (int i = 0; i < 40; ++i) {
        setWorld(zoomedOut(currentWorld()));
        CheckWorld();
    }
    EXPECT_EQ(currentWorld(), (WorldRect{-10000, 100000, -10000, 100000}));
    bool fellBack = false;
    for (int i = 0; i < 60 && !fellBack; ++i) {
        setWorld(zoomedIn(currentWorld()));
        fellBack = CheckWorld();
        if (!fellBack) {
            EXPECT_GT(XMax - XMin, 0.0001);
        }
    }
    EXPECT_TRUE(fellBack);
    EXPECT_EQ(currentWorld(), kStart);
}

TEST_F(WorldWindowTest, UnusableWindowIsReplacedByTheStartWindow)
{
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const struct {
        const char* name;
        WorldRect window;
    } cases[] = {{"x span too small", {1, 1.0001, -7, 7}},
                 {"y span too small", {-7, 7, 2, 2.00001}},
                 {"typed reversed x", {5, -5, -7, 7}},
                 {"typed reversed y", {-7, 7, 3, -3}},
                 {"clamping reverses", {2e5, 3e5, -7, 7}},
                 {"equal ends", {1, 1, -7, 7}},
                 {"NaN in x", {nan, 7, -7, 7}},
                 {"NaN in y", {-7, 7, -7, nan}}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        setWorld(c.window);
        EXPECT_TRUE(CheckWorld());
        EXPECT_EQ(currentWorld(), kStart);
    }
}

TEST_F(WorldWindowTest, OwnLimitsApplyPerAxis)
{
    WorldLimits wide;
    wide.highest = 1e8;
    WorldRect w{-7, 7, -1e4, 1e7 - 1e4}; // a y span of exactly 1e7 is refused
    EXPECT_TRUE(CheckWorld(w.xMin, w.xMax, w.yMin, w.yMax, wide));
    WorldLimits sequences;
    sequences.minSpanX = 2;
    sequences.maxSpanX = 1000;
    sequences.minSpanY = 1e-7;
    w = {-0.1, 1.5, 0, 1e-6};
    EXPECT_TRUE(CheckWorld(w.xMin, w.xMax, w.yMin, w.yMax, sequences));
    w = {-1, 12, 0, 1e-6};
    EXPECT_FALSE(CheckWorld(w.xMin, w.xMax, w.yMin, w.yMax, sequences));
}

TEST_F(WorldWindowTest, BandMustExceedTenPixelsBothWaysAndGivesOneWindowInEveryDragDirection)
{
    EXPECT_FALSE(bandZooms(100, 100, 110, 300)); // 10 x 200
    EXPECT_FALSE(bandZooms(100, 100, 300, 90));  // 200 x 10 upwards
    EXPECT_TRUE(bandZooms(100, 100, 111, 111));
    EXPECT_TRUE(bandZooms(300, 300, 289, 289));
    EXPECT_FALSE(bandZooms(100, 100, 100, 100));
    const WorldRect forward = bandToWorld(0, 0, 350, 175);
    expectWorldNear(forward, {-7, 0, 3.5, 7});
    EXPECT_EQ(bandToWorld(350, 175, 0, 0), forward);
    EXPECT_EQ(bandToWorld(0, 175, 350, 0), forward);
    EXPECT_EQ(bandToWorld(350, 0, 0, 175), forward);
}

TEST_F(WorldWindowTest, TurnAroundSetsTheSignOfTheStep)
{
    EXPECT_EQ(turnAround(0.0, 8.0, -4, 4), 8.0);
    EXPECT_EQ(turnAround(0.0, -8.0, -4, 4), -8.0);
    EXPECT_EQ(turnAround(4.0, 8.0, -4, 4), -8.0);
    EXPECT_EQ(turnAround(4.0, -8.0, -4, 4), -8.0);
    EXPECT_EQ(turnAround(-4.0, -8.0, -4, 4), -8.0); // the minimum itself is inside
    EXPECT_EQ(turnAround(-4.04, -8.0, -4, 4), 8.0);
    EXPECT_EQ(turnAround(-4.04, 8.0, -4, 4), 8.0);
}

// One animation as the windows run it: advance by step / 200, then turn around.
double animate(double value, double& step)
{
    value += step / 200;
    step = turnAround(value, step, -4, 4);
    return value;
}

TEST_F(WorldWindowTest, AnimationTurnsAtTheFirstValueAtTheMaximumAndBelowTheMinimum)
{
    double step = 8.0;
    double value = animate(3.9, step);
    EXPECT_NEAR(value, 3.94, 1e-12);
    while (step > 0) {
        value = animate(value, step);
    }
    EXPECT_GE(value, 4.0);
    EXPECT_LT(value - 0.04, 4.0);
    while (step < 0) {
        value = animate(value, step);
    }
    EXPECT_LT(value, -4.0);
    EXPECT_GE(value + 0.04, -4.0);
}

} // namespace
} // namespace kurvex
