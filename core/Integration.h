// Numeric integration: Simpson's rule, and an adaptive Simpson integration to a tolerance relative
// to the integrand's size that reports undefined nodes, poles and integrands it cannot settle.
#pragma once

#include <functional>
#include <optional>

namespace kurvex {

// The integrand's value at t, or nothing where it is undefined.
using Integrand = std::function<std::optional<double>(double t)>;

// Composite Simpson rule with 2n subintervals from a to b (b < a gives the negative of the integral
// from b to a); nothing when a node is undefined or n < 1.
std::optional<double> SimpsonSum(const Integrand& f, int n, double a, double b);

struct IntegrationLimits {
    // Allowed error as a share of the integral of |f| over the range.
    double relativeTolerance = 1e-10;
    // Halvings of the range at most; a piece that has not settled there is a pole unless its
    // error is already within the tolerance (a jump).
    int maxDepth = 40;
    // Evaluations of f at most, so that no integrand can keep the window busy.
    long maxEvaluations = 200000;
};

// The integral of f from a to b (negative for b < a, 0 for a = b). Nothing when f is undefined at
// a node, when the integral does not settle within the depth (a pole such as 1/t across 0) or
// when it needs more evaluations than allowed.
std::optional<double> Integrate(const Integrand& f, double a, double b, const IntegrationLimits& limits = {});

// One short piece of a longer integral, from `from` (where f is known from the piece before) to
// `to` in either direction: its integral to an absolute tolerance, and f(to) for the piece after.
// Nothing when the piece does not settle within the limits (the caller then integrates it on its
// own) or f is undefined at a node.
struct IntegratedPiece {
    double value = 0.0;
    double fTo = 0.0;
};
std::optional<IntegratedPiece> IntegratePiece(const Integrand& f, double from, double fFrom, double to,
                                              double tolerance, const IntegrationLimits& limits);

} // namespace kurvex
