// Shared between the term compiler and the evaluator: tree storage access, limits, operation values, program
// ops.
#pragma once

#include "core/term/Term.h"

#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>
#include <numbers>

namespace kurvex {

inline constexpr double kPi = std::numbers::pi;
inline constexpr double kE = std::numbers::e;
inline constexpr double kHalfPi = std::numbers::pi / 2.0;
// Operation values are NaN where undefined; the node limit check turns that into EvalOk = false.
inline constexpr double kUndefined = std::numeric_limits<double>::quiet_NaN();
inline constexpr double kNodeLimit = 1e50;
inline constexpr double kZeroLimit = 1e-50;

// Values a term's evaluation keeps pending at most; the nesting bound keeps every compiled term below it.
inline constexpr int kEvalStackCapacity = 4 * kMaxTermNesting + 16;

struct TermTreeAccess {
    static std::vector<TermNode>& nodes(TermTree& tree) { return tree.nodes_; }
    static std::vector<detail::TermStep>& program(TermTree& tree) { return tree.program_; }
    static const std::vector<detail::TermStep>& program(const TermTree& tree) { return tree.program_; }
};

// Turns the nodes of tree (children before parents) into its evaluation program.
void BuildTermProgram(TermTree& tree);

// base^exponent as SafePower does it; NaN when undefined, 1e50 where the node limit decides.
double powerValue(double e, double b);
// e^y cut at |y| >= 90 to 1e50 and 1e-50, as the hyperbolic functions need it.
double cutExp(double y);
double phiValue(double u);
double fakValue(double u);
double blancValue(double u);
double arcsinValue(double u);
double tanhValue(double u);

// The node limits: false when undefined (NaN included), magnitudes up to 1e-50 become 0.
inline bool applyLimits(double& v)
{
    // Positive doubles order as their bit patterns, so one unsigned comparison finds 1e-50 < |v| < 1e50.
    constexpr std::uint64_t kLow = std::bit_cast<std::uint64_t>(kZeroLimit);
    constexpr std::uint64_t kHigh = std::bit_cast<std::uint64_t>(kNodeLimit);
    const std::uint64_t magnitude = std::bit_cast<std::uint64_t>(v) & ~(std::uint64_t(1) << 63);
    if (magnitude - (kLow + 1) < kHigh - (kLow + 1)) [[likely]] {
        return true;
    }
    if (magnitude >= kHigh) {
        return false;
    }
    v = 0.0;
    return true;
}

inline double productValue(double p, double q)
{
    const double r = p * q;
    // Only a product near the node limit can fail the test, so it is made only there.
    if (!(std::fabs(r) < 1e49) && std::fabs(q) * (std::fabs(p) / kNodeLimit) >= 1) {
        return kUndefined;
    }
    return r;
}

inline double quotientValue(double p, double q)
{
    return std::fabs(q) * 1e15 <= std::fabs(p) ? kUndefined : p / q;
}

// b multiplied n times (0 <= n < 7), in the order of the multiplying rule of SafePower.
inline double repeatedProduct(double b, int n)
{
    switch (n) {
    case 0:
        return 1.0;
    case 1:
        return b;
    case 2:
        return b * b;
    case 3:
        return b * b * b;
    case 4:
        return b * b * b * b;
    case 5:
        return b * b * b * b * b;
    default:
        return b * b * b * b * b * b;
    }
}

// p^e for a constant integer exponent e with |e| < 7 and n = |e|: the multiplying rule of SafePower.
inline double smallIntPower(double p, double e, int n)
{
    const double absP = std::fabs(p);
    if (!(absP > 1e-30 && absP < 15)) [[unlikely]] {
        return powerValue(e, p);
    }
    if (e < 0) {
        return repeatedProduct(1.0 / p, n);
    }
    return repeatedProduct(p, n);
}

// p^N for a constant N from 1 to 6, as SafePower computes it.
template <int N> inline double positivePower(double p)
{
    const double absP = std::fabs(p);
    if (!(absP > 1e-30 && absP < 15)) [[unlikely]] {
        return powerValue(N, p);
    }
    return repeatedProduct(p, N);
}

// Value of a function node or the sign at u; NaN when undefined.
inline double unaryValue(std::uint16_t code, double u)
{
    switch (code) {
    case kCodeNeg:
        return -u;
    case kCodeLn:
        return u > 0 ? std::log(u) : kUndefined;
    case kCodeLg:
        return u > 0 ? std::log10(u) : kUndefined;
    case kCodeLd:
        return u > 0 ? std::log2(u) : kUndefined;
    case kCodeExp:
        if (std::fabs(u) >= 90) {
            return u >= 0 ? kNodeLimit : 0.0;
        }
        return std::exp(u);
    case kCodeSin:
        return std::sin(u);
    case kCodeCos:
        return std::cos(u);
    case kCodeTan: {
        const double c = std::cos(u);
        return c == 0 ? kUndefined : std::sin(u) / c;
    }
    case kCodeCot: {
        const double s = std::sin(u);
        return s == 0 ? kUndefined : std::cos(u) / s;
    }
    case kCodeArcsin:
        return arcsinValue(u);
    case kCodeArccos:
        return std::fabs(u) > 1 ? kUndefined : kHalfPi - arcsinValue(u);
    case kCodeArctan:
        return std::atan(u);
    case kCodeArccot:
        return kHalfPi - std::atan(u);
    case kCodeSinh: {
        const double e = cutExp(u);
        return (e - 1 / e) / 2;
    }
    case kCodeCosh: {
        const double e = cutExp(u);
        return (e + 1 / e) / 2;
    }
    case kCodeTanh:
        return tanhValue(u);
    case kCodeCoth: {
        const double t = tanhValue(u);
        return t == 0 ? kUndefined : 1 / t;
    }
    case kCodeSqrt:
        return u < 0 ? kUndefined : std::sqrt(u);
    case kCodeSqr:
        return u * u;
    case kCodeNormal:
        return std::fabs(u) >= 11 ? 0.0 : std::exp(-u * u / 2) / std::sqrt(2 * kPi);
    case kCodePhi:
        return phiValue(u);
    case kCodeAbs:
        return std::fabs(u);
    case kCodeSign:
        return u > 0 ? 1.0 : (u < 0 ? -1.0 : 0.0);
    case kCodeMaxint:
        return std::floor(u);
    case kCodeInt:
        return std::trunc(u);
    case kCodeDeg:
        return u * (180.0 / kPi);
    case kCodeRad:
        return u * (kPi / 180.0);
    case kCodeFak:
        return fakValue(u);
    case kCodeBlanc:
        return blancValue(u);
    default:
        return kUndefined;
    }
}

inline double binaryValue(std::uint16_t code, double p, double q)
{
    switch (code) {
    case kCodeAdd:
        return p + q;
    case kCodeSub:
        return p - q;
    case kCodeMul:
        return productValue(p, q);
    case kCodeDiv:
        return quotientValue(p, q);
    case kCodePow:
        return powerValue(q, p);
    default:
        return kUndefined;
    }
}

} // namespace kurvex
