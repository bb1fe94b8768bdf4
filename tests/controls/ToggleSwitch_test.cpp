// Tests of the rocker switch: geometry, hit test, events of code and user changes.
#include "controls/ToggleSwitch.h"

#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace kurvex {
namespace {

TEST(SwitchGeometryTest, UncheckedDefaultSwitchIsMirrored)
{
    const SwitchGeometry g = ComputeSwitchGeometry(83, 24, 6, 6, false, true);
    EXPECT_EQ(std::vector<int>({g.h, g.w, g.half, g.m, g.s}), std::vector<int>({14, 79, -39, 41, -6}));
    const SwitchGeometry on = ComputeSwitchGeometry(83, 24, 6, 6, true, true);
    EXPECT_EQ(on.flatHalf().at(0), QPoint(2, 2));
    EXPECT_EQ(on.tiltedHalf().at(1), QPoint(41 + 39 - 6, 8));
}

struct HitCase {
    bool checked;
    bool checkedLeft;
    int x;
    bool toggles;
};

TEST(SwitchGeometryTest, OnlyTheTiltedHalfToggles)
{
    const HitCase cases[] = {
        {true, true, 60, true},   // half 39 positive: right of it toggles
        {true, true, 20, false},  // flat half
        {false, true, 20, true},  // mirrored: left of |half| toggles
        {false, true, 60, false}, //
        {false, false, 60, true}, // CheckedLeft false, unchecked: not mirrored
        {false, false, 20, false},
    };
    for (const HitCase& c : cases) {
        const SwitchGeometry g = ComputeSwitchGeometry(83, 24, 6, 6, c.checked, c.checkedLeft);
        EXPECT_EQ(SwitchPressToggles(c.x, g, c.checked, c.checkedLeft), c.toggles)
            << c.checked << c.checkedLeft << " x=" << c.x;
    }
}

class SwitchTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        window.resize(200, 100);
        sw = new ToggleSwitch(&window);
        sw->move(10, 10);
        window.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
        QObject::connect(sw, &ToggleSwitch::changed, [this] { events.push_back("changed"); });
        QObject::connect(sw, &ToggleSwitch::switchedOn, [this] { events.push_back("on"); });
        QObject::connect(sw, &ToggleSwitch::switchedOff, [this] { events.push_back("off"); });
        QObject::connect(sw, &ToggleSwitch::clicked, [this] { events.push_back("click"); });
    }
    QWidget window;
    ToggleSwitch* sw = nullptr;
    std::vector<std::string> events;
};

TEST_F(SwitchTest, CodeChangesFireNoClick)
{
    sw->setChecked(false);
    EXPECT_TRUE(events.empty());
    sw->setChecked(true);
    sw->setChecked(false);
    EXPECT_EQ(events, (std::vector<std::string>{"changed", "on", "changed", "off"}));
}

TEST_F(SwitchTest, OnlyAPressOnTheTiltedHalfTogglesButEveryReleaseClicks)
{
    // Unchecked with CheckedLeft: the flat half is on the right, the tilted half on the left.
    QTest::mouseClick(sw, Qt::LeftButton, {}, QPoint(70, 10));
    EXPECT_FALSE(sw->Checked());
    EXPECT_TRUE(sw->hasFocus());
    QTest::mouseClick(sw, Qt::LeftButton, {}, QPoint(10, 10));
    EXPECT_TRUE(sw->Checked());
    EXPECT_EQ(events, (std::vector<std::string>{"click", "changed", "on", "click"}));
}

TEST_F(SwitchTest, SpaceAndEnterToggleThenClick)
{
    sw->setFocus();
    QTest::keyClick(sw, Qt::Key_Space);
    QTest::keyClick(sw, Qt::Key_Return);
    EXPECT_FALSE(sw->Checked());
    EXPECT_EQ(events, (std::vector<std::string>{"changed", "on", "click", "changed", "off", "click"}));
}

TEST_F(SwitchTest, CaptionSitsOnTheFlatHalf)
{
    sw->setCheckedLeft(false);
    EXPECT_EQ(sw->currentCaption(), QStringLiteral("AUS"));
    // Unchecked equals CheckedLeft now: half positive, caption in the left half.
    EXPECT_LT(sw->captionPosition().x(), sw->geometry().m);
    sw->setCheckedLeft(true);
    EXPECT_GE(sw->captionPosition().x(), sw->geometry().m);
    sw->setChecked(true);
    EXPECT_EQ(sw->currentCaption(), QStringLiteral("EIN"));
}

TEST_F(SwitchTest, SideLengthMustFitTheWidth)
{
    EXPECT_FALSE(sw->setSideLength(sw->width() - 4));
    EXPECT_EQ(sw->SideLength(), 6);
    EXPECT_TRUE(sw->setSideLength(5));
    EXPECT_EQ(sw->SideLength(), 5);
}

TEST_F(SwitchTest, PaintsOnAndOffColours)
{
    sw->setChecked(true);
    const QImage img = sw->grab().toImage();
    const SwitchGeometry g = sw->geometry();
    // Flat half in OnColor ($FF = red), tilted half in OffColor ($80 = dark red).
    EXPECT_EQ(img.pixelColor(g.m - 4, 2 + g.h - 2), QColor(0xFF, 0, 0));
    EXPECT_EQ(img.pixelColor(g.m + 4, 2 + g.h - 1), QColor(0x80, 0, 0));
}

} // namespace
} // namespace kurvex
