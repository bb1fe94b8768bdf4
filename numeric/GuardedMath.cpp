// Guarded elementary functions: substitute values and error codes instead of exceptions.
#include "numeric/GuardedMath.h"

#include <cmath>
#include <cstdlib>
#include <numbers>

namespace kurvex {

double SetMathError(int Code)
{
    MathErrorCode = Code;
    return (Code == -2 || Code == -3) ? kMaxSubstitute : 0.0;
}

int MinInt(int a, int b)
{
    return b < a ? b : a;
}

double MaxFloat(double a, double b)
{
    return b > a ? b : a;
}

double SignPlusMinus(double x)
{
    return x >= 0.0 ? 1.0 : -1.0;
}

void SwapFloats(double& a, double& b)
{
    const double t = a;
    a = b;
    b = t;
}

double SafeExp(double x)
{
    MathErrorCode = 0;
    if (x < kMinExpArg)
        return SetMathError(-4);
    if (x > kMaxExpArg)
        return SetMathError(-3);
    return std::exp(x);
}

double SafeLn(double x)
{
    MathErrorCode = 0;
    if (x < 0.0)
        return SetMathError(-1);
    if (x == 0.0)
        return SetMathError(-2);
    return std::log(x);
}

bool PowerSpecialCase(double x, double y, double& r)
{
    if (x == 0.0) {
        if (y == 0.0)
            r = 1.0;
        else if (y > 0.0)
            r = 0.0;
        else
            r = SetMathError(-2);
        return true;
    }
    if (y == 0.0) {
        r = 1.0;
        return true;
    }
    if (y == 1.0) {
        r = x;
        return true;
    }
    return false;
}

double PowerByInteger(double x, int n)
{
    double r = 0.0;
    if (PowerSpecialCase(x, static_cast<double>(n), r))
        return r;
    bool invert = n < 0;
    if (std::abs(x) > 1.0) {
        x = 1.0 / x;
        invert = !invert;
    }
    // |n| as unsigned so that the most negative int does not overflow.
    unsigned m = n < 0 ? 0u - static_cast<unsigned>(n) : static_cast<unsigned>(n);
    r = 1.0;
    while (m > 0) {
        if (m & 1u)
            r *= x;
        x *= x;
        m >>= 1;
    }
    if (invert) {
        if (std::abs(r) < kMinPowerReciprocal)
            return SetMathError(-3);
        r = 1.0 / r;
    }
    return r;
}

double RealPower(double x, double y)
{
    double r = 0.0;
    if (PowerSpecialCase(x, y, r))
        return r;
    if (std::abs(y) < 2147483647.0 && y == std::trunc(y))
        return PowerByInteger(x, static_cast<int>(y));
    if (x < 0.0)
        return SetMathError(-1);
    const double l = y * std::log(x);
    if (l < kMinExpArg)
        return SetMathError(-4);
    if (l > kMaxExpArg)
        return SetMathError(-3);
    return std::exp(l);
}

double Hypotenuse(double a, double b)
{
    MathErrorCode = 0;
    const double aa = std::abs(a);
    const double bb = std::abs(b);
    if (bb <= aa) {
        if (aa == 0.0)
            return 0.0;
        const double q = bb / aa;
        return aa * std::sqrt(q * q + 1.0);
    }
    const double q = aa / bb;
    return bb * std::sqrt(q * q + 1.0);
}

double SafeArcCos(double x)
{
    MathErrorCode = 0;
    if (x < -1.0 || x > 1.0)
        return SetMathError(-1);
    if (x == 1.0)
        return 0.0;
    if (x == -1.0)
        return std::numbers::pi;
    return std::numbers::pi / 2.0 - std::atan(x / std::sqrt(1.0 - x * x));
}

} // namespace kurvex
