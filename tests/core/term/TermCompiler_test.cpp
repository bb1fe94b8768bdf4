// Term compiler tests: normalising, grammar, implicit "*", function-name order, numbers, modes, messages.
#include "core/term/TermTestSupport.h"

#include <cmath>
#include <map>
#include <numbers>
#include <string>

namespace kurvex::testing {
namespace {

using CompileTest = ParserTest;
using std::numbers::e;

// Variables allowed or not, and the window mode set while compiling.
enum Modes { kVars, kConst, kSeq, kSeqConst, kInteg, kIntegConst, kIntegSeq };

bool applyModes(Modes modes)
{
    IntegrandMode = modes == kInteg || modes == kIntegConst || modes == kIntegSeq;
    SequenceMode = modes == kSeq || modes == kSeqConst || modes == kIntegSeq;
    return modes != kConst && modes != kSeqConst && modes != kIntegConst;
}

TEST(NormalizeTermTest, LowerCaseBlanksMarkersCommaAndComment)
{
    const std::map<std::string, std::string> cases = {
        {"X^2 + 2X", "x^2+2x"},
        {"2 PI x", "2\xF0x"},
        {"PHI(1)", "\xD6(1)"},
        {"phi(pi)", "\xD6(\xF0)"},
        {"2,5x", "2.5x"},
        {"x^2 {Parabel 1,5 PI}", "x^2{Parabel 1,5 PI}"},
        {"  ", ""},
        {"{Nur Kommentar}", "{Nur Kommentar}"},
        {"\xD6(1)+\xC4", "\xD6(1)+\xC4"}, // only ASCII letters change case, so a marker survives
    };
    for (const auto& [text, normalised] : cases) {
        EXPECT_EQ(NormalizeTerm(text), normalised) << text;
        EXPECT_EQ(NormalizeTerm(normalised), normalised) << "written back: " << text;
    }
}

// Evaluated at x with t = 2, a = 3, b = 5, c = 7, d = 11, n = 13; stars is the number of inserted "*".
struct Accepted {
    const char* text;
    Modes modes;
    double x;
    double value;
    int stars;
};

const Accepted kAccepted[] = {
    {"", kVars, 5, 0, 0},
    {"   ", kVars, 5, 0, 0},
    {"X^2 + 2X", kVars, 3, 15, 1},
    {"2,5x", kVars, 2, 5, 1},
    {"x^2 {Parabel}", kVars, 3, 9, 0},
    {"x {a {b} c}", kVars, 2, 2, 0},
    {"2^3^2", kVars, 0, 64, 0},
    {"-2^2", kVars, 0, -4, 0},
    {"-x^2", kVars, 3, -9, 0},
    {"2^-1", kVars, 0, 0.5, 0},
    {"2^-2^2", kVars, 0, 0.0625, 0},
    {"2^+2", kVars, 0, 4, 0},
    {"+3", kVars, 0, 3, 0},
    {"(-3)", kVars, 0, -3, 0},
    {"2*(-3)", kVars, 0, -6, 0},
    {"8/4/2", kVars, 0, 1, 0},
    {"8-4-2", kVars, 0, 2, 0},
    {"2x", kVars, 3, 6, 1},
    {"sin(2x)", kVars, 0.25, std::sin(0.5), 1},
    {"(x+1)(x-1)", kVars, 3, 8, 1},
    {"x(x+1)", kVars, 2, 6, 1},
    {"2sin(x)", kVars, 1, 2 * std::sin(1.0), 1},
    {"1/4x^2", kVars, 2, 1, 1},
    {"-x/(3-2x)(x+4)", kVars, 1, -5, 2},
    {"2ab", kVars, 0, 30, 2},
    {"2pix", kVars, 1, 2 * std::numbers::pi, 2},
    {"sinh(x)", kVars, 1, std::sinh(1.0), 0},
    {"cosh(x)", kVars, 1, std::cosh(1.0), 0},
    {"tanh(x)", kVars, 1, std::tanh(1.0), 0},
    {"coth(x)", kVars, 1, 1 / std::tanh(1.0), 0},
    {"sqr(x)", kVars, 3, 9, 0},
    {"sqrt(x)", kVars, 9, 3, 0},
    {"wurzel(x)", kVars, 9, 3, 0},
    {"exp(x)", kVars, 1, e, 0},
    {"ex", kVars, 2, 2 * e, 1},
    {"abs(x)", kVars, -2, 2, 0},
    {"ab", kVars, 0, 15, 1},
    {"deg(x)", kVars, std::numbers::pi, 180, 0},
    {"de", kVars, 0, 11 * e, 1},
    {"phi(x)", kVars, 0, 0.5, 0},
    {"PHI(x)", kVars, 0, 0.5, 0},
    {"arcsin(x)", kVars, 1, std::numbers::pi / 2, 0},
    {"2e3", kVars, 0, 2000, 0},
    {"1.5e-3", kVars, 0, 0.0015, 0},
    {"2.5E+2", kVars, 0, 250, 0},
    {"007", kVars, 0, 7, 0},
    {"e2", kVars, 0, 2 * e, 1},
    {"1e-60", kVars, 0, 0, 0},
    {"1e-400", kVars, 0, 0, 0},
    {"12345678901234567890", kVars, 0, 12345678901234567890.0, 0},
    {"t", kVars, 0, 2, 0},
    {"a+b+c+d", kConst, 0, 26, 0},
    {"e", kConst, 0, e, 0},
    {"pi", kConst, 0, std::numbers::pi, 0},
    {"n", kSeq, 0, 13, 0},
    {"n", kSeqConst, 0, 13, 0},
    {"t", kSeq, 0, 2, 0},
    {"w", kInteg, 5, 0, 0},
    {"t", kInteg, 0, 2, 0},
};

TEST_F(CompileTest, AcceptedTextsAndTheirValues)
{
    for (const Accepted& c : kAccepted) {
        SCOPED_TRACE(c.text);
        const bool allowVariables = applyModes(c.modes);
        ASSERT_TRUE(compile(c.text, allowVariables));
        EXPECT_TRUE(messages.empty());
        EXPECT_EQ(StarCount, c.stars);
        EXPECT_EQ(AllowVariables, allowVariables);
        const double value = EvaluateTerm(tree, c.x, 2, 3, 5, 7, 11, 13);
        EXPECT_TRUE(EvalOk);
        EXPECT_NEAR(value, c.value, 1e-13 * std::max(1.0, std::fabs(c.value)));
    }
}

// Position counts in the normalised text as typed: without blanks, inserted "*" taken off again.
struct Refused {
    const char* text;
    Modes modes;
    int code;
    int position;
};

const Refused kRefused[] = {
    {"2*-3", kVars, kSyntaxUnknownSymbol, 3},    {"2+-3", kVars, kSyntaxUnknownSymbol, 3},
    {"--3", kVars, kSyntaxUnknownSymbol, 2},     {"x+", kVars, kSyntaxIncomplete, 3},
    {"sin(", kVars, kSyntaxIncomplete, 5},       {"(x+1", kVars, kSyntaxIncomplete, 5},
    {"((x)", kVars, kSyntaxIncomplete, 5},       {"2(x", kVars, kSyntaxIncomplete, 4},
    {"2 x * ", kVars, kSyntaxIncomplete, 4},     {"x+1)", kVars, kSyntaxExtraCloseParen, 4},
    {")", kVars, kSyntaxExtraCloseParen, 1},     {"2x+)", kVars, kSyntaxExtraCloseParen, 4},
    {"sinx", kVars, kSyntaxMissingOpenParen, 4}, {"sin x", kVars, kSyntaxMissingOpenParen, 4},
    {"sin", kVars, kSyntaxMissingOpenParen, 4},  {"3.", kVars, kSyntaxBadNumber, 3},
    {".5", kVars, kSyntaxBadNumber, 1},          {"2e", kVars, kSyntaxBadNumber, 3},
    {"2ex", kVars, kSyntaxBadNumber, 3},         {"3exp(x)", kVars, kSyntaxBadNumber, 3},
    {"2e+x", kVars, kSyntaxBadNumber, 4},        {"{x}", kVars, kSyntaxUnknownSymbol, 1},
    {"x?", kVars, kSyntaxUnknownSymbol, 2},      {"y", kVars, kSyntaxUnknownSymbol, 1},
    {"pi*?", kVars, kSyntaxUnknownSymbol, 3},    {"x", kConst, kSyntaxUnknownSymbol, 1},
    {"t", kConst, kSyntaxUnknownSymbol, 1},      {"w", kConst, kSyntaxUnknownSymbol, 1},
    {"n", kConst, kSyntaxUnknownSymbol, 1},      {"w", kVars, kSyntaxUnknownSymbol, 1},
    {"n", kVars, kSyntaxUnknownSymbol, 1},       {"x", kSeq, kSyntaxUnknownSymbol, 1},
    {"w", kSeq, kSyntaxUnknownSymbol, 1},        {"x", kInteg, kSyntaxUnknownSymbol, 1},
    {"n", kInteg, kSyntaxUnknownSymbol, 1},      {"w", kIntegConst, kSyntaxUnknownSymbol, 1},
    {"x", kIntegSeq, kSyntaxUnknownSymbol, 1},   {"n", kIntegSeq, kSyntaxUnknownSymbol, 1},
};

const std::map<int, std::string> kReasons = {
    {kSyntaxMissingCloseParen, "Klammer \")\" fehlt "},
    {kSyntaxMissingOpenParen, "Klammer \"(\" fehlt "},
    {kSyntaxBadNumber, "Zahldarstellung "},
    {kSyntaxIncomplete, "unvollst\xE4ndig "},
    {kSyntaxUnknownSymbol, "unbekanntes Symbol "},
    {kSyntaxExtraCloseParen, "Klammer \")\" zuviel "},
    {kSyntaxTooDeep, "Term zu tief geschachtelt "},
};

TEST_F(CompileTest, RefusedTextsGiveOneMessageWithCodeAndPosition)
{
    for (const auto& [code, reason] : kReasons) {
        EXPECT_EQ(SyntaxErrorTexts[std::size_t(code)], reason);
    }
    for (const Refused& c : kRefused) {
        SCOPED_TRACE(c.text);
        EXPECT_FALSE(compile(c.text, applyModes(c.modes)));
        EXPECT_TRUE(tree.empty());
        EXPECT_FALSE(EvalOk);
        EXPECT_EQ(SyntaxErrorCode, c.code);
        EXPECT_EQ(SyntaxErrorPos, c.position);
        ASSERT_EQ(messages.size(), 1u);
        EXPECT_EQ(messages[0].code, c.code);
        EXPECT_EQ(messages[0].position, c.position);
        EXPECT_EQ(messages[0].message, "Syntaxfehler: " + kReasons.at(c.code));
    }
    // The next good compilation clears the error state.
    ASSERT_TRUE(compile("x+1", applyModes(kVars)));
    EXPECT_FALSE(ParseError);
    EXPECT_EQ(SyntaxErrorCode, kSyntaxNoError);
}

TEST_F(CompileTest, NestingBeyondTheBoundIsASyntaxErrorAtThatPosition)
{
    const auto nested = [](int depth) { return std::string(depth, '(') + "x" + std::string(depth, ')'); };
    EXPECT_EQ(valueOf(nested(kMaxTermNesting), 4), 4);
    EXPECT_FALSE(compile(nested(kMaxTermNesting + 1)));
    EXPECT_EQ(SyntaxErrorCode, kSyntaxTooDeep);
    EXPECT_EQ(SyntaxErrorPos, kMaxTermNesting + 1);
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].message, "Syntaxfehler: Term zu tief geschachtelt ");

    // Signs after "^" and function calls nest as well.
    std::string powers = "2";
    std::string functions;
    for (int i = 0; i < 300; ++i) {
        powers += "^-2";
        functions += "sin(";
    }
    for (const std::string& text : {powers, functions + "x" + std::string(300, ')')}) {
        EXPECT_FALSE(compile(text));
        EXPECT_EQ(SyntaxErrorCode, kSyntaxTooDeep);
    }
}

TEST_F(CompileTest, ParseTermMakesOnePassWithoutRepair)
{
    AllowVariables = true;
    EXPECT_TRUE(ParseTerm("2x").empty());
    EXPECT_EQ(SyntaxErrorCode, kSyntaxTextLeft);
    EXPECT_TRUE(messages.empty());
    EXPECT_TRUE(ParseTerm("x+").empty());
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].position, 3);
    EXPECT_EQ(EvaluateTerm(ParseTerm("2*x+1"), 3, 0, 0, 0, 0, 0, 0), 7);
}

TEST_F(CompileTest, SharedTermsLiveFromInitToDoneParser)
{
    for (const bool init : {false, true}) {
        init ? InitParser() : DoneParser();
        for (const TermTree* term : {&ParsedTerm, &ParsedTerm2, &ParsedNumber}) {
            EXPECT_EQ(EvaluateTerm(*term, 7, 1, 2, 3, 4, 5, 6), 0);
            EXPECT_EQ(EvalOk, init); // nothing to evaluate after DoneParser
        }
    }
}

TEST_F(CompileTest, WithoutAHandlerTheStateIsStillSet)
{
    SetSyntaxErrorHandler(nullptr);
    EXPECT_FALSE(CompileTerm(tree, "x+", true));
    EXPECT_EQ(SyntaxErrorPos, 3);
}

TEST_F(CompileTest, AHandlerThatCompilesDoesNotTurnTheFailureIntoSuccess)
{
    // A message box runs an event loop, in which another term may be compiled.
    TermTree other;
    SetSyntaxErrorHandler([&other](int, const std::string&, int) { CompileTerm(other, "2x", true); });
    EXPECT_FALSE(CompileTerm(tree, "(x+", true));
    EXPECT_TRUE(tree.empty());
    EXPECT_EQ(EvaluateTerm(other, 4, 0, 0, 0, 0, 0, 0), 8);
}

} // namespace
} // namespace kurvex::testing
