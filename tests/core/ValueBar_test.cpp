// Tests of the scroll-bar grid of a value and of the range check behind it.
#include "core/ValueBar.h"

#include <gtest/gtest.h>

#include <cmath>

namespace kurvex {
namespace {

struct PositionCase {
    double x;
    ValueBar bar;
    int position;
};

TEST(ValueBar, PositionsStayOnTheBarAndNeverDivideByZero)
{
    const ValueBar params{-4, 4, 1, 200}; // the function-graph window's a to d at 200 steps
    const PositionCase cases[] = {
        {1.234, params, 131}, // between grid points: the nearest position
        {-100, params, 1},          {1e300, params, 200},
        {std::nan(""), params, 1},  {3, {2, 2, 1, 200}, 200}, // empty range
        {2, {2, 2, 1, 200}, 1},     {1, {-4, 4, 1, 0}, 1},    // no steps
        {5, {0, 10, 0, 1000}, 500}, {-1e300, {0, 10, 0, 1000}, 0},
    };
    for (const PositionCase& c : cases) {
        SCOPED_TRACE(c.x);
        EXPECT_EQ(c.bar.position(c.x), c.position);
    }
    EXPECT_TRUE(std::isfinite(ValueBar{-4, 4, 1, 0}.value(5)));
    EXPECT_EQ(ValueBar({-4, 4, 1, 0}).maximum(), 1);
}

TEST(ValueBar, ValueOfAPositionIsOnTheGridAndRoundTrips)
{
    const ValueBar bar{-4, 4, 1, 200};
    EXPECT_DOUBLE_EQ(bar.value(1), -3.96); // the lowest position stands for one step above min
    EXPECT_DOUBLE_EQ(bar.value(200), 4.0);
    for (int p = bar.first; p <= bar.last; ++p) {
        ASSERT_EQ(bar.position(bar.value(p)), p) << p;
    }
}

TEST(ValueBar, RangeWithoutRoomFallsBackToTheStartRange)
{
    EXPECT_EQ(CheckedRange(-1, 2, -4, 4), (ParamRange{-1, 2}));
    EXPECT_EQ(CheckedRange(3, 3, -5, 5), (ParamRange{-5, 5}));
    EXPECT_EQ(CheckedRange(5, -5, -2, 6), (ParamRange{-2, 6}));
    EXPECT_EQ(CheckedRange(5, -5, 1, 1), (ParamRange{-4, 4}));
    EXPECT_EQ(CheckedRange(std::nan(""), 1, -3, 3), (ParamRange{-3, 3}));
}

} // namespace
} // namespace kurvex
