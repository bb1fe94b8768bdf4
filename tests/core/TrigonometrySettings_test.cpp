// The trigonometry lesson's settings: step divisor rule, saving under the saved world, print scale.
#include "core/TrigonometrySettings.h"

#include "core/Settings.h"
#include "core/UnitCircle.h"
#include "platform/IniFile.h"
#include "support/SharedState.h"
#include "support/TestTempDir.h"

#include <gtest/gtest.h>

#include <numbers>

namespace kurvex {
namespace {

TEST(TrigonometrySettingsTest, AnimationStepsFromOneToTwentyElseTwo)
{
    struct Case {
        const char* text;
        int expected;
    };
    for (const Case c : {Case{"0", 2},
                         {"25", 2},
                         {"abc", 2},
                         {"20", 20},
                         {"1", 1},
                         {" 7 ", 7},
                         {"", 2},
                         {"-3", 2},
                         {"2,5", 2},
                         {"999", 2}}) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(TrigAnimationStepsFromText(c.text), c.expected);
    }
}

class TrigonometrySaveTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ProgramDir = dir.path().string() + "/";
        SavedXMin = -3.0;
        SavedXMax = 5.0;
        SavedYMin = -2.0;
        SavedYMax = 9.0;
        setWorld(kTrigWorld);
    }

    test::SharedStateScope shared;
    test::TempDir dir;
};

TEST_F(TrigonometrySaveTest, FileGetsTheSavedWorldAndTheLessonKeepsItsOwn)
{
    ASSERT_EQ(SaveSettingsWithWorld(SavedWorld(), kTrigWorld), "");
    EXPECT_EQ(currentWorld(), kTrigWorld);
    const IniFile ini(SettingsFilePath());
    EXPECT_EQ(ini.readFloat("Koordinatensystem", "x1", 0.0), -3.0);
    EXPECT_EQ(ini.readFloat("Koordinatensystem", "x2", 0.0), 5.0);
    EXPECT_EQ(ini.readFloat("Koordinatensystem", "y1", 0.0), -2.0);
    EXPECT_EQ(ini.readFloat("Koordinatensystem", "y2", 0.0), 9.0);
}

TEST_F(TrigonometrySaveTest, FailedSaveIsReportedAndTheLessonKeepsItsWorld)
{
    ProgramDir = dir.file("missing") + "/";
    const std::string failure = SaveSettingsWithWorld(SavedWorld(), kTrigWorld);
    EXPECT_NE(failure, "");
    EXPECT_EQ(currentWorld(), kTrigWorld);
}

// An A4 page at 600 dpi (236.19 pixels per centimetre) and the lesson's screen plot of 856 x 500.
constexpr DeviceCaps kA4At600{4960, 7016, 210, 297, 600, 100, 120};

PrintLayout trigLayout(int percent)
{
    PrintRequest r;
    r.xSpan = 13.0;
    r.ySpan = 8.0;
    r.autoXTickStep = std::numbers::pi / 6;
    r.autoYTickStep = 1.0;
    r.plotWidth = 856;
    r.plotHeight = 500;
    r.sizePercent = percent;
    PrintLayout layout = *ComputePrintLayout(kA4At600, r);
    ApplyTrigPrintScale(layout, {856, 500, 0, 0, percent, std::numbers::pi / 6, 1.0, 8.0});
    return layout;
}

TEST(TrigonometryPrintTest, PictureIsThirteenCentimetresWideAndEightHighAtFullSize)
{
    struct Case {
        int percent;
        double widthCm;
        double heightCm;
    };
    // 24.83 ticks of π/6 at 0.5263 cm; y as in every window, one unit a centimetre.
    for (const Case c : {Case{100, 13.067, 8.0}, {50, 6.533, 4.0}, {200, 26.134, 16.0}, {10, 2.613, 1.6}}) {
        SCOPED_TRACE(c.percent);
        const PrintLayout l = trigLayout(c.percent);
        EXPECT_NEAR(l.plotWidth / l.pxPerCmX, c.widthCm, 0.005);
        EXPECT_NEAR(l.plotHeight / l.pxPerCmY, c.heightCm, 0.005);
        // Pens, arrows and the font scale with the y factor.
        EXPECT_NEAR(l.drawScale, c.heightCm / 500 * l.pxPerCmY, 1e-12);
    }
}

TEST(TrigonometryPrintTest, ClipAndFontFollowTheNewScale)
{
    const PrintLayout l = trigLayout(100);
    EXPECT_NEAR(l.drawScale, 3.779, 0.001);
    EXPECT_EQ(l.clip, (Rect{100, 120, 100 + l.plotWidth + 4, 120 + l.plotHeight + 4}));
    // 10 pt x 3.78 / 600 x 330 x 0.39 = 8.1 pt, drawn with 67 printer pixels.
    EXPECT_EQ(l.fontPoints, 8);
    EXPECT_EQ(l.fontPixelHeight, 67);
}

TEST(TrigonometryPrintTest, RequestWithoutRoomChangesNothing)
{
    PrintRequest r;
    r.plotWidth = 856;
    r.plotHeight = 500;
    const PrintLayout before = *ComputePrintLayout(kA4At600, r);
    const TrigPrintRequest bad[] = {
        {0, 500, 0, 0, 100, 0.5, 1.0, 8.0},
        {856, 500, 856, 0, 100, 0.5, 1.0, 8.0},
        {856, 500, 0, 0, 100, 0.0, 1.0, 8.0},
        {856, 500, 0, 0, 100, 0.5, 1.0, 0.0},
    };
    for (const TrigPrintRequest& request : bad) {
        PrintLayout l = before;
        ApplyTrigPrintScale(l, request);
        EXPECT_EQ(l.plotWidth, before.plotWidth);
        EXPECT_EQ(l.plotHeight, before.plotHeight);
        EXPECT_EQ(l.drawScale, before.drawScale);
    }
}

} // namespace
} // namespace kurvex
