// Tests of the bisection computations: decimals and bound, number text, steps, the verdict on the
// final interval, the replay with its stops, and the nested intervals of the bars.
#include "core/Bisection.h"

#include "core/TermFunction.h"

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

// Steps as the window's "Wiederhole" makes them until the run ends.
struct WindowRun {
    double a = 0.0;
    double b = 0.0;
    int steps = 0;
    StepOutcome end = StepOutcome::Halved;
};
WindowRun runToTheEnd(const CurveValueFunction& f, double a, double b, double tolerance)
{
    WindowRun run{a, b, 0, StepOutcome::Halved};
    for (int guard = 0; guard < 5000; ++guard) {
        const BisectionStep step = StepBisection(f, run.a, run.b, tolerance);
        if (step.outcome != StepOutcome::Halved) {
            run.end = step.outcome;
            return run;
        }
        run.a = step.a;
        run.b = step.b;
        ++run.steps;
    }
    ADD_FAILURE() << "the run did not end";
    return run;
}

TEST(BisectionDecimals, OnlyOneToSixDecimalsAreTaken)
{
    const struct {
        const char* text;
        int decimals;
    } cases[] = {{"5", 5},  {"1", 1}, {"6", 6}, {" 3 ", 3}, {"7", 4},          {"0", 4},
                 {"-1", 4}, {"x", 4}, {"", 4},  {"2,5", 4}, {"99999999999", 4}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(BisectionDecimalsFromText(c.text), c.decimals);
    }
}

TEST(BisectionDecimals, BoundIsExactlyTenToTheMinusDecimals)
{
    const struct {
        int decimals;
        double bound;
        const char* text;
    } cases[] = {{1, 0.1, "= 0,1"},           {4, 0.0001, "= 0,0001"}, {5, 0.00001, "= 0,00001"},
                 {6, 0.000001, "= 0,000001"}, {0, 0.1, "= 0,1"},       {9, 0.000001, "= 0,000001"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.decimals);
        EXPECT_EQ(BisectionTolerance(c.decimals), c.bound);
        EXPECT_EQ(BisectionToleranceText(c.decimals), c.text);
    }
}

TEST(BisectionNumbers, ValuesShowTheChosenDecimals)
{
    const struct {
        std::optional<double> value;
        int decimals;
        const char* text;
    } cases[] = {
        {std::sqrt(2.0), 5, "1,41421"},
        {12.3456, 5, "12,34560"},
        {0.0, 5, "0,00000"},
        {-0.000001, 5, "0,00000"}, // no minus zero
        {-2.25, 1, "-2,3"},        // an exact half away from zero
        {1.890625, 5, "1,89063"},  // f(m) of x^3 - 2x - 5 after two steps on [1, 3]
        {1.765625, 5, "1,76563"},
        {123456.789, 2, "123456,79"},
        {1e20, 2, "1,00 E+20"},
        {-3e15, 1, "-3,0 E+15"},
        {std::nullopt, 5, "nicht definiert"},
        {std::nan(""), 5, "nicht definiert"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(BisectionNumber(c.value, c.decimals), c.text);
    }
}

TEST(BisectionSteps, SquareRootOfTwoFromOneToTwo)
{
    const TermTree tree = compiled("x^2-2");
    const CurveValueFunction f = TermFunction(tree);
    const WindowRun run = runToTheEnd(f, 1, 2, 0.00001);
    EXPECT_EQ(run.steps, 17);
    EXPECT_EQ(run.end, StepOutcome::BelowTolerance);
    const BisectionVerdict verdict = VerdictOn(f, run.a, run.b, run.end);
    EXPECT_TRUE(verdict.solved);
    EXPECT_EQ(BisectionNumber(verdict.x, 5), "1,41421");
    EXPECT_EQ(
        ResultLines(verdict, 5),
        (std::vector<std::string>{"x := (a + b) / 2 = 1,41421", "f(x) = " + BisectionNumber(verdict.fx, 5)}));

    // The replay lists exactly these steps, and its verdict is the window's.
    const BisectionReplay replay = ReplayBisection(f, 1, 2, 0.00001);
    ASSERT_EQ(replay.rows.size(), 17u);
    EXPECT_EQ(replay.end, StepOutcome::BelowTolerance);
    EXPECT_EQ(replay.a, run.a);
    EXPECT_EQ(replay.b, run.b);
    EXPECT_EQ(replay.verdict.solved, verdict.solved);
    EXPECT_EQ(replay.verdict.x, verdict.x);
    for (std::size_t i = 0; i + 1 < replay.rows.size(); ++i) {
        SCOPED_TRACE(i);
        const BisectionRow& row = replay.rows[i];
        const BisectionRow& next = replay.rows[i + 1];
        EXPECT_EQ(row.m, (row.a + row.b) / 2);
        // A positive product moves a, a negative or zero one moves b.
        if (*row.product() > 0) {
            EXPECT_EQ(next.a, row.m);
            EXPECT_EQ(next.b, row.b);
        } else {
            EXPECT_EQ(next.b, row.m);
            EXPECT_EQ(next.a, row.a);
        }
    }
}

TEST(BisectionSteps, EndsOfRunsAndTheirVerdicts)
{
    const struct {
        const char* term;
        double a;
        double b;
        int steps;
        StepOutcome end;
        bool solved;
    } cases[] = {
        // A pole with a sign change closes in on 0 but is no zero.
        {"1/x", -1, 2, 19, StepOutcome::BelowTolerance, false},
        // The midpoint of [-1, 1] is the pole: the run stops there, the interval stays.
        {"1/x", -1, 1, 0, StepOutcome::Undefined, false},
        // f(a) undefined: nothing to compare, even where f happens to vanish at the midpoint.
        {"sqrt(x)", -1, 1, 0, StepOutcome::Undefined, false},
        // Same sign everywhere: a moves every step, towards b.
        {"x^2+1", -1, 1, 18, StepOutcome::BelowTolerance, false},
        // An empty interval (a click without moving) and a reversed one end at once.
        {"x^2-2", 5, 5, 0, StepOutcome::BelowTolerance, false},
        {"x^2-2", 1.5, 1.4142, 0, StepOutcome::BelowTolerance, false},
        {"x^2-2", 1.41421, 1.41421, 0, StepOutcome::BelowTolerance, true},
        // A product of exactly 0 moves b: the zero at a is kept.
        {"x", 0, 2, 18, StepOutcome::BelowTolerance, true},
        // Start values so large that halving stops before the bound: the run still ends, at the
        // zero as closely as the numbers go.
        {"x-1e12-0.3", 1e12, 1e13, 0, StepOutcome::NoShrink, true},
        // |f| = 0.1 exactly is no zero, in the window and in the table alike.
        {"0.1", 0, 1, 17, StepOutcome::BelowTolerance, false},
        {"0.0999", 0, 1, 17, StepOutcome::BelowTolerance, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.term << " on [" << c.a << ", " << c.b << "]");
        const TermTree tree = compiled(c.term);
        const CurveValueFunction f = TermFunction(tree);
        const WindowRun run = runToTheEnd(f, c.a, c.b, 0.00001);
        if (c.end != StepOutcome::NoShrink) {
            EXPECT_EQ(run.steps, c.steps);
        }
        EXPECT_EQ(run.end, c.end);
        EXPECT_EQ(VerdictOn(f, run.a, run.b, run.end).solved, c.solved);
        const BisectionReplay replay = ReplayBisection(f, c.a, c.b, 0.00001);
        EXPECT_EQ(replay.end, c.end);
        EXPECT_EQ(replay.verdict.solved, c.solved);
        // One row per step, one more for the undefined value, and at least one.
        const std::size_t rows =
            static_cast<std::size_t>(run.steps) + (c.end == StepOutcome::Undefined ? 1 : 0);
        EXPECT_EQ(replay.rows.size(), std::max<std::size_t>(rows, 1));
    }
}

TEST(BisectionSteps, UndefinedMidpointLeavesTheIntervalAndShowsInTheLastRow)
{
    const TermTree tree = compiled("1/x");
    const CurveValueFunction f = TermFunction(tree);
    const BisectionStep step = StepBisection(f, -1, 1, 0.00001);
    EXPECT_EQ(step.outcome, StepOutcome::Undefined);
    EXPECT_EQ(step.a, -1);
    EXPECT_EQ(step.b, 1);
    EXPECT_EQ(step.fa, -1.0);
    EXPECT_FALSE(step.fm);
    const BisectionReplay replay = ReplayBisection(f, -1, 1, 0.00001);
    ASSERT_EQ(replay.rows.size(), 1u);
    EXPECT_FALSE(replay.rows[0].product());
    EXPECT_EQ(ResultLines(replay.verdict, 5), std::vector<std::string>{" Keine L\u00F6sung!"});
    // The band of [-1, 1] is coloured by values that exist; an undefined end gives no colour.
    EXPECT_EQ(BandOf(f(-1), f(1)), BandKind::SignChange);
    EXPECT_EQ(BandOf(f(0), f(1)), BandKind::Undefined);
    EXPECT_EQ(BandOf(2.0, 3.0), BandKind::SameSign);
    EXPECT_EQ(BandOf(0.0, 3.0), BandKind::SignChange);
}

TEST(BisectionReplay, LargeStartValuesAndLongRunsStopInBoundedRows)
{
    const struct {
        double a;
        double b;
        double tolerance;
        StepOutcome end;
    } cases[] = {
        {1e12, 1e13, 0.00001, StepOutcome::NoShrink},
        {1e13, 1e13 + 1, 0.000001, StepOutcome::NoShrink},
        {-1e40, 1e40, 1e-300, StepOutcome::Halved}, // 200 rows reached
        {1, 2, 1e-300, StepOutcome::NoShrink},
    };
    const TermTree tree = compiled("x");
    const CurveValueFunction f = TermFunction(tree);
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "[" << c.a << ", " << c.b << "] bound " << c.tolerance);
        const BisectionReplay replay = ReplayBisection(f, c.a, c.b, c.tolerance);
        EXPECT_LE(replay.rows.size(), static_cast<std::size_t>(kMaxReplayRows));
        EXPECT_GE(replay.rows.size(), 1u);
        EXPECT_EQ(replay.end, c.end);
        const WindowRun run = runToTheEnd(f, c.a, c.b, c.tolerance);
        if (c.end == StepOutcome::NoShrink) {
            EXPECT_EQ(run.end, StepOutcome::NoShrink);
            EXPECT_EQ(replay.rows.size(), static_cast<std::size_t>(run.steps));
        }
    }
    EXPECT_EQ(ReplayBisection(f, -1e40, 1e40, 1e-6, 7).rows.size(), 7u);
}

TEST(BisectionReplay, NestedIntervalsFollowTheStepsAndStopWhereTheyStop)
{
    const TermTree root = compiled("x^2-2");
    const CurveValueFunction f = TermFunction(root);
    const BisectionReplay replay = ReplayBisection(f, 1, 2, 0.00001);
    const std::vector<BisectionInterval> bars = NestedIntervals(f, 1, 2, 15);
    ASSERT_EQ(bars.size(), 15u);
    for (std::size_t i = 0; i < bars.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(bars[i].a, replay.rows[i + 1].a);
        EXPECT_EQ(bars[i].b, replay.rows[i + 1].b);
    }
    EXPECT_TRUE(NestedIntervals(f, 1, 2, 0).empty());
    const TermTree pole = compiled("1/x");
    EXPECT_TRUE(NestedIntervals(TermFunction(pole), -1, 1, 5).empty());
    EXPECT_EQ(NestedIntervals(TermFunction(pole), -1, 2, 5).size(), 5u);
}

} // namespace
} // namespace kurvex
