// Term evaluation: node values with their limits, the evaluation program of a tree, numeric derivatives.
#include "core/fktpars.h"
#include "core/fktpars_internal.h"

#include <cmath>
#include <limits>
#include <numbers>

namespace kurvex {

namespace {

constexpr double kPi = std::numbers::pi;
constexpr double kE = std::numbers::e;
constexpr double kHalfPi = std::numbers::pi / 2.0;
constexpr double kUndefined = std::numeric_limits<double>::quiet_NaN();
constexpr double kNodeLimit = 1e50;
constexpr double kZeroLimit = 1e-50;

// Program operations beyond the node codes (which serve as the operations of functions and operators).
constexpr std::uint16_t kOpHeader = 200; // first step; Slot holds the mask of the argument slots used
constexpr std::uint16_t kOpFail = 201;   // the term is undefined whatever the arguments
constexpr std::uint16_t kOpConst = 202;
constexpr std::uint16_t kOpSlot = 203;
constexpr std::uint16_t kOpAddC = 204;
constexpr std::uint16_t kOpSubC = 205;
constexpr std::uint16_t kOpMulC = 206;
constexpr std::uint16_t kOpDivC = 207;
constexpr std::uint16_t kOpPowC = 208;
constexpr std::uint16_t kOpPowSmallInt = 209; // constant integer exponent, |e| < 7, Slot = |e|
constexpr std::uint16_t kOpAddS = 210;
constexpr std::uint16_t kOpSubS = 211;
constexpr std::uint16_t kOpMulS = 212;
constexpr std::uint16_t kOpDivS = 213;
constexpr std::uint16_t kOpPowS = 214;

// Argument slots: x, t, a, b, c, d, n, w.
constexpr int kSlotCount = 8;
constexpr std::uint16_t kSlotW = 7;

int slotOf(std::uint16_t code)
{
    switch (code) {
    case kCodeX:
        return 0;
    case kCodeT:
        return 1;
    case kCodeA:
        return 2;
    case kCodeB:
        return 3;
    case kCodeC:
        return 4;
    case kCodeD:
        return 5;
    case kCodeN:
        return 6;
    case kCodeW:
        return kSlotW;
    default:
        return -1;
    }
}

// The node limits: false when undefined, tiny magnitudes become 0. NaN counts as undefined.
inline bool applyLimits(double& v)
{
    const double m = std::fabs(v);
    if (!(m < kNodeLimit)) {
        return false;
    }
    if (m <= kZeroLimit) {
        v = 0.0;
    }
    return true;
}

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
        double r = 1.0;
        for (int i = int(e); i > 0; --i) {
            r *= b;
        }
        return r;
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
    static const auto kWeights = [] {
        std::array<double, 50> w{};
        for (int k = 0; k < 50; ++k) {
            w[std::size_t(k)] = 1.0 / powerValue(k, 2.0);
        }
        return w;
    }();
    double s = 0.0;
    double v = u;
    for (const double weight : kWeights) {
        const double f = v - std::trunc(v < 0 ? v - 1 : v);
        s += (f >= 0.5 ? 1.0 - f : f) * weight;
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

// Value of a function node or the sign; NaN when undefined.
double unaryValue(std::uint16_t code, double u)
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

inline double productValue(double p, double q)
{
    return std::fabs(q) * (std::fabs(p) / kNodeLimit) >= 1 ? kUndefined : p * q;
}

inline double quotientValue(double p, double q)
{
    return std::fabs(q) * 1e15 <= std::fabs(p) ? kUndefined : p / q;
}

double binaryValue(std::uint16_t code, double p, double q)
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

// p^e for a constant integer exponent e with |e| < 7 (n = |e|), as the first rule of SafePower.
inline double smallIntPower(double p, double e, int n)
{
    const double absP = std::fabs(p);
    if (!(absP > 1e-30 && absP < 15)) {
        return powerValue(e, p);
    }
    const double b = e < 0 ? 1.0 / p : p;
    double r = b;
    for (int i = n; i > 1; --i) {
        r *= b;
    }
    return n == 0 ? 1.0 : r;
}

bool isLeafCode(std::uint16_t code)
{
    return code == kCodeNumber || code == kCodePi || code == kCodeE || slotOf(code) >= 0;
}

bool isBinaryCode(std::uint16_t code)
{
    return code == kCodeAdd || code == kCodeSub || code == kCodeMul || code == kCodeDiv || code == kCodePow;
}

// Builds the program: post-order steps with constant subterms folded and leaf right operands fused.
class ProgramBuilder {
public:
    std::vector<detail::TermStep> build(const std::vector<TermNode>& nodes)
    {
        steps_.push_back({0.0, kOpHeader, 0});
        for (const TermNode& node : nodes) {
            if (isLeafCode(node.Code)) {
                addLeaf(node);
            } else if (isBinaryCode(node.Code)) {
                addBinary(node.Code);
            } else {
                addUnary(node.Code);
            }
            if (alwaysUndefined_) {
                return {{0.0, kOpHeader, 0}, {0.0, kOpFail, 0}};
            }
        }
        materialize(items_.size());
        steps_.front().Slot = slotMask_;
        return std::move(steps_);
    }

private:
    enum class Kind { Emitted, Const, Slot };
    struct Item {
        Kind kind;
        double value;
        std::uint16_t slot;
    };

    void addLeaf(const TermNode& node)
    {
        if (const int slot = slotOf(node.Code); slot >= 0) {
            slotMask_ |= std::uint16_t(1u << slot);
            items_.push_back({Kind::Slot, 0.0, std::uint16_t(slot)});
            return;
        }
        double value = node.Code == kCodePi ? kPi : (node.Code == kCodeE ? kE : node.Value);
        pushConst(value);
    }

    void pushConst(double value)
    {
        if (!applyLimits(value)) {
            alwaysUndefined_ = true;
            return;
        }
        items_.push_back({Kind::Const, value, 0});
    }

    // Emits the pending items up to index last - 1, in order, as pushes.
    void materialize(std::size_t last)
    {
        for (; firstPending_ < last; ++firstPending_) {
            Item& item = items_[firstPending_];
            if (item.kind == Kind::Const) {
                steps_.push_back({item.value, kOpConst, 0});
            } else if (item.kind == Kind::Slot) {
                steps_.push_back({0.0, kOpSlot, item.slot});
            }
            item.kind = Kind::Emitted;
        }
    }

    void replaceTop(std::size_t count, Item item)
    {
        items_.resize(items_.size() - count);
        firstPending_ = std::min(firstPending_, items_.size());
        items_.push_back(item);
        if (item.kind == Kind::Emitted) {
            firstPending_ = items_.size();
        }
    }

    void addUnary(std::uint16_t code)
    {
        const Item top = items_.back();
        if (top.kind == Kind::Const) {
            items_.pop_back();
            pushConst(unaryValue(code, top.value));
            return;
        }
        materialize(items_.size());
        steps_.push_back({0.0, code, 0});
        replaceTop(1, {Kind::Emitted, 0.0, 0});
    }

    void addBinary(std::uint16_t code)
    {
        const Item right = items_[items_.size() - 1];
        const Item left = items_[items_.size() - 2];
        if (left.kind == Kind::Const && right.kind == Kind::Const) {
            items_.resize(items_.size() - 2);
            pushConst(binaryValue(code, left.value, right.value));
            return;
        }
        if (right.kind == Kind::Emitted) {
            steps_.push_back({0.0, code, 0});
        } else {
            materialize(items_.size() - 1);
            steps_.push_back(fusedStep(code, right));
        }
        replaceTop(2, {Kind::Emitted, 0.0, 0});
    }

    static detail::TermStep fusedStep(std::uint16_t code, const Item& right)
    {
        const bool isConst = right.kind == Kind::Const;
        switch (code) {
        case kCodeAdd:
            return {right.value, isConst ? kOpAddC : kOpAddS, right.slot};
        case kCodeSub:
            return {right.value, isConst ? kOpSubC : kOpSubS, right.slot};
        case kCodeMul:
            return {right.value, isConst ? kOpMulC : kOpMulS, right.slot};
        case kCodeDiv:
            return {right.value, isConst ? kOpDivC : kOpDivS, right.slot};
        default:
            break;
        }
        if (!isConst) {
            return {0.0, kOpPowS, right.slot};
        }
        const double e = right.value;
        if (e == std::trunc(e) && std::fabs(e) < 7) {
            return {e, kOpPowSmallInt, std::uint16_t(std::fabs(e))};
        }
        return {e, kOpPowC, 0};
    }

    std::vector<detail::TermStep> steps_;
    std::vector<Item> items_;
    std::size_t firstPending_ = 0;
    std::uint16_t slotMask_ = 0;
    bool alwaysUndefined_ = false;
};

} // namespace

void BuildTermProgram(TermTree& tree)
{
    TermTreeAccess::program(tree) = ProgramBuilder().build(TermTreeAccess::nodes(tree));
}

double EvaluateTerm(const TermTree& tree, double x, double t, double a, double b, double c, double d,
                    double n)
{
    const auto& program = TermTreeAccess::program(tree);
    if (program.size() < 2) {
        EvalOk = false;
        return 0.0;
    }
    // Leaves obey the node limits too; an unusable argument makes the term undefined only if the term uses
    // it.
    double slots[kSlotCount] = {x, t, a, b, c, d, n, WValue};
    const unsigned used = program.front().Slot;
    unsigned bad = 0;
    for (int i = 0; i < kSlotCount; ++i) {
        const double m = std::fabs(slots[i]);
        bad |= unsigned(!(m < kNodeLimit)) << i;
        slots[i] = m <= kZeroLimit ? 0.0 : slots[i];
    }
    if ((bad & used) != 0) {
        EvalOk = false;
        return 0.0;
    }

    double stack[kEvalStackCapacity + 1];
    int sp = 0;
    double acc = 0.0;
    const detail::TermStep* step = program.data() + 1;
    const detail::TermStep* const end = program.data() + program.size();
    for (; step != end; ++step) {
        switch (step->Op) {
        case kOpConst:
            stack[sp++] = acc;
            acc = step->Value;
            continue;
        case kOpSlot:
            stack[sp++] = acc;
            acc = slots[step->Slot];
            continue;
        case kCodeAdd:
            acc = stack[--sp] + acc;
            break;
        case kCodeSub:
            acc = stack[--sp] - acc;
            break;
        case kCodeMul:
            acc = productValue(stack[--sp], acc);
            break;
        case kCodeDiv:
            acc = quotientValue(stack[--sp], acc);
            break;
        case kCodePow:
            acc = powerValue(acc, stack[--sp]);
            break;
        case kOpAddC:
            acc += step->Value;
            break;
        case kOpSubC:
            acc -= step->Value;
            break;
        case kOpMulC:
            acc = productValue(acc, step->Value);
            break;
        case kOpDivC:
            acc = quotientValue(acc, step->Value);
            break;
        case kOpPowC:
            acc = powerValue(step->Value, acc);
            break;
        case kOpPowSmallInt:
            acc = smallIntPower(acc, step->Value, step->Slot);
            break;
        case kOpAddS:
            acc += slots[step->Slot];
            break;
        case kOpSubS:
            acc -= slots[step->Slot];
            break;
        case kOpMulS:
            acc = productValue(acc, slots[step->Slot]);
            break;
        case kOpDivS:
            acc = quotientValue(acc, slots[step->Slot]);
            break;
        case kOpPowS:
            acc = powerValue(slots[step->Slot], acc);
            break;
        case kCodeNeg:
            acc = -acc;
            continue;
        case kCodeSin:
            acc = std::sin(acc);
            break;
        case kCodeCos:
            acc = std::cos(acc);
            break;
        case kOpFail:
            EvalOk = false;
            return 0.0;
        default:
            acc = unaryValue(step->Op, acc);
            break;
        }
        const double m = std::fabs(acc);
        if (!(m < kNodeLimit)) {
            EvalOk = false;
            return 0.0;
        }
        if (m <= kZeroLimit) {
            acc = 0.0;
        }
    }
    EvalOk = true;
    return acc;
}

double EvaluateDerivative(const TermTree& tree, int order, double x, double t, double a, double b, double c,
                          double d, double n)
{
    const auto f = [&](double at) { return EvaluateTerm(tree, at, t, a, b, c, d, n); };
    if (order == 0) {
        return f(x);
    }
    if (order == 1) {
        constexpr double h = 0.001;
        const double f1 = f(x - 2 * h);
        if (!EvalOk) {
            return 0.0;
        }
        const double f2 = f(x - h);
        if (!EvalOk) {
            return 0.0;
        }
        const double f3 = f(x + h);
        if (!EvalOk) {
            return 0.0;
        }
        const double f4 = f(x + 2 * h);
        if (!EvalOk) {
            return 0.0;
        }
        return (f1 - 8 * f2 + 8 * f3 - f4) / 0.012;
    }
    if (order == 2) {
        constexpr double h = 0.005;
        const double f1 = f(x + h);
        if (!EvalOk) {
            return 0.0;
        }
        const double f2 = f(x);
        if (!EvalOk) {
            return 0.0;
        }
        const double f3 = f(x - h);
        if (!EvalOk) {
            return 0.0;
        }
        return (f1 - 2 * f2 + f3) / 0.000025;
    }
    constexpr double h = 0.01;
    const double f1 = f(x - 2 * h);
    if (!EvalOk) {
        return 0.0;
    }
    const double f2 = f(x - h);
    if (!EvalOk) {
        return 0.0;
    }
    const double f3 = f(x + h);
    if (!EvalOk) {
        return 0.0;
    }
    const double f4 = f(x + 2 * h);
    if (!EvalOk) {
        return 0.0;
    }
    return (2 * f2 - f1 - 2 * f3 + f4) / 0.000002;
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
