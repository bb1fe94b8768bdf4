// The polynomial of lowest degree through conditions placed in the plane.
#include "core/PolynomialConditions.h"

#include "core/NumberText.h"
#include "core/Settings.h"
#include "numeric/Matrices.h"

#include <algorithm>
#include <cmath>

namespace kurvex {

namespace {

// A pivot of the row-scaled matrix this close to 0 is rounding noise: the system has no solution.
constexpr double kSingularFactor = 64.0;
// Conditions whose x lie closer than this share of the conditions' spread count as one x.
constexpr double kSameXShare = 1e-9;
// A term this small against the whole polynomial over the conditions' range is rounding noise.
constexpr double kNoiseShare = 1e-11;
// Conditions centred further from 0 than this many half spreads are solved around their centre.
constexpr double kCentreShare = 4.0;

enum class Row { Value, FirstDerivative, SecondDerivative };

// The row of f, f' or f'' at u for the coefficients b0 .. b(n-1) of powers of u.
std::vector<double> equationRow(Row row, double u, int n)
{
    std::vector<double> r(static_cast<std::size_t>(n), 0.0);
    const int order = row == Row::Value ? 0 : (row == Row::FirstDerivative ? 1 : 2);
    for (int k = order; k < n; ++k) {
        double factor = 1.0;
        for (int j = 0; j < order; ++j) {
            factor *= k - j;
        }
        r[static_cast<std::size_t>(k)] = factor * std::pow(u, k - order);
    }
    return r;
}

// Coefficients of p((x - c) / s) in powers of x from those of p in powers of u, by Horner's rule on
// polynomials.
std::vector<double> toPowersOfX(const std::vector<double>& b, double c, double s)
{
    std::vector<double> p{b.back()};
    for (std::size_t k = b.size() - 1; k-- > 0;) {
        std::vector<double> next(p.size() + 1, 0.0);
        for (std::size_t j = 0; j < next.size(); ++j) {
            const double here = j < p.size() ? p[j] : 0.0;
            const double lower = j > 0 ? p[j - 1] : 0.0;
            next[j] = (lower - c * here) / s;
        }
        next[0] += b[k];
        p = std::move(next);
    }
    return p;
}

// The power of two at or above v (> 0), so that dividing by it rounds nothing; v itself where no
// such power is a double.
double powerOfTwoAbove(double v)
{
    int exponent = 0;
    const double mantissa = std::frexp(v, &exponent);
    const double power = std::ldexp(1.0, mantissa == 0.5 ? exponent - 1 : exponent);
    return std::isfinite(power) ? power : v;
}

// Coefficients whose term stays below kNoiseShare of the polynomial's size on [-reach, reach].
void dropNoise(std::vector<double>& a, double reach)
{
    double size = 0.0;
    double power = 1.0;
    for (const double v : a) {
        size += std::fabs(v) * power;
        power *= reach;
    }
    power = 1.0;
    for (double& v : a) {
        if (std::fabs(v) * power <= kNoiseShare * size) {
            v = 0.0;
        }
        power *= reach;
    }
}

bool finiteCondition(const Condition& c)
{
    return std::isfinite(c.x) && std::isfinite(c.y) && std::isfinite(c.m);
}

bool twoShareAnX(std::span<const Condition> conditions, double spread)
{
    for (std::size_t i = 0; i < conditions.size(); ++i) {
        for (std::size_t j = i + 1; j < conditions.size(); ++j) {
            if (std::fabs(conditions[i].x - conditions[j].x) <= kSameXShare * spread) {
                return true;
            }
        }
    }
    return false;
}

} // namespace

int EquationsOf(ConditionKind kind)
{
    switch (kind) {
    case ConditionKind::Point:
        return 1;
    case ConditionKind::PointSlope:
    case ConditionKind::Extremum:
    case ConditionKind::Inflection:
        return 2;
    case ConditionKind::InflectionSlope:
    case ConditionKind::Terrace:
        return 3;
    }
    return 1;
}

bool HasOwnSlope(ConditionKind kind)
{
    return kind == ConditionKind::PointSlope || kind == ConditionKind::InflectionSlope;
}

bool HasSlopeLine(ConditionKind kind)
{
    return HasOwnSlope(kind) || kind == ConditionKind::Extremum || kind == ConditionKind::Terrace;
}

int TotalEquations(std::span<const Condition> conditions)
{
    int n = 0;
    for (const Condition& c : conditions) {
        n += EquationsOf(c.kind);
    }
    return n;
}

// ---------------------------------------------------------------------------------------------
// The linear system

LinearSolution SolveLinearSystem(std::vector<std::vector<double>> a, std::vector<double> b)
{
    const std::size_t n = b.size();
    LinearSolution result;
    if (a.size() != n) {
        result.singular = true;
        return result;
    }
    // Each row to its largest entry, so that one pivot threshold fits rows of f, f' and f''.
    for (std::size_t i = 0; i < n; ++i) {
        if (a[i].size() != n) {
            result.singular = true;
            return result;
        }
        double largest = 0.0;
        for (const double v : a[i]) {
            largest = std::max(largest, std::fabs(v));
        }
        if (!(largest > 0.0) || !std::isfinite(largest)) {
            result.singular = true;
            return result;
        }
        // By a power of two, so that rows of whole numbers stay exact.
        const double unit = powerOfTwoAbove(largest);
        for (double& v : a[i]) {
            v /= unit;
        }
        b[i] /= unit;
    }
    // Every row's largest entry now lies in (1/2, 1], so the pivot tolerance is kSingularFactor * n
    // units of rounding against each row.
    TMatrix inverse;
    TVector x;
    const int last = static_cast<int>(n) - 1;
    if (InvertGaussJordan(a, b, 0, last, inverse, x, kSingularFactor * static_cast<double>(n)) != 0) {
        result.singular = true;
        return result;
    }
    result.x = std::move(x);
    if (!std::all_of(result.x.begin(), result.x.end(), [](double v) { return std::isfinite(v); })) {
        result.x.clear();
        result.singular = true;
    }
    return result;
}

// ---------------------------------------------------------------------------------------------
// The polynomial

Polynomial SolvePolynomial(std::span<const Condition> conditions)
{
    Polynomial result;
    const int n = TotalEquations(conditions);
    if (n == 0) {
        return result;
    }
    if (!std::all_of(conditions.begin(), conditions.end(), finiteCondition)) {
        result.failure = PolynomialFailure::Undetermined;
        return result;
    }
    const auto [lo, hi] =
        std::minmax_element(conditions.begin(), conditions.end(),
                            [](const Condition& p, const Condition& q) { return p.x < q.x; });
    const double midpoint = lo->x / 2 + hi->x / 2;
    const double halfSpread = hi->x / 2 - lo->x / 2;
    const double reach = std::max(std::fabs(lo->x), std::fabs(hi->x));
    // Around 0 the powers of x are as good a basis as any and come out exact; a cluster far from 0
    // is solved around its centre.
    const bool centred = std::fabs(midpoint) > kCentreShare * halfSpread;
    const double c = centred ? midpoint : 0.0;
    const double spread = centred ? halfSpread : reach;
    const double s = spread > 0.0 && std::isfinite(spread) ? powerOfTwoAbove(spread) : 1.0;

    // With u = (x - c) / s: f(x) = p(u), f'(x) = p'(u) / s, f''(x) = p''(u) / s².
    std::vector<std::vector<double>> rows;
    std::vector<double> rhs;
    for (const Condition& k : conditions) {
        const double u = (k.x - c) / s;
        rows.push_back(equationRow(Row::Value, u, n));
        rhs.push_back(k.y);
        if (k.kind != ConditionKind::Point && k.kind != ConditionKind::Inflection) {
            rows.push_back(equationRow(Row::FirstDerivative, u, n));
            rhs.push_back(HasOwnSlope(k.kind) ? s * k.m : 0.0);
        }
        if (k.kind == ConditionKind::Inflection || k.kind == ConditionKind::InflectionSlope ||
            k.kind == ConditionKind::Terrace) {
            rows.push_back(equationRow(Row::SecondDerivative, u, n));
            rhs.push_back(0.0);
        }
    }
    LinearSolution solution = SolveLinearSystem(std::move(rows), std::move(rhs));
    if (solution.singular) {
        const double sameXSpread = halfSpread > 0.0 ? halfSpread : 1.0;
        result.failure =
            twoShareAnX(conditions, sameXSpread) ? PolynomialFailure::SameX : PolynomialFailure::Undetermined;
        return result;
    }
    result.b = std::move(solution.x);
    result.centre = c;
    result.scale = s;
    result.a = toPowersOfX(result.b, c, s);
    dropNoise(result.a, reach > 0.0 ? reach : 1.0);
    if (!std::all_of(result.a.begin(), result.a.end(), [](double v) { return std::isfinite(v); })) {
        result = Polynomial{};
        result.failure = PolynomialFailure::Undetermined;
    }
    return result;
}

double EvaluatePolynomial(std::span<const double> a, double x, int order)
{
    double value = 0.0;
    for (std::size_t k = a.size(); k-- > static_cast<std::size_t>(std::max(order, 0));) {
        double factor = 1.0;
        for (int j = 0; j < order; ++j) {
            factor *= static_cast<double>(k) - j;
        }
        value = value * x + factor * a[k];
    }
    return value;
}

double EvaluatePolynomial(const Polynomial& p, double x, int order)
{
    if (!p.solved()) {
        return 0.0;
    }
    double value = EvaluatePolynomial(p.b, (x - p.centre) / p.scale, order);
    for (int j = 0; j < order; ++j) {
        value /= p.scale;
    }
    return value;
}

std::string PolynomialTermText(std::span<const double> a, bool fractions)
{
    std::string text;
    for (std::size_t k = a.size(); k-- > 0;) {
        const double v = a[k];
        if (v == 0.0) {
            continue;
        }
        text += v < 0 ? " -" : " +";
        text += fractions ? FloatToFraction(std::fabs(v)) : FormatNumberShort(3, std::fabs(v));
        if (k >= 2) {
            text += " x^" + std::to_string(k);
        } else if (k == 1) {
            text += " x";
        }
    }
    if (text.size() >= 2 && text[1] == '+') {
        text.erase(0, 2);
    }
    if (text.empty()) {
        return fractions ? "0,00" : "0,000";
    }
    return text;
}

std::string FailureMessage(PolynomialFailure failure)
{
    switch (failure) {
    case PolynomialFailure::None:
        break;
    case PolynomialFailure::SameX:
        return "Fehler: mindestens 2 Punkte haben dieselbe x-Koordinate!";
    case PolynomialFailure::Undetermined:
        return "Fehler: Die Bedingungen reichen nicht aus oder widersprechen sich!";
    }
    return {};
}

// ---------------------------------------------------------------------------------------------
// The list of conditions

bool HitsPoint(int pointX, int pointY, int mouseX, int mouseY)
{
    return pointX - kConditionHitRadius < mouseX && mouseX < pointX + kConditionHitRadius && pointY - kConditionHitRadius < mouseY &&
           mouseY < pointY + kConditionHitRadius;
}

bool ConditionList::canAdd(ConditionKind kind) const
{
    return equations_ + EquationsOf(kind) <= kMaxEquations;
}

bool ConditionList::add(const Condition& c)
{
    if (!canAdd(c.kind)) {
        return false;
    }
    items_.push_back(c);
    equations_ += EquationsOf(c.kind);
    selected_ = static_cast<int>(items_.size()) - 1;
    return true;
}

const Condition* ConditionList::selectedCondition() const
{
    return hasSelection() ? &items_[static_cast<std::size_t>(selected_)] : nullptr;
}

void ConditionList::select(int index)
{
    selected_ = index >= 0 && index < static_cast<int>(items_.size()) ? index : -1;
}

void ConditionList::moveSelectedTo(double x, double y, bool shiftAll)
{
    if (!hasSelection()) {
        return;
    }
    Condition& moved = items_[static_cast<std::size_t>(selected_)];
    const double dx = x - moved.x;
    const double dy = y - moved.y;
    moved.x = x;
    moved.y = y;
    if (!shiftAll) {
        return;
    }
    for (std::size_t i = 0; i < items_.size(); ++i) {
        if (static_cast<int>(i) != selected_) {
            items_[i].x += dx;
            items_[i].y += dy;
        }
    }
}

void ConditionList::setSelectedSlope(double m)
{
    if (hasSelection() && HasOwnSlope(items_[static_cast<std::size_t>(selected_)].kind)) {
        items_[static_cast<std::size_t>(selected_)].m = m;
    }
}

bool ConditionList::deleteSelected()
{
    if (!hasSelection()) {
        return false;
    }
    equations_ -= EquationsOf(items_[static_cast<std::size_t>(selected_)].kind);
    items_.erase(items_.begin() + selected_);
    if (selected_ > 0) {
        --selected_;
    }
    if (items_.empty()) {
        selected_ = -1;
    }
    return true;
}

void ConditionList::clear()
{
    items_.clear();
    equations_ = 0;
    selected_ = -1;
}

} // namespace kurvex
