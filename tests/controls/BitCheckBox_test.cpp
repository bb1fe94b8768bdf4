// Tests of the bitmap check box: state cycle, glyph strips, click and keys.
#include "controls/BitCheckBox.h"

#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

namespace kurvex {
namespace {

TEST(BitCheckBoxTest, ToggleCyclesWithoutClick)
{
    BitCheckBox box;
    QSignalSpy clicks(&box, &BitCheckBox::clicked);
    box.Toggle();
    EXPECT_EQ(box.State(), cbChecked);
    box.Toggle();
    EXPECT_EQ(box.State(), cbUnchecked);
    box.setAllowGrayed(true);
    box.Toggle();
    EXPECT_EQ(box.State(), cbGrayed);
    EXPECT_FALSE(box.Checked());
    box.Toggle();
    EXPECT_EQ(box.State(), cbChecked);
    EXPECT_TRUE(box.Checked());
    box.setChecked(false);
    EXPECT_EQ(clicks.count(), 0); // changes from code are no click
}

TEST(BitCheckBoxTest, GlyphStripsCountTheirGlyphs)
{
    BitCheckBox box;
    EXPECT_EQ(box.numGlyphs(cbChecked), 1);
    EXPECT_FALSE(box.glyph(cbChecked).isNull());
    QPixmap strip(26, 13);
    strip.fill(Qt::red);
    box.setGlyph(cbChecked, strip);
    EXPECT_EQ(box.numGlyphs(cbChecked), 2);
    box.setGlyph(cbChecked, QPixmap());
    EXPECT_EQ(box.numGlyphs(cbChecked), 1);
    EXPECT_EQ(box.glyph(cbChecked).width(), 13);
}

TEST(BitCheckBoxTest, ClickTogglesFiresAndFocuses)
{
    QWidget window;
    auto* box = new BitCheckBox(QStringLiteral("&automatisch"), &window);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    QSignalSpy clicks(box, &BitCheckBox::clicked);
    bool checkedInHandler = false;
    QObject::connect(box, &BitCheckBox::clicked, [&] { checkedInHandler = box->Checked(); });
    QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(5, 8));
    EXPECT_EQ(clicks.count(), 1);
    EXPECT_TRUE(checkedInHandler);
    EXPECT_TRUE(box->hasFocus());
    QTest::keyClick(box, Qt::Key_Space);
    EXPECT_FALSE(box->Checked());
    EXPECT_EQ(clicks.count(), 2);
}

TEST(BitCheckBoxTest, GlyphPlacementFollowsAlignment)
{
    BitCheckBox box(QStringLiteral("x"));
    box.resize(97, 17);
    QPixmap red(13, 13);
    red.fill(Qt::red);
    box.setGlyph(cbUnchecked, red);
    QImage img = box.grab().toImage();
    EXPECT_EQ(img.pixelColor(2, 8), QColor(Qt::red));
    box.setAlignment(taLeftJustify);
    img = box.grab().toImage();
    EXPECT_EQ(img.pixelColor(94, 8), QColor(Qt::red));
    EXPECT_NE(img.pixelColor(2, 8), QColor(Qt::red));
}

} // namespace
} // namespace kurvex
