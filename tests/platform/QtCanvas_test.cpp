// Tests of the QPainter canvas: exact pixels, raster operations, text background, clip and origin.
#include "platform/QtCanvas.h"

#include <QGuiApplication>
#include <QImage>

#include <gtest/gtest.h>

#include <memory>

namespace kurvex {
namespace {

// Fonts and text need a GUI application; the suite's main is the plain one of GoogleTest.
class GuiEnvironment : public ::testing::Environment {
public:
    void SetUp() override
    {
        if (!QGuiApplication::instance())
            app_ = std::make_unique<QGuiApplication>(argc_, argv_);
    }
    void TearDown() override { app_.reset(); }

private:
    int argc_ = 1;
    char name_[16] = "test_platform";
    char* argv_[2] = {name_, nullptr};
    std::unique_ptr<QGuiApplication> app_;
};

[[maybe_unused]] const auto* const kGuiEnvironment = ::testing::AddGlobalTestEnvironment(new GuiEnvironment);

QImage whiteImage(int w = 60, int h = 60)
{
    QImage img(w, h, QImage::Format_RGB32);
    img.fill(Qt::white);
    return img;
}

TColor pixel(const QImage& img, int x, int y)
{
    const QRgb c = img.pixel(x, y);
    return makeColor(qRed(c), qGreen(c), qBlue(c));
}

int countColor(const QImage& img, TColor c)
{
    int n = 0;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            n += pixel(img, x, y) == c ? 1 : 0;
    return n;
}

TEST(QtCanvas, ThinLinesLeaveOutTheirLastPixel)
{
    QImage img = whiteImage();
    {
        QtCanvas c(img);
        c.moveTo(10, 10);
        c.lineTo(20, 10);
        c.lineTo(20, 30);
        EXPECT_EQ(c.penPos(), (Point{20, 30}));
    }
    for (int x = 10; x < 20; ++x)
        EXPECT_EQ(pixel(img, x, 10), clBlack) << x;
    EXPECT_EQ(pixel(img, 9, 10), clWhite);
    EXPECT_EQ(pixel(img, 20, 29), clBlack);
    EXPECT_EQ(pixel(img, 20, 30), clWhite);
    EXPECT_EQ(pixel(img, 10, 11), clWhite); // no antialiasing
    EXPECT_EQ(countColor(img, clBlack), 30);
}

TEST(QtCanvas, NotXorTwiceRestoresThePicture)
{
    QImage img = whiteImage();
    {
        QtCanvas c(img);
        c.setBrushColor(clRed);
        c.fillRect({0, 0, 30, 60});
        const QImage before = img.copy();
        c.setPenMode(PenMode::NotXor);
        c.setPenStyle(PenStyle::Dot);
        c.setBrushStyle(BrushStyle::Clear);
        c.rectangle(5, 5, 50, 40);
        c.end();
        EXPECT_NE(img, before);
        QtCanvas again(img);
        again.setPenMode(PenMode::NotXor);
        again.setPenStyle(PenStyle::Dot);
        again.setBrushStyle(BrushStyle::Clear);
        again.rectangle(5, 5, 50, 40);
        again.end();
        EXPECT_EQ(img, before);
    }
}

TEST(QtCanvas, RectangleAndFillRectExcludeRightAndBottom)
{
    QImage img = whiteImage();
    {
        QtCanvas c(img);
        c.setBrushColor(clRed);
        c.rectangle(10, 10, 20, 20);
        c.setBrushColor(clBlue);
        c.fillRect({30, 30, 40, 35});
    }
    EXPECT_EQ(pixel(img, 10, 10), clBlack);
    EXPECT_EQ(pixel(img, 19, 19), clBlack);
    EXPECT_EQ(pixel(img, 20, 20), clWhite);
    EXPECT_EQ(pixel(img, 15, 15), clRed);
    EXPECT_EQ(countColor(img, clRed), 64);
    EXPECT_EQ(countColor(img, clBlue), 50);
    EXPECT_EQ(pixel(img, 40, 34), clWhite);
}

TEST(QtCanvas, PieWithEqualEndsIsAFullDisc)
{
    QImage img = whiteImage();
    {
        QtCanvas c(img);
        c.setPenStyle(PenStyle::Clear);
        c.setBrushColor(clGreen);
        c.pie(10, 10, 51, 51, 50, 30, 50, 30);
    }
    // Every quadrant is filled.
    EXPECT_EQ(pixel(img, 20, 20), clGreen);
    EXPECT_EQ(pixel(img, 40, 20), clGreen);
    EXPECT_EQ(pixel(img, 20, 40), clGreen);
    EXPECT_EQ(pixel(img, 40, 40), clGreen);

    QImage half = whiteImage();
    {
        QtCanvas c(half);
        c.setPenStyle(PenStyle::Clear);
        c.setBrushColor(clGreen);
        // Counter-clockwise from the right (3 o'clock) to the left: the upper half.
        c.pie(10, 10, 51, 51, 60, 30, 0, 30);
    }
    EXPECT_EQ(pixel(half, 30, 20), clGreen);
    EXPECT_EQ(pixel(half, 30, 40), clWhite);
}

TEST(QtCanvas, TextBackgroundFollowsBrushAndMode)
{
    const auto draw = [](BrushStyle style, BkMode mode) {
        QImage img = whiteImage(120, 40);
        QtCanvas c(img);
        c.setBrushColor(clYellow);
        c.setBrushStyle(style);
        c.setBkMode(mode);
        c.textOut(5, 5, "Wert 1,5");
        const int w = c.textWidth("Wert 1,5");
        const int h = c.textHeight("X");
        c.end();
        EXPECT_GT(w, 20);
        EXPECT_GT(h, 5);
        return countColor(img, clYellow);
    };
    EXPECT_GT(draw(BrushStyle::Solid, BkMode::Opaque), 50);
    EXPECT_EQ(draw(BrushStyle::Clear, BkMode::Opaque), 0);
    EXPECT_EQ(draw(BrushStyle::Solid, BkMode::Transparent), 0);
}

TEST(QtCanvas, TextIsPlacedAtItsTopLeftCorner)
{
    QImage img = whiteImage(120, 60);
    QtCanvas c(img);
    c.setBrushStyle(BrushStyle::Clear);
    c.textOut(30, 20, "H");
    c.end();
    int top = 1000;
    int left = 1000;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            if (pixel(img, x, y) != clWhite) {
                top = std::min(top, y);
                left = std::min(left, x);
            }
    EXPECT_GE(top, 20);
    EXPECT_LT(top, 20 + 13);
    EXPECT_GE(left, 30);
    EXPECT_LT(left, 30 + 5);
}

TEST(QtCanvas, CopyWithAndKeepsDarkPixelsOfBoth)
{
    QImage layer = whiteImage();
    QImage target = whiteImage();
    {
        QtCanvas src(layer);
        src.setPenColor(clRed);
        src.moveTo(0, 5);
        src.lineTo(60, 5);
        QtCanvas dst(target);
        dst.moveTo(10, 0);
        dst.lineTo(10, 60);
        dst.copyRect({0, 0, 60, 60}, src, {0, 0, 60, 60}, RasterOp::SrcAnd);
    }
    EXPECT_EQ(pixel(target, 30, 5), clRed);    // white AND red
    EXPECT_EQ(pixel(target, 10, 30), clBlack); // black AND white
    EXPECT_EQ(pixel(target, 10, 5), clBlack);  // black AND red
    EXPECT_EQ(pixel(target, 30, 30), clWhite);

    QImage copy = whiteImage();
    {
        QtCanvas src(layer);
        QtCanvas dst(copy);
        dst.setBrushColor(clBlue);
        dst.fillRect({0, 0, 60, 60});
        dst.copyRect({0, 0, 30, 30}, src, {0, 0, 30, 30}, RasterOp::SrcCopy);
    }
    EXPECT_EQ(pixel(copy, 20, 5), clRed);
    EXPECT_EQ(pixel(copy, 20, 20), clWhite);
    EXPECT_EQ(pixel(copy, 40, 40), clBlue);
}

TEST(QtCanvas, HatchGapsStayTransparent)
{
    QImage img = whiteImage();
    {
        QtCanvas c(img);
        c.setBrushColor(clBlue);
        c.fillRect({0, 0, 60, 60});
        c.setBrushColor(clRed);
        c.setBrushStyle(BrushStyle::Horizontal);
        c.fillRect({0, 0, 60, 60});
    }
    EXPECT_GT(countColor(img, clRed), 0);
    EXPECT_GT(countColor(img, clBlue), 0);
    EXPECT_EQ(countColor(img, clWhite), 0);
}

TEST(QtCanvas, DottedThinPensWideOnesSolid)
{
    QImage img = whiteImage();
    {
        QtCanvas c(img);
        c.setPenStyle(PenStyle::Dot);
        c.moveTo(0, 10);
        c.lineTo(60, 10);
        c.setPenWidth(3);
        c.moveTo(0, 30);
        c.lineTo(60, 30);
    }
    int dark = 0;
    for (int x = 0; x < 60; ++x)
        dark += pixel(img, x, 10) == clBlack ? 1 : 0;
    EXPECT_GT(dark, 20);
    EXPECT_LT(dark, 40);
    for (int x = 5; x < 55; ++x)
        EXPECT_EQ(pixel(img, x, 30), clBlack) << x;
}

TEST(QtCanvas, OriginAndClipApplyToEveryPrimitive)
{
    QImage img = whiteImage();
    {
        QtCanvas c(img);
        c.setWindowOrigin(5, 7);
        c.setPixel(0, 0, clRed);
        c.setClipRect({0, 0, 20, 20});
        c.moveTo(0, 10);
        c.lineTo(50, 10);
        c.clearClip();
        c.moveTo(0, 15);
        c.lineTo(50, 15);
    }
    EXPECT_EQ(pixel(img, 5, 7), clRed);
    EXPECT_EQ(pixel(img, 24, 17), clBlack);
    EXPECT_EQ(pixel(img, 25, 17), clWhite); // clipped at logical x = 20
    EXPECT_EQ(pixel(img, 40, 22), clBlack);
}

TEST(QtCanvas, TextLeavesNoOffsetForLaterLines)
{
    QImage img = whiteImage();
    {
        QtCanvas c(img);
        c.setBrushStyle(BrushStyle::Clear);
        c.setTextAlign(TaCenter | TaBaseline);
        c.textOut(30, 20, "H");
        c.moveTo(0, 50);
        c.lineTo(60, 50);
    }
    EXPECT_EQ(pixel(img, 5, 50), clBlack);
    EXPECT_EQ(pixel(img, 40, 51), clWhite);
}

TEST(QtCanvas, FarCoordinatesAreCutNotOverflowed)
{
    QImage img = whiteImage();
    {
        QtCanvas c(img);
        c.moveTo(-1'000'000'000, 20);
        c.lineTo(1'000'000'000, 20);
        c.polyline({{-2'000'000'000, 40}, {2'000'000'000, 40}, {2'000'000'000, -2'000'000'000}});
        c.setPenStyle(PenStyle::Clear);
        c.setBrushColor(clRed);
        c.polygon({{-2'000'000'000, 50}, {2'000'000'000, 50}, {0, 2'000'000'000}});
    }
    EXPECT_EQ(pixel(img, 30, 55), clRed);
    for (int x = 0; x < 60; ++x)
        EXPECT_EQ(pixel(img, x, 20), clBlack) << x;
    EXPECT_EQ(pixel(img, 30, 40), clBlack);
}

TEST(QtCanvas, SymbolFontLettersBecomeGreek)
{
    EXPECT_EQ(symbolText(QStringLiteral("e d p W")), QStringLiteral("ε δ π Ω"));
    EXPECT_EQ(toQColor(0x0080FF), QColor(255, 128, 0));
}

TEST(QtCanvas, EndedCanvasDrawsNothing)
{
    QImage img = whiteImage();
    QtCanvas c(img);
    EXPECT_EQ(c.image(), &img);
    c.end();
    EXPECT_FALSE(c.isActive());
    c.moveTo(0, 0);
    c.lineTo(50, 50);
    EXPECT_EQ(countColor(img, clWhite), 3600);
}

} // namespace
} // namespace kurvex
