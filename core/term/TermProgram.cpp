// Term evaluation program: a tree flattened to stack-machine steps with constants folded, and its evaluation.
#include "core/term/Term.h"
#include "core/term/TermInternal.h"

#include <array>
#include <bit>
#include <cmath>

namespace kurvex {

namespace {

using detail::TermStep;

// Two-operand operators in program order, and the four forms each one takes:
// stack (both operands computed), right (acc op operand), left (operand op acc), pair (push; operand op
// operand).
constexpr std::uint16_t kBinaryCodes[] = {kCodeAdd, kCodeSub, kCodeMul, kCodeDiv, kCodePow};
constexpr int kFormStack = 0;
constexpr int kFormRight = 1;
constexpr int kFormLeft = 2;
constexpr int kFormPair = 3;

constexpr std::uint16_t kOpHeader = 0; // first step; Slot holds the mask of the argument slots used
constexpr std::uint16_t kOpFail = 1;   // the term is undefined whatever the arguments
constexpr std::uint16_t kOpLoad = 2;   // push; acc = operand
constexpr std::uint16_t kOpBinary = 3; // kOpBinary + 4 * operator index + form
constexpr std::uint16_t kOpPowIntRight = kOpBinary + 4 * 5;
constexpr std::uint16_t kOpPowIntPair = kOpPowIntRight + 1;
constexpr std::uint16_t kOpNeg = kOpPowIntPair + 1;
constexpr std::uint16_t kOpSin = kOpNeg + 1;
constexpr std::uint16_t kOpCos = kOpSin + 1;
constexpr std::uint16_t kOpExp = kOpCos + 1;
constexpr std::uint16_t kOpLn = kOpExp + 1;
constexpr std::uint16_t kOpSqrt = kOpLn + 1;
constexpr std::uint16_t kOpAbs = kOpSqrt + 1;
constexpr std::uint16_t kOpSqr = kOpAbs + 1;
constexpr std::uint16_t kOpFunction = kOpSqr + 1; // any other function; Slot holds its node code
// acc + (operand * operand) and acc - (operand * operand): a product of two leaves added to a computed value.
constexpr std::uint16_t kOpAddProductPair = kOpFunction + 1;
constexpr std::uint16_t kOpSubProductPair = kOpAddProductPair + 1;
// The same with a constant times an argument (2x, 3a), the commonest product, and that product pushed alone.
constexpr std::uint16_t kOpAddConstSlotProduct = kOpSubProductPair + 1;
constexpr std::uint16_t kOpSubConstSlotProduct = kOpAddConstSlotProduct + 1;
constexpr std::uint16_t kOpConstSlotProduct = kOpSubConstSlotProduct + 1;
constexpr std::uint16_t kOpEnd = kOpConstSlotProduct + 1; // last step: the result is in acc
// acc^2, acc^3 and slot^2, slot^3: the commonest powers, without the general small-exponent dispatch.
constexpr std::uint16_t kOpSquareRight = kOpEnd + 1;
constexpr std::uint16_t kOpCubeRight = kOpSquareRight + 1;
constexpr std::uint16_t kOpSquarePair = kOpCubeRight + 1;
constexpr std::uint16_t kOpCubePair = kOpSquarePair + 1;

constexpr std::uint16_t binaryOp(int operatorIndex, int form)
{
    return std::uint16_t(kOpBinary + 4 * operatorIndex + form);
}
constexpr int kAdd = 0;
constexpr int kSub = 1;
constexpr int kMul = 2;
constexpr int kDiv = 3;
constexpr int kPow = 4;

// Operand fields in Slot: four bits each; kConstOperand stands for the step's Value.
constexpr unsigned kConstOperand = 15;

// Argument slots: x, t, a, b, c, d, n, w.
constexpr int kSlotCount = 8;

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
        return 7;
    default:
        return -1;
    }
}

int binaryIndex(std::uint16_t code)
{
    for (int i = 0; i < int(std::size(kBinaryCodes)); ++i) {
        if (kBinaryCodes[i] == code) {
            return i;
        }
    }
    return -1;
}

std::uint16_t unaryOp(std::uint16_t code)
{
    switch (code) {
    case kCodeNeg:
        return kOpNeg;
    case kCodeSin:
        return kOpSin;
    case kCodeCos:
        return kOpCos;
    case kCodeExp:
        return kOpExp;
    case kCodeLn:
        return kOpLn;
    case kCodeSqrt:
        return kOpSqrt;
    case kCodeAbs:
        return kOpAbs;
    case kCodeSqr:
        return kOpSqr;
    default:
        return kOpFunction;
    }
}

bool isSmallIntExponent(double e)
{
    return e == std::trunc(e) && std::fabs(e) < 7;
}

// Builds the program in the order of the nodes (children first). Constant subterms are folded; a leaf operand
// stays pending until its operator takes it from the step itself, so leaves cost no steps of their own.
class ProgramBuilder {
public:
    std::vector<TermStep> build(const std::vector<TermNode>& nodes)
    {
        steps_.push_back({0.0, kOpHeader, 0});
        for (const TermNode& node : nodes) {
            if (node.Left == kNoNode) {
                addLeaf(node);
            } else if (node.Right != kNoNode) {
                addBinary(node.Code);
            } else {
                addUnary(node.Code);
            }
            if (alwaysUndefined_) {
                return {{0.0, kOpHeader, 0}, {0.0, kOpFail, 0}, {0.0, kOpEnd, 0}};
            }
        }
        if (items_.size() == 1 && items_.back().kind != Kind::Computed) {
            load(items_.back());
        }
        steps_.push_back({0.0, kOpEnd, 0});
        steps_.front().Slot = slotMask_;
        return std::move(steps_);
    }

private:
    enum class Kind { Computed, Const, Slot };
    struct Item {
        Kind kind;
        double value;
        unsigned slot;
    };

    static unsigned operandField(const Item& item)
    {
        return item.kind == Kind::Const ? kConstOperand : item.slot;
    }

    void addLeaf(const TermNode& node)
    {
        if (const int slot = slotOf(node.Code); slot >= 0) {
            slotMask_ |= std::uint16_t(1u << slot);
            items_.push_back({Kind::Slot, 0.0, unsigned(slot)});
            return;
        }
        pushConst(node.Code == kCodePi ? kPi : (node.Code == kCodeE ? kE : node.Value));
    }

    // Every node of a term is evaluated each time, so an undefined constant part makes the whole term
    // undefined.
    void pushConst(double value)
    {
        if (!applyLimits(value)) {
            alwaysUndefined_ = true;
            return;
        }
        items_.push_back({Kind::Const, value, 0});
    }

    void load(const Item& item)
    {
        steps_.push_back({item.value, kOpLoad, std::uint16_t(operandField(item))});
    }

    void replaceTopByComputed(std::size_t count)
    {
        items_.resize(items_.size() - count);
        items_.push_back({Kind::Computed, 0.0, 0});
    }

    void addUnary(std::uint16_t code)
    {
        const Item top = items_.back();
        if (top.kind == Kind::Const) {
            items_.pop_back();
            pushConst(unaryValue(code, top.value));
            return;
        }
        if (top.kind == Kind::Slot) {
            load(top);
        }
        const std::uint16_t op = unaryOp(code);
        steps_.push_back({0.0, op, std::uint16_t(op == kOpFunction ? code : 0)});
        replaceTopByComputed(1);
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
        const int index = binaryIndex(code);
        const bool leftComputed = left.kind == Kind::Computed;
        const bool rightComputed = right.kind == Kind::Computed;
        const bool smallIntExponent =
            code == kCodePow && right.kind == Kind::Const && isSmallIntExponent(right.value);
        if (leftComputed && rightComputed) {
            // The right operand is what the last step computed; a product of two leaves merges into this
            // step.
            TermStep& last = steps_.back();
            const bool additive = code == kCodeAdd || code == kCodeSub;
            if (additive && last.Op == binaryOp(kMul, kFormPair)) {
                last.Op = code == kCodeAdd ? kOpAddProductPair : kOpSubProductPair;
            } else if (additive && last.Op == kOpConstSlotProduct) {
                last.Op = code == kCodeAdd ? kOpAddConstSlotProduct : kOpSubConstSlotProduct;
            } else {
                steps_.push_back({0.0, binaryOp(index, kFormStack), 0});
            }
        } else if (leftComputed) {
            if (smallIntExponent) {
                steps_.push_back(powerStep(right.value, kOpPowIntRight, kOpSquareRight, kOpCubeRight, 0));
            } else {
                steps_.push_back(
                    {right.value, binaryOp(index, kFormRight), std::uint16_t(operandField(right))});
            }
        } else if (rightComputed) {
            steps_.push_back({left.value, binaryOp(index, kFormLeft), std::uint16_t(operandField(left))});
        } else if (smallIntExponent) {
            steps_.push_back(powerStep(right.value, kOpPowIntPair, kOpSquarePair, kOpCubePair, left.slot));
        } else {
            // At most one of the two is a constant (two would have been folded).
            const double value = left.kind == Kind::Const ? left.value : right.value;
            const bool constTimesSlot = code == kCodeMul && left.kind == Kind::Const;
            steps_.push_back({value, constTimesSlot ? kOpConstSlotProduct : binaryOp(index, kFormPair),
                              std::uint16_t(operandField(left) | operandField(right) << 4)});
        }
        replaceTopByComputed(2);
    }

    // A power with a constant small integer exponent; Slot holds the base's slot and |exponent| << 4.
    static TermStep powerStep(double exponent, std::uint16_t general, std::uint16_t square,
                              std::uint16_t cube, unsigned baseSlot)
    {
        const unsigned n = unsigned(std::fabs(exponent));
        const std::uint16_t op = exponent == 2 ? square : (exponent == 3 ? cube : general);
        return {exponent, op, std::uint16_t(baseSlot | n << 4)};
    }

    std::vector<TermStep> steps_;
    std::vector<Item> items_;
    std::uint16_t slotMask_ = 0;
    bool alwaysUndefined_ = false;
};

inline double operandA(const TermStep& step, const double* slots)
{
    const unsigned field = step.Slot & 15u;
    return field == kConstOperand ? step.Value : slots[field];
}

inline double operandB(const TermStep& step, const double* slots)
{
    const unsigned field = (step.Slot >> 4) & 15u;
    return field == kConstOperand ? step.Value : slots[field];
}

// Applies the node limits to the arguments in mask (those the term uses); false when one is unusable.
bool limitArguments(double* slots, unsigned mask)
{
    if (mask == 1u) {
        return applyLimits(slots[0]);
    }
    for (unsigned used = mask; used != 0; used &= used - 1) {
        if (!applyLimits(slots[std::countr_zero(used)])) {
            return false;
        }
    }
    return true;
}

double undefinedValue()
{
    EvalOk = false;
    return 0.0;
}

// Runs a program on arguments already within the node limits; sets EvalOk.
[[gnu::always_inline]] inline double runProgram(const std::vector<TermStep>& program, const double* slots)
{
    double stack[kEvalStackCapacity + 1];
    int sp = 0;
    double acc = 0.0;
    for (const TermStep* step = program.data() + 1;; ++step) {
        switch (step->Op) {
        case kOpLoad:
            stack[sp++] = acc;
            acc = operandA(*step, slots);
            continue;
        case binaryOp(kAdd, kFormStack):
            acc = stack[--sp] + acc;
            break;
        case binaryOp(kAdd, kFormRight):
            acc = acc + operandA(*step, slots);
            break;
        case binaryOp(kAdd, kFormLeft):
            acc = operandA(*step, slots) + acc;
            break;
        case binaryOp(kAdd, kFormPair):
            stack[sp++] = acc;
            acc = operandA(*step, slots) + operandB(*step, slots);
            break;
        case binaryOp(kSub, kFormStack):
            acc = stack[--sp] - acc;
            break;
        case binaryOp(kSub, kFormRight):
            acc = acc - operandA(*step, slots);
            break;
        case binaryOp(kSub, kFormLeft):
            acc = operandA(*step, slots) - acc;
            break;
        case binaryOp(kSub, kFormPair):
            stack[sp++] = acc;
            acc = operandA(*step, slots) - operandB(*step, slots);
            break;
        case binaryOp(kMul, kFormStack):
            acc = productValue(stack[--sp], acc);
            break;
        case binaryOp(kMul, kFormRight):
            acc = productValue(acc, operandA(*step, slots));
            break;
        case binaryOp(kMul, kFormLeft):
            acc = productValue(operandA(*step, slots), acc);
            break;
        case binaryOp(kMul, kFormPair):
            stack[sp++] = acc;
            acc = productValue(operandA(*step, slots), operandB(*step, slots));
            break;
        case binaryOp(kDiv, kFormStack):
            acc = quotientValue(stack[--sp], acc);
            break;
        case binaryOp(kDiv, kFormRight):
            acc = quotientValue(acc, operandA(*step, slots));
            break;
        case binaryOp(kDiv, kFormLeft):
            acc = quotientValue(operandA(*step, slots), acc);
            break;
        case binaryOp(kDiv, kFormPair):
            stack[sp++] = acc;
            acc = quotientValue(operandA(*step, slots), operandB(*step, slots));
            break;
        case binaryOp(kPow, kFormStack):
            acc = powerValue(acc, stack[--sp]);
            break;
        case binaryOp(kPow, kFormRight):
            acc = powerValue(operandA(*step, slots), acc);
            break;
        case binaryOp(kPow, kFormLeft):
            acc = powerValue(acc, operandA(*step, slots));
            break;
        case binaryOp(kPow, kFormPair):
            stack[sp++] = acc;
            acc = powerValue(operandB(*step, slots), operandA(*step, slots));
            break;
        case kOpPowIntRight:
            acc = smallIntPower(acc, step->Value, step->Slot >> 4);
            break;
        case kOpPowIntPair:
            stack[sp++] = acc;
            acc = smallIntPower(slots[step->Slot & 15u], step->Value, step->Slot >> 4);
            break;
        case kOpSquareRight:
            acc = positivePower<2>(acc);
            break;
        case kOpCubeRight:
            acc = positivePower<3>(acc);
            break;
        case kOpSquarePair:
            stack[sp++] = acc;
            acc = positivePower<2>(slots[step->Slot & 15u]);
            break;
        case kOpCubePair:
            stack[sp++] = acc;
            acc = positivePower<3>(slots[step->Slot & 15u]);
            break;
        case kOpNeg:
            acc = -acc;
            continue;
        // Every value reaching a function is 0 or within (1e-50, 1e50). From there sine and cosine stay
        // within the limits (no double lies closer than about 1e-19 to a zero of them), and so do exp below
        // the cut, ln and the square root of their defined arguments: these skip the node limit test.
        case kOpSin:
            acc = std::sin(acc);
            continue;
        case kOpCos:
            acc = std::cos(acc);
            continue;
        case kOpExp:
            if (acc >= 90) {
                return undefinedValue();
            }
            acc = acc <= -90 ? 0.0 : std::exp(acc);
            continue;
        case kOpLn:
            if (acc <= 0) {
                return undefinedValue();
            }
            acc = std::log(acc);
            continue;
        case kOpSqrt:
            if (acc < 0) {
                return undefinedValue();
            }
            acc = std::sqrt(acc);
            continue;
        case kOpAbs:
            acc = std::fabs(acc);
            continue;
        case kOpSqr:
            acc = acc * acc;
            break;
        case kOpFunction:
            acc = unaryValue(step->Slot, acc);
            break;
        case kOpAddProductPair: {
            double product = productValue(operandA(*step, slots), operandB(*step, slots));
            if (!applyLimits(product)) [[unlikely]] {
                return undefinedValue();
            }
            acc = acc + product;
            break;
        }
        case kOpSubProductPair: {
            double product = productValue(operandA(*step, slots), operandB(*step, slots));
            if (!applyLimits(product)) [[unlikely]] {
                return undefinedValue();
            }
            acc = acc - product;
            break;
        }
        case kOpConstSlotProduct:
            stack[sp++] = acc;
            acc = productValue(step->Value, slots[step->Slot >> 4]);
            break;
        case kOpAddConstSlotProduct: {
            double product = productValue(step->Value, slots[step->Slot >> 4]);
            if (!applyLimits(product)) [[unlikely]] {
                return undefinedValue();
            }
            acc = acc + product;
            break;
        }
        case kOpSubConstSlotProduct: {
            double product = productValue(step->Value, slots[step->Slot >> 4]);
            if (!applyLimits(product)) [[unlikely]] {
                return undefinedValue();
            }
            acc = acc - product;
            break;
        }
        case kOpEnd:
            EvalOk = true;
            return acc;
        case kOpFail:
            return undefinedValue();
        default:
            // The builder makes no other operation; telling the compiler so spares a range test per step.
            __builtin_unreachable();
        }
        if (!applyLimits(acc)) [[unlikely]] {
            return undefinedValue();
        }
    }
}

} // namespace

void BuildTermProgram(TermTree& tree)
{
    TermTreeAccess::program(tree) = ProgramBuilder().build(TermTreeAccess::nodes(tree));
}

// Both entries start on a cache line, so the speed of the inlined evaluation loop does not shift with the
// size of the code the linker places before them.
[[gnu::aligned(64)]] double EvaluateTerm(const TermTree& tree, double x, double t, double a, double b,
                                         double c, double d, double n)
{
    const auto& program = TermTreeAccess::program(tree);
    if (program.empty()) {
        return undefinedValue();
    }
    double slots[kSlotCount] = {x, t, a, b, c, d, n, WValue};
    if (!limitArguments(slots, program.front().Slot)) {
        return undefinedValue();
    }
    return runProgram(program, slots);
}

[[gnu::aligned(64)]] double EvaluateDerivative(const TermTree& tree, int order, double x, double t, double a,
                                               double b, double c, double d, double n)
{
    const auto& program = TermTreeAccess::program(tree);
    if (order == 0 || program.empty()) {
        return EvaluateTerm(tree, x, t, a, b, c, d, n);
    }
    // The arguments other than x are the same for every sample, so they are limited once.
    double slots[kSlotCount] = {x, t, a, b, c, d, n, WValue};
    const unsigned used = program.front().Slot;
    if (!limitArguments(slots, used & ~1u)) {
        return undefinedValue();
    }
    // Samples in the order of the formulas; the first undefined one ends the derivative.
    struct Formula {
        int count;
        std::array<double, 4> offsets;
    };
    const Formula formula = order == 1   ? Formula{4, {-2 * 0.001, -0.001, 0.001, 2 * 0.001}}
                            : order == 2 ? Formula{3, {0.005, 0.0, -0.005, 0.0}}
                                         : Formula{4, {-2 * 0.01, -0.01, 0.01, 2 * 0.01}};
    std::array<double, 4> f{};
    for (int k = 0; k < formula.count; ++k) {
        slots[0] = x + formula.offsets[std::size_t(k)];
        if (!limitArguments(slots, used & 1u)) {
            return undefinedValue();
        }
        f[std::size_t(k)] = runProgram(program, slots);
        if (!EvalOk) {
            return 0.0;
        }
    }
    if (order == 1) {
        return (f[0] - 8 * f[1] + 8 * f[2] - f[3]) / 0.012;
    }
    if (order == 2) {
        return (f[0] - 2 * f[1] + f[2]) / 0.000025;
    }
    return (2 * f[1] - f[0] - 2 * f[2] + f[3]) / 0.000002;
}

} // namespace kurvex
