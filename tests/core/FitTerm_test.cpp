// The fitted term: label text and drawn term of every model with signs in each position, the drawn
// term at full precision, r with the slope's sign, tiny parameters, and compiling without a message.
#include "core/FitTerm.h"

#include "core/FitCheck.h"
#include "core/term/Term.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <string>
#include <vector>

namespace kurvex {
namespace {

struct TermCase {
    const char* name;
    int model;
    std::vector<double> params;
    std::string term;       // the label's term
    std::string parserTerm; // the drawn term
    std::function<double(double)> oracle;
    int numerator = 1;
    int denominator = 1;
};

double valueOf(const std::string& text, double x)
{
    TermTree tree;
    EXPECT_TRUE(CompileTermSilently(tree, text, true)) << text;
    const double v = EvaluateTerm(tree, x, 0, 0, 0, 0, 0, 0);
    EXPECT_TRUE(EvalOk) << text;
    return v;
}

class FitTermTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        SetSyntaxErrorHandler([this](int, const std::string& m, int) { messages.push_back(m); });
    }
    void TearDown() override { SetSyntaxErrorHandler(nullptr); }
    std::vector<std::string> messages;
};

TEST_F(FitTermTest, EveryModelsTermsWithTheirSignsCompileToTheModelsValue)
{
    const TermCase cases[] = {
        {"line",
         kRegLine,
         {-2.5, 1.5},
         "  1,500*x -2,500",
         "1.5*x-2.5",
         [](double x) { return 1.5 * x - 2.5; }},
        {"line, positive intercept",
         kRegLine,
         {0.25, -3},
         " -3,000*x+  0,250",
         "-3*x+0.25",
         [](double x) { return -3 * x + 0.25; }},
        {"proportional", kRegProportional, {-0.5}, " -0,500*x", "-0.5*x", [](double x) { return -0.5 * x; }},
        {"quadratic",
         kRegQuadratic,
         {1, -2, 0.5},
         "  1,000 -2,000x^1+  0,500x^2",
         "1-2*x^1+0.5*x^2",
         [](double x) { return 1 - 2 * x + 0.5 * x * x; }},
        {"polynomial with scientific numbers",
         kRegPolynomial,
         {-1000, 0.001, 0, 2500},
         " -1,000 E+3+  1,000 E-3x^1+  0,000x^2+  2,500 E+3x^3",
         "-1000+0.001*x^1+0*x^2+2500*x^3",
         [](double x) { return -1000 + 0.001 * x + 2500 * x * x * x; }},
        {"rational 1/1",
         kRegRational,
         {1, 2, 3},
         "(  1,000+  2,000x^1)/(1+  3,000x^1)",
         "(1+2*x^1)/(1+3*x^1)",
         [](double x) { return (1 + 2 * x) / (1 + 3 * x); }},
        {"rational 2/1",
         kRegRational,
         {1, -2, 0.5, -0.25},
         "(  1,000 -2,000x^1+  0,500x^2)/(1 -0,250x^1)",
         "(1-2*x^1+0.5*x^2)/(1-0.25*x^1)",
         [](double x) { return (1 - 2 * x + 0.5 * x * x) / (1 - 0.25 * x); },
         2,
         1},
        {"exponential decay",
         kRegExponential,
         {0, 3, 0.5},
         "  3,000*exp( -0,500*x)",
         "3*exp(-0.5*x)",
         [](double x) { return 3 * std::exp(-0.5 * x); }},
        {"exponential growth",
         kRegExponential,
         {0, 2, -0.25},
         "  2,000*exp(  0,250*x)",
         "2*exp(0.25*x)",
         [](double x) { return 2 * std::exp(0.25 * x); }},
        {"bounded growth",
         kRegBoundedGrowth,
         {10, 0.3, 1},
         " 10,000- 10,000*exp( -0,300*x)",
         "10-10*exp(-0.3*x)",
         [](double x) { return 10 * (1 - std::exp(-0.3 * x)); }},
        {"bounded growth, falling",
         kRegBoundedGrowth,
         {-5, 0.2, 2},
         "-10,000+  5,000*exp( -0,200*x)",
         "-10+5*exp(-0.2*x)",
         [](double x) { return -5 * (2 - std::exp(-0.2 * x)); }},
        {"power with a negative exponent",
         kRegPower,
         {2, -0.5},
         "  2,000*x^ -0,500",
         "2*x^-0.5",
         [](double x) { return 2 / std::sqrt(x); }},
        {"logistic",
         kRegLogistic,
         {0, 10, 1, 2},
         " 10,000/(1+exp( -1,000*x+  2,000))",
         "10/(1+exp(-1*x+2))",
         [](double x) { return 10 / (1 + std::exp(2 - x)); }},
        {"logistic, negative shift",
         kRegLogistic,
         {0, 4, -0.5, -1.5},
         "  4,000/(1+exp(  0,500*x -1,500))",
         "4/(1+exp(0.5*x-1.5))",
         [](double x) { return 4 / (1 + std::exp(-1.5 + 0.5 * x)); }},
        {"sine",
         kRegSine,
         {2, 1, -0.5, 1},
         "  2,000*sin(  1,000*x -0,500)+  1,000",
         "2*sin(1*x-0.5)+1",
         [](double x) { return 2 * std::sin(x - 0.5) + 1; }},
        {"sine, negative amplitude and offset",
         kRegSine,
         {-1.5, 0.5, 2, -3},
         " -1,500*sin(  0,500*x+  2,000) -3,000",
         "-1.5*sin(0.5*x+2)-3",
         [](double x) { return -1.5 * std::sin(0.5 * x + 2) - 3; }},
        {"a negative zero is a plain zero",
         kRegLine,
         {-0.0, 2},
         "  2,000*x+  0,000",
         "2*x+0",
         [](double x) { return 2 * x; }},
    };
    for (const TermCase& c : cases) {
        SCOPED_TRACE(c.name);
        FitTermInput in;
        in.regModel = c.model;
        in.params = c.params;
        in.numeratorDegree = c.numerator;
        in.denominatorDegree = c.denominator;
        in.r2 = 1.0;
        const FitTermTexts t = BuildFitTerm(in);
        EXPECT_EQ(t.term, c.term);
        EXPECT_EQ(t.parserTerm, c.parserTerm);
        for (const double x : {0.7, 1.3, 3.0}) {
            SCOPED_TRACE(x);
            EXPECT_NEAR(valueOf(t.parserTerm, x), c.oracle(x), 1e-12 * (1 + std::fabs(c.oracle(x))));
            EXPECT_NEAR(valueOf(NormalizeTerm(t.term), x), c.oracle(x), 1e-9 * (1 + std::fabs(c.oracle(x))));
        }
    }
    EXPECT_TRUE(messages.empty());
}

TEST_F(FitTermTest, DrawnTermKeepsEveryDigitTheLabelRoundsAway)
{
    FitTermInput in;
    in.regModel = kRegLine;
    in.params = {-2456.789012345678, 1.234567890123456};
    const FitTermTexts t = BuildFitTerm(in);
    EXPECT_EQ(t.term, "  1,235*x -2,457 E+3");
    EXPECT_EQ(t.parserTerm, "1.234567890123456*x-2456.789012345678");
    const double x = 2005.0;
    EXPECT_DOUBLE_EQ(valueOf(t.parserTerm, x), 1.234567890123456 * x - 2456.789012345678);
    EXPECT_GT(std::fabs(valueOf(NormalizeTerm(t.term), x) - valueOf(t.parserTerm, x)), 0.5)
        << "the label's numbers are too coarse to draw from at x = 2005";
}

TEST_F(FitTermTest, LongTermsAreNeverCut)
{
    FitTermInput in;
    in.regModel = kRegRational;
    in.numeratorDegree = 4;
    in.denominatorDegree = 4;
    in.digits = 4;
    in.params = {-1.2345e12, 2.5e-7, -3.75e9, 1.125e-8, -9.5e11, 6.5e-9, -7.25e10, 8.125e-7, -9.875e8};
    const FitTermTexts t = BuildFitTerm(in);
    EXPECT_GT(t.parserTerm.size(), 120u);
    EXPECT_EQ(t.parserTerm.back(), ')');
    EXPECT_NEAR(valueOf(t.parserTerm, 0.5), valueOf(NormalizeTerm(t.term), 0.5), 1e-3 * 1.2345e12);
    EXPECT_TRUE(messages.empty());
}

TEST_F(FitTermTest, CorrelationTextTakesTheSlopesSignAndInvertsR2AboveOne)
{
    const struct {
        const char* name;
        int model;
        std::vector<double> params;
        double r2;
        const char* rText;
    } cases[] = {
        {"rising line", kRegLine, {0, 2}, 1.0, "Korrelationskoeffizient: r =   1,000     "},
        {"falling line", kRegLine, {0, -2}, 1.0, "Korrelationskoeffizient: r =  -1,000     "},
        {"flat line counts as rising", kRegLine, {3, 0}, 1.0, "Korrelationskoeffizient: r =   1,000     "},
        {"falling proportional", kRegProportional, {-1}, 0.81, "Korrelationskoeffizient: r =  -0,900     "},
        {"exponential is unsigned",
         kRegExponential,
         {0, -1, 1},
         0.64,
         "Korrelationskoeffizient: r =   0,800     "},
        {"R2 above 1 is inverted", kRegPower, {1, 1}, 4.0, "Korrelationskoeffizient: r =   0,500     "},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        FitTermInput in;
        in.regModel = c.model;
        in.params = c.params;
        in.r2 = c.r2;
        const FitTermTexts t = BuildFitTerm(in);
        EXPECT_EQ(t.rText, c.rText);
        EXPECT_EQ(t.label(), t.termLine + t.rText);
        EXPECT_EQ(t.termLine, "f(x) = " + t.term + "     ");
        EXPECT_EQ(t.labelLines(), (std::vector<std::string>{"f(x) = " + t.term, c.rText}));
    }
}

TEST_F(FitTermTest, SineLineCarriesItsOwnRAndNoRText)
{
    FitTermInput in;
    in.regModel = kRegSine;
    in.params = {1, 2, 0, 0};
    in.sineR = 0.99;
    in.r2 = 0.0;
    const FitTermTexts t = BuildFitTerm(in);
    EXPECT_EQ(t.termLine,
              "f(x) =   1,000*sin(  2,000*x+  0,000)+  0,000     Korrelationskoeffizient: r =   0,990     ");
    EXPECT_EQ(t.rText, "");
    // In two lines, r stands below the term as for every other model.
    EXPECT_EQ(t.labelLines(), (std::vector<std::string>{"f(x) =   1,000*sin(  2,000*x+  0,000)+  0,000",
                                                        "Korrelationskoeffizient: r =   0,990     "}));
}

TEST_F(FitTermTest, TinyParametersBecomeZeroButNotFromOneE10On)
{
    std::vector<double> p{1e-11, 1e-10, -1e-11, -2e-10, 0.5};
    ZeroTinyParameters(p);
    EXPECT_EQ(p, (std::vector<double>{0.0, 1e-10, 0.0, -2e-10, 0.5}));
    FitTermInput in;
    in.regModel = kRegLine;
    in.params = {1e-10, 0.0};
    EXPECT_EQ(BuildFitTerm(in).term, "  0,000*x+  1,000 E-10");
}

TEST_F(FitTermTest, SilentCompileReportsNothingAndRestoresTheMessageHandler)
{
    TermTree tree;
    EXPECT_FALSE(CompileTermSilently(tree, "2*+x", true));
    EXPECT_TRUE(messages.empty());
    EXPECT_FALSE(CompileTerm(tree, "2*+x", true));
    EXPECT_EQ(messages.size(), 1u) << "the window's handler is back after a silent compile";
}

} // namespace
} // namespace kurvex
