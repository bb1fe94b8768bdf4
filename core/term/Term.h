// Term compiler and evaluator: school-notation term texts to node trees, their values and numeric
// derivatives.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace kurvex {

// Node codes of a compiled term. Two-operand operators carry their character code.
inline constexpr std::uint16_t kCodeNumber = 0;
inline constexpr std::uint16_t kCodeX = 1;
inline constexpr std::uint16_t kCodeT = 2;
inline constexpr std::uint16_t kCodeW = 4;
inline constexpr std::uint16_t kCodePi = 5;
inline constexpr std::uint16_t kCodeE = 6;
inline constexpr std::uint16_t kCodeA = 7;
inline constexpr std::uint16_t kCodeB = 8;
inline constexpr std::uint16_t kCodeC = 9;
inline constexpr std::uint16_t kCodeD = 50;
inline constexpr std::uint16_t kCodeN = 37;
inline constexpr std::uint16_t kCodeLn = 10;
inline constexpr std::uint16_t kCodeLg = 11;
inline constexpr std::uint16_t kCodeLd = 12;
inline constexpr std::uint16_t kCodeExp = 13;
inline constexpr std::uint16_t kCodeSin = 14;
inline constexpr std::uint16_t kCodeCos = 15;
inline constexpr std::uint16_t kCodeTan = 16;
inline constexpr std::uint16_t kCodeCot = 17;
inline constexpr std::uint16_t kCodeArcsin = 18;
inline constexpr std::uint16_t kCodeArccos = 19;
inline constexpr std::uint16_t kCodeArctan = 20;
inline constexpr std::uint16_t kCodeArccot = 21;
inline constexpr std::uint16_t kCodeSinh = 22;
inline constexpr std::uint16_t kCodeCosh = 23;
inline constexpr std::uint16_t kCodeTanh = 24;
inline constexpr std::uint16_t kCodeCoth = 25;
inline constexpr std::uint16_t kCodeSqrt = 26;
inline constexpr std::uint16_t kCodeSqr = 27;
inline constexpr std::uint16_t kCodeNormal = 28;
inline constexpr std::uint16_t kCodePhi = 29;
inline constexpr std::uint16_t kCodeAbs = 30;
inline constexpr std::uint16_t kCodeSign = 31;
inline constexpr std::uint16_t kCodeMaxint = 32;
inline constexpr std::uint16_t kCodeInt = 33;
inline constexpr std::uint16_t kCodeDeg = 34;
inline constexpr std::uint16_t kCodeRad = 35;
inline constexpr std::uint16_t kCodeFak = 36;
inline constexpr std::uint16_t kCodeBlanc = 38;
inline constexpr std::uint16_t kCodeAdd = '+';
inline constexpr std::uint16_t kCodeSub = '-';
inline constexpr std::uint16_t kCodeMul = '*';
inline constexpr std::uint16_t kCodeDiv = '/';
inline constexpr std::uint16_t kCodePow = '^';
inline constexpr std::uint16_t kCodeNeg = 105;

// Index value of an empty node reference.
inline constexpr std::int32_t kNoNode = -1;

// One node of a compiled term. Left and Right index nodes of the same tree.
struct TermNode {
    std::uint16_t Code = kCodeNumber;
    double Value = 0.0;
    std::int32_t Left = kNoNode;
    std::int32_t Right = kNoNode;
};

namespace detail {
// One step of a term's evaluation program (operation, operand slot, constant).
struct TermStep {
    double Value = 0.0;
    std::uint16_t Op = 0;
    std::uint16_t Slot = 0;
};
} // namespace detail

// A compiled term: its nodes in one block, children stored before their parent, the root last.
// Only the compiler builds one, so every tree is well-formed.
class TermTree {
public:
    bool empty() const noexcept { return nodes_.empty(); }
    std::size_t size() const noexcept { return nodes_.size(); }
    std::int32_t rootIndex() const noexcept
    {
        return nodes_.empty() ? kNoNode : std::int32_t(nodes_.size() - 1);
    }
    const TermNode* root() const noexcept { return nodes_.empty() ? nullptr : &nodes_.back(); }
    const TermNode& node(std::int32_t index) const { return nodes_.at(std::size_t(index)); }
    const TermNode* left(const TermNode& n) const noexcept
    {
        return n.Left < 0 ? nullptr : &nodes_[std::size_t(n.Left)];
    }
    const TermNode* right(const TermNode& n) const noexcept
    {
        return n.Right < 0 ? nullptr : &nodes_[std::size_t(n.Right)];
    }
    const std::vector<TermNode>& nodes() const noexcept { return nodes_; }

private:
    friend struct TermTreeAccess;
    std::vector<TermNode> nodes_;
    // Evaluation form of the nodes, prepared by the compiler (opaque outside the term code).
    std::vector<detail::TermStep> program_;
};

struct FunctionName {
    std::string_view Name;
    std::uint16_t Code;
};

// Searched in this order by prefix, so "sinh" wins over "sin" and every name over a one-letter leaf.
inline constexpr std::array<FunctionName, 30> FunctionNameTable{{
    {"ln", kCodeLn},         {"lg", kCodeLg},         {"ld", kCodeLd},         {"sinh", kCodeSinh},
    {"cosh", kCodeCosh},     {"tanh", kCodeTanh},     {"coth", kCodeCoth},     {"sqrt", kCodeSqrt},
    {"wurzel", kCodeSqrt},   {"sqr", kCodeSqr},       {"exp", kCodeExp},       {"sin", kCodeSin},
    {"cos", kCodeCos},       {"tan", kCodeTan},       {"cot", kCodeCot},       {"arcsin", kCodeArcsin},
    {"arccos", kCodeArccos}, {"arctan", kCodeArctan}, {"arccot", kCodeArccot}, {"normal", kCodeNormal},
    {"\xD6", kCodePhi},      {"abs", kCodeAbs},       {"sign", kCodeSign},     {"sgn", kCodeSign},
    {"maxint", kCodeMaxint}, {"int", kCodeInt},       {"deg", kCodeDeg},       {"rad", kCodeRad},
    {"fak", kCodeFak},       {"blanc", kCodeBlanc},
}};

// Syntax error codes (index into SyntaxErrorTexts).
inline constexpr int kSyntaxMissingCloseParen = 0;
inline constexpr int kSyntaxMissingOpenParen = 1;
inline constexpr int kSyntaxBadNumber = 2;
inline constexpr int kSyntaxIncomplete = 3;
inline constexpr int kSyntaxTextLeft = 4;
inline constexpr int kSyntaxUnknownSymbol = 5;
inline constexpr int kSyntaxExtraCloseParen = 6;
inline constexpr int kSyntaxTooDeep = 7;
// Not a syntax error: a typed term longer than its edit's variable can keep.
inline constexpr int kTermTooLong = 8;
inline constexpr int kSyntaxNoError = 10;

// Windows-1252 texts, trailing blanks included.
inline constexpr std::array<std::string_view, 11> SyntaxErrorTexts{{
    "Klammer \")\" fehlt ",
    "Klammer \"(\" fehlt ",
    "Zahldarstellung ",
    "unvollst\xE4ndig ",
    "",
    "unbekanntes Symbol ",
    "Klammer \")\" zuviel ",
    "Term zu tief geschachtelt ",
    "",
    "",
    "",
}};

// Parentheses, signs and functions nested deeper than this are a syntax error, not a stack overflow.
inline constexpr int kMaxTermNesting = 200;

// Parser modes. x, t and w are admitted only with AllowVariables; IntegrandMode makes w the variable and
// refuses x; SequenceMode makes n the variable and refuses x.
inline bool AllowVariables = false;
inline bool IntegrandMode = false;
inline bool SequenceMode = false;

// State of the last compilation.
inline bool ParseError = false;
inline int SyntaxErrorCode = kSyntaxNoError;
inline int SyntaxErrorPos = 0;
inline int StarCount = 0;

// False after a failed compilation or an undefined value; callers skip the point then.
inline bool EvalOk = true;
// Value of the variable w; nothing assigns it.
inline double WValue = 0.0;

// The shared terms: the current function, a second function and the scratch term of number edits.
inline TermTree ParsedTerm;
inline TermTree ParsedTerm2;
inline TermTree ParsedNumber;

// Receives every syntax message: code, "Syntaxfehler: " + reason (Windows-1252) and 1-based position.
using SyntaxErrorHandler = std::function<void(int code, const std::string& message, int position)>;
void SetSyntaxErrorHandler(SyntaxErrorHandler handler);

// A term as a UTF-8 file holds it, as the program's Windows-1252 term: a real π or Φ becomes the
// program's byte for it (0xF0, 0xD6); a character Windows-1252 has no byte for becomes "?".
std::string TermFromUtf8(std::string_view utf8);
// The program's term as UTF-8 text with real π and Φ.
std::string TermToUtf8(std::string_view cp1252);

// Lower case (ASCII only), no blanks, "pi" -> 0xF0, "phi" -> 0xD6, "," -> "."; the "{" comment kept as is.
std::string NormalizeTerm(std::string_view text);
// Compiles text into tree with implicit "*" repair; reports a syntax error and leaves tree empty on failure.
// Sets EvalOk and returns it.
bool CompileTerm(TermTree& tree, std::string_view text, bool allowVariables);
// CompileTerm without a syntax message, for terms the program writes itself (a fitted curve) and
// for texts whose failure the caller handles without a message.
bool CompileTermSilently(TermTree& tree, std::string_view text, bool allowVariables);
// One pass over an already normalised text, no repair; empty tree on a syntax error.
TermTree ParseTerm(std::string_view text);
void FreeTerm(TermTree& tree);
// Records position as SyntaxErrorPos and hands the message of SyntaxErrorCode to the handler.
void ShowSyntaxError(int position);
// Hands "Der Term ist zu lang ..." with the limit to the same handler, with code kTermTooLong.
void ShowTermTooLong(std::size_t limit);
void InitParser();
void DoneParser();

// Value at x with t, a, b, c, d and the sequence index n; EvalOk false when undefined (so for an empty
// tree).
double EvaluateTerm(const TermTree& tree, double x, double t, double a, double b, double c, double d,
                    double n);
// Order 0 value, 1 and 2 first and second derivative, any other order the third derivative (in x).
double EvaluateDerivative(const TermTree& tree, int order, double x, double t, double a, double b, double c,
                          double d, double n);
// base^exponent; clears EvalOk when undefined.
double SafePower(double exponent, double base);
// Standard normal distribution function.
double Phi(double u);
// Factorial for integers 0..32; clears EvalOk otherwise.
double fak(double u);
// Takagi (blancmange) function.
double blanc(double u);

} // namespace kurvex
