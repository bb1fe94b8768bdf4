// Tests of the function-graph computations: curve kinds, vertex, slope triangle, tangent, bar grid,
// colour spectrum and the fixed-curve records.
#include "core/FunctionGraph.h"

#include "core/U_init.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

namespace kurvex {
namespace {

TermTree compiled(const char* text)
{
    TermTree tree;
    EXPECT_TRUE(CompileTerm(tree, text, true)) << text;
    return tree;
}

TEST(FunctionGraphKinds, TabsMapToKindsAndTheirDerivatives)
{
    EXPECT_EQ(TabCurveKind(0), kKindLine);
    EXPECT_EQ(TabCurveKind(1), kKindQuadratic);
    EXPECT_EQ(TabCurveKind(2), kKindVertexForm);
    EXPECT_EQ(TabCurveKind(3), kKindShifted);
    EXPECT_EQ(TabCurveKind(4), kKindTerm);
    EXPECT_EQ(DerivativeKind(kKindTerm), kKindTermDerivative);
    EXPECT_EQ(DerivativeKind(kKindShifted), kKindShiftedDerivative);
    for (int tab = 0; tab < kTabCount; ++tab) {
        EXPECT_EQ(TabHasDerivative(tab), tab == 3 || tab == 4) << tab;
        EXPECT_EQ(TabHasVertex(tab), tab == 1 || tab == 2) << tab;
    }
}

struct KindCase {
    int kind;
    const char* term;
    CurveParams p;
    double x;
    double expected;
};

TEST(FunctionGraphKinds, ValuesOfEveryKind)
{
    const KindCase cases[] = {
        {kKindLine, "0", {2, 1, 0, 0, 0}, 3, 7},
        {kKindQuadratic, "0", {1, -2, 0, 0, 0}, 3, 3},
        {kKindVertexForm, "0", {2, 1, 3, 0, 0}, 3, 11},
        {kKindTerm, "a*x^2+b*x+c+d+t", {1, 2, 3, 4, 5}, 2, 4 + 4 + 3 + 4 + 5},
        {kKindTermDerivative, "x^3", {1, 0, 0, 0, 0}, 2, 12},
        {kKindTangent, "0", {-1, 4, 0, 0, 0}, 2, 2},
        // The shifted term evaluates f at x - b; a, b, c keep their places inside f as well.
        {kKindShifted, "x^2", {2, 1, 3, 0, 0}, 2, 5},
        {kKindShiftedDerivative, "x^2", {2, 1, 3, 0, 0}, 2, 4},
        {kKindShifted, "x+d", {1, 0, 0, 10, 0}, 1, 11},
    };
    for (const auto& c : cases) {
        const TermTree f = compiled(c.term);
        const auto v = CurveValueOf(c.kind, c.x, c.p, f);
        ASSERT_TRUE(v.has_value()) << c.kind;
        EXPECT_NEAR(*v, c.expected, 1e-9) << "kind " << c.kind;
    }
}

TEST(FunctionGraphKinds, UndefinedPointsGiveNothing)
{
    const TermTree f = compiled("ln(x)");
    const CurveParams p;
    EXPECT_FALSE(CurveValueOf(kKindTerm, -1, p, f));
    EXPECT_FALSE(CurveValueOf(kKindTermDerivative, 0, p, f));
    EXPECT_FALSE(CurveValueOf(kKindShifted, 0.5, {1, 1, 0, 0, 0}, f));
    EXPECT_FALSE(CurveValueOf(kKindShiftedDerivative, 0.5, {1, 1, 0, 0, 0}, f));
    EXPECT_TRUE(CurveValueOf(kKindTerm, 1, p, f));
    EXPECT_FALSE(CurveValueOf(99, 1, p, f));
}

TEST(FunctionGraphVertex, VertexOfBothParabolasAndItsText)
{
    const auto v = VertexOf(kKindQuadratic, {1, -2, 0, 0, 0});
    ASSERT_TRUE(v);
    EXPECT_DOUBLE_EQ(v->x, 1);
    EXPECT_DOUBLE_EQ(v->y, -1);
    EXPECT_EQ(VertexText(*v), "S(1|-1)");

    // In the vertex form u and v are the vertex itself.
    const auto w = VertexOf(kKindVertexForm, {-0.5, 1.5, -2.25, 0, 0});
    ASSERT_TRUE(w);
    EXPECT_EQ(VertexText(*w), "S(1,5|-2,25)");

    EXPECT_FALSE(VertexOf(kKindQuadratic, {0, 1, 1, 0, 0}));
    EXPECT_FALSE(VertexOf(kKindVertexForm, {0, 1, 1, 0, 0}));
    EXPECT_FALSE(VertexOf(kKindTerm, {1, 1, 1, 0, 0}));
}

TEST(FunctionGraphVertex, GeneralNumberText)
{
    const std::pair<double, const char*> cases[] = {
        {0, "0"},
        {-0.0, "0"},
        {1, "1"},
        {-1, "-1"},
        {0.5, "0,5"},
        {-2.25, "-2,25"},
        {0.1 + 0.2, "0,3"},
        {1.0 / 3, "0,333333333333333"},
        {123456789012345.0, "123456789012345"},
        {1e15, "1E15"},
        {1.5e20, "1,5E20"},
        {0.00001, "0,00001"},
        {0.000001, "1E-6"},
        {-3.96, "-3,96"},
        {100, "100"},
    };
    for (const auto& [v, text] : cases) {
        EXPECT_EQ(GeneralNumberText(v), text) << v;
    }
    EXPECT_FALSE(GeneralNumberText(std::nan("")).empty());
}

TEST(FunctionGraphVertex, DragMovesTheVertexKeepingA)
{
    const auto q = VertexDragTo(kKindQuadratic, 1, 1, 2);
    ASSERT_TRUE(q);
    EXPECT_DOUBLE_EQ(q->b, -2);
    EXPECT_DOUBLE_EQ(q->c, 3);
    const auto moved = VertexOf(kKindQuadratic, {1, q->b, q->c, 0, 0});
    ASSERT_TRUE(moved);
    EXPECT_DOUBLE_EQ(moved->x, 1);
    EXPECT_DOUBLE_EQ(moved->y, 2);

    const auto s = VertexDragTo(kKindVertexForm, -2, 1.5, -0.5);
    ASSERT_TRUE(s);
    EXPECT_DOUBLE_EQ(s->b, 1.5);
    EXPECT_DOUBLE_EQ(s->c, -0.5);

    // No vertex, nothing to move, and no division by zero.
    EXPECT_FALSE(VertexDragTo(kKindQuadratic, 0, 1, 2));
    EXPECT_FALSE(VertexDragTo(kKindVertexForm, 0, 1, 2));
}

TEST(FunctionGraphDecorations, SlopeTriangleOfTheLine)
{
    const TermTree none;
    const auto t = SlopeTriangleAt(kKindLine, 0, 1.0, {2, 1, 0, 0, 0}, none);
    ASSERT_TRUE(t);
    EXPECT_DOUBLE_EQ(t->x0, 0);
    EXPECT_DOUBLE_EQ(t->y0, 1);
    EXPECT_DOUBLE_EQ(t->x1, 1);
    EXPECT_DOUBLE_EQ(t->y1, 3);
    // Track bar position 8: step width 2 doubles both legs.
    const auto d = SlopeTriangleAt(kKindLine, 0, 8 / 4.0, {2, 1, 0, 0, 0}, none);
    ASSERT_TRUE(d);
    EXPECT_DOUBLE_EQ(d->x1 - d->x0, 2 * (t->x1 - t->x0));
    EXPECT_DOUBLE_EQ(d->y1 - d->y0, 2 * (t->y1 - t->y0));
}

TEST(FunctionGraphDecorations, SlopeTriangleOfTermsUsesOneUnitAndTheSlope)
{
    const TermTree f = compiled("x^2");
    const auto t = SlopeTriangleAt(kKindTerm, 1, 3.0, {}, f);
    ASSERT_TRUE(t);
    EXPECT_NEAR(t->y0, 1, 1e-12);
    EXPECT_DOUBLE_EQ(t->x1, 2);
    EXPECT_NEAR(t->y1, 3, 1e-9);
    // Kind 7 with a = 2, u = 1, v = 3 at x = 2: y0 = 5, slope a·f'(1) = 4.
    const auto s = SlopeTriangleAt(kKindShifted, 2, 1.0, {2, 1, 3, 0, 0}, f);
    ASSERT_TRUE(s);
    EXPECT_NEAR(s->y0, 5, 1e-9);
    EXPECT_NEAR(s->y1, 9, 1e-9);
    EXPECT_FALSE(SlopeTriangleAt(kKindQuadratic, 1, 1.0, {}, f));
}

TEST(FunctionGraphDecorations, NothingWhereTheFunctionIsUndefined)
{
    const TermTree f = compiled("sqrt(x)");
    EXPECT_FALSE(SlopeTriangleAt(kKindTerm, -1, 1.0, {}, f));
    EXPECT_FALSE(TangentAt(kKindTerm, -1, {}, f, 2, 1));
    EXPECT_FALSE(DerivativeMarkerAt(kKindTerm, -1, {}, f));
    // Defined at 0, but the slope needs points left of it.
    EXPECT_FALSE(TangentAt(kKindTerm, 0, {}, f, 2, 1));
    EXPECT_FALSE(DerivativeMarkerAt(kKindTerm, 0, {}, f));
    EXPECT_TRUE(TangentAt(kKindTerm, 4, {}, f, 2, 1));
}

TEST(FunctionGraphDecorations, TangentLengthAtSlopesZeroAndOne)
{
    EXPECT_DOUBLE_EQ(2 * TangentHalfLength(0, 2.0, 1.0), 2 * 2.0 * 1.0);
    EXPECT_DOUBLE_EQ(2 * TangentHalfLength(0, 1.5, 2.0), 2 * 1.5 * 2.0);
    EXPECT_NEAR(TangentHalfLength(1, 2.0, 1.0), 2.0 / std::numbers::sqrt2, 1e-12);

    const TermTree flat = compiled("x^2");
    const auto t = TangentAt(kKindTerm, 0, {}, flat, 2.0, 0.5);
    ASSERT_TRUE(t);
    EXPECT_NEAR(t->m, 0, 1e-9);
    EXPECT_NEAR(t->halfLength, 1.0, 1e-9);
    const TermTree line = compiled("x");
    const auto u = TangentAt(kKindTerm, 3, {}, line, 2.0, 1.0);
    ASSERT_TRUE(u);
    EXPECT_NEAR(u->m, 1, 1e-9);
    EXPECT_NEAR(u->intercept(), 0, 1e-9);
    EXPECT_NEAR(2 * u->halfLength, 4.0 / std::numbers::sqrt2, 1e-9);
}

TEST(FunctionGraphDecorations, DerivativeMarkerHeights)
{
    const TermTree f = compiled("x^2");
    const auto m4 = DerivativeMarkerAt(kKindTerm, 1.5, {}, f);
    ASSERT_TRUE(m4);
    EXPECT_NEAR(*m4, 3, 1e-9);
    const auto m7 = DerivativeMarkerAt(kKindShifted, 2, {2, 1, 3, 0, 0}, f);
    ASSERT_TRUE(m7);
    EXPECT_NEAR(*m7, 4, 1e-9);
    EXPECT_FALSE(DerivativeMarkerAt(kKindLine, 1, {}, f));
}

TEST(FunctionGraphBars, GridOfTwoHundredStepsOverMinusFourToFour)
{
    EXPECT_NEAR(BarValue(1, -4, 4, 200), -3.96, 1e-12);
    EXPECT_DOUBLE_EQ(BarValue(200, -4, 4, 200), 4);
    EXPECT_DOUBLE_EQ(BarValue(125, -4, 4, 200), 1);
    EXPECT_NEAR(BarValue(2, -4, 4, 200) - BarValue(1, -4, 4, 200), 0.04, 1e-12);
    EXPECT_EQ(BarPosition(-3.96, -4, 4, 200), 1);
    EXPECT_EQ(BarPosition(1, -4, 4, 200), 125);
    // A typed value between grid points maps to the nearest position (halves to even).
    EXPECT_EQ(BarPosition(1.234, -4, 4, 200), 131);
    EXPECT_EQ(BarPosition(-3.98, -4, 4, 200), 1);
}

TEST(FunctionGraphBars, PositionsStayOnTheBar)
{
    EXPECT_EQ(BarPosition(-4, -4, 4, 200), kFirstBarPosition);
    EXPECT_EQ(BarPosition(-100, -4, 4, 200), kFirstBarPosition);
    EXPECT_EQ(BarPosition(100, -4, 4, 200), 200);
    EXPECT_EQ(BarPosition(1e300, -4, 4, 200), 200);
    EXPECT_EQ(BarPosition(std::nan(""), -4, 4, 200), kFirstBarPosition);
    // An empty range or no steps never divide by zero into a position.
    EXPECT_EQ(BarPosition(3, 2, 2, 200), 200);
    EXPECT_EQ(BarPosition(2, 2, 2, 200), kFirstBarPosition);
    EXPECT_EQ(BarPosition(1, -4, 4, 0), kFirstBarPosition);
    EXPECT_TRUE(std::isfinite(BarValue(5, -4, 4, 0)));
}

TEST(FunctionGraphBars, RangeWithoutRoomFallsBackToTheStartRange)
{
    EXPECT_EQ(CheckedRange(-1, 2, -4, 4), (ParamRange{-1, 2}));
    EXPECT_EQ(CheckedRange(3, 3, -5, 5), (ParamRange{-5, 5}));
    EXPECT_EQ(CheckedRange(5, -5, -2, 6), (ParamRange{-2, 6}));
    EXPECT_EQ(CheckedRange(5, -5, 1, 1), (ParamRange{-4, 4}));
    EXPECT_EQ(CheckedRange(std::nan(""), 1, -3, 3), (ParamRange{-3, 3}));
}

TEST(FunctionGraphSpectrum, LevelRoundsTheAbsoluteRatio)
{
    EXPECT_EQ(SpectrumLevel(-4, -4, 4), 0);
    EXPECT_EQ(SpectrumLevel(4, -4, 4), 127);
    EXPECT_EQ(SpectrumLevel(0, -4, 4), 64);  // 63.5 rounds half to even
    EXPECT_EQ(SpectrumLevel(-5, -4, 4), 16); // |-1/8| x 127 = 15.875
    EXPECT_EQ(SpectrumLevel(9, -4, 4), 127);
    EXPECT_EQ(SpectrumLevel(1, 1, 1), 0);
}

struct SpectrumCase {
    int index;
    TColor atMin;
    TColor atMax;
};

TEST(FunctionGraphSpectrum, BothEndsOfAllTwelveSchemes)
{
    // v = 0 at the minimum and v = 254 at the maximum.
    const SpectrumCase cases[] = {
        {1, 0xFF0000, 0x0100FE}, {2, 0x00FF00, 0xFE0100},  {3, 0x0000FF, 0x00FE01},  {4, 0x0000FF, 0x000001},
        {5, 0x00FF00, 0x000100}, {6, 0xFF0000, 0x010000},  {7, 0xFF0000, 0xFFFE00},  {8, 0xFF0000, 0xFF00FE},
        {9, 0x000080, 0xFE0080}, {10, 0x800000, 0x8000FE}, {11, 0x800000, 0x80FE00}, {12, 0x000000, 0xFEFEFE},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(SpectrumColor(-4, -4, 4, c.index), c.atMin) << c.index;
        EXPECT_EQ(SpectrumColor(4, -4, 4, c.index), c.atMax) << c.index;
    }
}

TEST(FunctionGraphSpectrum, MiddleAndTheSharedIndex)
{
    EXPECT_EQ(SpectrumColor(0, -4, 4, 12), 0x808080u);
    EXPECT_EQ(SpectrumColor(0.5, 0, 1, 1), (TColor(127) << 16) + 128);
    const int saved = SpectrumIndex;
    SpectrumIndex = 12;
    EXPECT_EQ(SpectrumColor(0, -4, 4), 0x808080u);
    SpectrumIndex = saved;
    // Out-of-range indices behave as scheme 1.
    EXPECT_EQ(SpectrumColor(-4, -4, 4, 0), 0xFF0000u);
}

class FunctionGraphObjects : public ::testing::Test {
protected:
    void SetUp() override
    {
        saved_ = CurrentParams();
        savedColor_ = GraphColor;
        savedCurve_ = CurveColor;
        savedWidth_ = LineWidth;
        ListClear(list);
    }
    void TearDown() override
    {
        ListClear(list);
        SetCurrentParams(saved_);
        GraphColor = savedColor_;
        CurveColor = savedCurve_;
        LineWidth = savedWidth_;
    }
    RecordList list;
    CurveParams saved_;
    TColor savedColor_ = 0;
    TColor savedCurve_ = 0;
    int savedWidth_ = 1;
};

TEST_F(FunctionGraphObjects, RecordKeepsParametersColourAndWidth)
{
    SetCurrentParams({1, 2, 3, 4, 5});
    GraphColor = clRed;
    LineWidth = 3;
    const ListRecord rec = MakeObjectRecord();
    SetCurrentParams({0, 0, 0, 0, 0});
    CurveColor = clBlack;
    LineWidth = 1;
    ApplyObjectRecord(rec);
    EXPECT_EQ(CurrentParams(), (CurveParams{1, 2, 3, 4, 5}));
    EXPECT_EQ(CurveColor, clRed);
    EXPECT_EQ(LineWidth, 3);
}

TEST_F(FunctionGraphObjects, NewestFirstAndTheFamilyIsBounded)
{
    for (int i = 1; i <= 3; ++i) {
        ParamA = i;
        EXPECT_TRUE(AddFamilyCurve(list));
    }
    ListRecord rec;
    ListGet(list, 1, rec);
    EXPECT_EQ(rec.value[0], 3);
    ListGet(list, 3, rec);
    EXPECT_EQ(rec.value[0], 1);

    while (ListCount(list) < kMaxFamilyCurves) {
        ASSERT_TRUE(AddFamilyCurve(list));
    }
    EXPECT_FALSE(AddFamilyCurve(list));
    EXPECT_EQ(ListCount(list), kMaxFamilyCurves);
    EXPECT_GE(kMaxFamilyCurves, 200u);
}

TEST_F(FunctionGraphObjects, SaverRestoresTheCurveState)
{
    SetCurrentParams({1, 2, 3, 4, 5});
    CurveKind = kKindShifted;
    CurveColor = clBlue;
    LineWidth = 2;
    {
        CurveStateSaver saver;
        SetCurrentParams({9, 9, 9, 9, 9});
        CurveKind = kKindTangent;
        CurveColor = clRed;
        LineWidth = 5;
    }
    EXPECT_EQ(CurrentParams(), (CurveParams{1, 2, 3, 4, 5}));
    EXPECT_EQ(CurveKind, kKindShifted);
    EXPECT_EQ(CurveColor, clBlue);
    EXPECT_EQ(LineWidth, 2);
    CurveKind = kKindTerm;
}

} // namespace
} // namespace kurvex
