// Number text: fixed and scientific forms, exact blanks, non-finite values, string helpers.
#include "core/NumberText.h"

#include <gtest/gtest.h>

#include <limits>

namespace kurvex {
namespace {

TEST(NumberText, FormChoiceAndExactText)
{
    struct Case {
        std::string (*format)(int, double);
        int decimals;
        double value;
        const char* text;
    };
    const Case cases[] = {
        {FormatNumber, 2, 100.0, "  1,00 E+2"},
        {FormatNumber, 2, 99.99, " 99,99     "},
        {FormatNumber, 2, 0.2, "  0,20     "},
        {FormatNumber, 2, 0.1, "  1,00 E-1"},
        {FormatNumber, 2, 0.05, "  5,00 E-2"},
        {FormatNumber, 2, 0.10000001, "  0,10     "},
        {FormatNumber, 2, 1e-21, "  0,00     "},
        {FormatNumber, 2, 1e-20, "  1,00 E-20"},
        {FormatNumber, 2, -1e-25, "  0,00     "},
        {FormatNumber, 2, -0.0, "  0,00     "},
        {FormatNumber, 2, -3.14159, " -3,14     "},
        {FormatNumber, 2, 1234.5, "  1,23 E+3"},
        {FormatNumber, 2, -0.05, " -5,00 E-2"},
        {FormatNumber, 2, 250.0, "  2,50 E+2"},
        {FormatNumber, 2, 999.99, " 10,00 E+2"},
        {FormatNumber, 2, 1e300, "  1,00 E+300"},
        {FormatNumber, 0, 3.14159, "   3     "},
        {FormatNumber, 0, 0.4, "   0     "},
        {FormatNumber, 3, 12345678.0, "  1,235 E+7"},
        {FormatNumber, 1, -0.00012, " -1,2 E-4"},
        {FormatNumber, -3, 2.5, "   2     "},
        {FormatNumber, 2, std::numeric_limits<double>::denorm_min(), "  0,00     "},
        {FormatNumberPadded, 2, 3.14159, "  3,14     "},
        {FormatNumberShort, 2, 3.14159, "  3,14"},
        {FormatNumberShort, 2, 1234.5, "  1,23 E+3"},
        {FormatNumberShort, 3, -0.0, "  0,000"},
        {FormatNumberZeroed, 2, 5e-11, "  0,00     "},
        {FormatNumberZeroed, 2, -9.9e-11, "  0,00     "},
        {FormatNumberZeroed, 2, 2e-10, "  2,00 E-10"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.format(c.decimals, c.value), c.text) << c.value << " with " << c.decimals << " decimals";
    EXPECT_EQ(FormatNumberShort(1000, 0.5).size(), 24u);
}

TEST(NumberText, NonFiniteValuesGiveATextAndReturn)
{
    const double values[] = {std::numeric_limits<double>::infinity(),
                             -std::numeric_limits<double>::infinity(),
                             std::numeric_limits<double>::quiet_NaN()};
    for (const double v : values) {
        EXPECT_EQ(FormatNumber(2, v), kUndefinedNumberText);
        EXPECT_EQ(FormatNumberShort(2, v), kUndefinedNumberText);
        EXPECT_EQ(FormatNumberZeroed(2, v), kUndefinedNumberText);
        EXPECT_EQ(FormatTwoDecimals(v), kUndefinedNumberText);
        EXPECT_EQ(FloatStrSci(5, 2, v), kUndefinedNumberText);
    }
}

TEST(NumberText, PiecesAndHelpers)
{
    EXPECT_EQ(FloatStrFixed(8, 3, -1.23456), "  -1.235");
    EXPECT_EQ(FloatStrFixed(0, 2, 12.5), "12.50");
    EXPECT_EQ(FloatStrFixed(3, 0, -0.2), "  0");
    EXPECT_EQ(FloatStrSci(5, 2, 0.004), "  4.00 E-3");
    EXPECT_EQ(FloatStrSci(5, 2, 0.0), "  0.00 E+0");
    EXPECT_EQ(FormatTwoDecimals(-12.3456), "-12,35");
    EXPECT_EQ(FormatTwoDecimals(-0.001), "0,00");
    EXPECT_EQ(RepeatChar('x', -1), "");
    EXPECT_EQ(RepeatChar('x', 300).size(), 255u);
    EXPECT_EQ(PadWithChar("5", 2, '0'), "5");
    EXPECT_EQ(PadWithChar("", 2, '0'), "0");
    EXPECT_EQ(PadWithChar("ab", 5, '.'), "ab..");
}

} // namespace
} // namespace kurvex
