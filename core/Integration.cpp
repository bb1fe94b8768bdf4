// Numeric integration: Simpson's rule and the adaptive Simpson integration.
#include "core/Integration.h"

#include <array>
#include <cmath>
#include <utility>

namespace kurvex {

namespace {

// Where the integrand's size is probed besides the Simpson nodes: irregular shares of the range,
// so that no periodic integrand vanishes at all of them.
constexpr std::array<double, 5> kProbeShares{0.9501, 0.2311, 0.6068, 0.4860, 0.8913};

// Where a piece is split: near its middle, off any simple fraction.
constexpr double kSplitShare = 0.4763;

// The error of a settled piece is below a fifteenth of the difference of its two estimates, so the
// estimate is corrected by that share (Richardson).
constexpr double kSimpsonErrorFactor = 15.0;

// One pass of the adaptive Simpson rule with a given absolute tolerance, and what it found.
class AdaptiveSimpson {
public:
    AdaptiveSimpson(const Integrand& f, const IntegrationLimits& limits) : f_(f), limits_(limits) {}

    // f(t), or nothing once f was undefined or the evaluations are used up.
    std::optional<double> value(double t)
    {
        if (failed_ || ++evaluations_ > limits_.maxEvaluations) {
            failed_ = true;
            return std::nullopt;
        }
        const std::optional<double> v = f_(t);
        if (!v || !std::isfinite(*v)) {
            failed_ = true;
            return std::nullopt;
        }
        return v;
    }

    struct Pass {
        double sum = 0.0;
        double absSum = 0.0;   // the sum of the pieces' sizes: the integral of |f| as far as seen
        double errorSum = 0.0; // the pieces' estimated errors
    };

    // The integral from a to b (a < b) with the given nodes; nothing when f failed.
    std::optional<Pass> run(double a, double fa, double fm, double b, double fb, double tolerance)
    {
        pass_ = {};
        piece(a, fa, b, fb, simpson(a, fa, fm, b, fb), tolerance, 0);
        if (failed_) {
            return std::nullopt;
        }
        return pass_;
    }

private:
    static double simpson(double a, double fa, double fm, double b, double fb)
    {
        return (b - a) / 6.0 * (fa + 4.0 * fm + fb);
    }

    // A piece is split a little off its middle, so that the nodes never form a regular grid
    // on which a fast oscillation could look settled (all nodes at the same phase).
    void piece(double a, double fa, double b, double fb, double whole, double tolerance, int depth)
    {
        const double c = a + kSplitShare * (b - a);
        const double lm = 0.5 * (a + c);
        const double rm = 0.5 * (c + b);
        const std::optional<double> fc = value(c);
        const std::optional<double> flm = value(lm);
        const std::optional<double> frm = value(rm);
        if (!fc || !flm || !frm) {
            return;
        }
        const double left = simpson(a, fa, *flm, c, *fc);
        const double right = simpson(c, *fc, *frm, b, fb);
        const double delta = left + right - whole;
        const bool splittable = a < lm && lm < c && c < rm && rm < b;
        const bool settled = std::abs(delta) <= kSimpsonErrorFactor * tolerance;
        // A piece that cannot settle keeps its error in the account; the caller judges it.
        if (settled || depth >= limits_.maxDepth || !splittable) {
            pass_.sum += left + right + delta / kSimpsonErrorFactor;
            pass_.absSum += std::abs(left) + std::abs(right);
            pass_.errorSum += std::abs(delta) / kSimpsonErrorFactor;
            return;
        }
        piece(a, fa, c, *fc, left, tolerance * kSplitShare, depth + 1);
        piece(c, *fc, b, fb, right, tolerance * (1.0 - kSplitShare), depth + 1);
    }

    const Integrand& f_;
    const IntegrationLimits& limits_;
    long evaluations_ = 0;
    bool failed_ = false;
    Pass pass_;
};

} // namespace

std::optional<double> SimpsonSum(const Integrand& f, int n, double a, double b)
{
    if (n < 1 || !std::isfinite(a) || !std::isfinite(b)) {
        return std::nullopt;
    }
    const double h = (b - a) / (2.0 * n);
    double sum = 0.0;
    for (int i = 0; i <= 2 * n; ++i) {
        const std::optional<double> v = f(i == 2 * n ? b : a + i * h);
        if (!v || !std::isfinite(*v)) {
            return std::nullopt;
        }
        const double weight = (i == 0 || i == 2 * n) ? 1.0 : (i % 2 == 1 ? 4.0 : 2.0);
        sum += weight * *v;
    }
    return sum * h / 3.0;
}

std::optional<IntegratedPiece> IntegratePiece(const Integrand& f, double from, double fFrom, double to,
                                              double tolerance, const IntegrationLimits& limits)
{
    if (!std::isfinite(from) || !std::isfinite(to) || from == to || !std::isfinite(fFrom) ||
        !(tolerance >= 0.0)) {
        return std::nullopt;
    }
    AdaptiveSimpson adaptive(f, limits);
    const std::optional<double> fm = adaptive.value(0.5 * (from + to));
    const std::optional<double> fTo = adaptive.value(to);
    if (!fm || !fTo) {
        return std::nullopt;
    }
    const bool forwards = from < to;
    const std::optional<AdaptiveSimpson::Pass> r = forwards
                                                       ? adaptive.run(from, fFrom, *fm, to, *fTo, tolerance)
                                                       : adaptive.run(to, *fTo, *fm, from, fFrom, tolerance);
    if (!r || r->errorSum > tolerance) {
        return std::nullopt;
    }
    return IntegratedPiece{forwards ? r->sum : -r->sum, *fTo};
}

std::optional<double> Integrate(const Integrand& f, double a, double b, const IntegrationLimits& limits)
{
    if (!std::isfinite(a) || !std::isfinite(b)) {
        return std::nullopt;
    }
    if (a == b) {
        return 0.0;
    }
    const double sign = b < a ? -1.0 : 1.0;
    if (b < a) {
        std::swap(a, b);
    }
    AdaptiveSimpson adaptive(f, limits);
    const double m = 0.5 * (a + b);
    const std::optional<double> fa = adaptive.value(a);
    const std::optional<double> fm = adaptive.value(m);
    const std::optional<double> fb = adaptive.value(b);
    if (!fa || !fm || !fb) {
        return std::nullopt;
    }
    double size = std::abs(*fa) + std::abs(*fm) + std::abs(*fb);
    for (const double share : kProbeShares) {
        const std::optional<double> v = adaptive.value(a + share * (b - a));
        if (!v) {
            return std::nullopt;
        }
        size += std::abs(*v);
    }
    // The integral of |f| as the probes see it; where they all see 0 the tolerance is absolute.
    double scale = (b - a) * size / (3.0 + kProbeShares.size());
    if (!(scale > 0.0)) {
        scale = b - a;
    }
    // A tolerance taken from a probe next to a pole can be far too loose; such a pass is repeated
    // with the size the pass found, until the estimated error fits the size of the result.
    for (int pass = 0; pass < 4; ++pass) {
        const std::optional<AdaptiveSimpson::Pass> r =
            adaptive.run(a, *fa, *fm, b, *fb, limits.relativeTolerance * scale);
        if (!r) {
            return std::nullopt;
        }
        if (r->errorSum <= 4.0 * limits.relativeTolerance * r->absSum) {
            return sign * r->sum;
        }
        if (!(r->absSum > 0.0 && r->absSum < 0.5 * scale)) {
            return std::nullopt; // the tolerance fitted: the integral does not settle
        }
        scale = r->absSum;
    }
    return std::nullopt;
}

} // namespace kurvex
