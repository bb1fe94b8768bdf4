// Tests of the settings dialog's limits for typed integers, tick units and axis ends.
#include "core/SettingsRules.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace kurvex {
namespace {

TEST(SettingsRulesTest, ParseIntegerAcceptsOnlyWholeNumbers)
{
    EXPECT_EQ(ParseInteger("42"), 42);
    EXPECT_EQ(ParseInteger("  -5 "), -5);
    EXPECT_EQ(ParseInteger("+7"), 7);
    for (const char* bad : {"", " ", "abc", "1.5", "1,5", "12x", "+-3", "- 3", "99999999999"}) {
        EXPECT_FALSE(ParseInteger(bad).has_value()) << bad;
    }
}

struct IntegerRuleCase {
    const char* rule;
    int (*apply)(std::string_view);
    const char* text;
    int expected;
};

// Each edit has its own answer to a text that is no integer: 200, 100, 0, 2, or the old value (3).
TEST(SettingsRulesTest, IntegerEditsApplyTheirLimits)
{
    constexpr auto steps = AnimationStepsFromText;
    constexpr auto percent = PrintSizePercentFromText;
    constexpr auto delay = AnimationDelayFromText;
    constexpr auto decimals = DecimalsFromText;
    constexpr auto digits = [](std::string_view t) { return ResultDigitsFromText(t, 3); };
    const IntegerRuleCase cases[] = {
        {"steps", steps, "10", 200},      {"steps", steps, "19", 200},      {"steps", steps, "20", 20},
        {"steps", steps, "3000", 3000},   {"steps", steps, "3001", 200},    {"steps", steps, "abc", 200},
        {"steps", steps, "-50", 200},     {"percent", percent, "19", 100},  {"percent", percent, "20", 20},
        {"percent", percent, "200", 200}, {"percent", percent, "250", 100}, {"percent", percent, "x", 100},
        {"delay", delay, "5000", 1000},   {"delay", delay, "1000", 1000},   {"delay", delay, "-5", 0},
        {"delay", delay, "x", 0},         {"delay", delay, "250", 250},     {"decimals", decimals, "7", 4},
        {"decimals", decimals, "-1", 0},  {"decimals", decimals, "x", 2},   {"decimals", decimals, "3", 3},
        {"digits", digits, "1", 2},       {"digits", digits, "9", 4},       {"digits", digits, "4", 4},
        {"digits", digits, "x", 3},       {"digits", digits, "", 3},
    };
    for (const IntegerRuleCase& c : cases) {
        EXPECT_EQ(c.apply(c.text), c.expected) << c.rule << " \"" << c.text << '"';
    }
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
