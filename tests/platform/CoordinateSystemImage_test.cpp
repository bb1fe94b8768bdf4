// The coordinate system painted through the QPainter canvas into a bitmap: axis and grid pixels.
#include "core/CoordinateSystem.h"
#include "core/Settings.h"
#include "platform/QtCanvas.h"
#include "support/SharedState.h"

#include <QImage>

#include <gtest/gtest.h>

namespace kurvex {
namespace {

// Paints the default -7..7 window on a 700-pixel plot with the given grid mode.
QImage paintDefaultWindow(int gridMode)
{
    const test::SharedStateScope shared;
    XMin = YMin = -7.0;
    XMax = YMax = 7.0;
    PlotWidth = PlotHeight = 700;
    GridMode = gridMode;
    GridColor = clGray;
    AutoTicks = true;
    TrigTicks = PiAxis = NumberLineMode = false;
    DrawScale = 1.0;
    QImage image(701, 701, QImage::Format_RGB32);
    image.fill(Qt::white);
    {
        QtCanvas canvas(image);
        DrawCanvas = &canvas;
        DrawCoordinateSystem();
    }
    return image;
}

TColor at(const QImage& image, int x, int y)
{
    const QRgb c = image.pixel(x, y);
    return makeColor(qRed(c), qGreen(c), qBlue(c));
}

TEST(CoordinateSystemImage, AxesArrowsTicksAndSolidGrid)
{
    const QImage image = paintDefaultWindow(3);
    for (int p : {5, 100, 340, 600, 690}) {
        EXPECT_EQ(at(image, p, 350), clBlack) << p; // x axis
        EXPECT_EQ(at(image, 350, p), clBlack) << p; // y axis
    }
    EXPECT_EQ(at(image, 697, 349), clBlack); // arrow heads, filled
    EXPECT_EQ(at(image, 349, 3), clBlack);
    EXPECT_EQ(at(image, 400, 347), clBlack); // tick mark at x = 1
    EXPECT_EQ(at(image, 353, 300), clBlack); // tick mark at y = 1
    for (int p : {20, 200, 500, 680}) {
        EXPECT_EQ(at(image, 325, p), clGray) << p; // grid at x = -0.5
        EXPECT_EQ(at(image, p, 275), clGray) << p; // grid at y = 1.5
    }
    EXPECT_EQ(at(image, 337, 110), clWhite); // between grid lines
    bool label = false;                      // the "1" under x = 1
    for (int y = 356; y < 375; ++y)
        for (int x = 390; x < 410; ++x)
            label = label || at(image, x, y) == clBlack;
    EXPECT_TRUE(label);
}

TEST(CoordinateSystemImage, DottedGridLeavesGapsAndModeOneHasNone)
{
    const QImage dotted = paintDefaultWindow(2);
    const QImage none = paintDefaultWindow(1);
    int grey = 0;
    int white = 0;
    for (int y = 10; y < 340; ++y) {
        grey += at(dotted, 325, y) == clGray ? 1 : 0;
        white += at(dotted, 325, y) == clWhite ? 1 : 0;
        EXPECT_EQ(at(none, 325, y), clWhite) << y;
    }
    EXPECT_GT(grey, 100);
    EXPECT_GT(white, 100);
}

} // namespace
} // namespace kurvex
