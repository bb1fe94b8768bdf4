// Fraction text: continued fractions, mixed numbers and the decimal fallback.
#include "core/NumberText.h"
#include "core/Settings.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace kurvex {
namespace {

TEST(FractionText, FractionsWholeAndMixedNumbersAndDecimals)
{
    struct Case {
        bool mixed;
        double value;
        const char* text;
    };
    const Case cases[] = {
        {false, 0.5, "1/2"},
        {false, 1.0 / 3.0, "1/3"},
        {false, -2.0, "-2"},
        {false, 0.1, "1/10"},
        {false, 0.3, "3/10"},
        {false, -0.75, "-3/4"},
        {false, 1.75, "7/4"},
        {true, 2.25, "2'1/4"},
        {true, -1.75, "-1'3/4"},
        {true, 0.75, "3/4"},
        {true, -5.0, "-5"},
        {false, -0.0, "0"},
        {false, 22.0 / 7.0, "22/7"},
        {false, 123456789012.0, "123456789012"},
        // Decimal fallback: ten decimals, trailing zeros dropped, one decimal kept.
        {false, std::sqrt(2.0), "1,4142135624"},
        {false, -std::sqrt(2.0), "-1,4142135624"},
        {false, 3.14159265358979, "3,1415926536"},
        {false, 12.3456789, "12,3456789"},
        {false, 3.00000000001, "3,0"},
        // A convergent exists, but |p| * |q| is above 1e14.
        {false, 10000019.0 / 10000079.0, "0,999994"},
        {false, 1e20, "100000000000000000000"},
        {false, -2.5e19, "-25000000000000000000"},
        {false, std::numeric_limits<double>::denorm_min(), "0"},
        {false, std::numeric_limits<double>::infinity(), kUndefinedNumberText},
        {true, std::numeric_limits<double>::quiet_NaN(), kUndefinedNumberText},
    };
    for (const Case& c : cases)
        EXPECT_EQ(FloatToFractionText(c.mixed, c.value), c.text) << c.value;
    EXPECT_EQ(FloatToFraction(std::numeric_limits<double>::max()).size(), 309u);
}

TEST(FractionText, ContinuedFraction)
{
    double p = 0, q = 0;
    ASSERT_TRUE(ContinuedFraction(p, q, 1e-12, -0.625));
    EXPECT_EQ(p, -5.0);
    EXPECT_EQ(q, 8.0);
    ASSERT_TRUE(ContinuedFraction(p, q, 1e-15, 10000019.0 / 10000079.0));
    EXPECT_EQ(p, 10000019.0);
    EXPECT_EQ(q, 10000079.0);
    EXPECT_FALSE(ContinuedFraction(p, q, 1e-15, std::numeric_limits<double>::infinity()));
    EXPECT_FALSE(ContinuedFraction(p, q, 1e-15, std::numeric_limits<double>::quiet_NaN()));
}

} // namespace
} // namespace kurvex
