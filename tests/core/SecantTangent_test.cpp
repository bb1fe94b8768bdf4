// Secant and tangent computations: slope text, the lines through P and Q and at P, the undefined
// cases, pieced-together functions, bar size, fixed-secant order and example numbers.
#include "core/SecantTangent.h"

#include "core/Settings.h"
#include "core/term/Term.h"
#include "support/RestoreShared.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

namespace kurvex {
namespace {

TermTree compiled(const char* term)
{
    TermTree tree;
    EXPECT_TRUE(CompileTerm(tree, term, true)) << term;
    return tree;
}

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

TEST(SlopeText, FiveSignificantDigitsWithADecimalComma)
{
    struct Case {
        double m;
        const char* text;
    };
    const Case cases[] = {
        {4.0, "4"},
        {2.0000000000293, "2"}, // a numeric derivative's tail is cut off
        {1.0 / 3.0, "0,33333"},
        {0.5, "0,5"},
        {-0.99859, "-0,99859"},
        {-2.5, "-2,5"},
        {0.0, "0"},
        {12345.4, "12345"},
        {99999.4, "99999"},
        {99999.5, "1E05"}, // rounding carries into a sixth integer digit
        {123456.7, "1,2346E05"},
        {-1.5e20, "-1,5E20"},
        {0.00001, "0,00001"},
        {0.0000123456, "0,000012346"}, // still at least 0.00001
        {0.0000099999, "9,9999E-06"},
        {1e-300, "1E-300"},
        {kInf, "nicht definiert"},
        {kNaN, "nicht definiert"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.m);
        EXPECT_EQ(SlopeText(c.m), c.text);
    }
}

TEST(SecantLine, ThroughPAndQAndBeyondBothByTheTangentLength)
{
    // x² with P at 1 and Q at 3.
    const auto s = SecantLine(1, 1, 3, 9, 1.0, 1.0);
    ASSERT_TRUE(s);
    EXPECT_DOUBLE_EQ(s->slope, 4.0);
    EXPECT_DOUBLE_EQ(s->intercept, -3.0);
    EXPECT_DOUBLE_EQ(s->at(1), 1.0);
    EXPECT_DOUBLE_EQ(s->at(3), 9.0);
    // One tick step along the line beyond each point: the horizontal part is cos(arctan 4).
    const double h = 1.0 / std::sqrt(17.0);
    EXPECT_NEAR(s->xFrom, 1 - h, 1e-12);
    EXPECT_NEAR(s->xTo, 3 + h, 1e-12);
    EXPECT_NEAR(std::hypot(s->xTo - 3, s->at(s->xTo) - 9), 1.0, 1e-12);

    // Q left of P: the line still runs from the left point's side to the right one's.
    const auto left = SecantLine(1, 1, -2, 4, 2.0, 0.5);
    ASSERT_TRUE(left);
    EXPECT_DOUBLE_EQ(left->slope, -1.0);
    EXPECT_NEAR(left->xFrom, -2 - std::sqrt(0.5), 1e-12);
    EXPECT_NEAR(left->xTo, 1 + std::sqrt(0.5), 1e-12);
}

TEST(SecantLine, NoneWhereQLiesOnPOrTheNumbersOverflow)
{
    EXPECT_FALSE(SecantLine(1, 1, 1, 1, 1, 1));
    EXPECT_FALSE(SecantLine(0, -1e308, 1e-300, 1e308, 1, 1)); // slope beyond the doubles
    EXPECT_FALSE(SecantLine(-1e300, -1e308, 1e300, 1e308, 1, 1));
    // A finite slope whose intercept is not.
    EXPECT_FALSE(SecantLine(1e300, 0, std::nextafter(1e300, kInf), 1e300, 1, 1));
    // Far but sound: the slope of two points 2e308 apart is 0.
    EXPECT_TRUE(SecantLine(-1e308, 0, 1e308, 1, 1, 1));
}

TEST(TangentLine, SlopeFromTheDerivativeAndNoneWhereUndefined)
{
    const TermSlots none;
    const auto t = TangentLine(compiled("x^2"), 1.0, none, 1.0, 1.0);
    ASSERT_TRUE(t);
    EXPECT_NEAR(t->line.slope, 2.0, 1e-9);
    EXPECT_EQ(SlopeText(t->line.slope), "2");
    EXPECT_DOUBLE_EQ(t->y0, 1.0);
    EXPECT_NEAR(t->line.at(1.0), 1.0, 1e-12);
    EXPECT_NEAR(t->line.xTo - 1.0, 1.0 / std::sqrt(5.0), 1e-9);

    struct Case {
        const char* term;
        double x0;
    };
    // f' undefined where f is defined (a sample left of 0), f undefined, both undefined.
    const Case undefined[] = {{"sqrt(x)", 0.0005}, {"sqrt(x)", 0}, {"1/x", 0}, {"ln(x)", -1}};
    for (const Case& c : undefined) {
        SCOPED_TRACE(c.term);
        EXPECT_FALSE(TangentLine(compiled(c.term), c.x0, none, 1, 1));
    }
    // A symmetric difference at a kink is defined.
    const auto kink = TangentLine(compiled("abs(x)"), 0, none, 1, 1);
    ASSERT_TRUE(kink);
    EXPECT_DOUBLE_EQ(kink->line.slope, 0.0);
}

TEST(TangentLine, PointIsReadWithTheSlopeInTheTSlotAsTheDrawnLinesLeaveIt)
{
    // f(x) = x + t with t = 7: the slope is 1, and the touching point reads t as that slope.
    const auto t = TangentLine(compiled("x+t"), 2.0, TermSlots{7.0, 0.0, 0.0}, 1, 1);
    ASSERT_TRUE(t);
    EXPECT_NEAR(t->line.slope, 1.0, 1e-9);
    EXPECT_NEAR(t->y0, 3.0, 1e-9);
}

TEST(PiecewiseValue, LeftPieceAtAndLeftOfTheJunction)
{
    const TermTree f1 = compiled("x^2");
    const TermTree f2 = compiled("2x-1");
    const TermSlots s;
    EXPECT_DOUBLE_EQ(*PiecewiseValueAt(f1, f2, 1.0, 1.0, s), 1.0);
    EXPECT_DOUBLE_EQ(*PiecewiseValueAt(f1, f2, 1.0, 0.5, s), 0.25);
    EXPECT_DOUBLE_EQ(*PiecewiseValueAt(f1, f2, 1.0, 1.5, s), 2.0);
    // A jump: 1/4 x² up to 1, then 1/x; an undefined right piece stays undefined.
    const TermTree g1 = compiled("1/4x^2");
    const TermTree g2 = compiled("1/x");
    EXPECT_DOUBLE_EQ(*PiecewiseValueAt(g1, g2, 1.0, 1.0, s), 0.25);
    EXPECT_NEAR(*PiecewiseValueAt(g1, g2, 1.0, 1.00001, s), 1.0, 1e-4);
    EXPECT_DOUBLE_EQ(*PiecewiseValueAt(g1, g2, 1.0, 0.0, s), 0.0); // f2's pole is not f's
    EXPECT_FALSE(PiecewiseValueAt(g1, g2, -1.0, 0.0, s));
}

TEST(PointBar, HundredPositionsPerTickAndNeverBelowOne)
{
    struct Case {
        double span, tick;
        int max;
    };
    const Case cases[] = {
        {14, 1, 1400}, {14, 2, 700}, {0.14, 0.02, 700}, {0.001, 1, 1}, // 0.1 positions: one
        {0, 1, 1},     {-14, 1, 1},  {kNaN, 1, 1},      {14, kNaN, 1}, {1e7, 1e-9, 1'000'000'000},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.span << " / " << c.tick);
        EXPECT_EQ(PointBarMaximum(c.span, c.tick), c.max);
    }
}

TEST(SweepPosition, QFarOutsideStartsAtTheNearerEnd)
{
    struct Case {
        double x, expected;
    };
    const Case cases[] = {{2, 2}, {7.03, 7.03}, {-20, -20}, {21, 21}, {21.5, 7}, {1e12, 7}, {-1e300, -7}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.x);
        EXPECT_EQ(SweepPosition(c.x, -7, 7), c.expected);
    }
}

TEST(FixedSecants, OldestFirstAndTheCurrentLast)
{
    RecordList list;
    for (const auto& [x, colour] :
         {std::pair(2.0, clRed), std::pair(3.0, clGreen), std::pair(-1.0, clBlue)}) {
        ListInsert(list, 1, FixedSecantRecord(x, colour));
    }
    const std::vector<SecantPass> passes = SecantPasses(list, 0.5, clBlack);
    ASSERT_EQ(passes.size(), 4u);
    const double xs[] = {2.0, 3.0, -1.0, 0.5};
    const TColor colours[] = {clRed, clGreen, clBlue, clBlack};
    for (std::size_t i = 0; i < passes.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(passes[i].xQ, xs[i]);
        EXPECT_EQ(passes[i].color, colours[i]);
        EXPECT_EQ(passes[i].current, i == 3);
    }
    ListClear(list);
    EXPECT_EQ(SecantPasses(list, 1, clBlack).size(), 1u);
}

TEST(Examples, WorldWindowOfAFetchedExampleIsChecked)
{
    const RestoreShared<IniSettingsRecord> restore(IniSettings);
    IniSettings.x1 = -7;
    IniSettings.x2 = 7;
    IniSettings.y1 = -5;
    IniSettings.y2 = 5;
    const WorldRect start{-7, 7, -5, 5};
    struct Case {
        const char* name;
        std::vector<double> numbers;
        WorldRect world;
    };
    const Case cases[] = {
        {"sound", {1, 3, -2, 4, -1, 9}, {-2, 4, -1, 9}}, {"x reversed", {1, 3, 4, -2, -1, 9}, start},
        {"x equal", {1, 3, 2, 2, -1, 9}, start},         {"y equal", {1, 3, -2, 4, 3, 3}, start},
        {"not a number", {1, 3, kNaN, 4, -1, 9}, start}, {"infinite", {1, 3, -2, kInf, -1, 9}, start},
        {"too few numbers", {1, 3, -2, 4}, start},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const TangentExample e = ExampleFromNumbers(c.numbers, WorldLimits{});
        EXPECT_EQ(e.world, c.world);
    }
    const TangentExample e = ExampleFromNumbers(ExampleNumbers(1.5, -2.5, {-3, 3, -2, 2}), WorldLimits{});
    EXPECT_EQ(std::pair(e.xP, e.xQ), std::pair(1.5, -2.5));
    EXPECT_EQ(e.world, (WorldRect{-3, 3, -2, 2}));
}

TEST(Examples, TermPiecesSplitAtTheFirstSemicolon)
{
    struct Case {
        const char* line;
        TermPieces pieces;
    };
    const Case cases[] = {
        {"1/4x^2;1/x", {"1/4x^2", "1/x"}},
        {"a;b;c", {"a", "b;c"}},
        {"x^2", {"", "x^2"}},
        {";", {"", ""}},
        {"x;", {"x", ""}},
        {"", {"", ""}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        EXPECT_EQ(SplitPieces(c.line), c.pieces);
    }
    EXPECT_EQ(SplitPieces(JoinPieces("sin(x)", "x;y")), (TermPieces{"sin(x)", "x;y"}));
}

} // namespace
} // namespace kurvex
