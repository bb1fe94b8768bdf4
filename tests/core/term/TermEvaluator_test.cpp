// Term evaluation tests: values, undefined operations and node limits, SafePower, special functions,
// derivatives.
#include "core/term/TermTestSupport.h"

#include <cmath>
#include <numbers>
#include <string>

namespace kurvex::testing {
namespace {

using EvalTest = ParserTest;
using std::numbers::pi;

// Evaluated at x with a = 3, b = 5; the value counts only where it is defined.
struct ValueCase {
    const char* text;
    double x;
    double value;
    bool defined;
};

const ValueCase kValues[] = {
    {"ln(0)", 0, 0, false},
    {"lg(0)", 0, 0, false},
    {"ld(-2)", 0, 0, false},
    {"sqrt(-1)", 0, 0, false},
    {"arcsin(2)", 0, 0, false},
    {"arccos(-1.5)", 0, 0, false},
    {"1/0", 0, 0, false},
    {"0/0", 0, 0, false},
    {"0^-1", 0, 0, false},
    {"fak(2.5)", 0, 0, false},
    {"fak(33)", 0, 0, false},
    {"fak(-1)", 0, 0, false},
    {"(-8)^(1/3)", 0, 0, false},
    {"x^(1/3)", -8, 0, false},
    {"coth(0)", 0, 0, false},
    {"exp(100)", 0, 0, false},
    {"1e15/1", 0, 0, false},
    {"x/1", 1e15, 0, false},
    {"1/1e-15", 0, 0, false},
    {"1e25*1e25", 0, 0, false},
    {"x*1e25", 1e25, 0, false},
    {"x/0", 1e20, 0, false},
    {"x^7", 1e20, 0, false},
    {"ln(0)+1", 0, 0, false},
    {"1+ln(0)", 0, 0, false},
    {"sin(1/0)", 0, 0, false},
    {"2^1e21", 0, 0, false},
    {"1e50", 0, 0, false},
    {"1e400", 0, 0, false},
    {"cosh(120)*cosh(120)", 0, 0, false},
    {"(1e-20)^-3", 0, 0, false},
    {"x^-3", 1e-20, 0, false},
    {"0^0", 0, 1, true},
    {"exp(-100)", 0, 0, true},
    {"1e-60", 0, 0, true},
    {"1e-30*1e-30", 0, 0, true},
    {"1e14/1", 0, 1e14, true},
    {"x/1", 1e14, 1e14, true},
    {"x*1e24", 1e25, 1e49, true},
    {"x/x", 1e20, 1, true},
    {"1e49", 0, 1e49, true},
    {"(1e-5)^-6", 0, 1e30, true},
    {"x^-6", 1e-5, 1e30, true},
    {"x^-1", 0, 0, false},
    {"x^1e21", 2, 0, false},
    {"x^-1e21", 2, 0, false},
    {"x^200", 2, 0, false},
    {"x^3e9", -1.5, 0, false},
    {"x^-6", 2e-5, 1.5625e28, true},
    {"x^6", 14.9, std::pow(14.9, 6), true},
    {"x^-200", 2, 0, true},
    {"x^3", -2, -8, true},
    {"x^(2+1)", -2, -8, true},
    {"x^-2", 0.5, 4, true},
    {"x^10", -2, 1024, true},
    {"x^7", -2, -128, true},
    {"(0-2)^x", 7, -128, true},
    {"x^0.5", 2, std::numbers::sqrt2, true},
    {"x^x", 2, 4, true},
    {"x^2", 0, 0, true},
    {"x^0", 0, 1, true},
    {"x^0", -3, 1, true},
    {"x^2", 1e-31, 0, true},
    {"x^2.5", 4, 32, true},
    {"tanh(-50)", 0, -1, true},
    {"tanh(50)", 0, 1, true},
    {"sinh(100)", 0, 5e49, true},
    {"cosh(-100)", 0, 5e49, true},
    {"coth(50)", 0, 1, true},
    {"phi(0)", 0, 0.5, true},
    {"phi(10)", 0, 1, true},
    {"phi(-10)", 0, 0, true},
    {"normal(11)", 0, 0, true},
    {"normal(0)", 0, 1 / std::sqrt(2 * pi), true},
    {"fak(0)", 0, 1, true},
    {"fak(5)", 0, 120, true},
    {"fak(8)", 0, 40320, true},
    {"fak(16)", 0, 20922789890000, true},
    {"fak(32)", 0, 2.631308368e35, true},
    {"maxint(-2.5)", 0, -3, true},
    {"int(-2.5)", 0, -2, true},
    {"sign(0)", 0, 0, true},
    {"sgn(-3)", 0, -1, true},
    {"sgn(2)", 0, 1, true},
    {"sqr(-3)", 0, 9, true},
    {"tan(x)", 1, std::tan(1.0), true},
    {"arcsin(-1)", 0, -pi / 2, true},
    {"arccos(1)", 0, 0, true},
    {"arctan(1)", 0, pi / 4, true},
    {"arccot(0)", 0, pi / 2, true},
    {"blanc(0)", 0, 0, true},
    {"blanc(0.5)", 0, 0.5, true},
    {"blanc(1)", 0, 0, true},
    {"deg(pi)", 0, 180, true},
    {"rad(180)", 0, pi, true},
    {"lg(1000)", 0, 3, true},
    {"int(lg(1000))", 0, 3, true},
    {"maxint(lg(100))", 0, 2, true},
    {"ld(1024)", 0, 10, true},
    {"ln(e)", 0, 1, true},
    {"sin(pi)", 0, 1.2246467991473532e-16, true},
    {"sin(rad(180))", 0, 0, true},
    {"pi", 0, pi, true},
    {"e", 0, std::numbers::e, true},
};

TEST_F(EvalTest, ValuesAndUndefinedOperations)
{
    for (const ValueCase& c : kValues) {
        SCOPED_TRACE(c.text);
        const double value = valueOf(c.text, c.x);
        EXPECT_EQ(EvalOk, c.defined);
        if (c.defined) {
            EXPECT_NEAR(value, c.value, 1e-14 * std::max(1.0, std::fabs(c.value)));
        }
    }
}

TEST_F(EvalTest, ArgumentsFeedTheirLeavesWithinTheLimits)
{
    ASSERT_TRUE(compile("x+10t+100a+1000b+10000c+100000d"));
    EXPECT_EQ(EvaluateTerm(tree, 1, 2, 3, 4, 5, 6, 7), 654321);
    SequenceMode = true;
    ASSERT_TRUE(compile("n"));
    EXPECT_EQ(EvaluateTerm(tree, 1, 2, 3, 4, 5, 6, 7), 7);
    IntegrandMode = true;
    ASSERT_TRUE(compile("w+1"));
    WValue = 2;
    EXPECT_EQ(EvaluateTerm(tree, 5, 0, 0, 0, 0, 0, 0), 3);
    IntegrandMode = SequenceMode = false;

    ASSERT_TRUE(compile("ln(x)"));
    for (const double x : {1e60, -1.0, std::nan(""), HUGE_VAL}) {
        EvaluateTerm(tree, x, 0, 0, 0, 0, 0, 0);
        EXPECT_FALSE(EvalOk) << x;
    }
    // EvalOk is set again by the next evaluation; an argument the term does not use cannot spoil it.
    EXPECT_EQ(EvaluateTerm(tree, 1, HUGE_VAL, std::nan(""), 1e60, 0, 0, 0), 0);
    EXPECT_TRUE(EvalOk);
    // An argument of 1e-60 is 0 before the quotient sees it.
    ASSERT_TRUE(compile("1/x"));
    EvaluateTerm(tree, 1e-60, 0, 0, 0, 0, 0, 0);
    EXPECT_FALSE(EvalOk);
}

TEST_F(EvalTest, EverySmallIntegerExponentMatchesSafePower)
{
    // Powers of an argument and of a computed value take different evaluation steps; all follow SafePower.
    for (int e = -6; e <= 6; ++e) {
        const std::string exponent = "(" + std::to_string(e) + ")";
        for (const std::string& text : {"x^" + exponent, "(x+0)^" + exponent}) {
            ASSERT_TRUE(compile(text));
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
    const test::SharedStateScope shared;
    EXPECT_NEAR(Phi(1.96), 0.975, 1e-4);
    EXPECT_NEAR(Phi(-1.96), 0.025, 1e-4);
    EXPECT_NEAR(blanc(1.0 / 3), 2.0 / 3, 1e-12);
    EXPECT_NEAR(blanc(-0.25), 0.5, 1e-12);
    EvalOk = true;
    EXPECT_EQ(fak(6), 720);
    EXPECT_EQ(SafePower(3, -2), -8);
    EXPECT_TRUE(EvalOk);
    fak(1.5);
    EXPECT_FALSE(EvalOk);
    EvalOk = true;
    SafePower(-1, 0);
    EXPECT_FALSE(EvalOk);
}

TEST_F(EvalTest, DerivativesByDifferenceFormulas)
{
    // Taken at x with a = 3, b = 5; tolerance is absolute.
    struct Case {
        const char* text;
        int order;
        double x;
        double value;
        double tolerance;
        bool defined;
    };
    // Far from the true value, so it pins the step h = 0.005 of the second derivative.
    const double sqrtSecond = (std::sqrt(0.011) - 2 * std::sqrt(0.006) + std::sqrt(0.001)) / 25e-6;
    const Case cases[] = {
        {"x^3", 0, 2, 8, 0, true},
        {"x^3", 1, 1, 3, 1e-9, true},
        {"x^3", 2, 1, 6, 1e-6, true},
        {"x^3", 3, 1, 6, 1e-5, true},
        {"x^3", 7, 1, 6, 1e-5, true},
        {"x^3", -1, 1, 6, 1e-5, true},
        {"x^2", 2, 3.7, 2, 1e-8, true},
        {"a*sin(b*x)", 1, 0.3, 15 * std::cos(1.5), 1e-9, true},
        {"a", 2, 0.3, 0, 0, true},
        {"sqrt(x)", 1, 0.001, 0, 0, false}, // the sample at x - 2h lies left of 0
        {"sqrt(x)", 2, 0.006, sqrtSecond, 1e-9, true},
        {"sqrt(x)", 2, 0.004, 0, 0, false},
        {"x", 1, 1e60, 0, 0, false},
        {"1e45*sgn(x)", 1, 0.0005, 14e45 / 0.012, 1e34, true}, // the derivative itself is not limited
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.text) + " order " + std::to_string(c.order));
        ASSERT_TRUE(compile(c.text));
        const double value = EvaluateDerivative(tree, c.order, c.x, 0, 3, 5, 0, 0, 0);
        EXPECT_EQ(EvalOk, c.defined);
        if (c.defined) {
            EXPECT_NEAR(value, c.value, c.tolerance);
        }
    }
}

} // namespace
} // namespace kurvex::testing
