// The coordinate system painted through the QPainter canvas into a bitmap: axis and grid pixels.
#include "core/CoordinateSystem.h"
#include "core/U_init.h"
#include "platform/QtCanvas.h"

#include <QImage>

#include <gtest/gtest.h>

namespace kurvex {
namespace {

class CoordinateSystemImageTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        saved_ = {XMin, XMax, YMin, YMax};
        savedSize_ = {PlotWidth, PlotHeight, GridMode};
        savedGrid_ = GridColor;
        savedCanvas_ = DrawCanvas;
        XMin = YMin = -7.0;
        XMax = YMax = 7.0;
        PlotWidth = PlotHeight = 700;
        GridColor = 0x808080;
        image_ = QImage(701, 701, QImage::Format_RGB32);
        image_.fill(Qt::white);
    }
    void TearDown() override
    {
        XMin = saved_[0];
        XMax = saved_[1];
        YMin = saved_[2];
        YMax = saved_[3];
        PlotWidth = savedSize_[0];
        PlotHeight = savedSize_[1];
        GridMode = savedSize_[2];
        GridColor = savedGrid_;
        DrawCanvas = savedCanvas_;
    }
    void paint(int gridMode)
    {
        GridMode = gridMode;
        QtCanvas canvas(image_);
        DrawCanvas = &canvas;
        DrawCoordinateSystem();
        DrawCanvas = nullptr;
        canvas.end();
    }
    TColor at(int x, int y) const
    {
        const QRgb c = image_.pixel(x, y);
        return makeColor(qRed(c), qGreen(c), qBlue(c));
    }

    QImage image_;

private:
    std::array<double, 4> saved_{};
    std::array<int, 3> savedSize_{};
    TColor savedGrid_ = 0;
    Canvas* savedCanvas_ = nullptr;
};

TEST_F(CoordinateSystemImageTest, AxesArrowsTicksAndSolidGrid)
{
    paint(3);
    for (int p : {5, 100, 340, 600, 690}) {
        EXPECT_EQ(at(p, 350), clBlack) << p; // x axis
        EXPECT_EQ(at(350, p), clBlack) << p; // y axis
    }
    EXPECT_EQ(at(697, 349), clBlack); // arrow head, filled
    EXPECT_EQ(at(349, 3), clBlack);
    EXPECT_EQ(at(400, 347), clBlack); // tick mark at x = 1
    EXPECT_EQ(at(353, 300), clBlack); // tick mark at y = 1
    for (int p : {20, 200, 500, 680}) {
        EXPECT_EQ(at(325, p), 0x808080u) << p; // grid at x = -0.5
        EXPECT_EQ(at(p, 275), 0x808080u) << p; // grid at y = 1.5
    }
    EXPECT_EQ(at(337, 110), clWhite); // between grid lines
    // The "1" under x = 1 is drawn somewhere below the axis.
    bool label = false;
    for (int y = 356; y < 375; ++y)
        for (int x = 390; x < 410; ++x)
            label = label || at(x, y) == clBlack;
    EXPECT_TRUE(label);
}

TEST_F(CoordinateSystemImageTest, DottedGridLeavesGaps)
{
    paint(2);
    int grey = 0;
    int white = 0;
    for (int y = 10; y < 340; ++y) {
        grey += at(325, y) == 0x808080u ? 1 : 0;
        white += at(325, y) == clWhite ? 1 : 0;
    }
    EXPECT_GT(grey, 100);
    EXPECT_GT(white, 100);
}

TEST_F(CoordinateSystemImageTest, NoGridInModeOne)
{
    paint(1);
    for (int y = 10; y < 340; ++y)
        ASSERT_EQ(at(325, y), clWhite) << y;
}

} // namespace
} // namespace kurvex
