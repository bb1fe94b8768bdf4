// The mappings lesson's computations: rails keep their centre, the bar's grid, the animation turn
// and its frame count, arrowheads, arrow order, value labels and the printed proportions.
#include "core/NumberRails.h"

#include "core/Settings.h"
#include "support/SharedState.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

namespace kurvex {
namespace {

TEST(NumberRails, HalvingAndDoublingKeepTheCentre)
{
    struct Case {
        RailRange rail;
        RailRange halved;
        RailRange doubled;
    };
    const Case cases[] = {
        {{-7, 7}, {-3.5, 3.5}, {-14, 14}},
        {{-2, 6}, {0, 4}, {-6, 10}}, // centre 2
        {{10, 11}, {10.25, 10.75}, {9.5, 11.5}},
        {{-1, 5}, {0.5, 3.5}, {-4, 8}}, // centre 2, as the f(x) rail's number line
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.rail.lo) + ".." + std::to_string(c.rail.hi));
        EXPECT_EQ(HalvedRail(c.rail), c.halved);
        EXPECT_EQ(DoubledRail(c.rail), c.doubled);
        const double centre = (c.rail.lo + c.rail.hi) / 2;
        EXPECT_DOUBLE_EQ((HalvedRail(c.rail).lo + HalvedRail(c.rail).hi) / 2, centre);
        EXPECT_DOUBLE_EQ(DoubledRail(HalvedRail(c.rail)).span(), c.rail.span());
    }
}

TEST(NumberRails, CheckClampsTheRailsOrBringsBothBackToTheStartWindow)
{
    test::SharedStateScope keep;
    IniSettings.x1 = -5;
    IniSettings.x2 = 5;
    IniSettings.y1 = -3;
    IniSettings.y2 = 3;
    struct Case {
        const char* name;
        Rails rails;
        Rails checked;
    };
    const Case cases[] = {
        {"usable", {{-7, 7}, {-1, 2}}, {{-7, 7}, {-1, 2}}},
        {"ends clamped", {{-20000, 7}, {-1, 200000}}, {{-10000, 7}, {-1, 100000}}},
        {"f(x) rail too narrow", {{-7, 7}, {1, 1.00005}}, {{-5, 5}, {-3, 3}}},
        {"x rail reversed", {{5, -5}, {-7, 7}}, {{-5, 5}, {-3, 3}}},
        {"undefined end", {{-7, std::nan("")}, {-7, 7}}, {{-5, 5}, {-3, 3}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(CheckedRails(c.rails), c.checked);
    }
}

TEST(NumberRails, AnF_RailHalvedTooOftenBringsBothRailsBackToTheStartWindow)
{
    test::SharedStateScope keep;
    IniSettings.x1 = -5;
    IniSettings.x2 = 5;
    IniSettings.y1 = -6;
    IniSettings.y2 = 6;
    Rails rails{{-7, 7}, {-7, 7}};
    int halvings = 0;
    while (rails.x == RailRange{-7, 7} && halvings < 100) {
        rails = CheckedRails({rails.x, HalvedRail(rails.f)});
        ++halvings;
    }
    // 14 / 2^17 is still above the smallest span of 0.0001, 14 / 2^18 no longer.
    EXPECT_EQ(halvings, 18);
    EXPECT_EQ(rails, (Rails{{-5, 5}, {-6, 6}}));
}

TEST(NumberRails, PixelColumnsMapOntoTheRail)
{
    struct Case {
        int column;
        int width;
        RailRange rail;
        double x;
    };
    const Case cases[] = {
        {0, 500, {-7, 7}, -7}, {500, 500, {-7, 7}, 7},    {250, 500, {-7, 7}, 0},
        {100, 400, {0, 4}, 1}, {-50, 500, {-7, 7}, -8.4}, // a drag left of the plot
        {10, 0, {-7, 7}, -7},                             // no plot yet: never a division by zero
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.column);
        EXPECT_DOUBLE_EQ(RailValueAt(c.column, c.width, c.rail), c.x);
    }
}

TEST(NumberRails, XBarHasAHundredPositionsPerTickOfTheXRailAndStaysBounded)
{
    struct Case {
        RailRange rail;
        int maximum;
    };
    const double inf = std::numeric_limits<double>::infinity();
    const Case cases[] = {
        {{-7, 7}, 1400},                               // tick 1
        {{-3.5, 3.5}, 1400},                           // tick 0.5
        {{-2, 2}, 800},                                // tick 0.5
        {{0, 10}, 2000},                               // tick 0.5
        {{0, 100}, 2000},                              // tick 5
        {{0, 1e-4}, 1000},   {{-10000, 100000}, 1100}, // the extremes the rails' check lets through
        {{3, 3}, 1},         {{0, std::nan("")}, 1},
        {{0, inf}, 1},       {{5, -5}, 2000}, // reversed: the span's size counts
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.rail.lo) + ".." + std::to_string(c.rail.hi));
        const int max = XBarMaximum(c.rail);
        EXPECT_EQ(max, c.maximum);
        EXPECT_GE(max, 1);
        EXPECT_LE(max, kMaxXBarPositions);
    }
}

TEST(NumberRails, AnimationTurnsOnlyBeyondTheEndsAndAlwaysBackOntoTheRail)
{
    const RailRange rail{-7, 7};
    struct Case {
        double x;
        double step;
        double turned;
    };
    const Case cases[] = {
        {0, 0.07, 0.07},
        {7, 0.07, 0.07}, // at the end: not yet beyond it
        {7.01, 0.07, -0.07},
        {-7, -0.07, -0.07},
        {-7.01, -0.07, 0.07},
        {9, -0.07, -0.07}, // already on its way back
        {std::nan(""), 0.07, 0.07},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.x);
        EXPECT_DOUBLE_EQ(RailTurn(c.x, c.step, rail), c.turned);
    }
}

TEST(NumberRails, SlowestSpeedCrossesTheRailInFortyTimesTheSteps)
{
    struct Case {
        int divisor;
        int steps;
    };
    for (const Case c : {Case{1, 200}, Case{40, 200}, Case{7, 50}}) {
        SCOPED_TRACE(c.divisor);
        const RailRange rail{-7, 7};
        const double mappingStep = rail.span() / c.steps;
        double x = rail.lo;
        double step = mappingStep;
        int frames = 0;
        while (step > 0 && frames < 1'000'000) {
            x += step / c.divisor;
            step = RailTurn(x, step, rail);
            ++frames;
        }
        // The strict test at the end lets x pass it by less than one frame's step.
        EXPECT_NEAR(frames, c.divisor * c.steps, 1);
        EXPECT_GT(x, rail.hi);
        EXPECT_LT(x - rail.hi, mappingStep / c.divisor + 1e-9);
    }
}

TEST(NumberRails, ArrowHeadPointsAlongTheArrow)
{
    struct Case {
        const char* name;
        Point p;
        Point q;
        std::array<Point, 3> head;
    };
    const Case cases[] = {
        {"straight up", {100, 500}, {100, 400}, {{{100, 400}, {96, 412}, {104, 412}}}},
        {"straight down keeps the upward head",
         {100, 300},
         {100, 400},
         {{{100, 400}, {96, 412}, {104, 412}}}},
        {"to the right", {0, 400}, {100, 400}, {{{100, 400}, {88, 396}, {88, 404}}}},
        {"to the left", {100, 400}, {0, 400}, {{{0, 400}, {12, 404}, {12, 396}}}},
        {"up and right at 45 degrees", {0, 100}, {100, 0}, {{{100, 0}, {89, 6}, {94, 11}}}},
        {"up and left at 45 degrees", {100, 100}, {0, 0}, {{{0, 0}, {6, 11}, {11, 6}}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const auto head = MappingArrowHead(c.p, c.q, 12, 4);
        for (std::size_t i = 0; i < 3; ++i) {
            EXPECT_EQ(head[i], c.head[i]) << i;
        }
    }
}

TEST(NumberRails, AxisArrowHeadOpensTowardsTheSideOfX)
{
    EXPECT_EQ(AxisArrowHead({50, 80}, 2.0, 12, 4), (std::array<Point, 3>{{{50, 80}, {62, 76}, {62, 84}}}));
    EXPECT_EQ(AxisArrowHead({50, 80}, 0.0, 12, 4), (std::array<Point, 3>{{{50, 80}, {38, 76}, {38, 84}}}));
    EXPECT_EQ(AxisArrowHead({50, 80}, -1.0, 12, 4), (std::array<Point, 3>{{{50, 80}, {38, 76}, {38, 84}}}));
}

TEST(NumberRails, FixedArrowsComeOldestFirstAndTheCurrentXLast)
{
    RecordList arrows;
    EXPECT_EQ(ArrowOrder(arrows, 0.5), std::vector<double>{0.5});
    for (double x : {-2.0, 1.0, 3.0}) {
        ListRecord r;
        r.value[0] = x;
        ListInsert(arrows, 1, r); // the newest at position 1
    }
    EXPECT_EQ(ArrowOrder(arrows, 0.5), (std::vector<double>{-2.0, 1.0, 3.0, 0.5}));
}

TEST(NumberRails, ValueLabelsShowTheNumberOrThatF_IsUndefined)
{
    struct Case {
        std::optional<double> y;
        int decimals;
        const char* text;
    };
    const Case cases[] = {
        {9.0, 2, "f(x) =  9,00"},
        {-0.5, 1, "f(x) = -0,5"},
        {std::nullopt, 2, "f(x) = nicht definiert"},
        {1234.5, 2, "f(x) =  1,23 E+3"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(FValueText(c.y, c.decimals), c.text);
    }
    EXPECT_EQ(XValueText(3.0, 2), "x =  3,00");
}

TEST(NumberRails, PrintedPictureKeepsTheScreenProportionsAndItsClipGrows)
{
    struct Case {
        int screenWidth;
        int screenHeight;
        int printWidth;
        int printHeight;
    };
    const Case cases[] = {
        {500, 500, 1654, 1654}, // a square Cartesian part stays square
        {600, 400, 1500, 1000},
        {0, 400, 1500, 777}, // nothing to scale by: left as it was
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.screenWidth);
        PrintLayout layout;
        layout.plotWidth = c.printWidth;
        layout.plotHeight = 777;
        layout.drawScale = 4.0;
        layout.clip = {100, 50, 100 + c.printWidth + 4, 50 + 777 + 4};
        KeepScreenProportions(layout, c.screenWidth, c.screenHeight, 1.25);
        EXPECT_EQ(layout.plotHeight, c.printHeight);
        if (c.screenWidth > 0) {
            EXPECT_EQ(layout.clip.top, 50);
            EXPECT_EQ(layout.clip.bottom, 50 + static_cast<int>(std::nearbyint((c.printHeight + 4) * 1.25)));
        }
    }
}

} // namespace
} // namespace kurvex
