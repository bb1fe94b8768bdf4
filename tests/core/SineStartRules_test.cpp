// Rules of the sine fit's start-value dialog: small start values, the iteration limit as text and
// the period beside b.
#include "core/SineStartRules.h"

#include <gtest/gtest.h>

#include <limits>

namespace kurvex {
namespace {

TEST(SineStartRules, SmallAmplitudeOrFrequencyTakesTheAutomaticValueButPhaseAndOffsetMayBeZero)
{
    const struct {
        double typed;
        bool guarded;
        double expected;
    } cases[] = {
        {0.0, true, 7.0},        {0.0009, true, 7.0}, {-0.0009, true, 7.0},
        {0.001, true, 0.001},    {-2.5, true, -2.5},  {0.0, false, 0.0},
        {0.0004, false, 0.0004}, {-3.0, false, -3.0}, {std::numeric_limits<double>::quiet_NaN(), true, 7.0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.typed << (c.guarded ? " a or b" : " c or d"));
        EXPECT_EQ(SineStartValue(c.typed, 7.0, c.guarded), c.expected);
    }
}

TEST(SineStartRules, IterationLimitFromItsText)
{
    const struct {
        const char* text;
        int expected;
    } cases[] = {
        {"abc", 15}, {"", 15},   {"1,5", 15}, {"2e1", 15}, {"99999999999", 15}, {"0", 10},
        {"31", 10},  {"-4", 10}, {"30", 30},  {"1", 1},    {" 12 ", 12},        {"+7", 7},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(SineIterationLimit(c.text), c.expected);
    }
}

TEST(SineStartRules, PeriodOrADashWhereThereIsNone)
{
    EXPECT_EQ(SinePeriodText(1.0, 3), "  6,283     ");
    EXPECT_EQ(SinePeriodText(-2.0, 2), " -3,14     ");
    EXPECT_EQ(SinePeriodText(0.0, 3), "\xE2\x80\x93");
    EXPECT_EQ(SinePeriodText(-0.0, 3), "\xE2\x80\x93");
    EXPECT_EQ(SinePeriodText(1e-320, 3), "\xE2\x80\x93");
    EXPECT_EQ(SinePeriodText(std::numeric_limits<double>::quiet_NaN(), 3), "\xE2\x80\x93");
}

} // namespace
} // namespace kurvex
