// Term evaluation program: a tree flattened to stack-machine steps with constants folded, and its evaluation.
#include "core/fktpars.h"
#include "core/fktpars_internal.h"

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
                return {{0.0, kOpHeader, 0}, {0.0, kOpFail, 0}};
            }
        }
        if (items_.size() == 1 && items_.back().kind != Kind::Computed) {
            load(items_.back());
        }
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
            if (last.Op == binaryOp(kMul, kFormPair) && (code == kCodeAdd || code == kCodeSub)) {
                last.Op = code == kCodeAdd ? kOpAddProductPair : kOpSubProductPair;
            } else {
                steps_.push_back({0.0, binaryOp(index, kFormStack), 0});
            }
        } else if (leftComputed) {
            if (smallIntExponent) {
                steps_.push_back({right.value, kOpPowIntRight, std::uint16_t(std::fabs(right.value))});
            } else {
                steps_.push_back(
                    {right.value, binaryOp(index, kFormRight), std::uint16_t(operandField(right))});
            }
        } else if (rightComputed) {
            steps_.push_back({left.value, binaryOp(index, kFormLeft), std::uint16_t(operandField(left))});
        } else if (smallIntExponent) {
            const unsigned n = unsigned(std::fabs(right.value));
            steps_.push_back({right.value, kOpPowIntPair, std::uint16_t(left.slot | n << 4)});
        } else {
            // At most one of the two is a constant (two would have been folded).
            const double value = left.kind == Kind::Const ? left.value : right.value;
            steps_.push_back({value, binaryOp(index, kFormPair),
                              std::uint16_t(operandField(left) | operandField(right) << 4)});
        }
        replaceTopByComputed(2);
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
    const TermStep* const end = program.data() + program.size();
    for (const TermStep* step = program.data() + 1; step != end; ++step) {
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
            acc = smallIntPower(acc, step->Value, step->Slot);
            break;
        case kOpPowIntPair:
            stack[sp++] = acc;
            acc = smallIntPower(slots[step->Slot & 15u], step->Value, step->Slot >> 4);
            break;
        case kOpNeg:
            acc = -acc;
            continue;
        case kOpSin:
            acc = unaryValue(kCodeSin, acc);
            break;
        case kOpCos:
            acc = unaryValue(kCodeCos, acc);
            break;
        case kOpExp:
            acc = unaryValue(kCodeExp, acc);
            break;
        case kOpLn:
            acc = unaryValue(kCodeLn, acc);
            break;
        case kOpSqrt:
            acc = unaryValue(kCodeSqrt, acc);
            break;
        case kOpAbs:
            acc = std::fabs(acc);
            continue;
        case kOpSqr:
            acc = acc * acc;
            break;
        case kOpFunction:
            acc = unaryValue(step->Slot, acc);
            break;
        case kOpAddProductPair:
        case kOpSubProductPair: {
            double product = productValue(operandA(*step, slots), operandB(*step, slots));
            if (!applyLimits(product)) [[unlikely]] {
                return undefinedValue();
            }
            acc = step->Op == kOpAddProductPair ? acc + product : acc - product;
            break;
        }
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
    EvalOk = true;
    return acc;
}

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
        return undefinedValue();
    }
    double slots[kSlotCount] = {x, t, a, b, c, d, n, WValue};
    if (!limitArguments(slots, program.front().Slot)) {
        return undefinedValue();
    }
    return runProgram(program, slots);
}

double EvaluateDerivative(const TermTree& tree, int order, double x, double t, double a, double b, double c,
                          double d, double n)
{
    const auto& program = TermTreeAccess::program(tree);
    if (order == 0 || program.size() < 2) {
        return EvaluateTerm(tree, x, t, a, b, c, d, n);
    }
    // The arguments other than x are the same for every sample, so they are limited once.
    double slots[kSlotCount] = {x, t, a, b, c, d, n, WValue};
    const unsigned used = program.front().Slot;
    if (!limitArguments(slots, used & ~1u)) {
        return undefinedValue();
    }
    bool defined = true;
    const auto f = [&](double at) {
        if (!defined) {
            return 0.0;
        }
        slots[0] = at;
        const double value = limitArguments(slots, used & 1u) ? runProgram(program, slots) : undefinedValue();
        defined = EvalOk;
        return value;
    };
    // Samples in the order of the formulas; the first undefined one ends the derivative.
    double result = 0.0;
    if (order == 1) {
        constexpr double h = 0.001;
        const double f1 = f(x - 2 * h);
        const double f2 = f(x - h);
        const double f3 = f(x + h);
        const double f4 = f(x + 2 * h);
        result = (f1 - 8 * f2 + 8 * f3 - f4) / 0.012;
    } else if (order == 2) {
        constexpr double h = 0.005;
        const double f1 = f(x + h);
        const double f2 = f(x);
        const double f3 = f(x - h);
        result = (f1 - 2 * f2 + f3) / 0.000025;
    } else {
        constexpr double h = 0.01;
        const double f1 = f(x - 2 * h);
        const double f2 = f(x - h);
        const double f3 = f(x + h);
        const double f4 = f(x + 2 * h);
        result = (2 * f2 - f1 - 2 * f3 + f4) / 0.000002;
    }
    return defined ? result : undefinedValue();
}

} // namespace kurvex
