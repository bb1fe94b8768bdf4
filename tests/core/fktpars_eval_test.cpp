// Term evaluation tests: values, undefined operations and node limits, SafePower, special functions,
// derivatives.
#include "fktpars_test_support.h"

#include <cmath>
#include <numbers>
#include <string>

namespace kurvex::testing {
namespace {

using EvalTest = ParserTest;

TEST_F(EvalTest, UndefinedOperationsClearEvalOk)
{
    for (const char* text : {"ln(0)",     "ln(-1)",       "lg(0)",   "ld(-2)",     "sqrt(-1)",
                             "arcsin(2)", "arccos(-1.5)", "1/0",     "0/0",        "0^-1",
                             "fak(2.5)",  "fak(33)",      "fak(-1)", "(-8)^(1/3)", "coth(0)",
                             "exp(100)",  "1e15/1",       "1/1e-15", "1e25*1e25",  "ln(0)+1",
                             "1+ln(0)",   "sin(1/0)",     "2^1e21",  "1e50",       "cosh(120)*cosh(120)"}) {
        valueOf(text);
        EXPECT_FALSE(EvalOk) << text;
    }
}

TEST_F(EvalTest, DefinedValuesAtTheEdges)
{
    struct Case {
        const char* text;
        double expected;
    };
    const Case cases[] = {
        {"0^0", 1},
        {"exp(-100)", 0},
        {"1e-60", 0},
        {"1e-30*1e-30", 0},
        {"1e14/1", 1e14},
        {"1e49", 1e49},
        {"tanh(-50)", -1},
        {"tanh(50)", 1},
        {"sinh(100)", 5e49},
        {"cosh(-100)", 5e49},
        {"coth(50)", 1},
        {"phi(0)", 0.5},
        {"phi(10)", 1},
        {"phi(-10)", 0},
        {"normal(11)", 0},
        {"normal(0)", 1 / std::sqrt(2 * std::numbers::pi)},
        {"fak(0)", 1},
        {"fak(5)", 120},
        {"fak(8)", 40320},
        {"fak(16)", 20922789890000},
        {"fak(32)", 2.631308368e35},
        {"maxint(-2.5)", -3},
        {"int(-2.5)", -2},
        {"sign(0)", 0},
        {"sgn(-3)", -1},
        {"sgn(2)", 1},
        {"abs(-2)", 2},
        {"sqr(-3)", 9},
        {"arcsin(1)", std::numbers::pi / 2},
        {"arcsin(-1)", -std::numbers::pi / 2},
        {"arccos(1)", 0},
        {"arccot(0)", std::numbers::pi / 2},
        {"blanc(0)", 0},
        {"blanc(0.5)", 0.5},
        {"blanc(1)", 0},
        {"deg(pi)", 180},
        {"rad(180)", std::numbers::pi},
    };
    for (const Case& c : cases) {
        EXPECT_NEAR(valueOf(c.text), c.expected, 1e-12 * std::max(1.0, std::fabs(c.expected))) << c.text;
        EXPECT_TRUE(EvalOk) << c.text;
    }
}

TEST_F(EvalTest, FullPrecisionConstantsAndLogarithms)
{
    EXPECT_EQ(valueOf("lg(1000)"), 3);
    EXPECT_EQ(valueOf("int(lg(1000))"), 3);
    EXPECT_EQ(valueOf("maxint(lg(100))"), 2);
    EXPECT_EQ(valueOf("ld(1024)"), 10);
    EXPECT_NEAR(valueOf("ln(e)"), 1, 1e-16);
    EXPECT_NEAR(valueOf("sin(pi)"), 1.2246e-16, 1e-19);
    EXPECT_NEAR(valueOf("sin(rad(180))"), 0, 1e-15);
    EXPECT_EQ(valueOf("pi"), std::numbers::pi);
    EXPECT_EQ(valueOf("e"), std::numbers::e);
}

TEST_F(EvalTest, ArgumentsFeedTheirLeavesAndObeyTheLimits)
{
    ASSERT_TRUE(compile("x+10t+100a+1000b+10000c+100000d"));
    EXPECT_EQ(EvaluateTerm(tree, 1, 2, 3, 4, 5, 6, 7), 654321);
    SequenceMode = true;
    ASSERT_TRUE(compile("n"));
    EXPECT_EQ(EvaluateTerm(tree, 1, 2, 3, 4, 5, 6, 7), 7);
    SequenceMode = false;

    ASSERT_TRUE(compile("x"));
    EXPECT_EQ(EvaluateTerm(tree, 1e-60, 0, 0, 0, 0, 0, 0), 0);
    EXPECT_TRUE(EvalOk);
    EvaluateTerm(tree, 1e60, 0, 0, 0, 0, 0, 0);
    EXPECT_FALSE(EvalOk);
    EvaluateTerm(tree, std::nan(""), 0, 0, 0, 0, 0, 0);
    EXPECT_FALSE(EvalOk);
    EvaluateTerm(tree, HUGE_VAL, 0, 0, 0, 0, 0, 0);
    EXPECT_FALSE(EvalOk);
    // An argument the term does not use cannot make it undefined.
    EXPECT_EQ(EvaluateTerm(tree, 2, HUGE_VAL, std::nan(""), 1e60, 0, 0, 0), 2);
    EXPECT_TRUE(EvalOk);
    // 1/x with x = 1e-60: the leaf is 0 first, so the quotient is undefined.
    ASSERT_TRUE(compile("1/x"));
    EvaluateTerm(tree, 1e-60, 0, 0, 0, 0, 0, 0);
    EXPECT_FALSE(EvalOk);
}

TEST_F(EvalTest, EvalOkIsSetAgainByTheNextEvaluation)
{
    ASSERT_TRUE(compile("ln(x)+1"));
    EvaluateTerm(tree, 0, 0, 0, 0, 0, 0, 0);
    EXPECT_FALSE(EvalOk);
    EXPECT_NEAR(EvaluateTerm(tree, 1, 0, 0, 0, 0, 0, 0), 1, 1e-15);
    EXPECT_TRUE(EvalOk);
}

TEST_F(EvalTest, WValueFeedsTheIntegrandVariable)
{
    IntegrandMode = true;
    ASSERT_TRUE(compile("w+1"));
    EXPECT_EQ(EvaluateTerm(tree, 5, 0, 0, 0, 0, 0, 0), 1);
    WValue = 2;
    EXPECT_EQ(EvaluateTerm(tree, 5, 0, 0, 0, 0, 0, 0), 3);
}

TEST_F(EvalTest, ProductAndQuotientLimits)
{
    ASSERT_TRUE(compile("a*b"));
    EXPECT_DOUBLE_EQ(EvaluateTerm(tree, 0, 0, 1e25, 1e24, 0, 0, 0), 1e49);
    EvaluateTerm(tree, 0, 0, 1e25, 1e25, 0, 0, 0);
    EXPECT_FALSE(EvalOk);
    ASSERT_TRUE(compile("a/b"));
    EXPECT_EQ(EvaluateTerm(tree, 0, 0, 1e14, 1, 0, 0, 0), 1e14);
    EvaluateTerm(tree, 0, 0, 1e15, 1, 0, 0, 0);
    EXPECT_FALSE(EvalOk);
    EvaluateTerm(tree, 0, 0, 0, 0, 0, 0, 0);
    EXPECT_FALSE(EvalOk);
    // Fused forms (constant or leaf on the right) keep the same limits.
    for (const char* text : {"x/0", "x*1e40", "x/x", "x^7"}) {
        ASSERT_TRUE(compile(text));
        EvaluateTerm(tree, 1e20, 0, 0, 0, 0, 0, 0);
        EXPECT_EQ(EvalOk, std::string(text) == "x/x") << text;
    }
}

TEST(SafePowerTest, RulesAndValues)
{
    struct Case {
        double exponent;
        double base;
        double expected;
        bool defined;
    };
    const Case cases[] = {
        {3, -2, -8, true},
        {-2, 0.5, 4, true},
        {10, -2, 1024, true},
        {7, -2, -128, true},
        {0.5, 2, std::sqrt(2.0), true},
        {2, 0, 0, true},
        {0, 0, 1, true},
        {-1, 0, 0, false},
        {1.0 / 3, -8, 0, false},
        {1e21, 2, 0, false},
        {-1e21, 2, 0, false},
        {6, 14.9, std::pow(14.9, 6), true},
        {-6, 1e-5, 1e30, true},
        {-3, 1e-20, 1e60, false},
        {-6, 2e-5, 1.5625e28, true},
        {200, 2, 1e50, false},
        {-200, 2, 0, true},
        {3e9, -1.5, 1e50, false},
        {0, -3, 1, true},
    };
    for (const Case& c : cases) {
        EvalOk = true;
        const double r = SafePower(c.exponent, c.base);
        EXPECT_EQ(EvalOk, c.defined) << c.base << "^" << c.exponent;
        if (c.defined) {
            EXPECT_NEAR(r, c.expected, 1e-13 * std::fabs(c.expected)) << c.base << "^" << c.exponent;
        }
    }
    // The small-integer path multiplies exactly.
    EvalOk = true;
    EXPECT_EQ(SafePower(3, -2), -8);
    EXPECT_EQ(SafePower(-2, 0.5), 4);
}

TEST_F(EvalTest, PowersInTermsMatchSafePower)
{
    // Constant, leaf and computed exponents all follow the same rules.
    struct Case {
        const char* text;
        double x;
        double expected;
        bool defined;
    };
    const Case cases[] = {
        {"x^2", -3, 9, true},        {"x^-2", 0.5, 4, true},     {"x^3", -2, -8, true},
        {"x^x", 2, 4, true},         {"x^(1/3)", -8, 0, false},  {"(1e-5)^-6", 0, 1e30, true},
        {"(1e-20)^-3", 0, 0, false}, {"x^-6", 1e-5, 1e30, true}, {"x^-3", 1e-20, 0, false},
        {"2^x", 10, 1024, true},     {"x^0", 0, 1, true},        {"x^2", 1e-31, 0, true},
        {"x^2.5", 4, 32, true},      {"(0-2)^x", 7, -128, true}, {"x^(2+1)", -2, -8, true},
    };
    for (const Case& c : cases) {
        const double r = valueOf(c.text, c.x);
        EXPECT_EQ(EvalOk, c.defined) << c.text;
        if (c.defined) {
            EXPECT_NEAR(r, c.expected, 1e-12 * std::max(1.0, std::fabs(c.expected))) << c.text;
        }
    }
}

TEST_F(EvalTest, EverySmallIntegerExponentMatchesSafePower)
{
    // Powers of an argument and of a computed value take different evaluation steps; all follow SafePower.
    for (int e = -6; e <= 6; ++e) {
        const std::string exponent = e < 0 ? "(" + std::to_string(e) + ")" : std::to_string(e);
        for (const std::string& text : {"x^" + exponent, "(x+0)^" + exponent, "(x)^" + exponent}) {
            ASSERT_TRUE(compile(text)) << text;
            for (const double x : {-2.5, -1.0, 0.3, 3.0, 14.0, 20.0, 1e-35, 1e-10}) {
                EvalOk = true;
                const double expected = SafePower(e, x);
                const bool defined = EvalOk;
                const double value = EvaluateTerm(tree, x, 0, 0, 0, 0, 0, 0);
                ASSERT_EQ(EvalOk, defined) << text << " at " << x;
                if (defined) {
                    EXPECT_EQ(value, std::fabs(expected) <= 1e-50 ? 0.0 : expected) << text << " at " << x;
                }
            }
        }
    }
}

TEST(SpecialFunctionsTest, PublicEntryPoints)
{
    EXPECT_EQ(Phi(0), 0.5);
    EXPECT_NEAR(Phi(1.96), 0.975, 1e-4);
    EXPECT_NEAR(Phi(-1.96), 0.025, 1e-4);
    EvalOk = true;
    EXPECT_EQ(fak(6), 720);
    EXPECT_TRUE(EvalOk);
    fak(1.5);
    EXPECT_FALSE(EvalOk);
    EXPECT_NEAR(blanc(1.0 / 3), 2.0 / 3, 1e-12);
    EXPECT_NEAR(blanc(-0.25), 0.5, 1e-12);
}

TEST_F(EvalTest, DerivativesByDifferenceFormulas)
{
    ASSERT_TRUE(compile("x^3"));
    EXPECT_NEAR(EvaluateDerivative(tree, 0, 2, 0, 0, 0, 0, 0, 0), 8, 0);
    EXPECT_NEAR(EvaluateDerivative(tree, 1, 1, 0, 0, 0, 0, 0, 0), 3, 1e-9);
    EXPECT_NEAR(EvaluateDerivative(tree, 2, 1, 0, 0, 0, 0, 0, 0), 6, 1e-6);
    EXPECT_NEAR(EvaluateDerivative(tree, 3, 1, 0, 0, 0, 0, 0, 0), 6, 1e-5);
    EXPECT_NEAR(EvaluateDerivative(tree, 7, 1, 0, 0, 0, 0, 0, 0), 6, 1e-5);
    EXPECT_TRUE(EvalOk);
    ASSERT_TRUE(compile("x^2"));
    EXPECT_NEAR(EvaluateDerivative(tree, 2, 3.7, 0, 0, 0, 0, 0, 0), 2, 1e-8);
    ASSERT_TRUE(compile("a*sin(b*x)"));
    EXPECT_NEAR(EvaluateDerivative(tree, 1, 0.3, 0, 2, 3, 0, 0, 0), 6 * std::cos(0.9), 1e-9);

    // A sample left of 0 makes the root's derivative undefined.
    ASSERT_TRUE(compile("sqrt(x)"));
    EvaluateDerivative(tree, 1, 0.001, 0, 0, 0, 0, 0, 0);
    EXPECT_FALSE(EvalOk);
    EvaluateDerivative(tree, 2, 0.006, 0, 0, 0, 0, 0, 0);
    EXPECT_TRUE(EvalOk);
    EvaluateDerivative(tree, 2, 0.004, 0, 0, 0, 0, 0, 0);
    EXPECT_FALSE(EvalOk);
    // The derivative itself is not limited: a steep step gives a huge but defined slope.
    ASSERT_TRUE(compile("1e45*sgn(x)"));
    const double slope = EvaluateDerivative(tree, 1, 0.0005, 0, 0, 0, 0, 0, 0);
    EXPECT_TRUE(EvalOk);
    EXPECT_GT(slope, 1e47);
}

} // namespace
} // namespace kurvex::testing
