// Numeric integration: Simpson's rule exact for cubics, the adaptive integration to its tolerance,
// jumps and cusps settled, poles, undefined nodes and untameable integrands refused.
#include "core/Integration.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <optional>
#include <string>

namespace kurvex {
namespace {

using std::numbers::pi;

Integrand Defined(double (*f)(double))
{
    return [f](double t) -> std::optional<double> { return f(t); };
}

// Undefined where the function gives no finite value or, for roots, below 0.
std::optional<double> Root(double t)
{
    if (t < 0) {
        return std::nullopt;
    }
    return std::sqrt(t);
}

std::optional<double> Reciprocal(double t)
{
    if (t == 0) {
        return std::nullopt;
    }
    return 1 / t;
}

TEST(SimpsonSum, ExactForCubicsWithAnyCountAndSignedByDirection)
{
    const Integrand cubic = [](double t) -> std::optional<double> { return t * t * t - 2 * t + 1; };
    // ∫ t³ − 2t + 1 = t⁴/4 − t² + t
    const auto exact = [](double a, double b) {
        const auto F = [](double t) { return t * t * t * t / 4 - t * t + t; };
        return F(b) - F(a);
    };
    struct Case {
        int n;
        double a;
        double b;
    };
    for (const Case c : {Case{1, 0, 2}, Case{8, -1, 3}, Case{3, 2, -2}, Case{5, 1.5, 1.5}}) {
        SCOPED_TRACE(std::to_string(c.n) + " " + std::to_string(c.a) + " " + std::to_string(c.b));
        const std::optional<double> s = SimpsonSum(cubic, c.n, c.a, c.b);
        ASSERT_TRUE(s.has_value());
        EXPECT_NEAR(*s, exact(c.a, c.b), 1e-12);
    }
    EXPECT_FALSE(SimpsonSum(cubic, 0, 0, 1).has_value());
    EXPECT_FALSE(SimpsonSum(Root, 8, -1, 1).has_value());
}

TEST(Integrate, SettlesToItsTolerance)
{
    struct Case {
        const char* name;
        Integrand f;
        double a;
        double b;
        double exact;
    };
    const auto t2sin = [](double t) { return -t * t * std::cos(t) + 2 * t * std::sin(t) + 2 * std::cos(t); };
    const Case cases[] = {
        {"one", [](double) -> std::optional<double> { return 1.0; }, 0, 2, 2},
        {"line", [](double t) -> std::optional<double> { return t; }, -3, 5, 8},
        {"reversed", [](double) -> std::optional<double> { return 1.0; }, 2, 0, -2},
        {"empty range", Defined(std::exp), 1.5, 1.5, 0},
        {"zero", [](double) -> std::optional<double> { return 0.0; }, -7, 7, 0},
        {"sin over pi", Defined(std::sin), 0, pi, 2},
        {"sin over 14 units", Defined(std::sin), 0, 14, 1 - std::cos(14.0)},
        {"sin(t) t^2", [](double t) -> std::optional<double> { return std::sin(t) * t * t; }, 0, 7,
         t2sin(7) - t2sin(0)},
        {"exp", Defined(std::exp), -1, 3, std::exp(3.0) - std::exp(-1.0)},
        {"cos(50t)", [](double t) -> std::optional<double> { return std::cos(50 * t); }, 0, 2,
         std::sin(100.0) / 50},
        {"1/t away from 0", Reciprocal, 1, std::numbers::e, 1},
        {"cusp of sqrt at 0", Root, 0, 4, 16.0 / 3},
        {"jump of sign", [](double t) -> std::optional<double> { return t < 0 ? -1.0 : 1.0; }, -1, 2, 1},
        {"steps of floor", [](double t) -> std::optional<double> { return std::floor(t); }, 0, 3.5, 4.5},
        {"tiny values", [](double t) -> std::optional<double> { return 1e-30 * t; }, 0, 2, 2e-30},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::optional<double> v = Integrate(c.f, c.a, c.b);
        ASSERT_TRUE(v.has_value());
        EXPECT_NEAR(*v, c.exact, 1e-9 * std::max(1.0, std::abs(c.exact)) + 1e-40);
        if (c.exact != 0 && std::abs(c.exact) < 1e-20) {
            EXPECT_NEAR(*v / c.exact, 1.0, 1e-9);
        }
    }
}

TEST(Integrate, RefusesPolesUndefinedNodesAndUntameableIntegrands)
{
    struct Case {
        const char* name;
        Integrand f;
        double a;
        double b;
    };
    const Case cases[] = {
        {"1/t across 0", Reciprocal, -1, 2},
        {"1/t^2 across 0", [](double t) -> std::optional<double> { return 1 / (t * t); }, -1, 1},
        {"1/t with a node next to the pole", Reciprocal, -1.1e-16, 0.01},
        {"node at the pole", Reciprocal, -1, 1},
        {"sqrt below 0", Root, -1, 1},
        {"undefined at the end", Root, -0.5, 4},
        {"infinite value", [](double t) -> std::optional<double> { return t > 0.5 ? HUGE_VAL : 1.0; }, 0, 1},
        {"a million periods", [](double t) -> std::optional<double> { return std::sin(1e6 * t); }, 0, 14},
        {"infinite limit", Defined(std::exp), 0, HUGE_VAL},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_FALSE(Integrate(c.f, c.a, c.b).has_value());
    }
}

TEST(Integrate, NeverEvaluatesMoreThanAllowed)
{
    long calls = 0;
    const Integrand wild = [&calls](double t) -> std::optional<double> {
        ++calls;
        return std::sin(1e6 * t);
    };
    IntegrationLimits limits;
    limits.maxEvaluations = 5000;
    EXPECT_FALSE(Integrate(wild, 0, 14, limits).has_value());
    EXPECT_LE(calls, 5000);
}

} // namespace
} // namespace kurvex
