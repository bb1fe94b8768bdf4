// The lesson frame on a screen of device pixel ratio 2 (this program's main sets the scale): the
// plot is drawn at the screen's resolution, so a thin curve is one device pixel wide, not two.
#include "lesson/TestLessonWindow.h"

#include "core/WorldWindow.h"
#include "support/LessonFixture.h"

#include <QGuiApplication>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>

namespace kurvex {
namespace {

class HiDpiTest : public test::LessonWindowFixture {
protected:
    std::unique_ptr<TestLessonWindow> window;
};

// Rows of column x whose pixel has the colour, in device pixels.
int rowsOfColour(const QImage& image, int x, QRgb colour)
{
    int rows = 0;
    for (int y = 0; y < image.height(); ++y) {
        rows += (image.pixel(x, y) & 0xFFFFFF) == (colour & 0xFFFFFF) ? 1 : 0;
    }
    return rows;
}

TEST_F(HiDpiTest, ThinCurveAndAxisAreOneDevicePixelWide)
{
    ASSERT_DOUBLE_EQ(qApp->devicePixelRatio(), 2.0);
    setWorld({-7, 7, -7, 7});
    BackgroundColor = clWhite;
    GridMode = 1; // no grid in the columns looked at
    window = std::make_unique<TestLessonWindow>();
    window->showDerivative = false;
    window->setTerm("3");
    window->resize(1000, 760);
    window->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    window->refresh();

    const QImage& picture = window->foregroundImage();
    EXPECT_DOUBLE_EQ(picture.devicePixelRatio(), 2.0);
    EXPECT_EQ(picture.size(), QSize(PlotWidth, PlotHeight) * 2);
    // A column between ticks: the red line y = 3 and the black x axis, one device row each.
    const int column = static_cast<int>(PlotWidth * 2 * 0.3) + 1;
    EXPECT_EQ(rowsOfColour(picture, column, qRgb(255, 0, 0)), 1);
    EXPECT_EQ(rowsOfColour(picture, column, qRgb(0, 0, 0)), 1);
}

} // namespace
} // namespace kurvex

// A screen of pixel ratio 2, set before the application object exists.
int main(int argc, char** argv)
{
    qputenv("QT_SCALE_FACTOR", "2");
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
