// Term parser robustness: random and adversarial texts compile without crash, and the evaluation program
// (folded, fused) agrees with a plain walk of the node tree.
#include "core/term/TermInternal.h"
#include "core/term/TermTestSupport.h"

#include <array>
#include <cmath>
#include <optional>
#include <random>
#include <string>

namespace kurvex::testing {
namespace {

// The node tree evaluated node by node, each value put through the node limits; nullopt when undefined.
std::optional<double> walk(const TermTree& tree, std::int32_t index, const std::array<double, 8>& args)
{
    constexpr std::uint16_t kLeafCodes[] = {kCodeX, kCodeT, kCodeA, kCodeB, kCodeC, kCodeD, kCodeN, kCodeW};
    const TermNode& n = tree.node(index);
    double v = 0;
    if (n.Left == kNoNode) {
        v = n.Code == kCodePi ? kPi : (n.Code == kCodeE ? kE : n.Value);
        for (std::size_t i = 0; i < std::size(kLeafCodes); ++i) {
            if (n.Code == kLeafCodes[i]) {
                v = args[i];
            }
        }
    } else {
        const auto p = walk(tree, n.Left, args);
        const auto q = n.Right == kNoNode ? std::optional<double>(0.0) : walk(tree, n.Right, args);
        if (!p || !q) {
            return std::nullopt;
        }
        v = n.Right == kNoNode ? unaryValue(n.Code, *p) : binaryValue(n.Code, *p, *q);
    }
    return applyLimits(v) ? std::optional<double>(v) : std::nullopt;
}

const char* const kLeaves[] = {"x", "a",   "b",    "t",   "pi",    "e",    "2",
                               "0", "0.5", "3,25", "1e3", "1e-40", "1e30", "7"};
const char* const kFunctions[] = {
    "sin",  "cos",  "tan",  "cot",  "ln",     "lg",     "ld",     "exp",    "sqrt",   "wurzel",
    "sqr",  "fak",  "abs",  "sgn",  "sign",   "int",    "maxint", "phi",    "normal", "blanc",
    "sinh", "cosh", "tanh", "coth", "arcsin", "arccos", "arctan", "arccot", "deg",    "rad",
};
const char* const kOperators[] = {"+", "-", "*", "/", "^", ""};
const char* const kJunk[] = {"(", ")", "-", "^", "*", "?", ".", "e", "{", " ", "sin", "2", "x"};

// A term from the grammar (with implicit products), sometimes with a negated right operand.
std::string randomTerm(std::mt19937& rng, int depth)
{
    const auto pick = [&rng](std::size_t count) {
        return std::uniform_int_distribution<std::size_t>(0, count - 1)(rng);
    };
    switch (depth <= 0 ? 0 : pick(5)) {
    case 1:
        return "(" + randomTerm(rng, depth - 1) + ")";
    case 2:
        return std::string(kFunctions[pick(std::size(kFunctions))]) + "(" + randomTerm(rng, depth - 1) + ")";
    case 3:
    case 4: {
        const std::string op = kOperators[pick(std::size(kOperators))];
        const std::string right = randomTerm(rng, depth - 1);
        return randomTerm(rng, depth - 1) + op + (pick(6) == 0 ? "(-" + right + ")" : right);
    }
    default:
        return (pick(8) == 0 ? "-" : "") + std::string(kLeaves[pick(std::size(kLeaves))]);
    }
}

class RobustTest : public ParserTest {
protected:
    // Compiles text; when it compiles, EvalOk and the value must match the tree walk at a few points.
    void check(const std::string& text)
    {
        if (!compile(text)) {
            EXPECT_TRUE(tree.empty());
            EXPECT_LE(messages.size(), 1u);
            return;
        }
        ++compiled;
        for (const double x : {-2.0, -0.5, 0.0, 1e-3, 3.0, 7.5, 1e30}) {
            const std::array<double, 8> args{x, 0.7, 1.5, -2.5, 0, 0, 0, 0};
            const std::optional<double> expected = walk(tree, tree.rootIndex(), args);
            const double value =
                EvaluateTerm(tree, args[0], args[1], args[2], args[3], args[4], args[5], args[6]);
            ASSERT_EQ(EvalOk, expected.has_value()) << text << " at x = " << x;
            if (expected) {
                ASSERT_EQ(value, *expected) << text << " at x = " << x;
            }
        }
    }

    int compiled = 0;
};

TEST_F(RobustTest, RandomTermsAgreeWithTheTreeWalk)
{
    std::mt19937 rng(20261207);
    for (int i = 0; i < 3000; ++i) {
        std::string text = randomTerm(rng, std::uniform_int_distribution<int>(0, 6)(rng));
        text.resize(std::min<std::size_t>(text.size(), 200));
        if (rng() % 3 == 0) {
            text.insert(rng() % (text.size() + 1), kJunk[rng() % std::size(kJunk)]);
        }
        check(text);
    }
    EXPECT_GT(compiled, 1500); // enough valid terms to mean something
}

TEST_F(RobustTest, RandomBytes)
{
    std::mt19937 rng(4711);
    for (int i = 0; i < 3000; ++i) {
        std::string text(rng() % 201, '\0');
        for (char& c : text) {
            c = char(rng());
        }
        check(text);
    }
    // A zero byte is a character like any other.
    EXPECT_FALSE(compile(std::string("x+\0", 3)));
    EXPECT_EQ(SyntaxErrorPos, 3);
}

TEST_F(RobustTest, AdversarialTexts)
{
    std::string powers = "2";
    std::string implicit;
    std::string sum = "1";
    for (int i = 0; i < 5000; ++i) {
        powers += "^-2";
        sum += "+x";
        implicit += i < 200 ? "2x" : "";
    }
    for (const std::string& text : {
             std::string(10000, '('),
             std::string(10000, '(') + "x" + std::string(10000, ')'),
             std::string(10000, ')'),
             "2^" + std::string(10000, '-') + "2",
             powers,
             std::string(2000, 'x'),
             std::string(2000, '9') + "e99999999999999999999",
             "0." + std::string(3000, '0') + "1",
             std::string(3000, '1') + "e-99999",
             std::string(1000, ',') + "5",
             std::string(3000, '{'),
             "sin(" + std::string(400, '-'),
             sum,
             implicit,
         }) {
        check(text);
    }
    EXPECT_FALSE(compile(std::string(10000, '(')));
    EXPECT_EQ(SyntaxErrorPos, kMaxTermNesting + 1);
    // A long flat sum needs no nesting; 200 implicit products end after 399 repairs.
    EXPECT_EQ(valueOf(sum, 2), 10001);
    ASSERT_TRUE(compile(implicit));
    EXPECT_EQ(StarCount, 399);
}

} // namespace
} // namespace kurvex::testing
