// Number text: fixed and scientific forms, exact blanks, non-finite values, string helpers.
#include "core/UtilStr.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <limits>

namespace kurvex {
namespace {

struct NumberCase {
    int decimals;
    double value;
    const char* text;
};

TEST(UtilStr, FormatNumberChoosesFormAtTheBoundaries)
{
    const NumberCase cases[] = {
        {2, 100.0, "  1,00 E+2"},       {2, 99.99, " 99,99     "},  {2, 0.2, "  0,20     "},
        {2, 0.1, "  1,00 E-1"},         {2, 0.05, "  5,00 E-2"},    {2, 0.10000001, "  0,10     "},
        {2, 1e-21, "  0,00     "},      {2, 1e-20, "  1,00 E-20"},  {2, -1e-25, "  0,00     "},
        {2, -0.0, "  0,00     "},       {2, 0.0, "  0,00     "},    {2, 3.14159, "  3,14     "},
        {2, -3.14159, " -3,14     "},   {2, 1234.5, "  1,23 E+3"},  {2, -0.05, " -5,00 E-2"},
        {2, 250.0, "  2,50 E+2"},       {2, -100.0, " -1,00 E+2"},  {2, 999.99, " 10,00 E+2"},
        {0, 3.14159, "   3     "},      {0, 0.4, "   0     "},      {4, 2.5, "  2,5000     "},
        {3, 12345678.0, "  1,235 E+7"}, {1, -0.00012, " -1,2 E-4"}, {2, 1e300, "  1,00 E+300"},
    };
    for (const NumberCase& c : cases) {
        EXPECT_EQ(FormatNumber(c.decimals, c.value), c.text) << c.value;
        EXPECT_EQ(FormatNumberPadded(c.decimals, c.value), c.text) << c.value;
    }
}

TEST(UtilStr, ShortFormHasNoTrailingBlanks)
{
    EXPECT_EQ(FormatNumberShort(2, 3.14159), "  3,14");
    EXPECT_EQ(FormatNumberShort(2, 1234.5), "  1,23 E+3");
    EXPECT_EQ(FormatNumberShort(3, -0.0), "  0,000");
}

TEST(UtilStr, ZeroedFormShowsTinyFitResultsAsZero)
{
    EXPECT_EQ(FormatNumberZeroed(2, 5e-11), "  0,00     ");
    EXPECT_EQ(FormatNumberZeroed(2, -9.9e-11), "  0,00     ");
    EXPECT_EQ(FormatNumberZeroed(2, 2e-10), "  2,00 E-10");
    EXPECT_EQ(FormatNumberZeroed(2, 1.5), "  1,50     ");
}

TEST(UtilStr, NonFiniteValuesGiveATextAndReturn)
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
        EXPECT_EQ(FloatStrFixed(5, 2, v), kUndefinedNumberText);
    }
}

TEST(UtilStr, OutOfRangeDecimalsStayBounded)
{
    EXPECT_EQ(FormatNumberShort(-3, 2.5), "   2");
    EXPECT_EQ(FormatNumberShort(1000, 0.5).size(), 24u);
    EXPECT_EQ(FormatNumber(2, std::numeric_limits<double>::denorm_min()), "  0,00     ");
}

TEST(UtilStr, FixedAndScientificPieces)
{
    EXPECT_EQ(FloatStrFixed(8, 3, -1.23456), "  -1.235");
    EXPECT_EQ(FloatStrFixed(0, 2, 12.5), "12.50");
    EXPECT_EQ(FloatStrFixed(3, 0, -0.2), "  0");
    EXPECT_EQ(FloatStrSci(5, 2, 0.004), "  4.00 E-3");
    EXPECT_EQ(FloatStrSci(5, 2, 0.0), "  0.00 E+0");
    EXPECT_EQ(FormatTwoDecimals(1.5), "1,50");
    EXPECT_EQ(FormatTwoDecimals(-12.3456), "-12,35");
    EXPECT_EQ(FormatTwoDecimals(-0.001), "0,00");
    EXPECT_EQ(IntToStrPlain(-42), "-42");
    EXPECT_EQ(IntToStrPlain(0), "0");
}

TEST(UtilStr, StringHelpers)
{
    EXPECT_EQ(PointToComma("1.5.2"), "1,5,2");
    EXPECT_EQ(CommaToPoint("1,5,2"), "1.5.2");
    EXPECT_EQ(RepeatChar('x', 3), "xxx");
    EXPECT_EQ(RepeatChar('x', 0), "");
    EXPECT_EQ(RepeatChar('x', -1), "");
    EXPECT_EQ(RepeatChar('x', 300).size(), 255u);
    EXPECT_EQ(PadWithChar("5", 2, '0'), "5");
    EXPECT_EQ(PadWithChar("", 2, '0'), "0");
    EXPECT_EQ(PadWithChar("ab", 5, '.'), "ab..");
    int a = 1, b = 2;
    SwapInt(a, b);
    EXPECT_EQ(a * 10 + b, 21);
    double x = 1.5, y = -2.5;
    SwapDouble(x, y);
    EXPECT_EQ(x, -2.5);
    EXPECT_EQ(y, 1.5);
}

TEST(UtilStr, SameTextUnderAGermanProcessLocale)
{
    const std::string previous = std::setlocale(LC_ALL, nullptr);
    if (!std::setlocale(LC_ALL, "de_DE.UTF-8"))
        GTEST_SKIP() << "de_DE.UTF-8 is not installed";
    const std::string fixed = FormatNumber(2, 3.14159);
    const std::string sci = FormatNumber(2, 1234.5);
    const std::string point = FloatStrFixed(6, 2, 3.14159);
    std::setlocale(LC_ALL, previous.c_str());
    EXPECT_EQ(fixed, "  3,14     ");
    EXPECT_EQ(sci, "  1,23 E+3");
    EXPECT_EQ(point, "  3.14");
}

} // namespace
} // namespace kurvex
