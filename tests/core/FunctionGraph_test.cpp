// Tests of the function-graph computations: curve kinds, vertex, point decorations, bar grid,
// colour spectrum and the bounded curve family.
#include "core/FunctionGraph.h"

#include "core/Settings.h"
#include "support/SharedState.h"

#include <gtest/gtest.h>

#include <cmath>

namespace kurvex {
namespace {

TermTree compiled(const char* text)
{
    TermTree tree;
    EXPECT_TRUE(CompileTerm(tree, text, true)) << text;
    return tree;
}

TEST(FunctionGraphKinds, ValuesOfEveryKind)
{
    const test::SharedStateScope shared; // compiling sets the parser state
    struct Case {
        int kind;
        const char* term;
        CurveParams p;
        double x;
        double expected;
    };
    const Case cases[] = {
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
        const auto v = CurveValueOf(c.kind, c.x, c.p, compiled(c.term));
        ASSERT_TRUE(v.has_value()) << c.kind;
        EXPECT_NEAR(*v, c.expected, 1e-9) << "kind " << c.kind;
    }
}

TEST(FunctionGraphKinds, UndefinedPointsGiveNothing)
{
    const test::SharedStateScope shared; // compiling sets the parser state
    const TermTree f = compiled("ln(x)");
    const CurveParams p;
    EXPECT_FALSE(CurveValueOf(kKindTerm, -1, p, f));
    EXPECT_FALSE(CurveValueOf(kKindTermDerivative, 0, p, f));
    EXPECT_FALSE(CurveValueOf(kKindShifted, 0.5, {1, 1, 0, 0, 0}, f));
    EXPECT_FALSE(CurveValueOf(kKindShiftedDerivative, 0.5, {1, 1, 0, 0, 0}, f));
    EXPECT_FALSE(CurveValueOf(99, 1, p, f));
}

TEST(FunctionGraphVertex, NoVertexAndNoDragWithoutASquare)
{
    EXPECT_FALSE(VertexOf(kKindQuadratic, {0, 1, 1, 0, 0}));
    EXPECT_FALSE(VertexOf(kKindVertexForm, {0, 1, 1, 0, 0}));
    EXPECT_FALSE(VertexOf(kKindTerm, {1, 1, 1, 0, 0}));
    // c = b²/(4a) + y would divide by zero.
    EXPECT_FALSE(VertexDragTo(kKindQuadratic, 0, 1, 2));
    EXPECT_FALSE(VertexDragTo(kKindVertexForm, 0, 1, 2));
}

TEST(FunctionGraphVertex, GeneralNumberText)
{
    const std::pair<double, const char*> cases[] = {
        {0, "0"},
        {-0.0, "0"},
        {-1, "-1"},
        {-2.25, "-2,25"},
        {0.1 + 0.2, "0,3"},
        {1.0 / 3, "0,333333333333333"},
        {123456789012345.0, "123456789012345"},
        {1e15, "1E15"},
        {1.5e20, "1,5E20"},
        {0.00001, "0,00001"},
        {0.000001, "1E-6"},
        {100, "100"},
    };
    for (const auto& [v, text] : cases) {
        EXPECT_EQ(GeneralNumberText(v), text) << v;
    }
    EXPECT_FALSE(GeneralNumberText(std::nan("")).empty());
}

TEST(FunctionGraphDecorations, TermKindsUseOneUnitAndTheSlope)
{
    const test::SharedStateScope shared; // compiling sets the parser state
    const TermTree f = compiled("x^2");
    const auto t = SlopeTriangleAt(kKindTerm, 1, 3.0, {}, f);
    ASSERT_TRUE(t);
    EXPECT_NEAR(t->y0, 1, 1e-12);
    EXPECT_DOUBLE_EQ(t->x1, 2);
    EXPECT_NEAR(t->y1, 3, 1e-9);
    // Kind 7 with a = 2, u = 1, v = 3 at x = 2: y0 = 5, slope and f' marker a·f'(1) = 4.
    const CurveParams shifted{2, 1, 3, 0, 0};
    const auto s = SlopeTriangleAt(kKindShifted, 2, 1.0, shifted, f);
    ASSERT_TRUE(s);
    EXPECT_NEAR(s->y0, 5, 1e-9);
    EXPECT_NEAR(s->y1, 9, 1e-9);
    EXPECT_NEAR(DerivativeMarkerAt(kKindShifted, 2, shifted, f).value_or(0), 4, 1e-9);
    EXPECT_FALSE(SlopeTriangleAt(kKindQuadratic, 1, 1.0, {}, f));
    EXPECT_FALSE(DerivativeMarkerAt(kKindLine, 1, {}, f));
    // The tick step scales the tangent: half length 2 × 0.5 at slope 0.
    const auto flat = TangentAt(kKindTerm, 0, {}, f, 2.0, 0.5);
    ASSERT_TRUE(flat);
    EXPECT_NEAR(flat->halfLength, 1.0, 1e-9);
}

TEST(FunctionGraphDecorations, NothingWhereTheFunctionIsUndefined)
{
    const test::SharedStateScope shared; // compiling sets the parser state
    const TermTree f = compiled("sqrt(x)");
    EXPECT_FALSE(SlopeTriangleAt(kKindTerm, -1, 1.0, {}, f));
    EXPECT_FALSE(TangentAt(kKindTerm, -1, {}, f, 2, 1));
    EXPECT_FALSE(DerivativeMarkerAt(kKindTerm, -1, {}, f));
    // Defined at 0, but the slope needs points left of it.
    EXPECT_FALSE(TangentAt(kKindTerm, 0, {}, f, 2, 1));
    EXPECT_FALSE(DerivativeMarkerAt(kKindTerm, 0, {}, f));
    EXPECT_TRUE(TangentAt(kKindTerm, 4, {}, f, 2, 1));
}

TEST(FunctionGraphSpectrum, LevelRoundsTheAbsoluteRatio)
{
    EXPECT_EQ(SpectrumLevel(0, -4, 4), 64);  // 63.5 rounds half to even
    EXPECT_EQ(SpectrumLevel(-5, -4, 4), 16); // |-1/8| x 127 = 15.875
    EXPECT_EQ(SpectrumLevel(9, -4, 4), 127);
    EXPECT_EQ(SpectrumLevel(1, 1, 1), 0);
    EXPECT_EQ(SpectrumColor(0, -4, 4, 12), 0x808080u);
}

TEST(FunctionGraphSpectrum, BothEndsOfAllTwelveSchemes)
{
    // v = 0 at the minimum and v = 254 at the maximum; scheme 1 ends at (255 - 254) shl 16 + 254.
    struct Case {
        int index;
        TColor atMin;
        TColor atMax;
    };
    const Case cases[] = {
        {1, 0xFF0000, 0x0100FE}, {2, 0x00FF00, 0xFE0100},  {3, 0x0000FF, 0x00FE01},  {4, 0x0000FF, 0x000001},
        {5, 0x00FF00, 0x000100}, {6, 0xFF0000, 0x010000},  {7, 0xFF0000, 0xFFFE00},  {8, 0xFF0000, 0xFF00FE},
        {9, 0x000080, 0xFE0080}, {10, 0x800000, 0x8000FE}, {11, 0x800000, 0x80FE00}, {12, 0x000000, 0xFEFEFE},
        {0, 0xFF0000, 0x0100FE}, // out of range: as scheme 1
    };
    for (const auto& c : cases) {
        EXPECT_EQ(SpectrumColor(-4, -4, 4, c.index), c.atMin) << c.index;
        EXPECT_EQ(SpectrumColor(4, -4, 4, c.index), c.atMax) << c.index;
    }
}

TEST(FunctionGraphObjects, FamilyIsBoundedAndNewestFirst)
{
    const test::SharedStateScope shared;
    RecordList list;
    for (std::size_t i = 1; i <= kMaxFamilyCurves; ++i) {
        ParamA = static_cast<double>(i);
        ASSERT_TRUE(AddFamilyCurve(list));
    }
    EXPECT_FALSE(AddFamilyCurve(list));
    EXPECT_EQ(ListCount(list), kMaxFamilyCurves);
    EXPECT_GE(kMaxFamilyCurves, 200u);
    ListRecord rec;
    ListGet(list, 1, rec);
    EXPECT_EQ(rec.value[0], static_cast<double>(kMaxFamilyCurves));
}

} // namespace
} // namespace kurvex
