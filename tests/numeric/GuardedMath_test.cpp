// Tests of the guarded elementary functions: substitute values, error codes and accuracy.
#include "numeric/GuardedMath.h"
#include "support/NumericState.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <climits>
#include <cmath>
#include <functional>
#include <ostream>
#include <random>
#include <string>

namespace kurvex {
namespace {

constexpr double kMax = 1.797693134862315e308;

struct GuardedCase {
    std::string name;
    std::function<double()> call;
    double expected;
    int code;
};

// Shown by name in test listings instead of as bytes.
void PrintTo(const GuardedCase& c, std::ostream* os)
{
    *os << c.name;
}

class FmathGuarded : public ::testing::TestWithParam<GuardedCase> {
    test::NumericStateScope shared_;
};

TEST_P(FmathGuarded, ValueAndCode)
{
    const GuardedCase& c = GetParam();
    MathErrorCode = 99; // the functions that set the code on entry must clear this
    const double r = c.call();
    EXPECT_EQ(r, c.expected) << c.name;
    if (c.code != 99) {
        EXPECT_EQ(MathErrorCode, c.code) << c.name;
    }
}

INSTANTIATE_TEST_SUITE_P(
    EdgeCases, FmathGuarded,
    ::testing::Values(
        GuardedCase{"pow00", [] { return RealPower(0, 0); }, 1.0, 99},
        GuardedCase{"pow0neg", [] { return RealPower(0, -1); }, kMax, -2},
        GuardedCase{"pow0pos", [] { return RealPower(0, 2.5); }, 0.0, 99},
        GuardedCase{"powNegInt", [] { return RealPower(-8, 3); }, -512.0, 99},
        GuardedCase{"powNegFrac", [] { return RealPower(-8, 0.5); }, 0.0, -1},
        GuardedCase{"pow2_1024", [] { return RealPower(2, 1024); }, kMax, -3},
        GuardedCase{"pow2_1023", [] { return RealPower(2, 1023); }, std::ldexp(1.0, 1023), 99},
        GuardedCase{"pow2_m1074", [] { return RealPower(2, -1074); }, std::ldexp(1.0, -1074), 99},
        GuardedCase{"powHalf_m1024", [] { return RealPower(0.5, -1024); }, kMax, -3},
        GuardedCase{"powHalf_m1023", [] { return RealPower(0.5, -1023); }, std::ldexp(1.0, 1023), 99},
        GuardedCase{"powNeg2_m3", [] { return RealPower(-2, -3); }, -0.125, 99},
        GuardedCase{"powX1", [] { return RealPower(-3.7, 1); }, -3.7, 99},
        GuardedCase{"powUnderflow", [] { return RealPower(10, -400.5); }, 0.0, -4},
        GuardedCase{"powOverflow", [] { return RealPower(10, 400.5); }, kMax, -3},
        GuardedCase{"intPowMinInt", [] { return PowerByInteger(1.0, INT_MIN + 1); }, 1.0, 99},
        GuardedCase{"intPowMinInt2", [] { return PowerByInteger(-1.0, INT_MIN + 1); }, -1.0, 99},
        GuardedCase{"intPowMinIntHalf", [] { return PowerByInteger(0.5, INT_MIN); }, kMax, -3},
        GuardedCase{"expTop", [] { return SafeExp(709.782712893384); }, std::exp(709.782712893384), 0},
        GuardedCase{"expOver", [] { return SafeExp(709.8); }, kMax, -3},
        GuardedCase{"expUnder", [] { return SafeExp(-709); }, 0.0, -4},
        GuardedCase{"expBottom", [] { return SafeExp(-708.3964185322641); }, std::exp(-708.3964185322641), 0},
        GuardedCase{"ln0", [] { return SafeLn(0); }, kMax, -2},
        GuardedCase{"lnNeg", [] { return SafeLn(-1); }, 0.0, -1},
        GuardedCase{"ln1", [] { return SafeLn(1); }, 0.0, 0},
        GuardedCase{"acos1", [] { return SafeArcCos(1); }, 0.0, 0},
        GuardedCase{"acosM1", [] { return SafeArcCos(-1); }, 3.141592653589793, 0},
        GuardedCase{"acosOut", [] { return SafeArcCos(1.0000001); }, 0.0, -1},
        GuardedCase{"acosOutNeg", [] { return SafeArcCos(-1.5); }, 0.0, -1},
        GuardedCase{"hyp00", [] { return Hypotenuse(0, 0); }, 0.0, 0},
        GuardedCase{"hypHuge", [] { return Hypotenuse(3e300, 4e300); }, std::hypot(3e300, 4e300), 0},
        GuardedCase{"hypNeg", [] { return Hypotenuse(-3, 4); }, 5.0, 0},
        GuardedCase{"setDomain", [] { return SetMathError(-1); }, 0.0, -1},
        GuardedCase{"setUnder", [] { return SetMathError(-4); }, 0.0, -4},
        GuardedCase{"setSing", [] { return SetMathError(-2); }, kMax, -2},
        GuardedCase{"setOver", [] { return SetMathError(-3); }, kMax, -3}),
    [](const auto& info) { return info.param.name; });

TEST(FmathGuarded, SuccessfulPowerKeepsOldCode)
{
    const test::NumericStateScope shared;
    MathErrorCode = 0;
    RealPower(-8, 0.5);
    EXPECT_EQ(MathErrorCode, -1);
    EXPECT_EQ(RealPower(2, 10), 1024.0);
    EXPECT_EQ(MathErrorCode, -1);
    EXPECT_DOUBLE_EQ(RealPower(2, 0.5), std::sqrt(2.0));
    EXPECT_EQ(MathErrorCode, -1);
    // The functions that clear the code on entry do clear it.
    SafeExp(1.0);
    EXPECT_EQ(MathErrorCode, 0);
}

TEST(FmathGuarded, LargeIntegralExponentTakesLogPath)
{
    const test::NumericStateScope shared;
    // 2147483647 is not below the integer bound: computed through exp(y ln x), not by squaring.
    MathErrorCode = 0;
    EXPECT_EQ(RealPower(1.0, 2147483647.0), 1.0);
    EXPECT_EQ(RealPower(-1.0, 2147483647.0), 0.0);
    EXPECT_EQ(MathErrorCode, -1);
    MathErrorCode = 0;
    EXPECT_EQ(RealPower(-1.0, 2147483646.0), 1.0);
    EXPECT_EQ(MathErrorCode, 0);
}

TEST(FmathSmall, TiesSignOfZeroAndPowerSpecialCase)
{
    // Tie: the first; +0 and -0 compare equal, so the sign tells which one came back.
    EXPECT_TRUE(std::signbit(MaxFloat(-0.0, 0.0)));
    EXPECT_FALSE(std::signbit(MaxFloat(0.0, -0.0)));
    EXPECT_EQ(SignPlusMinus(0.0), 1.0);
    EXPECT_EQ(SignPlusMinus(-0.0), 1.0);
    EXPECT_EQ(SignPlusMinus(-1e-300), -1.0);
    double r = 42.0;
    EXPECT_FALSE(PowerSpecialCase(2.0, 3.0, r));
    EXPECT_EQ(r, 42.0); // left alone
    EXPECT_TRUE(PowerSpecialCase(-5.0, 1.0, r));
    EXPECT_EQ(r, -5.0);
    EXPECT_TRUE(PowerSpecialCase(-5.0, 0.0, r));
    EXPECT_EQ(r, 1.0);
}

// Relative distance in units of the machine epsilon.
double relError(double value, double reference)
{
    if (reference == 0.0)
        return std::abs(value);
    return std::abs(value - reference) / std::abs(reference);
}

TEST(FmathAccuracy, AgreesWithStandardLibraryInsideTheValidRange)
{
    std::mt19937_64 rng(1234);
    std::uniform_real_distribution<double> expArg(-700.0, 700.0);
    std::uniform_real_distribution<double> logExp(-300.0, 300.0);
    std::uniform_real_distribution<double> unit(-1.0, 1.0);
    std::uniform_real_distribution<double> expo(-30.0, 30.0);
    for (int i = 0; i < 2000; ++i) {
        const double x = expArg(rng);
        // exp and log are the library's own: within a few ulp.
        EXPECT_LE(relError(SafeExp(x), std::exp(x)), 4 * DBL_EPSILON) << x;
        const double y = std::pow(10.0, logExp(rng));
        EXPECT_LE(relError(SafeLn(y), std::log(y)), 4 * DBL_EPSILON) << y;
        const double u = unit(rng);
        // arccos through arctan loses a little near +-1, where x/sqrt(1-x^2) grows.
        EXPECT_NEAR(SafeArcCos(u), std::acos(u), 8 * DBL_EPSILON * 3.2) << u;
        const double p = std::abs(unit(rng)) * 50.0 + 1e-3;
        const double e = expo(rng);
        // exp(y ln x) carries the rounding of y ln x, magnified by |y ln x|.
        const double tol = 4 * DBL_EPSILON * (1.0 + std::abs(e * std::log(p)));
        EXPECT_LE(relError(RealPower(p, e), std::pow(p, e)), tol) << p << "^" << e;
        const double a = unit(rng) * std::pow(10.0, logExp(rng));
        const double b = unit(rng) * std::pow(10.0, logExp(rng));
        EXPECT_LE(relError(Hypotenuse(a, b), std::hypot(a, b)), 4 * DBL_EPSILON) << a << "," << b;
    }
    for (int n = -60; n <= 60; ++n)
        EXPECT_LE(relError(PowerByInteger(-1.7, n), std::pow(-1.7, n)), 64 * DBL_EPSILON) << n;
}

} // namespace
} // namespace kurvex
