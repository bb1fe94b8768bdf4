// Tests of the sequences lesson's computations: the limit estimate and its acceptance, n0 in the
// ε band, the table of terms and the world rule that keeps XMin = -XMax/12.
#include "core/SequenceLimit.h"

#include "core/Settings.h"
#include "core/term/Term.h"
#include "support/RestoreShared.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

namespace kurvex {
namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

// a(n) of a sequence term, compiled as the sequences window compiles it (n is the variable).
class SequenceTerm {
public:
    explicit SequenceTerm(const char* text)
    {
        const RestoreShared<bool> mode(SequenceMode);
        SequenceMode = true;
        EXPECT_TRUE(CompileTerm(tree_, text, true)) << text;
    }
    SequenceFunction function() const
    {
        return [this](double n) -> std::optional<double> {
            const double v = EvaluateTerm(tree_, 0, 0, 0, 0, 0, 0, n);
            return EvalOk && std::isfinite(v) ? std::optional<double>(v) : std::nullopt;
        };
    }

private:
    TermTree tree_;
};

TEST(SequenceLimit, EstimatesOfSchoolSequences)
{
    struct Case {
        const char* term;
        std::optional<double> g; // nothing: g keeps its value
        bool accepted;
    };
    const Case cases[] = {
        // The far terms lie 1e-10 apart; their mean 9.99995e-6 is below 1e-5 and becomes 0.
        {"1/n", 0.0, true},
        // The mean of a(100000) and a(100001) is 1.0000099999, six digits of it 1.00001.
        {"1+1/n", 1.00001, true},
        {"(2n+1)/(n-3)", 2.00007, true},
        {"(1+1/n)^n", 2.71827, true},
        // The far pair lies as far apart as the near one: g computed but not accepted.
        {"(-1)^n", 0.0, false},
        // Differences stay 1; g near 100000 is too large to be accepted.
        {"n", 100000.0, false},
        // a(50) and a(51) do not exist, so nothing can be estimated.
        {"fak(n)", std::nullopt, false},
        // The far terms lie further apart than the near ones: g keeps its value.
        {"n^2", std::nullopt, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.term);
        const SequenceTerm term(c.term);
        const LimitEstimate e = EstimateLimit(term.function());
        EXPECT_EQ(e.accepted, c.accepted);
        ASSERT_EQ(e.g.has_value(), c.g.has_value());
        if (c.g) {
            EXPECT_NEAR(*e.g, *c.g, std::abs(*c.g) * 1e-5 + 1e-12);
        }
    }
}

TEST(SequenceLimit, AnyUndefinedOfTheFourTermsGivesNoLimit)
{
    struct Case {
        const char* name;
        double undefinedAt;
    };
    // 1/n otherwise, which is accepted with g = 0.
    const Case cases[] = {{"a(10001)", 10001}, {"a(100000)", 100000}, {"a(100001)", 100001}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const LimitEstimate e = EstimateLimit([&c](double n) -> std::optional<double> {
            if (n == c.undefinedAt) {
                return std::nullopt;
            }
            return 1 / n;
        });
        EXPECT_FALSE(e.accepted);
        EXPECT_FALSE(e.g.has_value());
    }
}

TEST(SequenceLimit, UndefinedTenThousandthTermMovesTheComparisonToFive)
{
    // Defined only up to 60: the estimate compares a(5), a(6) with a(50), a(51).
    const LimitEstimate e = EstimateLimit([](double n) -> std::optional<double> {
        if (n > 60) {
            return std::nullopt;
        }
        return 3 + 1 / (n * n * n * n);
    });
    ASSERT_TRUE(e.g.has_value());
    EXPECT_NEAR(*e.g, 3.0, 1e-5);
    EXPECT_TRUE(e.accepted);
}

TEST(SequenceLimit, MeanBeyondTheLargestDoubleKeepsG)
{
    const LimitEstimate e = EstimateLimit([](double) -> std::optional<double> { return 1.5e308; });
    EXPECT_FALSE(e.g.has_value());
    EXPECT_FALSE(e.accepted);
}

TEST(SequenceLimit, RoundsToSixSignificantDigits)
{
    const struct {
        double in;
        double out;
    } cases[] = {{0.123456789, 0.123457},
                 {1234567.0, 1234570.0},
                 {-2.718281828, -2.71828},
                 {9.99995e-6, 9.99995e-6},
                 {0.0, 0.0}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.in);
        EXPECT_DOUBLE_EQ(RoundToSignificantDigits(c.in, 6), c.out);
    }
    EXPECT_TRUE(std::isnan(RoundToSignificantDigits(kNaN, 6)));
}

// ---------------------------------------------------------------------------------------------
// n0

std::vector<std::optional<double>> tableOf(const SequenceFunction& a)
{
    return SequenceTable(a);
}

TEST(SequenceN0, FirstIndexFromWhichFiftyOneTermsStayInTheBand)
{
    const SequenceTerm reciprocal("1/n");
    const auto table = tableOf(reciprocal.function());
    ASSERT_EQ(table.size(), static_cast<std::size_t>(kSequenceTableSize));
    struct Case {
        const char* name;
        double g;
        double eps;
        std::optional<int> n0;
    };
    const Case cases[] = {
        {"1/n, eps 0.1", 0.0, 0.1, 11},
        // 1/2 is not below 0.5: the band is open.
        {"1/n, eps 0.5", 0.0, 0.5, 3},
        {"1/n, eps 2", 0.0, 2.0, 1},
        // 1/n < 1e-5 needs n > 100000, beyond the search.
        {"1/n, eps 1e-5", 0.0, 1e-5, std::nullopt},
        {"1/n, eps 1e-4", 0.0, 1e-4, 10001},
        {"1/n around 1", 1.0, 0.1, std::nullopt},
        {"negative eps", 0.0, -0.1, std::nullopt},
        {"NaN eps", 0.0, kNaN, std::nullopt},
        {"NaN g", kNaN, 0.1, std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(FindN0(table, c.g, c.eps), c.n0);
    }
}

TEST(SequenceN0, UndefinedOrOutlyingTermsPushN0BehindThem)
{
    struct Case {
        const char* name;
        int special;
        std::optional<double> value; // a(special); every other term is 0
        std::optional<int> n0;
    };
    const Case cases[] = {
        {"undefined a(30)", 30, std::nullopt, 31},      {"outlier a(30)", 30, 5.0, 31},
        {"undefined a(60)", 60, std::nullopt, 1},       {"outlier a(51)", 51, 5.0, 52},
        {"undefined a(10051)", 10051, std::nullopt, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        // a(60) lies outside the first window a(1)..a(51) only when n0 would be 10 or more.
        const auto table = SequenceTable([&c](double n) -> std::optional<double> {
            return static_cast<int>(n) == c.special ? c.value : std::optional<double>(0.0);
        });
        EXPECT_EQ(FindN0(table, 0.0, 0.5), c.n0);
    }
}

TEST(SequenceN0, SearchEndsAtTheLastStartWhateverTheTableHolds)
{
    // Outside the band up to 10001: the last start would need a(10002)..a(10052), one beyond.
    auto table = SequenceTable([](double n) -> std::optional<double> { return n <= 10001 ? 1.0 : 0.0; },
                               kSequenceTableSize + 10);
    EXPECT_EQ(FindN0(table, 0.0, 0.5), std::nullopt);
    // Inside from 10001 on: found at the last start.
    table = SequenceTable([](double n) -> std::optional<double> { return n <= 10000 ? 1.0 : 0.0; });
    EXPECT_EQ(FindN0(table, 0.0, 0.5), 10001);
    // A table of fewer than 51 terms holds no window at all.
    table = SequenceTable([](double) -> std::optional<double> { return 0.0; }, kN0Window);
    EXPECT_EQ(FindN0(table, 0.0, 0.5), std::nullopt);
}

TEST(SequenceTable, HoldsTheTermsFromOneOn)
{
    const SequenceTerm fak("fak(n)");
    const auto table = SequenceTable(fak.function(), 40);
    ASSERT_EQ(table.size(), 40u);
    EXPECT_EQ(table[0], 1.0);
    EXPECT_EQ(table[4], 120.0);
    EXPECT_FALSE(table[39].has_value()); // fak(40) does not exist
    EXPECT_TRUE(SequenceTable(fak.function(), -3).empty());
}

// ---------------------------------------------------------------------------------------------
// World rule

class SequenceWorldTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        IniSettings.y1 = -2.0;
        IniSettings.y2 = 4.0;
    }
    static constexpr WorldRect kStart{-1.0, 15.0, -2.0, 4.0};

private:
    RestoreShared<IniSettingsRecord> restore_{IniSettings};
};

TEST_F(SequenceWorldTest, CheckedWindowKeepsXMinAtMinusATwelfthOfXMax)
{
    const struct {
        const char* name;
        WorldRect in;
        WorldRect out;
    } cases[] = {
        {"zoomed out", {-3.0, 36.0, -5.0, 5.0}, {-3.0, 36.0, -5.0, 5.0}},
        {"left end follows the right", {4.0, 24.0, -5.0, 5.0}, {-2.0, 24.0, -5.0, 5.0}},
        {"y clamped below", {-1.0, 12.0, -20000.0, 5.0}, {-1.0, 12.0, -10000.0, 5.0}},
        {"y clamped above", {-1.0, 12.0, 0.0, 2e5}, {-1.0, 12.0, 0.0, 1e5}},
        {"narrow y kept", {-1.0, 12.0, 1.0, 1.000001}, {-1.0, 12.0, 1.0, 1.000001}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(CheckedSequenceWorld(c.in), c.out);
    }
}

TEST_F(SequenceWorldTest, WindowOutOfTheLessonsBoundsFallsBackToTheStartWindow)
{
    const struct {
        const char* name;
        WorldRect in;
    } cases[] = {
        {"x span below 2", {-0.1, 1.5, -5, 5}},
        {"x span 1000 or more", {0, 930, -5, 5}},
        {"right end clamped far out", {0, 2e5, -5, 5}},
        {"right end below 0 reverses", {0, -24, -5, 5}},
        {"y span below 1e-7", {-1, 12, 1, 1 + 5e-8}},
        {"y reversed", {-1, 12, 5, -5}},
        {"NaN right end", {0, kNaN, -5, 5}},
        {"NaN y", {-1, 12, kNaN, 5}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const WorldRect w = CheckedSequenceWorld(c.in);
        EXPECT_EQ(w, kStart);
        EXPECT_LT(w.xMin, w.xMax);
        EXPECT_LT(w.yMin, w.yMax);
    }
}

TEST_F(SequenceWorldTest, ZoomingAndPanningMoveOnlyTheRightEnd)
{
    WorldRect w = CheckedSequenceWorld(SequenceOpeningWorld());
    EXPECT_EQ(w, (WorldRect{-1.5, 18.0, -2.0, 4.0}));
    for (const auto step : {&zoomedOut, &zoomedIn, &zoomedIn}) {
        w = CheckedSequenceWorld(step(w));
        EXPECT_DOUBLE_EQ(w.xMin, -w.xMax / 12);
    }
    w = CheckedSequenceWorld(panned(w, 1, 0));
    EXPECT_DOUBLE_EQ(w.xMin, -w.xMax / 12);
    EXPECT_GT(w.xMax, 0.0);
}

TEST_F(SequenceWorldTest, StartWindowNeverTakesAnUnusableYRangeFromTheSettings)
{
    IniSettings.y1 = 3.0;
    IniSettings.y2 = -3.0;
    const WorldRect w = SequenceStartWorld();
    EXPECT_EQ(w, (WorldRect{-1.0, 15.0, -7.0, 7.0}));
    EXPECT_EQ(CheckedSequenceWorld({0, -24, -5, 5}), w);
}

} // namespace
} // namespace kurvex
