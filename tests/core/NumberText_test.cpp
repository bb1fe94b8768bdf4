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
        {FormatNumber, -3, 2.4, "   2     "},
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

// A value exactly halfway rounds away from zero, as pupils check by hand; the binary value decides
// what is exactly halfway (2.675 is stored a little below, 1.890625 exactly).
TEST(NumberText, ExactHalvesRoundAwayFromZeroAtEveryDecimal)
{
    const struct {
        int decimals;
        double value;
        const char* text;
    } cases[] = {
        {0, 2.5, "3"},
        {0, -2.5, "-3"},
        {0, 9.5, "10"},
        {1, 0.25, "0,3"},
        {1, 0.35, "0,3"}, // stored as 0.34999…
        {2, 0.125, "0,13"},
        {3, 1.0625, "1,063"},
        {4, 1.03125, "1,0313"},
        {5, 1.890625, "1,89063"},
        {5, 1.8906249999999998, "1,89062"},
        {6, 1.0078125, "1,007813"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.value << " with " << c.decimals << " decimals");
        const std::string text = FormatNumberShort(c.decimals, c.value);
        EXPECT_EQ(text.substr(text.find_first_not_of(' ')), c.text);
    }
}

TEST(NumberText, ExactHalvesRoundAwayFromZeroInTheExponentForm)
{
    const struct {
        std::string (*format)(int, double);
        int decimals;
        double value;
        const char* text;
    } cases[] = {
        {FormatNumberShort, 1, 125.0, "  1,3 E+2"},
        {FormatNumberShort, 1, -125.0, " -1,3 E+2"},
        {FormatNumberShort, 0, 950.0, "  10 E+2"}, // the mantissa is not renormalised
        {FormatNumberShort, 1, 0.0625, "  6,3 E-2"},
        {FormatNumberShort, 2, 1234.5, "  1,23 E+3"}, // 1,2345: not the half of the second decimal
        {FormatNumberZeroed, 2, 1125.0, "  1,13 E+3"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.value << " with " << c.decimals << " decimals");
        EXPECT_EQ(c.format(c.decimals, c.value), c.text);
    }
}

TEST(NumberText, ExactHalvesRoundAwayFromZeroInSignificantDigits)
{
    const struct {
        double value;
        int digits;
        const char* text;
    } cases[] = {
        {1.03125, 5, "1,0313"}, {-1.03125, 5, "-1,0313"},       {9.5, 1, "1E1"},
        {1250.0, 2, "1,3E3"},   {0.0009765625, 4, "0,0009766"}, {1.0000000000000002, 15, "1"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.value << " with " << c.digits << " digits");
        EXPECT_EQ(FormatGeneral(c.value, c.digits, 1), c.text);
    }
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
