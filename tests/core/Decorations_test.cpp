// Tests of the decorations' pixel helpers: a segment between world points cut to the plot.
#include "core/Decorations.h"

#include "core/Settings.h"
#include "core/WorldWindow.h"
#include "support/RestoreShared.h"

#include <gtest/gtest.h>

#include <limits>

namespace kurvex {
namespace {

class PlotSegmentTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        // 50 pixels per unit: x = -7 is column 0, y = 7 row 0.
        setWorld({-7, 7, -7, 7});
        PlotLeft = 0;
        PlotTop = 0;
        PlotWidth = 700;
        PlotHeight = 700;
    }

private:
    RestoreShared<double, double, double, double, int, int, int, int> restore_{
        XMin, XMax, YMin, YMax, PlotLeft, PlotTop, PlotWidth, PlotHeight};
};

TEST_F(PlotSegmentTest, CutsSegmentsToThePlotAndComputesFarPointsWithoutOverflow)
{
    using Segment = std::pair<Point, Point>;
    const double huge = 1e300;
    const struct {
        const char* name;
        double x0, y0, x1, y1;
        std::optional<Segment> expected;
    } cases[] = {
        {"inside", 0, 0, 1, 1, Segment{{350, 350}, {400, 300}}},
        {"to a far point above", 1, 1, 1, huge, Segment{{400, 300}, {400, 0}}},
        {"from a far point below", 0, -huge, 0, 0, Segment{{350, 700}, {350, 350}}},
        {"from the largest double", 1, 1, 2, 1.7e308, Segment{{400, 300}, {400, 0}}},
        {"far slanted through a corner", 0, 0, huge, huge, Segment{{350, 350}, {700, 0}}},
        {"slanted leaving right", 6, 0, 10, 4, Segment{{650, 350}, {700, 300}}},
        {"crossing the whole plot", -10, 0, 10, 0, Segment{{0, 350}, {700, 350}}},
        {"wholly above", 0, 8, 1, 9, std::nullopt},
        {"wholly left", -9, 0, -8, 1, std::nullopt},
        {"corner passing outside", 6.5, 8, 8, 6.5, std::nullopt},
        {"undefined end", 0, 0, 1, std::numeric_limits<double>::quiet_NaN(), std::nullopt},
        {"infinite end", 0, 0, 1, std::numeric_limits<double>::infinity(), std::nullopt},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(PlotSegment(c.x0, c.y0, c.x1, c.y1), c.expected);
    }
}

TEST_F(PlotSegmentTest, DegenerateWorldWindowDrawsNothing)
{
    setWorld({1, 1, -7, 7});
    EXPECT_EQ(PlotSegment(0, 0, 1, 1), std::nullopt);
}

} // namespace
} // namespace kurvex
