// The curve-point rows through their widgets: the kinds switched on by their boxes, the colours
// and marker factor handed to the marks, and a signal for each change.
#include "lesson/CurvePointRows.h"

#include "controls/BitCheckBox.h"
#include "controls/ColorButton.h"

#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>

namespace kurvex {
namespace {

std::unique_ptr<CurvePointRows> makeRows()
{
    return std::make_unique<CurvePointRows>(
        std::array<CurvePointRowNames, 3>{
            {{"HighBox", QStringLiteral(" Hochpunkte "), "ColorButton4"},
             {"LowBox", QStringLiteral(" Tiefpunkte "), "ColorButton3"},
             {"InflectionBox", QStringLiteral(" Wendepunkte "), "ColorButton2"}}},
        SpecialPointStyle{0x008000, 0x008001, 0xFF0000, 4}, nullptr);
}

TEST(CurvePointRows, BoxesSwitchTheKindsOneByOne)
{
    const auto rows = makeRows();
    EXPECT_FALSE(rows->anyShown());
    EXPECT_EQ(rows->box(SpecialPointKind::Low)->objectName(), QStringLiteral("LowBox"));
    EXPECT_EQ(rows->box(SpecialPointKind::Inflection)->text(), QStringLiteral(" Wendepunkte "));
    QSignalSpy shown(rows.get(), &CurvePointRows::shownChanged);
    const struct {
        SpecialPointKind kind;
        SpecialPointKinds expected;
    } steps[] = {{SpecialPointKind::Low, {false, true, false}},
                 {SpecialPointKind::Inflection, {false, true, true}},
                 {SpecialPointKind::Low, {false, false, true}},
                 {SpecialPointKind::High, {true, false, true}}};
    int clicks = 0;
    for (const auto& s : steps) {
        BitCheckBox* box = rows->box(s.kind);
        QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(6, box->height() / 2));
        ++clicks;
        SCOPED_TRACE(clicks);
        const SpecialPointKinds k = rows->shown();
        EXPECT_EQ(k.high, s.expected.high);
        EXPECT_EQ(k.low, s.expected.low);
        EXPECT_EQ(k.inflection, s.expected.inflection);
        EXPECT_EQ(shown.count(), clicks);
    }
    EXPECT_TRUE(rows->anyShown());
}

TEST(CurvePointRows, PickedColoursReachTheStyle)
{
    const auto rows = makeRows();
    EXPECT_EQ(rows->colourButton(SpecialPointKind::Low)->SelectionColor(), 0x008001u);
    EXPECT_EQ(rows->style().markerFactor, 4);
    QSignalSpy colours(rows.get(), &CurvePointRows::coloursChanged);
    ColorButton* button = rows->colourButton(SpecialPointKind::Inflection);
    button->setSelectionColor(0x123456); // as a pick from the palette does
    EXPECT_EQ(colours.count(), 1);
    const SpecialPointStyle style = rows->style();
    EXPECT_EQ(style.inflectionColor, 0x123456u);
    EXPECT_EQ(style.highColor, 0x008000u);
    EXPECT_EQ(style.lowColor, 0x008001u);
}

} // namespace
} // namespace kurvex
