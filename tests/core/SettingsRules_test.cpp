// Tests of the settings dialog's limits for typed integers, tick units and axis ends.
#include "core/SettingsRules.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

namespace kurvex {
namespace {

struct IntCase {
    const char* text;
    int expected;
};

TEST(SettingsRulesTest, ParseIntegerAcceptsOnlyWholeNumbers)
{
    EXPECT_EQ(ParseInteger("42"), 42);
    EXPECT_EQ(ParseInteger("  -5 "), -5);
    EXPECT_EQ(ParseInteger("+7"), 7);
    for (const char* bad : {"", " ", "abc", "1.5", "1,5", "12x", "+-3", "- 3", "99999999999"}) {
        EXPECT_FALSE(ParseInteger(bad).has_value()) << bad;
    }
}

TEST(SettingsRulesTest, AnimationStepsOutsideTheRangeGiveTwoHundred)
{
    for (const IntCase& c : {IntCase{"10", 200},
                             {"19", 200},
                             {"20", 20},
                             {"3000", 3000},
                             {"3001", 200},
                             {"abc", 200},
                             {"", 200},
                             {"-50", 200}}) {
        EXPECT_EQ(AnimationStepsFromText(c.text), c.expected) << c.text;
    }
}

TEST(SettingsRulesTest, PrintPercentOutsideTheRangeGivesHundred)
{
    for (const IntCase& c :
         {IntCase{"19", 100}, {"20", 20}, {"200", 200}, {"201", 100}, {"250", 100}, {"x", 100}}) {
        EXPECT_EQ(PrintSizePercentFromText(c.text), c.expected) << c.text;
    }
}

TEST(SettingsRulesTest, DelayIsClampedAndTextGivesZero)
{
    for (const IntCase& c :
         {IntCase{"5000", 1000}, {"1000", 1000}, {"-5", 0}, {"x", 0}, {"250", 250}, {"0", 0}}) {
        EXPECT_EQ(AnimationDelayFromText(c.text), c.expected) << c.text;
    }
}

TEST(SettingsRulesTest, DecimalsAreClampedAndTextGivesTwo)
{
    for (const IntCase& c : {IntCase{"7", 4}, {"-1", 0}, {"x", 2}, {"3", 3}, {"0", 0}}) {
        EXPECT_EQ(DecimalsFromText(c.text), c.expected) << c.text;
    }
}

TEST(SettingsRulesTest, ResultDigitsAreClampedAndTextKeepsTheOldValue)
{
    EXPECT_EQ(ResultDigitsFromText("1", 3), 2);
    EXPECT_EQ(ResultDigitsFromText("9", 3), 4);
    EXPECT_EQ(ResultDigitsFromText("3", 4), 3);
    EXPECT_EQ(ResultDigitsFromText("x", 4), 4);
    EXPECT_EQ(ResultDigitsFromText("", 2), 2);
}

struct TickCase {
    double span;
    double step;
    bool accepted;
};

TEST(SettingsRulesTest, TickUnitNeedsThreeToTwentyOneSteps)
{
    const double inf = std::numeric_limits<double>::infinity();
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const TickCase cases[] = {
        {14, 1, true},       // 14 steps
        {14, 0.5, false},    // 28 steps
        {14, 5, true},       // 2.8 rounds to 3
        {14, 6, false},      // 2.33 rounds to 2
        {14, 0, false},      // refused before dividing
        {14, -1, false},     // negative unit
        {14, nan, false},    // not a number
        {14, inf, false},    // infinite unit
        {14, 1e-320, false}, // quotient overflows
        {10, 4, false},      // 2.5 rounds to even 2
        {14, 14.0 / 21, true}, {14, 14.0 / 3, true}, {inf, 1, false},
    };
    for (const TickCase& c : cases) {
        EXPECT_EQ(TickStepAccepted(c.span, c.step), c.accepted) << c.span << " / " << c.step;
    }
}

TEST(SettingsRulesTest, AxisEndsMustBeOrdered)
{
    EXPECT_TRUE(AxisRangeAccepted(-7, 7));
    EXPECT_FALSE(AxisRangeAccepted(7, 7));
    EXPECT_FALSE(AxisRangeAccepted(8, 7));
    EXPECT_FALSE(AxisRangeAccepted(std::nan(""), 7));
}

} // namespace
} // namespace kurvex
