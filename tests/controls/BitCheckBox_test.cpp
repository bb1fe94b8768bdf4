// Tests of the bitmap check box: state cycle, glyph strips, click and keys.
#include "controls/BitCheckBox.h"

#include <QPainter>
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

TEST(BitCheckBoxTest, OwnGlyphKeepsAnEvenOneLogicalPixelFrameAtEveryRatio)
{
    const QColor frame(0x80, 0x80, 0x80);
    for (const int ratio : {1, 2, 3}) {
        SCOPED_TRACE(ratio);
        const QPixmap unchecked = DefaultCheckGlyph(cbUnchecked, ratio);
        EXPECT_EQ(unchecked.size(), QSize(13, 13) * ratio);
        EXPECT_EQ(unchecked.deviceIndependentSize(), QSizeF(13, 13));
        const QImage img = unchecked.toImage();
        const int last = 13 * ratio - 1;
        const int middle = last / 2;
        for (int i = 0; i < ratio; ++i) {
            EXPECT_EQ(img.pixelColor(i, middle), frame) << i;
            EXPECT_EQ(img.pixelColor(last - i, middle), frame) << i;
            EXPECT_EQ(img.pixelColor(middle, i), frame) << i;
            EXPECT_EQ(img.pixelColor(middle, last - i), frame) << i;
        }
        EXPECT_EQ(img.pixelColor(ratio, middle), QColor(Qt::white));
        EXPECT_EQ(img.pixelColor(last - ratio, middle), QColor(Qt::white));
        EXPECT_EQ(img.pixelColor(middle, ratio), QColor(Qt::white));
        EXPECT_EQ(img.pixelColor(middle, last - ratio), QColor(Qt::white));
        // The tick: black only in the checked glyph.
        const QImage checked = DefaultCheckGlyph(cbChecked, ratio).toImage();
        EXPECT_EQ(checked.pixelColor(11 * ratio / 2, 9 * ratio - 1), QColor(Qt::black));
        EXPECT_EQ(img.pixelColor(11 * ratio / 2, 9 * ratio - 1), QColor(Qt::white));
    }
}

TEST(BitCheckBoxTest, HiDpiStripIsPlacedInLogicalPixels)
{
    // Two 13 x 13 glyphs at ratio 2: red, and blue for the disabled look.
    QPixmap strip(52, 26);
    strip.fill(Qt::blue);
    {
        QPainter p(&strip);
        p.fillRect(0, 0, 26, 26, Qt::red);
    }
    strip.setDevicePixelRatio(2.0);
    BitCheckBox box(QStringLiteral("x"));
    box.resize(97, 17);
    box.setGlyph(cbUnchecked, strip);
    EXPECT_EQ(box.numGlyphs(cbUnchecked), 2);
    QImage img = box.grab().toImage();
    EXPECT_EQ(img.pixelColor(2, 8), QColor(Qt::red));
    EXPECT_EQ(img.pixelColor(12, 14), QColor(Qt::red)); // 13 x 13, centred in the 17 rows
    EXPECT_NE(img.pixelColor(12, 15), QColor(Qt::red));
    EXPECT_NE(img.pixelColor(13, 8), QColor(Qt::red));
    EXPECT_NE(img.pixelColor(13, 8), QColor(Qt::blue));
    box.setEnabled(false);
    img = box.grab().toImage();
    EXPECT_EQ(img.pixelColor(2, 8), QColor(Qt::blue));
    box.setAlignment(taLeftJustify);
    img = box.grab().toImage();
    EXPECT_EQ(img.pixelColor(84, 8), QColor(Qt::blue));
    EXPECT_NE(img.pixelColor(83, 8), QColor(Qt::blue));
}

} // namespace
} // namespace kurvex
