// Term parser robustness: random and adversarial texts compile without crash, and the evaluation program
// agrees with a plain walk of the node tree.
#include "fktpars_test_support.h"

#include <array>
#include <cmath>
#include <random>
#include <string>

namespace kurvex::testing {
namespace {

// Evaluates the node tree the slow way, one node at a time, each operation through a term of its own.
class ReferenceEvaluator {
public:
    explicit ReferenceEvaluator(const std::array<double, 7>& args) : args_(args) {}

    // False when undefined.
    bool evaluate(const TermTree& tree, double& value)
    {
        ok_ = true;
        value = node(tree, tree.rootIndex());
        return ok_;
    }

private:
    static TermTree compileOperation(const std::string& text)
    {
        TermTree term;
        EXPECT_TRUE(CompileTerm(term, text, true)) << text;
        return term;
    }

    double limited(double v)
    {
        if (!(std::fabs(v) < 1e50)) {
            ok_ = false;
            return 0;
        }
        return std::fabs(v) <= 1e-50 ? 0.0 : v;
    }

    double apply(std::uint16_t code, double p, double q)
    {
        std::string text;
        switch (code) {
        case kCodeNeg:
            text = "-a";
            break;
        case kCodeAdd:
        case kCodeSub:
        case kCodeMul:
        case kCodeDiv:
        case kCodePow:
            text = std::string("a") + char(code) + "b";
            break;
        default:
            for (const FunctionName& row : FunctionNameTable) {
                if (row.Code == code) {
                    text = std::string(row.Name) + "(a)";
                    break;
                }
            }
        }
        const TermTree term = compileOperation(text);
        const double r = EvaluateTerm(term, 0, 0, p, q, 0, 0, 0);
        if (!EvalOk) {
            ok_ = false;
        }
        return r;
    }

    double node(const TermTree& tree, std::int32_t index)
    {
        const TermNode& n = tree.node(index);
        switch (n.Code) {
        case kCodeNumber:
            return limited(n.Value);
        case kCodeX:
            return limited(args_[0]);
        case kCodeT:
            return limited(args_[1]);
        case kCodeA:
            return limited(args_[2]);
        case kCodeB:
            return limited(args_[3]);
        case kCodeC:
            return limited(args_[4]);
        case kCodeD:
            return limited(args_[5]);
        case kCodeN:
            return limited(args_[6]);
        case kCodeW:
            return limited(WValue);
        case kCodePi:
            return 3.141592653589793;
        case kCodeE:
            return 2.718281828459045;
        default:
            break;
        }
        const double p = node(tree, n.Left);
        if (!ok_) {
            return 0;
        }
        double q = 0;
        if (n.Right != kNoNode) {
            q = node(tree, n.Right);
            if (!ok_) {
                return 0;
            }
        }
        const double r = apply(n.Code, p, q);
        return ok_ ? limited(r) : 0;
    }

    std::array<double, 7> args_;
    bool ok_ = true;
};

const char* const kLeaves[] = {"x", "a",   "b",    "t",   "pi",    "e",    "2",
                               "0", "0.5", "3,25", "1e3", "1e-40", "1e30", "7"};
const char* const kFunctions[] = {
    "sin",  "cos",  "tan",  "cot",  "ln",     "lg",     "ld",     "exp",    "sqrt",   "wurzel",
    "sqr",  "fak",  "abs",  "sgn",  "sign",   "int",    "maxint", "phi",    "normal", "blanc",
    "sinh", "cosh", "tanh", "coth", "arcsin", "arccos", "arctan", "arccot", "deg",    "rad",
};
const char* const kOperators[] = {"+", "-", "*", "/", "^", ""};
const char* const kJunk[] = {"(", ")", "-", "^", "*", "?", ".", "e", "{", " ", "sin", "2", "x"};

// A term from the grammar (with implicit products), sometimes damaged by one random piece.
std::string randomTerm(std::mt19937& rng, int depth)
{
    auto pick = [&rng](std::size_t count) {
        return std::uniform_int_distribution<std::size_t>(0, count - 1)(rng);
    };
    const std::size_t kind = depth <= 0 ? 0 : pick(5);
    switch (kind) {
    case 1:
        return "(" + randomTerm(rng, depth - 1) + ")";
    case 2:
        return std::string(kFunctions[pick(std::size(kFunctions))]) + "(" + randomTerm(rng, depth - 1) + ")";
    case 3:
    case 4: {
        const std::string op = kOperators[pick(std::size(kOperators))];
        std::string right = randomTerm(rng, depth - 1);
        if (pick(6) == 0) {
            right = "(-" + right + ")";
        }
        return randomTerm(rng, depth - 1) + op + right;
    }
    default:
        return (pick(8) == 0 ? "-" : "") + std::string(kLeaves[pick(std::size(kLeaves))]);
    }
}

std::string damaged(std::mt19937& rng, std::string text)
{
    std::uniform_int_distribution<std::size_t> where(0, text.size());
    std::uniform_int_distribution<std::size_t> junk(0, std::size(kJunk) - 1);
    text.insert(where(rng), kJunk[junk(rng)]);
    return text;
}

class RobustTest : public ParserTest {
protected:
    // Compiles text; when it compiles, checks the evaluation against the reference at a few points.
    void check(const std::string& text)
    {
        if (!compile(text)) {
            EXPECT_TRUE(tree.empty());
            EXPECT_LE(messages.size(), 1u);
            return;
        }
        ++compiled;
        for (const double x : {-2.0, -0.5, 0.0, 1e-3, 3.0, 7.5, 1e30}) {
            const std::array<double, 7> args{x, 0.7, 1.5, -2.5, 0, 0, 0};
            double expected = 0;
            ReferenceEvaluator reference(args);
            const TermTree copy = tree;
            const bool defined = reference.evaluate(copy, expected);
            const double value =
                EvaluateTerm(tree, args[0], args[1], args[2], args[3], args[4], args[5], args[6]);
            ASSERT_EQ(EvalOk, defined) << text << " at x = " << x;
            if (defined) {
                ASSERT_TRUE(std::isfinite(value));
                ASSERT_EQ(value, expected) << text << " at x = " << x;
            }
        }
    }

    int compiled = 0;
};

TEST_F(RobustTest, RandomTermsAgreeWithTheTreeWalk)
{
    std::mt19937 rng(20261207);
    std::uniform_int_distribution<int> depth(0, 6);
    std::bernoulli_distribution damage(0.3);
    for (int i = 0; i < 3000; ++i) {
        std::string text = randomTerm(rng, depth(rng));
        if (text.size() > 200) {
            text.resize(200);
        }
        check(damage(rng) ? damaged(rng, text) : text);
    }
    // The generator must produce enough valid terms to mean something.
    EXPECT_GT(compiled, 1500);
}

TEST_F(RobustTest, RandomBytes)
{
    std::mt19937 rng(4711);
    std::uniform_int_distribution<int> byte(0, 255);
    std::uniform_int_distribution<std::size_t> length(0, 200);
    for (int i = 0; i < 3000; ++i) {
        std::string text(length(rng), '\0');
        for (char& c : text) {
            c = char(byte(rng));
        }
        check(text);
    }
    // Embedded zero bytes are characters like any other.
    EXPECT_FALSE(compile(std::string("x+\0", 3)));
    EXPECT_EQ(SyntaxErrorPos, 3);
}

TEST_F(RobustTest, AdversarialTexts)
{
    const std::string adversarial[] = {
        std::string(10000, '('),
        std::string(10000, '(') + "x" + std::string(10000, ')'),
        std::string(10000, ')'),
        "2^" + std::string(10000, '-') + "2",
        [] {
            std::string s = "2";
            for (int i = 0; i < 5000; ++i) {
                s += "^-2";
            }
            return s;
        }(),
        std::string(2000, 'x'),
        std::string(2000, '9') + "e99999999999999999999",
        "0." + std::string(3000, '0') + "1",
        std::string(3000, '1') + "e-99999",
        std::string(1000, ',') + "5",
        std::string(3000, '{'),
        "sin(" + std::string(400, '-'),
    };
    for (const std::string& text : adversarial) {
        check(text);
    }
    // Deep nesting fails at the bound with its own message, never deeper.
    EXPECT_FALSE(compile(std::string(10000, '(')));
    EXPECT_EQ(SyntaxErrorCode, kSyntaxTooDeep);
    EXPECT_EQ(SyntaxErrorPos, kMaxTermNesting + 1);
}

TEST_F(RobustTest, LongImplicitProductsTerminate)
{
    std::string text;
    for (int i = 0; i < 200; ++i) {
        text += "2x";
    }
    ASSERT_TRUE(compile(text));
    EXPECT_EQ(StarCount, 399);
    EXPECT_EQ(EvaluateTerm(tree, 1, 0, 0, 0, 0, 0, 0), 0); // 2^200 is beyond the node limit
    EXPECT_FALSE(EvalOk);
    check(text);
}

} // namespace
} // namespace kurvex::testing
