// Term values: functions and operators with their undefined cases, SafePower, Phi, fak, blanc.
#include "core/term/Term.h"
#include "core/term/TermInternal.h"

#include <array>
#include <cmath>

namespace kurvex {

// base^exponent as SafePower; NaN when undefined, 1e50 where the node limit is to decide.
double powerValue(double e, double b)
{
    if (!(std::fabs(e) <= 1e20)) {
        return kUndefined;
    }
    const bool isInteger = e == std::trunc(e);
    const double absB = std::fabs(b);
    if (isInteger && std::fabs(e) < 7 && absB > 1e-30 && absB < 15) {
        if (e < 0) {
            b = 1.0 / b;
            e = -e;
        }
        return repeatedProduct(b, int(e));
    }
    if (b < 0) {
        if (!isInteger) {
            return kUndefined;
        }
        if (std::fabs(e) >= 2147483647.0) {
            return kNodeLimit;
        }
        const double r = powerValue(e, -b);
        return std::fmod(e, 2.0) != 0.0 ? -r : r;
    }
    if (b > 0) {
        const double y = std::log(b) * e;
        if (std::fabs(y) >= 90) {
            return y < 0 ? 0.0 : kNodeLimit;
        }
        return std::exp(y);
    }
    if (b == 0) {
        if (e > 0) {
            return 0.0;
        }
        if (e == 0) {
            return 1.0;
        }
    }
    return kUndefined;
}

// e^y with the cut the hyperbolic functions use.
double cutExp(double y)
{
    if (y >= 90) {
        return kNodeLimit;
    }
    if (y <= -90) {
        return kZeroLimit;
    }
    return std::exp(y);
}

double phiValue(double u)
{
    double t = 1.0;
    if (std::fabs(u) < 10) {
        const double v = std::fabs(u);
        double p =
            1.0 + v * (0.049867347 +
                       v * (0.0211410061 +
                            v * (0.0032776263 + v * (0.0000380036 + v * (0.0000488906 + v * 0.000005383)))));
        for (int i = 0; i < 4; ++i) {
            p *= p;
        }
        t = 1.0 - 0.5 / p;
    }
    return u > 0 ? t : 1.0 - t;
}

double fakValue(double u)
{
    const double n = std::nearbyint(u);
    if (u != n || n < 0 || n > 32) {
        return kUndefined;
    }
    static constexpr double kBase[] = {1.0, 40320.0, 20922789890000.0, 6.204484016e23, 2.631308368e35};
    const int k = int(n);
    double r = kBase[k / 8];
    for (int i = 8 * (k / 8) + 1; i <= k; ++i) {
        r *= i;
    }
    return r;
}

double blancValue(double u)
{
    static const auto kPowersOfTwo = [] {
        std::array<double, 50> p{};
        for (int k = 0; k < 50; ++k) {
            p[std::size_t(k)] = powerValue(k, 2.0);
        }
        return p;
    }();
    double s = 0.0;
    double v = u;
    for (const double power : kPowersOfTwo) {
        const double f = v - std::trunc(v < 0 ? v - 1 : v);
        s += (f >= 0.5 ? 1.0 - f : f) / power;
        v = 2 * f;
    }
    return s;
}

double arcsinValue(double u)
{
    if (std::fabs(u) > 1) {
        return kUndefined;
    }
    if (std::fabs(u) == 1) {
        return kHalfPi * u;
    }
    return std::atan(u / std::sqrt(1 - u * u));
}

double tanhValue(double u)
{
    return 1.0 - 2.0 / (1.0 + cutExp(2 * u));
}

double SafePower(double exponent, double base)
{
    const double r = powerValue(exponent, base);
    if (std::isnan(r)) {
        EvalOk = false;
        return 0.0;
    }
    if (!(std::fabs(r) < kNodeLimit)) {
        EvalOk = false;
    }
    return r;
}

double Phi(double u)
{
    return phiValue(u);
}

double fak(double u)
{
    const double r = fakValue(u);
    if (std::isnan(r)) {
        EvalOk = false;
        return 0.0;
    }
    return r;
}

double blanc(double u)
{
    return blancValue(u);
}

} // namespace kurvex
