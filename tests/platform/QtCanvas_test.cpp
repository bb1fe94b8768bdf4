// Tests of the QPainter canvas: exact pixels, raster operations, text background, clip and origin.
#include "platform/QtCanvas.h"

#include <QGuiApplication>
#include <QImage>

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

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

// A white bitmap after paint has drawn on it through a canvas.
QImage painted(const std::function<void(QtCanvas&)>& paint, int w = 60, int h = 60)
{
    QImage img(w, h, QImage::Format_RGB32);
    img.fill(Qt::white);
    QtCanvas c(img);
    paint(c);
    c.end();
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
    const QImage img = painted([](QtCanvas& c) {
        c.moveTo(10, 10);
        c.lineTo(20, 10);
        c.lineTo(20, 30);
        EXPECT_EQ(c.penPos(), (Point{20, 30}));
    });
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
    const auto band = [](QtCanvas& c) {
        c.setPenMode(PenMode::NotXor);
        c.setPenStyle(PenStyle::Dot);
        c.setBrushStyle(BrushStyle::Clear);
        c.rectangle(5, 5, 50, 40);
    };
    QImage before = painted([](QtCanvas& c) {
        c.setBrushColor(clRed);
        c.fillRect({0, 0, 30, 60});
    });
    QImage img = before.copy();
    QtCanvas once(img);
    band(once);
    once.end();
    EXPECT_NE(img, before);
    QtCanvas twice(img);
    band(twice);
    twice.end();
    EXPECT_EQ(img, before);
}

TEST(QtCanvas, RectangleAndFillRectExcludeRightAndBottom)
{
    const QImage img = painted([](QtCanvas& c) {
        c.setBrushColor(clRed);
        c.rectangle(10, 10, 20, 20);
        c.setBrushColor(clBlue);
        c.fillRect({30, 30, 40, 35});
    });
    EXPECT_EQ(pixel(img, 10, 10), clBlack);
    EXPECT_EQ(pixel(img, 19, 19), clBlack);
    EXPECT_EQ(pixel(img, 20, 20), clWhite);
    EXPECT_EQ(countColor(img, clRed), 64);
    EXPECT_EQ(countColor(img, clBlue), 50);
    EXPECT_EQ(pixel(img, 40, 34), clWhite);
}

TEST(QtCanvas, PieWithEqualEndsIsAFullDisc)
{
    const auto pie = [](int x4, int y4) {
        return painted([=](QtCanvas& c) {
            c.setPenStyle(PenStyle::Clear);
            c.setBrushColor(clGreen);
            c.pie(10, 10, 51, 51, 60, 30, x4, y4);
        });
    };
    const QImage full = pie(60, 30);
    for (const Point p : {Point{20, 20}, Point{40, 20}, Point{20, 40}, Point{40, 40}})
        EXPECT_EQ(pixel(full, p.x, p.y), clGreen) << p.x << "," << p.y;
    // Counter-clockwise from the right (3 o'clock) to the left: the upper half.
    const QImage half = pie(0, 30);
    EXPECT_EQ(pixel(half, 30, 20), clGreen);
    EXPECT_EQ(pixel(half, 30, 40), clWhite);
}

TEST(QtCanvas, TextSitsAtItsTopLeftOnTheBrushBackground)
{
    const auto text = [](BrushStyle style, BkMode mode) {
        return painted(
            [=](QtCanvas& c) {
                c.setBrushColor(clYellow);
                c.setBrushStyle(style);
                c.setBkMode(mode);
                c.textOut(30, 20, "Wert 1,5");
                EXPECT_GT(c.textWidth("Wert 1,5"), 20);
                EXPECT_GT(c.textHeight("X"), 5);
            },
            120, 60);
    };
    EXPECT_GT(countColor(text(BrushStyle::Solid, BkMode::Opaque), clYellow), 50);
    EXPECT_EQ(countColor(text(BrushStyle::Solid, BkMode::Transparent), clYellow), 0);
    const QImage img = text(BrushStyle::Clear, BkMode::Opaque);
    EXPECT_EQ(countColor(img, clYellow), 0);
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
    QImage layer = painted([](QtCanvas& c) {
        c.setPenColor(clRed);
        c.moveTo(0, 5);
        c.lineTo(60, 5);
    });
    const QtCanvas source(layer);
    const QImage anded = painted([&](QtCanvas& c) {
        c.moveTo(10, 0);
        c.lineTo(10, 60);
        c.copyRect({0, 0, 60, 60}, source, {0, 0, 60, 60}, RasterOp::SrcAnd);
    });
    EXPECT_EQ(pixel(anded, 30, 5), clRed);    // white AND red
    EXPECT_EQ(pixel(anded, 10, 30), clBlack); // black AND white
    EXPECT_EQ(pixel(anded, 10, 5), clBlack);  // black AND red
    EXPECT_EQ(pixel(anded, 30, 30), clWhite);

    const QImage copied = painted([&](QtCanvas& c) {
        c.setBrushColor(clBlue);
        c.fillRect({0, 0, 60, 60});
        c.copyRect({0, 0, 30, 30}, source, {0, 0, 30, 30}, RasterOp::SrcCopy);
    });
    EXPECT_EQ(pixel(copied, 20, 5), clRed);
    EXPECT_EQ(pixel(copied, 20, 20), clWhite);
    EXPECT_EQ(pixel(copied, 40, 40), clBlue);
}

TEST(QtCanvas, HatchGapsStayTransparentAndDotsOnlyOnThinPens)
{
    const QImage hatch = painted([](QtCanvas& c) {
        c.setBrushColor(clBlue);
        c.fillRect({0, 0, 60, 60});
        c.setBrushColor(clRed);
        c.setBrushStyle(BrushStyle::Horizontal);
        c.fillRect({0, 0, 60, 60});
    });
    EXPECT_GT(countColor(hatch, clRed), 0);
    EXPECT_GT(countColor(hatch, clBlue), 0);
    EXPECT_EQ(countColor(hatch, clWhite), 0);

    const QImage dots = painted([](QtCanvas& c) {
        c.setPenStyle(PenStyle::Dot);
        c.moveTo(0, 10);
        c.lineTo(60, 10);
        c.setPenWidth(3);
        c.moveTo(0, 30);
        c.lineTo(60, 30);
    });
    int dark = 0;
    for (int x = 0; x < 60; ++x)
        dark += pixel(dots, x, 10) == clBlack ? 1 : 0;
    EXPECT_GT(dark, 20);
    EXPECT_LT(dark, 40);
    for (int x = 5; x < 55; ++x)
        EXPECT_EQ(pixel(dots, x, 30), clBlack) << x;
}

TEST(QtCanvas, OriginAndClipApplyToEveryPrimitiveAndTextMovesNothing)
{
    const QImage img = painted([](QtCanvas& c) {
        c.setWindowOrigin(5, 7);
        c.setPixel(0, 0, clRed);
        c.setClipRect({0, 0, 20, 20});
        c.moveTo(0, 10);
        c.lineTo(50, 10);
        c.clearClip();
        c.setBrushStyle(BrushStyle::Clear);
        c.setTextAlign(TaCenter | TaBaseline);
        c.textOut(30, 45, "H");
        c.moveTo(0, 15);
        c.lineTo(50, 15);
    });
    EXPECT_EQ(pixel(img, 5, 7), clRed);
    EXPECT_EQ(pixel(img, 24, 17), clBlack);
    EXPECT_EQ(pixel(img, 25, 17), clWhite); // clipped at logical x = 20
    EXPECT_EQ(pixel(img, 40, 22), clBlack); // the text left no offset behind
    EXPECT_EQ(pixel(img, 40, 23), clWhite);
}

TEST(QtCanvas, FarCoordinatesAreCutNotOverflowed)
{
    const QImage img = painted([](QtCanvas& c) {
        c.moveTo(-1'000'000'000, 20);
        c.lineTo(1'000'000'000, 20);
        c.polyline({{-2'000'000'000, 40}, {2'000'000'000, 40}, {2'000'000'000, -2'000'000'000}});
        c.setPenStyle(PenStyle::Clear);
        c.setBrushColor(clRed);
        c.polygon({{-2'000'000'000, 50}, {2'000'000'000, 50}, {0, 2'000'000'000}});
    });
    EXPECT_EQ(pixel(img, 30, 55), clRed);
    for (int x = 0; x < 60; ++x)
        EXPECT_EQ(pixel(img, x, 20), clBlack) << x;
    EXPECT_EQ(pixel(img, 30, 40), clBlack);
}

struct DottedLine {
    Point from;
    Point to;
};

// Axis-parallel dotted lines of lengths 0, 1, 5, 6, 7 and 100 in both directions, some reaching
// out of the 40 x 30 bitmap (the painter counts the dots from where it cuts the line), some
// starting beyond the canvas's cut margin, some wholly outside.
std::vector<DottedLine> dottedLines()
{
    std::vector<DottedLine> lines;
    int row = 1;
    for (const int length : {0, 1, 5, 6, 7, 100}) {
        lines.push_back({{2, row}, {2 + length, row}});
        lines.push_back({{37, row + 1}, {37 - length, row + 1}});
        lines.push_back({{row + 3, 2}, {row + 3, 2 + length}});
        lines.push_back({{row + 4, 28}, {row + 4, 28 - length}});
        row += 3;
    }
    for (const DottedLine& l : std::vector<DottedLine>{{{-7, 20}, {25, 20}},
                                                       {{30, 22}, {-9, 22}},
                                                       {{-200, 24}, {300, 24}},
                                                       {{300, 26}, {-200, 26}},
                                                       {{33, -11}, {33, 50}},
                                                       {{35, 50}, {35, -5}},
                                                       {{38, -500}, {38, 500}},
                                                       {{0, -1}, {40, -1}},
                                                       {{0, 30}, {40, 30}},
                                                       {{40, 0}, {40, 30}},
                                                       {{39, 0}, {39, 30}},
                                                       {{0, 29}, {40, 29}}})
        lines.push_back(l);
    return lines;
}

// Draws the lines on a bitmap of the format, through the bitmap canvas or through a canvas
// on the same bitmap as a plain paint device (which always goes through QPainter).
QImage dotted(QImage::Format format, bool asDevice, const std::optional<Rect>& clip, double pixelRatio = 1.0,
              Point origin = {})
{
    QImage img(40, 30, format);
    img.setDevicePixelRatio(pixelRatio);
    img.fill(format == QImage::Format_RGB32 ? QColor(Qt::white) : QColor(Qt::transparent));
    std::unique_ptr<QtCanvas> c = asDevice ? std::make_unique<QtCanvas>(static_cast<QPaintDevice&>(img))
                                           : std::make_unique<QtCanvas>(img);
    c->setWindowOrigin(origin.x, origin.y);
    if (clip)
        c->setClipRect(*clip);
    c->setPenStyle(PenStyle::Dot);
    c->setPenColor(clRed);
    for (const int width : {1, 0}) {
        for (const DottedLine& l : dottedLines()) {
            c->moveTo(l.from.x, l.from.y);
            c->lineTo(l.to.x, l.to.y);
        }
        c->setPenColor(clBlue);
        c->setPenWidth(width);
    }
    c->end();
    return img;
}

std::string differences(const QImage& got, const QImage& want)
{
    std::string out;
    for (int y = 0; y < got.height(); ++y)
        for (int x = 0; x < got.width(); ++x)
            if (got.pixel(x, y) != want.pixel(x, y))
                out += " (" + std::to_string(x) + "," + std::to_string(y) + ")";
    return out;
}

TEST(QtCanvas, DottedLinesOnBitmapsMatchThePainterPixelForPixel)
{
    const std::vector<std::optional<Rect>> clips{std::nullopt, Rect{5, 3, 33, 25}, Rect{-10, -10, 100, 100},
                                                 Rect{10, 10, 10, 20}};
    for (const QImage::Format format :
         {QImage::Format_RGB32, QImage::Format_ARGB32, QImage::Format_ARGB32_Premultiplied}) {
        for (const std::optional<Rect>& clip : clips) {
            const QImage got = dotted(format, false, clip);
            const QImage want = dotted(format, true, clip);
            EXPECT_EQ(differences(got, want), "") << "format " << format << " clip " << clip.has_value();
        }
    }
    EXPECT_EQ(differences(dotted(QImage::Format_RGB32, false, std::nullopt, 2.0),
                          dotted(QImage::Format_RGB32, true, std::nullopt, 2.0)),
              "");
    // Moved by a window origin, as the lower of two panes is, with and without a clip.
    for (const Point origin : {Point{0, 12}, Point{-5, 7}, Point{9, -4}}) {
        for (const std::optional<Rect>& clip : clips) {
            EXPECT_EQ(differences(dotted(QImage::Format_RGB32, false, clip, 1.0, origin),
                                  dotted(QImage::Format_RGB32, true, clip, 1.0, origin)),
                      "")
                << "origin " << origin.x << "," << origin.y << " clip " << clip.has_value();
        }
    }
    // The painter's pattern itself: three on, three off from the start; a line running left
    // leaves out its start pixel, not its end pixel.
    const QImage img = dotted(QImage::Format_RGB32, true, std::nullopt);
    std::string row;
    for (int x = 37; x >= 24; --x)
        row += pixel(img, x, 14) != clWhite ? 'x' : '.';
    EXPECT_EQ(row, ".xxx...x......");
}

TEST(QtCanvas, DirectDotsKeepTheirPlaceBetweenPainterDrawing)
{
    const auto paint = [](QtCanvas& c) {
        c.setPenColor(clRed);
        c.moveTo(0, 10);
        c.lineTo(40, 10);
        c.setPenStyle(PenStyle::Dot);
        c.setPenColor(clGreen);
        c.moveTo(5, 0);
        c.lineTo(5, 30);
        c.moveTo(0, 10);
        c.lineTo(40, 10);
        c.setPenStyle(PenStyle::Solid);
        c.setPenColor(clBlue);
        c.moveTo(0, 1);
        c.lineTo(40, 1);
        c.setPixel(5, 3, clYellow);
    };
    QImage direct(40, 30, QImage::Format_RGB32);
    direct.fill(Qt::white);
    QImage reference = direct.copy();
    {
        QtCanvas c(direct);
        paint(c);
    }
    {
        QtCanvas c(static_cast<QPaintDevice&>(reference));
        paint(c);
    }
    EXPECT_EQ(differences(direct, reference), "");
    EXPECT_EQ(pixel(direct, 0, 10), clGreen);
    EXPECT_EQ(pixel(direct, 3, 10), clRed);
    EXPECT_EQ(pixel(direct, 5, 1), clBlue);
    EXPECT_EQ(pixel(direct, 5, 3), clYellow);
}

TEST(QtCanvas, PenKeptBetweenPrimitivesIsRebuiltAfterAnythingElseChangedThePainter)
{
    const QImage img = painted([](QtCanvas& c) {
        c.setBrushColor(clBlue);
        c.fillRect({0, 0, 60, 60});
        // Each line below has the pen of the line before; something in between changed the painter.
        c.setPenColor(clRed);
        c.setPenMode(PenMode::NotXor);
        c.moveTo(0, 2);
        c.lineTo(60, 2); // not-xor of red on blue gives green
        c.fillRect({0, 50, 60, 60});
        c.moveTo(0, 4);
        c.lineTo(60, 4);
        QImage layer(60, 60, QImage::Format_RGB32);
        layer.fill(Qt::white);
        const QtCanvas source(layer);
        c.copyRect({0, 40, 10, 45}, source, {0, 0, 10, 5}, RasterOp::SrcCopy);
        c.moveTo(0, 5);
        c.lineTo(60, 5);
        c.setPenMode(PenMode::Copy);
        c.moveTo(0, 6);
        c.lineTo(60, 6);
        c.setPixel(0, 0, clYellow);
        c.moveTo(0, 8);
        c.lineTo(60, 8);
        c.setFontColor(clWhite);
        c.textOut(0, 20, "W");
        c.moveTo(0, 10);
        c.lineTo(60, 10);
        c.moveTo(0, 12);
        c.lineTo(60, 12);
        c.painter().setPen(QPen(Qt::white));
        c.moveTo(0, 14);
        c.lineTo(60, 14);
        c.rectangle(20, 30, 30, 40); // brush blue, then a line with the same pen and brush
        c.moveTo(0, 16);
        c.lineTo(60, 16);
    });
    EXPECT_EQ(pixel(img, 30, 2), clLime);
    EXPECT_EQ(pixel(img, 30, 4), clLime);
    EXPECT_EQ(pixel(img, 30, 5), clLime);
    for (const int y : {6, 8, 10, 12, 14, 16})
        EXPECT_EQ(pixel(img, 30, y), clRed) << y;
    EXPECT_EQ(pixel(img, 0, 0), clYellow);
    EXPECT_EQ(pixel(img, 5, 42), clWhite);
    EXPECT_EQ(pixel(img, 25, 35), clBlue);
    EXPECT_EQ(pixel(img, 20, 35), clRed);
}

TEST(QtCanvas, SymbolTextEndedCanvasAndColours)
{
    EXPECT_EQ(symbolText(QStringLiteral("e d p W")), QStringLiteral("ε δ π Ω"));
    Font symbol;
    symbol.charset = FontCharset::Symbol;
    EXPECT_EQ(canvasText(symbol, "p"), QStringLiteral("π"));
    EXPECT_EQ(canvasText(Font{}, "π"), QStringLiteral("π"));
    EXPECT_EQ(toQColor(0x0080FF), QColor(255, 128, 0));
    const QImage img = painted([](QtCanvas& c) {
        c.end();
        EXPECT_FALSE(c.isActive());
        c.moveTo(0, 0);
        c.lineTo(50, 50);
    });
    EXPECT_EQ(countColor(img, clWhite), 3600);
}

} // namespace
} // namespace kurvex
