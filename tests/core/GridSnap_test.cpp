// Snapping to the tick grid and the arrow-key step, for every mode and awkward tick steps.
#include "core/GridSnap.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace kurvex {
namespace {

TEST(GridSnap, ModeTexts)
{
    const char* expected[] = {"Pixel", "Pixel", "1/1", "1/2", "1/4", "1/10", "1/10"};
    for (int mode = 0; mode <= 6; ++mode) {
        SCOPED_TRACE(mode);
        EXPECT_EQ(SnapModeText(mode), expected[mode]);
    }
}

TEST(GridSnap, SnapsToTheNearestGridLineWithHalvesToEven)
{
    constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
    struct Case {
        double v, tick;
        int mode;
        double expected;
    };
    const Case cases[] = {
        {0.3, 1, 3, 0.5},       // 1/2
        {0.25, 1, 3, 0.0},      // tie: 0.5 halves to 0
        {0.75, 1, 3, 1.0},      // tie: 1.5 halves to 2
        {-0.3, 1, 3, -0.5},     //
        {0.37, 1, 1, 0.37},     // Pixel: as it is
        {2.9, 2, 2, 2.0},       // 1/1 with tick 2
        {3.0, 2, 2, 4.0},       // tie: 1.5 units halves to 2 units
        {0.149, 1, 5, 0.1},     // 1/10
        {0.13, 0.5, 4, 0.125},  // 1/4 of 0.5
        {1.7, 0, 3, 1.7},       // no usable tick step
        {1.7, kNaN, 3, 1.7},    //
        {1.7, -1, 3, 1.7},      //
        {1.7, 1, 9, 1.7},       // mode out of range
        {1e308, 0.1, 5, 1e308}, // the grid cannot hold it
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.v << " tick " << c.tick << " mode " << c.mode);
        EXPECT_NEAR(SnapValue(c.v, c.tick, c.mode), c.expected, 1e-12);
    }
    const SnapPoint p = SnapToGrid(0.3, 0.3, 1.0, 2.0, 3);
    EXPECT_DOUBLE_EQ(p.x, 0.5);
    EXPECT_DOUBLE_EQ(p.y, 0.0);
}

TEST(GridSnap, ArrowStepIsNeverLessThanOneUnit)
{
    struct Case {
        double tick;
        int mode;
        double expected;
    };
    const Case cases[] = {
        {1, 1, 0.02},   // 1/50 of the tick
        {10, 1, 0.2},   // 0.02 would be 0.1 units: one unit
        {0.1, 1, 0.02}, // 10 units of 0.002
        {1, 2, 1},      //
        {2, 2, 2},      // 1 would be half a unit: one unit
        {0.2, 2, 1},    // five units
        {1, 3, 0.5},    //
        {2, 3, 1},      // one unit of 1
        {5, 4, 1.25},   // one unit of 1.25
        {1, 4, 0.25},   //
        {1, 5, 0.1},    //
        {0.1, 5, 0.1},  // ten units of 0.01
        {0, 3, 0},      // no usable tick step
        {-1, 3, 0},     //
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "tick " << c.tick << " mode " << c.mode);
        EXPECT_NEAR(ArrowStep(c.tick, c.mode), c.expected, 1e-12);
    }
}

} // namespace
} // namespace kurvex
