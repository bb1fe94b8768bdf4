// Print and export geometry: printed size per tick step, scale, origin, clip, fonts, file names.
#include "core/PrintGeometry.h"

#include <gtest/gtest.h>

#include <vector>

namespace kurvex {
namespace {

// An A4 page at 600 dpi (4960 pixels on 210 mm: 236.19 pixels per centimetre), offset (100, 120).
constexpr DeviceCaps kA4At600{4960, 7016, 210, 297, 600, 100, 120};

// The window -7..7 with the automatic tick step 1 on a 700 x 500 plot, 10 pt font.
PrintRequest screen700(int percent)
{
    PrintRequest r;
    r.plotWidth = 700;
    r.plotHeight = 500;
    r.sizePercent = percent;
    return r;
}

TEST(PrintGeometryTest, OneTickStepPrintsOneCentimetreTimesTheSize)
{
    struct Case {
        int percent;
        double widthCm;
    };
    // Sizes outside the settings' range are held to it.
    for (const Case c : {Case{100, 14.0}, {50, 7.0}, {200, 28.0}, {20, 2.8}, {0, 2.8}, {100000, 28.0}}) {
        const auto l = ComputePrintLayout(kA4At600, screen700(c.percent));
        ASSERT_TRUE(l) << c.percent;
        EXPECT_NEAR(l->pxPerCmX, 236.19, 0.01);
        EXPECT_NEAR(l->plotWidth / l->pxPerCmX, c.widthCm, 0.01) << c.percent;
        EXPECT_NEAR(l->plotHeight / l->pxPerCmY, c.widthCm, 0.01) << c.percent;
        EXPECT_NEAR(l->drawScale, c.widthCm / 14.0 * 0.020532 * l->pxPerCmX, 1e-12);
    }
}

TEST(PrintGeometryTest, ExactNumbersAtFullSize)
{
    const auto l = ComputePrintLayout(kA4At600, screen700(100));
    ASSERT_TRUE(l);
    EXPECT_EQ(l->plotWidth, 3307); // 14 cm at 236.19 px/cm
    EXPECT_NEAR(l->drawScale, 4.8495, 1e-4);
    EXPECT_EQ(l->originX, 100);
    EXPECT_EQ(l->originY, 120);
    // The clip reaches DrawScale (rounded) past the plot, so the last line is not cut in half.
    EXPECT_EQ(l->clip, (Rect{100, 120, 100 + 3307 + 5, 120 + l->plotHeight + 5}));
    // 10 pt x 4.85 / 600 x 330 x 0.39 = 10.4 pt, drawn with 83 printer pixels.
    EXPECT_EQ(l->fontPoints, 10);
    EXPECT_EQ(l->fontPixelHeight, 83);
}

TEST(PrintGeometryTest, MarginsMoveTheOriginAndPageClipEndsAtThePage)
{
    PrintRequest r = screen700(100);
    r.marginLeftCm = 1.0;
    r.marginTopCm = 2.0;
    r.clip = PrintClip::Page;
    const auto l = ComputePrintLayout(kA4At600, r);
    ASSERT_TRUE(l);
    EXPECT_EQ(l->originX, 236 + 100);
    EXPECT_EQ(l->originY, 472 + 120);
    EXPECT_EQ(l->clip, (Rect{336, 592, 4960, 7016}));
}

TEST(PrintGeometryTest, NothingToScaleByGivesNoLayout)
{
    DeviceCaps noSize = kA4At600;
    noSize.horzSize = 0;
    DeviceCaps noDpi = kA4At600;
    noDpi.logPixelsX = 0;
    EXPECT_FALSE(ComputePrintLayout(noSize, screen700(100)));
    EXPECT_FALSE(ComputePrintLayout(noDpi, screen700(100)));
    PrintRequest emptyPlot = screen700(100);
    emptyPlot.plotWidth = 0;
    PrintRequest noStep = screen700(100);
    noStep.autoYTickStep = 0.0;
    EXPECT_FALSE(ComputePrintLayout(kA4At600, emptyPlot));
    EXPECT_FALSE(ComputePrintLayout(kA4At600, noStep));
}

TEST(PrintGeometryTest, ExportSizeAndFont)
{
    EXPECT_EQ(ExportPlotSize(500, 400, 4.0), (ExportSize{2004, 1604}));
    EXPECT_EQ(ExportPlotSize(500, 400, 2.0), (ExportSize{1002, 802}));
    EXPECT_EQ(ExportPlotSize(0, 0, 4.0), (ExportSize{4, 4}));
    // A 10 pt plot font: 48 pt (64 units at 96 dpi) at scale 4 with the factor 1.2, 20 pt at scale 2.
    EXPECT_EQ(PointsToPixels(ExportFontPoints(10.0, 4.0, 1.2), 96), 64);
    EXPECT_EQ(PointsToPixels(ExportFontPoints(10.0, 2.0, 1.0), 96), 27);
    EXPECT_EQ(ExportFontPoints(0.0, 4.0, 1.2), 1);
}

TEST(PrintGeometryTest, MetafileTargetKeepsFolderAndReplacesOnlyTheSuffix)
{
    struct Case {
        std::string chosen;
        MetafileKind kind;
        std::string target;
    };
    const std::vector<Case> cases = {
        {"/home/u/bilder/graph.old.wmf", MetafileKind::Wmf, "/home/u/bilder/graph.old.wmf"},
        {"/home/u/bilder/graph.old.wmf", MetafileKind::Emf, "/home/u/bilder/graph.old.emf"},
        {"/home/u/bilder/graph.old", MetafileKind::Wmf, "/home/u/bilder/graph.old.wmf"},
        {"/home/u/graph.WMF", MetafileKind::Emf, "/home/u/graph.emf"},
        {"/home/u/kurve", MetafileKind::Emf, "/home/u/kurve.emf"},
        {"/home/u/graph.WMF", MetafileKind::Wmf, "/home/u/graph.WMF"},
        {"/home/u/.wmf", MetafileKind::Wmf, "/home/u/.wmf"},
        {"/home/u/.wmf", MetafileKind::Emf, "/home/u/.wmf.emf"},
        {"graph.emf", MetafileKind::Emf, "graph.emf"},
        {"/tmp/a.b/c", MetafileKind::Wmf, "/tmp/a.b/c.wmf"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(MetafileTargetPath(c.chosen, c.kind), c.target) << c.chosen;
    }
}

TEST(PrintGeometryTest, LayoutKeepsWhatItsFontCameFromForAnOwnScale)
{
    const auto l = ComputePrintLayout(kA4At600, screen700(100));
    ASSERT_TRUE(l);
    EXPECT_EQ(l->logPixelsX, 600);
    EXPECT_EQ(l->screenFontPoints, 10.0);
    EXPECT_EQ(PrintFontPoints(l->screenFontPoints, l->drawScale, l->logPixelsX), l->fontPoints);
    struct Case {
        double points;
        double scale;
        int dpi;
        int expected;
    };
    for (const Case c :
         {Case{10, 3.779, 600, 8}, {10, 4.8495, 600, 10}, {10, 0.01, 600, 1}, {10, 4.0, 0, 1}}) {
        SCOPED_TRACE(c.scale);
        EXPECT_EQ(PrintFontPoints(c.points, c.scale, c.dpi), c.expected);
    }
}

} // namespace
} // namespace kurvex
