// Term compiler tests: normalising, grammar, implicit "*", function-name order, numbers, modes, messages.
#include "fktpars_test_support.h"

#include <cmath>
#include <string>

namespace kurvex::testing {
namespace {

using CompileTest = ParserTest;

TEST(NormalizeTermTest, LowerCaseBlanksConstantsCommaAndComment)
{
    struct Case {
        const char* text;
        const char* normalised;
    };
    const Case cases[] = {
        {"X^2 + 2X", "x^2+2x"},
        {"2 PI x", "2\xF0x"},
        {"PHI(1)", "\xD6(1)"},
        {"phi(pi)", "\xD6(\xF0)"},
        {"2,5x", "2.5x"},
        {"x^2 {Parabel 1,5 PI}", "x^2{Parabel 1,5 PI}"},
        {"  ", ""},
        {"{Nur Kommentar}", "{Nur Kommentar}"},
        // Only ASCII letters change case: the markers and other high bytes stay.
        {"\xD6(1)+\xC4", "\xD6(1)+\xC4"},
    };
    for (const Case& c : cases) {
        const std::string once = NormalizeTerm(c.text);
        EXPECT_EQ(once, c.normalised) << c.text;
        EXPECT_EQ(NormalizeTerm(once), once) << "not idempotent: " << c.text;
    }
}

TEST_F(CompileTest, TreeShapeFollowsTheGrammar)
{
    ASSERT_TRUE(compile("2^3^2"));
    // Left-associative power: (2^3)^2.
    const TermNode* root = tree.root();
    ASSERT_NE(root, nullptr);
    EXPECT_EQ(root->Code, kCodePow);
    EXPECT_EQ(tree.left(*root)->Code, kCodePow);
    EXPECT_EQ(tree.right(*root)->Code, kCodeNumber);
    EXPECT_EQ(tree.right(*root)->Value, 2.0);

    ASSERT_TRUE(compile("-x^2"));
    EXPECT_EQ(tree.root()->Code, kCodeNeg);
    EXPECT_EQ(tree.left(*tree.root())->Code, kCodePow);
    EXPECT_EQ(tree.right(*tree.root()), nullptr);

    ASSERT_TRUE(compile("-2*3"));
    EXPECT_EQ(tree.root()->Code, kCodeMul);
    EXPECT_EQ(tree.left(*tree.root())->Code, kCodeNeg);

    ASSERT_TRUE(compile("+3"));
    EXPECT_EQ(tree.size(), 1u);
}

TEST_F(CompileTest, FunctionNamesArePrefixesSearchedInTableOrder)
{
    struct Case {
        const char* text;
        std::uint16_t rootCode;
        std::uint16_t leftCode;
    };
    const Case cases[] = {
        {"sinh(x)", kCodeSinh, kCodeX},    {"sin(x)", kCodeSin, kCodeX},
        {"sqr(x)", kCodeSqr, kCodeX},      {"sqrt(x)", kCodeSqrt, kCodeX},
        {"wurzel(x)", kCodeSqrt, kCodeX},  {"cosh(x)", kCodeCosh, kCodeX},
        {"coth(x)", kCodeCoth, kCodeX},    {"cot(x)", kCodeCot, kCodeX},
        {"tanh(x)", kCodeTanh, kCodeX},    {"exp(x)", kCodeExp, kCodeX},
        {"ex", kCodeMul, kCodeE},          {"ab", kCodeMul, kCodeA},
        {"abs(x)", kCodeAbs, kCodeX},      {"de", kCodeMul, kCodeD},
        {"deg(x)", kCodeDeg, kCodeX},      {"phi(1)", kCodePhi, kCodeNumber},
        {"PHI(1)", kCodePhi, kCodeNumber}, {"sgn(x)", kCodeSign, kCodeX},
        {"sign(x)", kCodeSign, kCodeX},    {"maxint(x)", kCodeMaxint, kCodeX},
        {"int(x)", kCodeInt, kCodeX},      {"arccot(x)", kCodeArccot, kCodeX},
        {"blanc(x)", kCodeBlanc, kCodeX},  {"normal(x)", kCodeNormal, kCodeX},
        {"fak(x)", kCodeFak, kCodeX},      {"ld(x)", kCodeLd, kCodeX},
        {"lg(x)", kCodeLg, kCodeX},        {"rad(x)", kCodeRad, kCodeX},
    };
    for (const Case& c : cases) {
        ASSERT_TRUE(compile(c.text)) << c.text;
        EXPECT_EQ(tree.root()->Code, c.rootCode) << c.text;
        EXPECT_EQ(tree.left(*tree.root())->Code, c.leftCode) << c.text;
    }
}

TEST_F(CompileTest, ImplicitMultiplicationIsRepaired)
{
    struct Case {
        const char* text;
        double x;
        double expected;
        int stars;
    };
    const Case cases[] = {
        {"2x", 3, 6, 1},
        {"sin(2x)", 0.25, std::sin(0.5), 1},
        {"(x+1)(x-1)", 3, 8, 1},
        {"x(x+1)", 2, 6, 1},
        {"2sin(x)", 1, 2 * std::sin(1.0), 1},
        {"1/4x^2", 2, 1, 1},
        {"-x/(3-2x)(x+4)", 1, -5, 2},
        {"2ab", 0, 2 * 3 * 5, 2},
        {"2pix", 1, 2 * 3.141592653589793, 2},
        {"X^2 + 2X", 3, 15, 1},
        {"2,5x", 2, 5, 1},
    };
    for (const Case& c : cases) {
        ASSERT_TRUE(compile(c.text)) << c.text;
        EXPECT_TRUE(messages.empty()) << c.text;
        EXPECT_EQ(StarCount, c.stars) << c.text;
        EXPECT_NEAR(EvaluateTerm(tree, c.x, 0, 3, 5, 0, 0, 0), c.expected, 1e-12) << c.text;
        EXPECT_TRUE(EvalOk) << c.text;
    }
}

TEST_F(CompileTest, SyntaxErrorsGiveCodeMessageAndPosition)
{
    struct Case {
        const char* text;
        int code;
        int position;
    };
    const Case cases[] = {
        {"2*-3", kSyntaxUnknownSymbol, 3},    {"2+-3", kSyntaxUnknownSymbol, 3},
        {"--3", kSyntaxUnknownSymbol, 2},     {"x+", kSyntaxIncomplete, 3},
        {"sin(", kSyntaxIncomplete, 5},       {"(x+1", kSyntaxIncomplete, 5},
        {"((x)", kSyntaxIncomplete, 5},       {"x+1)", kSyntaxExtraCloseParen, 4},
        {")", kSyntaxExtraCloseParen, 1},     {"2x+)", kSyntaxExtraCloseParen, 4},
        {"sinx", kSyntaxMissingOpenParen, 4}, {"sin x", kSyntaxMissingOpenParen, 4},
        {"3.", kSyntaxBadNumber, 3},          {".5", kSyntaxBadNumber, 1},
        {"2e", kSyntaxBadNumber, 3},          {"2ex", kSyntaxBadNumber, 3},
        {"3exp(x)", kSyntaxBadNumber, 3},     {"2e+x", kSyntaxBadNumber, 4},
        {"{x}", kSyntaxUnknownSymbol, 1},     {"x?", kSyntaxUnknownSymbol, 2},
        {"y", kSyntaxUnknownSymbol, 1},       {"2 x * ", kSyntaxIncomplete, 4},
        {"pi*?", kSyntaxUnknownSymbol, 3},
    };
    for (const Case& c : cases) {
        EXPECT_FALSE(compile(c.text)) << c.text;
        EXPECT_TRUE(tree.empty()) << c.text;
        EXPECT_FALSE(EvalOk) << c.text;
        EXPECT_TRUE(ParseError) << c.text;
        EXPECT_EQ(SyntaxErrorCode, c.code) << c.text;
        EXPECT_EQ(SyntaxErrorPos, c.position) << c.text;
        ASSERT_EQ(messages.size(), 1u) << c.text;
        EXPECT_EQ(messages[0].code, c.code) << c.text;
        EXPECT_EQ(messages[0].position, c.position) << c.text;
        EXPECT_EQ(messages[0].message, "Syntaxfehler: " + std::string(SyntaxErrorTexts[std::size_t(c.code)]))
            << c.text;
    }
}

TEST_F(CompileTest, MessageTextsAreExact)
{
    compile("x+");
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].message, "Syntaxfehler: unvollst\xE4ndig ");
    compile("sinx");
    EXPECT_EQ(messages[0].message, "Syntaxfehler: Klammer \"(\" fehlt ");
    compile("x)");
    EXPECT_EQ(messages[0].message, "Syntaxfehler: Klammer \")\" zuviel ");
    compile("1.");
    EXPECT_EQ(messages[0].message, "Syntaxfehler: Zahldarstellung ");
    compile("x$");
    EXPECT_EQ(messages[0].message, "Syntaxfehler: unbekanntes Symbol ");
}

TEST_F(CompileTest, SuccessClearsTheErrorState)
{
    compile("x+");
    ASSERT_TRUE(compile("x+1"));
    EXPECT_FALSE(ParseError);
    EXPECT_EQ(SyntaxErrorCode, kSyntaxNoError);
    EXPECT_TRUE(EvalOk);
    EXPECT_TRUE(messages.empty());
}

TEST_F(CompileTest, SignIsRefusedOnlyAfterArithmeticOperators)
{
    struct Case {
        const char* text;
        double expected;
    };
    const Case cases[] = {
        {"2^3^2", 64},  {"-2^2", -4}, {"2^-1", 0.5}, {"-3", -3},  {"(-3)", -3},
        {"2*(-3)", -6}, {"-2*3", -6}, {"+3", 3},     {"2^+2", 4}, {"2^-2^2", 0.0625},
    };
    for (const Case& c : cases) {
        EXPECT_NEAR(valueOf(c.text), c.expected, 1e-15) << c.text;
        EXPECT_TRUE(EvalOk) << c.text;
    }
}

TEST_F(CompileTest, EmptyBlankAndCommentTexts)
{
    struct Case {
        const char* text;
        double x;
        double expected;
    };
    const Case cases[] = {{"", 5, 0}, {"   ", 5, 0}, {"x^2 {Parabel}", 3, 9}, {"x {a {b} c}", 2, 2}};
    for (const Case& c : cases) {
        EXPECT_EQ(valueOf(c.text, c.x), c.expected) << c.text;
        EXPECT_TRUE(messages.empty()) << c.text;
    }
}

TEST_F(CompileTest, NumberForms)
{
    struct Case {
        const char* text;
        double expected;
    };
    const Case cases[] = {
        {"2e3", 2000}, {"1.5e-3", 0.0015}, {"2.5E+2", 250},
        {"007", 7},    {"0.125", 0.125},   {"e2", 2 * 2.718281828459045},
        {"1e-60", 0},  {"1e-400", 0},      {"12345678901234567890", 12345678901234567890.0},
    };
    for (const Case& c : cases) {
        EXPECT_DOUBLE_EQ(valueOf(c.text), c.expected) << c.text;
        EXPECT_TRUE(EvalOk) << c.text;
    }
    // Too large for a double: compiles, and is undefined as every value beyond the node limit.
    EXPECT_TRUE(compile("1e400"));
    EvaluateTerm(tree, 0, 0, 0, 0, 0, 0, 0);
    EXPECT_FALSE(EvalOk);
}

TEST_F(CompileTest, ModesDecideWhichLettersAreLeaves)
{
    struct Case {
        bool allowVariables;
        bool integrand;
        bool sequence;
        const char* text;
        bool accepted;
    };
    const Case cases[] = {
        {false, false, false, "x", false},   {false, false, false, "t", false},
        {false, false, false, "w", false},   {false, false, false, "a", true},
        {false, false, false, "e", true},    {false, false, false, "pi", true},
        {false, false, false, "n", false},   {true, false, false, "x", true},
        {true, false, false, "t", true},     {true, false, false, "w", false},
        {true, false, false, "n", false},    {true, false, true, "x", false},
        {true, false, true, "n", true},      {false, false, true, "n", true},
        {true, true, false, "x", false},     {true, true, false, "n", false},
        {true, true, false, "w", true},      {true, true, false, "t", true},
        {false, true, false, "w", false},    {true, true, true, "n", false},
        {true, false, false, "b+c+d", true},
    };
    for (const Case& c : cases) {
        IntegrandMode = c.integrand;
        SequenceMode = c.sequence;
        EXPECT_EQ(compile(c.text, c.allowVariables), c.accepted)
            << c.text << " vars=" << c.allowVariables << " integrand=" << c.integrand
            << " seq=" << c.sequence;
        EXPECT_EQ(AllowVariables, c.allowVariables);
        if (!c.accepted) {
            EXPECT_EQ(SyntaxErrorCode, kSyntaxUnknownSymbol) << c.text;
            EXPECT_EQ(SyntaxErrorPos, 1) << c.text;
        }
    }
}

TEST_F(CompileTest, NestingBeyondTheBoundIsASyntaxError)
{
    const std::string deepest = std::string(kMaxTermNesting, '(') + "x" + std::string(kMaxTermNesting, ')');
    EXPECT_EQ(valueOf(deepest, 4), 4);

    const std::string tooDeep =
        std::string(kMaxTermNesting + 1, '(') + "x" + std::string(kMaxTermNesting + 1, ')');
    EXPECT_FALSE(compile(tooDeep));
    EXPECT_EQ(SyntaxErrorCode, kSyntaxTooDeep);
    EXPECT_EQ(SyntaxErrorPos, kMaxTermNesting + 1);
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].message, "Syntaxfehler: Term zu tief geschachtelt ");

    // Signs after "^" and function calls nest as well.
    std::string powerChain = "2";
    for (int i = 0; i < 300; ++i) {
        powerChain += "^-2";
    }
    EXPECT_FALSE(compile(powerChain));
    EXPECT_EQ(SyntaxErrorCode, kSyntaxTooDeep);
    std::string functions;
    for (int i = 0; i < 300; ++i) {
        functions += "sin(";
    }
    EXPECT_FALSE(compile(functions + "x" + std::string(300, ')')));
    EXPECT_EQ(SyntaxErrorCode, kSyntaxTooDeep);
}

TEST_F(CompileTest, LongFlatTermsNeedNoNesting)
{
    std::string sum = "1";
    for (int i = 0; i < 5000; ++i) {
        sum += "+x";
    }
    EXPECT_EQ(valueOf(sum, 2), 10001);
}

TEST_F(CompileTest, ParseTermMakesOnePassWithoutRepair)
{
    AllowVariables = true;
    messages.clear();
    EXPECT_TRUE(ParseTerm("2x").empty());
    EXPECT_EQ(SyntaxErrorCode, kSyntaxTextLeft);
    EXPECT_TRUE(messages.empty());
    EXPECT_TRUE(ParseTerm("x+").empty());
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].position, 3);
    const TermTree sum = ParseTerm("2*x+1");
    ASSERT_FALSE(sum.empty());
    EXPECT_EQ(EvaluateTerm(sum, 3, 0, 0, 0, 0, 0, 0), 7);
}

TEST_F(CompileTest, InitAndDoneParserManageTheSharedTerms)
{
    FreeTerm(ParsedTerm);
    InitParser();
    for (const TermTree* term : {&ParsedTerm, &ParsedTerm2, &ParsedNumber}) {
        ASSERT_FALSE(term->empty());
        EXPECT_EQ(EvaluateTerm(*term, 7, 1, 2, 3, 4, 5, 6), 0);
        EXPECT_TRUE(EvalOk);
    }
    DoneParser();
    EXPECT_TRUE(ParsedTerm.empty());
    EXPECT_TRUE(ParsedTerm2.empty());
    EXPECT_TRUE(ParsedNumber.empty());
    InitParser();
}

TEST_F(CompileTest, WrittenBackTextCompilesToTheSameTree)
{
    for (const char* text : {"PHI(1)*x", "2 PI x", "x^2 {Parabel 1,5}", "Wurzel(X)+sinh(2x)"}) {
        ASSERT_TRUE(compile(text)) << text;
        const std::vector<TermNode> first = tree.nodes();
        ASSERT_TRUE(compile(NormalizeTerm(text))) << text;
        ASSERT_EQ(tree.nodes().size(), first.size()) << text;
        for (std::size_t i = 0; i < first.size(); ++i) {
            EXPECT_EQ(tree.nodes()[i].Code, first[i].Code) << text;
            EXPECT_EQ(tree.nodes()[i].Value, first[i].Value) << text;
        }
    }
}

TEST_F(CompileTest, FreeTermEmptiesAndEvaluatingNothingIsUndefined)
{
    ASSERT_TRUE(compile("x+1"));
    FreeTerm(tree);
    EXPECT_TRUE(tree.empty());
    EXPECT_EQ(tree.root(), nullptr);
    EvalOk = true;
    EXPECT_EQ(EvaluateTerm(tree, 1, 0, 0, 0, 0, 0, 0), 0);
    EXPECT_FALSE(EvalOk);
    FreeTerm(tree);
}

TEST_F(CompileTest, NoHandlerMeansNoMessageButTheStateIsSet)
{
    SetSyntaxErrorHandler(nullptr);
    EXPECT_FALSE(CompileTerm(tree, "x+", true));
    EXPECT_EQ(SyntaxErrorPos, 3);
}

} // namespace
} // namespace kurvex::testing
