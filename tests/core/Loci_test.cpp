// Loci computations: the step count field, t ranges, the special points of family members, the
// spectrum preview and the fixed states of the object list.
#include "core/Loci.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace kurvex {
namespace {

TEST(Loci, StepCountField)
{
    struct Case {
        const char* text;
        int expected;
    };
    const Case cases[] = {{"1000", 1000},        {"10", 10},     {"9", 1000},   {"3000", 3000},
                          {"3001", 1000},        {" 200 ", 200}, {"", 1000},    {"abc", 1000},
                          {"12.5", 1000},        {"12,5", 1000}, {"-50", 1000}, {"+50", 1000},
                          {"99999999999", 1000}, {"50x", 1000}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(ParseStepCount(c.text), c.expected);
    }
}

TEST(Loci, UsableTRanges)
{
    constexpr double kInf = std::numeric_limits<double>::infinity();
    EXPECT_TRUE(ValidTRange(-2, 2));
    EXPECT_FALSE(ValidTRange(2, 2));
    EXPECT_FALSE(ValidTRange(3, -3));
    EXPECT_FALSE(ValidTRange(-kInf, 2));
    EXPECT_FALSE(ValidTRange(-1e308, 1e308)); // a span that is no number
    EXPECT_FALSE(ValidTRange(std::nan(""), 1));
}

TEST(Loci, LowPointsOfTheFamilyLieOnTheLocus)
{
    // f = x² - t·x has its low point at (t/2, -t²/4), on y = -x².
    TermTree f;
    ASSERT_TRUE(CompileTerm(f, "x^2-t*x", true));
    const CurveParams params;
    for (int i = 0; i < 10; ++i) {
        const double t = -2.0 + 4.0 * i / 9.0;
        SCOPED_TRACE(t);
        const auto points = MemberSpecialPoints(f, t, params, -7, 7, {true, true, true});
        ASSERT_EQ(points.size(), 1u);
        EXPECT_EQ(points[0].kind, SpecialPointKind::Low);
        EXPECT_NEAR(points[0].x, t / 2, 1e-5);
        // The height is the member's minimum itself; x is found to within 1e-5.
        EXPECT_NEAR(points[0].y, -t * t / 4, 1e-9);
        EXPECT_NEAR(points[0].y, -points[0].x * points[0].x, 1e-4);
    }
}

TEST(Loci, MembersWithoutSpecialPointsAndUndefinedTerms)
{
    struct Case {
        const char* term;
        std::size_t expected;
    };
    // The parameters a..d take part as in the function-graph window: a = 2 makes x³ - a·x bend twice.
    const Case cases[] = {{"x+t", 0}, {"t", 0}, {"a*x", 0}, {"x^3-a*x+t", 3}, {"sqrt(x-10)", 0}};
    CurveParams params;
    params.a = 2;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.term);
        TermTree f;
        ASSERT_TRUE(CompileTerm(f, c.term, true));
        EXPECT_EQ(MemberSpecialPoints(f, 1.5, params, -7, 7, {true, true, true}).size(), c.expected);
    }
    // An empty compiled term is never evaluated: no value, no point.
    const TermTree empty;
    EXPECT_FALSE(FamilyValue(empty, 1, 0, params).has_value());
    EXPECT_TRUE(MemberSpecialPoints(empty, 0, params, -7, 7, {true, true, true}).empty());
    TermTree root;
    ASSERT_TRUE(CompileTerm(root, "sqrt(x)", true));
    EXPECT_FALSE(FamilyValue(root, -1, 0, params).has_value());
    EXPECT_DOUBLE_EQ(*FamilyValue(root, 4, 0, params), 2.0);
}

TEST(Loci, SpectrumPreviewColumns)
{
    struct Case {
        int spectrum, column;
        TColor expected; // 0x00BBGGRR
    };
    const Case cases[] = {
        {1, 0, 0xFF0000},   {1, 63, 0x0300FC}, {2, 0, 0x00FF00},  {3, 10, 0x0028D7}, {4, 63, 0x000003},
        {7, 63, 0xFFFC00},  {8, 1, 0xFF0004},  {9, 10, 0x280080}, {10, 2, 0x800008}, {11, 3, 0x800C00},
        {12, 63, 0xBDBDBD}, {0, 0, 0xFF0000},  {13, 0, 0xFF0000}, {1, 99, 0x0300FC},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "spectrum " << c.spectrum << " column " << c.column);
        EXPECT_EQ(SpectrumPreviewColor(c.spectrum, c.column), c.expected);
    }
}

TEST(Loci, FixedStatesNewestFirstAndBounded)
{
    const LociObject states[] = {
        {true, false, -1.5, 0x0000FF, 2}, {false, true, 0.25, 0x00FF00, 1}, {false, false, 3, 0, 1}};
    for (const LociObject& s : states) {
        SCOPED_TRACE(s.t);
        EXPECT_EQ(ReadLociRecord(MakeLociRecord(s)), s);
    }
    RecordList list;
    for (const LociObject& s : states) {
        ASSERT_TRUE(InsertLociObject(list, s));
    }
    EXPECT_EQ(ReadLociRecord(list.Head->record), states[2]);
    while (ListCount(list) < kMaxLociObjects) {
        ASSERT_TRUE(InsertLociObject(list, states[0]));
    }
    EXPECT_FALSE(InsertLociObject(list, states[1]));
    EXPECT_EQ(ListCount(list), kMaxLociObjects);
    EXPECT_EQ(ReadLociRecord(list.Head->record), states[0]);
}

} // namespace
} // namespace kurvex
