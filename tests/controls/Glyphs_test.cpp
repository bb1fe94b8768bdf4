// Tests of glyphs drawn at a pixel ratio: pixmap and icon sizes, logical drawing coordinates.
#include "controls/Glyphs.h"

#include <QImage>
#include <QPainter>
#include <gtest/gtest.h>

namespace kurvex {
namespace {

// Left half red: at any ratio the red ends exactly at the logical middle.
void leftHalfRed(QPainter& p)
{
    p.fillRect(QRect(0, 0, 10, 20), Qt::red);
}

TEST(GlyphsTest, DrawnPixmapHasRatioTimesThePixelsAndDrawsLogically)
{
    for (const int ratio : {1, 2, 3}) {
        SCOPED_TRACE(ratio);
        const QPixmap pm = DrawnPixmap(QSize(20, 20), leftHalfRed, ratio);
        EXPECT_EQ(pm.size(), QSize(20, 20) * ratio);
        EXPECT_EQ(pm.devicePixelRatio(), ratio);
        EXPECT_EQ(pm.deviceIndependentSize(), QSizeF(20, 20));
        const QImage img = pm.toImage();
        EXPECT_EQ(img.pixelColor(10 * ratio - 1, 5), QColor(Qt::red));
        EXPECT_EQ(img.pixelColor(10 * ratio, 5).alpha(), 0);
    }
}

TEST(GlyphsTest, IconOfAHiDpiGlyphGivesTheDoubledPixmap)
{
    const QIcon sharp = DrawnIcon(QSize(20, 20), leftHalfRed, 2.0);
    const QPixmap pm = sharp.pixmap(QSize(20, 20), 2.0);
    EXPECT_EQ(pm.size(), QSize(40, 40));
    EXPECT_EQ(pm.devicePixelRatio(), 2.0);
    EXPECT_EQ(pm.toImage().pixelColor(19, 30), QColor(Qt::red));
    // An icon drawn at ratio 1 cannot give more than its 20 pixels: what a HiDPI screen would blur.
    EXPECT_EQ(DrawnIcon(QSize(20, 20), leftHalfRed, 1.0).pixmap(QSize(20, 20), 2.0).size(), QSize(20, 20));
}

} // namespace
} // namespace kurvex
