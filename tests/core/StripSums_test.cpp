// Tests of the upper and lower sums: strips and their sampled extremes, swapped ends, undefined
// samples, the bounded n and the bounded sampling of wide intervals.
#include "core/StripSums.h"

#include "core/term/Term.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <numbers>
#include <vector>

namespace kurvex {
namespace {

constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
// One pixel column of -7..7 on a 700-pixel plot.
constexpr double kPixel = 0.02;

// f(x) of a term, nothing where it is undefined.
class Function {
public:
    explicit Function(const char* text) { EXPECT_TRUE(CompileTerm(tree_, text, true)) << text; }
    CurveValueFunction operator()() const
    {
        return [this](double x) -> std::optional<double> {
            const double y = EvaluateTerm(tree_, x, 0, 0, 0, 0, 0, 0);
            return EvalOk ? std::optional<double>(y) : std::nullopt;
        };
    }

private:
    TermTree tree_;
};

TEST(StripSums, SumsOfSchoolExamples)
{
    struct Case {
        const char* name;
        const char* term;
        double a, b;
        int n;
        int count;
        double upper, lower, tolerance;
    };
    const double pi = std::numbers::pi;
    const Case cases[] = {
        // The extremes of x^2 lie at strip ends, which are always sampled.
        {"x^2 on [-2, 2], n = 4", "x^2", -2, 2, 4, 4, 10, 2, 1e-12},
        {"a > b gives the same sums", "x^2", 2, -2, 4, 4, 10, 2, 1e-12},
        {"below the axis counts negative", "-1", 0, 2, 4, 4, -2, -2, 1e-12},
        {"n = 0 is one strip", "x", 0, 2, 0, 1, 4, 0, 1e-12},
        // The maximum inside the strip, found by the pixel sampling, not by the ends (sin 0 = 0).
        {"sin on [0, pi], n = 1", "sin(x)", 0, pi, 1, 1, pi, 0, 1e-3 * pi},
        {"monotone x on [0, 1], n = 10", "x", 0, 1, 10, 10, 0.55, 0.45, 1e-12},
        {"empty interval", "x^2", 1, 1, 3, 3, 0, 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const Function f(c.term);
        const StripSums s = ComputeStripSums(f(), c.a, c.b, c.n, kPixel);
        EXPECT_EQ(s.count, c.count);
        EXPECT_EQ(s.strips.size(), static_cast<std::size_t>(c.count));
        ASSERT_TRUE(s.upper && s.lower);
        EXPECT_NEAR(*s.upper, c.upper, c.tolerance);
        EXPECT_NEAR(*s.lower, c.lower, c.tolerance);
    }
}

TEST(StripSums, StripsCoverTheIntervalAndEndExactlyAtB)
{
    // sqrt(1 - x^2) is undefined just beyond 1: an end drifting past b would lose the last strip.
    const Function f("sqrt(1-x^2)");
    for (const int n : {3, 7, 10, 49, 1000}) {
        SCOPED_TRACE(n);
        const StripSums s = ComputeStripSums(f(), -1, 1, n, kPixel);
        ASSERT_EQ(s.strips.size(), static_cast<std::size_t>(n));
        EXPECT_EQ(s.strips.front().x0, -1.0);
        EXPECT_EQ(s.strips.back().x1, 1.0);
        for (std::size_t i = 1; i < s.strips.size(); ++i) {
            EXPECT_EQ(s.strips[i].x0, s.strips[i - 1].x1);
        }
        EXPECT_TRUE(s.upper.has_value());
        EXPECT_TRUE(s.lower.has_value());
    }
}

TEST(StripSums, UndefinedSampleLeavesItsStripAndTheSumsWithoutANumber)
{
    struct Case {
        const char* name;
        const char* term;
        double a, b;
        int n;
        std::vector<std::size_t> undefinedStrips;
    };
    const Case cases[] = {
        // f(0) does not exist; a 0 in its place would give a finite lower sum.
        {"1/x on [0, 2]", "1/x", 0, 2, 4, {0}},
        // The pole at a strip border belongs to both strips.
        {"1/x with its pole between two strips", "1/x", -1, 1, 2, {0, 1}},
        {"ln x from 0", "ln(x)", 0, 2, 1, {0}},
        {"sqrt(x) left of 0 inside the first strip", "sqrt(x)", -0.5, 2, 2, {0}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const Function f(c.term);
        const StripSums s = ComputeStripSums(f(), c.a, c.b, c.n, kPixel);
        EXPECT_FALSE(s.upper.has_value());
        EXPECT_FALSE(s.lower.has_value());
        ASSERT_EQ(s.strips.size(), static_cast<std::size_t>(c.n));
        // The other strips keep their extremes for the picture.
        for (std::size_t i = 0; i < s.strips.size(); ++i) {
            const bool undefined =
                std::find(c.undefinedStrips.begin(), c.undefinedStrips.end(), i) != c.undefinedStrips.end();
            EXPECT_EQ(!s.strips[i].min.has_value(), undefined) << i;
            EXPECT_EQ(!s.strips[i].max.has_value(), undefined) << i;
        }
    }
    EXPECT_EQ(StripSumText(std::nullopt), " nicht definiert");
    EXPECT_EQ("O =" + StripSumText(10.0), "O = 10,0000");
    EXPECT_EQ("U =" + StripSumText(kInf), "U = nicht definiert");
}

TEST(StripSums, IntervalsWithoutFiniteEndsOrNegativeNDrawNoStrips)
{
    const Function f("x");
    const struct {
        const char* name;
        double a, b;
        int n;
        bool sumsDefined;
    } cases[] = {
        {"negative n", 0, 2, -3, true},
        {"infinite end", 0, kInf, 4, false},
        {"NaN end", kNaN, 2, 4, false},
        {"width beyond the largest double", -1.5e308, 1.5e308, 4, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const StripSums s = ComputeStripSums(f(), c.a, c.b, c.n, kPixel);
        EXPECT_EQ(s.count, 0);
        EXPECT_TRUE(s.strips.empty());
        EXPECT_EQ(s.upper.has_value(), c.sumsDefined);
        if (c.sumsDefined) {
            EXPECT_EQ(*s.upper, 0.0);
            EXPECT_EQ(*s.lower, 0.0);
        }
    }
}

TEST(StripSums, SamplesStayBoundedWhateverTheIntervalAndStep)
{
    const struct {
        const char* name;
        double a, b;
        int n;
        double h;
    } cases[] = {
        {"interval a hundred million pixels wide", -1e6, 1e6, 1, kPixel},
        {"most strips on a wide interval", -1e6, 1e6, kMaxStripCount, kPixel},
        {"step of zero", 0, 2, 4, 0.0},
        {"step not a number", 0, 2, 4, kNaN},
        {"step too small to move x", 1e15, 1e15 + 4, 2, 1e-10},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        long long calls = 0;
        const StripSums s = ComputeStripSums(
            [&calls](double x) -> std::optional<double> {
                ++calls;
                return x;
            },
            c.a, c.b, c.n, c.h);
        EXPECT_EQ(s.count, c.n);
        EXPECT_LE(calls, static_cast<long long>(kMaxStripSamples) + 3LL * c.n);
        EXPECT_TRUE(s.upper.has_value());
    }
}

TEST(StripSums, TypedCountIsRoundedAndBounded)
{
    const struct {
        double in;
        int out;
    } cases[] = {{4, 4},  {2.5, 2},   {3.5, 4},  {1e9, kMaxStripCount}, {kInf, kMaxStripCount},
                 {-5, 0}, {-kInf, 0}, {kNaN, 0}, {10000.4, 10000},      {0.4, 0}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.in);
        EXPECT_EQ(BoundedStripCount(c.in), c.out);
    }
}

} // namespace
} // namespace kurvex
