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

// Device pixel where logical coordinate v begins at the pixel ratio.
int dev(double ratio, int v)
{
    return static_cast<int>(std::lround(v * ratio));
}

// A white bitmap of w x h logical pixels at the pixel ratio after paint has drawn on it.
QImage paintedAt(double ratio, const std::function<void(QtCanvas&)>& paint, int w = 60, int h = 60)
{
    QImage img(dev(ratio, w), dev(ratio, h), QImage::Format_RGB32);
    img.setDevicePixelRatio(ratio);
    img.fill(Qt::white);
    QtCanvas c(img);
    paint(c);
    c.end();
    return img;
}

QImage painted(const std::function<void(QtCanvas&)>& paint, int w = 60, int h = 60)
{
    return paintedAt(1.0, paint, w, h);
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
        c.setPenStyle(PenStyle::Solid);
        c.moveTo(3, 50);
        c.lineTo(57, 44);
    };
    for (const double ratio : {1.0, 2.0, 1.5}) {
        SCOPED_TRACE(ratio);
        QImage before = paintedAt(ratio, [](QtCanvas& c) {
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

// Draws the lines on a 40 x 30 pixel bitmap of the format, through the bitmap canvas or through a
// canvas on the same bitmap as a plain paint device (which always goes through QPainter).
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
    // The direct path works in device pixels as the painter does, at any ratio and window origin.
    for (const double ratio : {1.0, 2.0, 1.5, 1.25}) {
        for (const Point origin : {Point{}, Point{3, -2}, Point{0, 12}, Point{-5, 7}, Point{9, -4}}) {
            for (const std::optional<Rect>& clip : clips) {
                SCOPED_TRACE(testing::Message()
                             << "ratio " << ratio << " origin " << origin.x << " clip " << clip.has_value());
                EXPECT_EQ(differences(dotted(QImage::Format_RGB32, false, clip, ratio, origin),
                                      dotted(QImage::Format_RGB32, true, clip, ratio, origin)),
                          "");
            }
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

// ---------------------------------------------------------------------------------------------
// Bitmaps with a device pixel ratio: logical coordinates, device-pixel-exact results.

std::vector<int> inkInColumn(const QImage& img, int x)
{
    std::vector<int> rows;
    for (int y = 0; y < img.height(); ++y)
        if (pixel(img, x, y) != clWhite)
            rows.push_back(y);
    return rows;
}

std::vector<int> inkInRow(const QImage& img, int y)
{
    std::vector<int> columns;
    for (int x = 0; x < img.width(); ++x)
        if (pixel(img, x, y) != clWhite)
            columns.push_back(x);
    return columns;
}

std::vector<int> range(int from, int to)
{
    std::vector<int> v;
    for (int i = from; i < to; ++i)
        v.push_back(i);
    return v;
}

struct PenWidthCase {
    double ratio;
    int penWidth;
    int deviceWidth;
};

TEST(QtCanvasPixelRatio, ThinPensAreOneDevicePixelWidePensGrowWithTheRatio)
{
    const PenWidthCase cases[] = {{2.0, 0, 1}, {2.0, 1, 1}, {2.0, 2, 4}, {1.5, 1, 1},
                                  {1.5, 2, 3}, {3.0, 1, 1}, {3.0, 3, 9}};
    for (const PenWidthCase& k : cases) {
        SCOPED_TRACE(testing::Message() << "ratio " << k.ratio << " pen " << k.penWidth);
        const QImage img = paintedAt(k.ratio, [&](QtCanvas& c) {
            c.setPenWidth(k.penWidth);
            c.moveTo(10, 20);
            c.lineTo(50, 20);
            c.moveTo(30, 30);
            c.lineTo(30, 55);
        });
        const std::vector<int> across = inkInColumn(img, dev(k.ratio, 20));
        const std::vector<int> along = inkInRow(img, dev(k.ratio, 40));
        ASSERT_EQ(static_cast<int>(across.size()), k.deviceWidth);
        ASSERT_EQ(static_cast<int>(along.size()), k.deviceWidth);
        // One run around the line's device row and column; a thin one lies exactly on it.
        EXPECT_EQ(across.back() - across.front() + 1, k.deviceWidth);
        EXPECT_LE(across.front(), dev(k.ratio, 20));
        EXPECT_GE(across.back(), dev(k.ratio, 20));
        EXPECT_LE(along.front(), dev(k.ratio, 30));
        EXPECT_GE(along.back(), dev(k.ratio, 30));
        if (k.deviceWidth == 1) {
            EXPECT_EQ(across.front(), dev(k.ratio, 20));
            EXPECT_EQ(along.front(), dev(k.ratio, 30));
        }
    }
}

TEST(QtCanvasPixelRatio, ThinLinesCoverTheDevicePixelsOfTheirLogicalOnesButTheLast)
{
    for (const double ratio : {2.0, 1.5, 1.25}) {
        SCOPED_TRACE(ratio);
        const QImage img = paintedAt(ratio, [](QtCanvas& c) {
            c.moveTo(10, 10);
            c.lineTo(21, 10);
            c.moveTo(25, 12);
            c.lineTo(25, 24);
        });
        EXPECT_EQ(inkInRow(img, dev(ratio, 10)), range(dev(ratio, 10), dev(ratio, 21)));
        EXPECT_EQ(inkInColumn(img, dev(ratio, 25)), range(dev(ratio, 12), dev(ratio, 24)));
        EXPECT_EQ(countColor(img, clBlack),
                  dev(ratio, 21) - dev(ratio, 10) + dev(ratio, 24) - dev(ratio, 12));
    }
}

TEST(QtCanvasPixelRatio, ThinCurvesHaveOneDevicePixelPerColumn)
{
    // Shallow segments, as a plotted curve is made of: one pixel in each column they cross.
    const std::vector<Point> curve{{5, 40}, {20, 30}, {35, 45}, {44, 44}, {55, 35}};
    for (const double ratio : {2.0, 1.5}) {
        for (const bool asPolyline : {true, false}) {
            SCOPED_TRACE(testing::Message() << "ratio " << ratio << (asPolyline ? " polyline" : " lines"));
            const QImage img = paintedAt(ratio, [&](QtCanvas& c) {
                if (asPolyline) {
                    c.polyline(curve);
                    return;
                }
                c.moveTo(curve.front().x, curve.front().y);
                for (const Point& p : curve)
                    c.lineTo(p.x, p.y);
            });
            for (int x = dev(ratio, 5); x < dev(ratio, 55); ++x)
                ASSERT_EQ(inkInColumn(img, x).size(), 1u) << "column " << x;
            EXPECT_EQ(inkInColumn(img, dev(ratio, 20)), std::vector<int>{dev(ratio, 30)});
            EXPECT_EQ(inkInColumn(img, dev(ratio, 55)), std::vector<int>{});
        }
    }
}

TEST(QtCanvasPixelRatio, DottedGridLinesAreOneDevicePixelInTheirPlace)
{
    for (const double ratio : {2.0, 1.5}) {
        SCOPED_TRACE(ratio);
        const QImage img = paintedAt(ratio, [](QtCanvas& c) {
            c.setPenStyle(PenStyle::Dot);
            c.setPenColor(clGray);
            // Neighbouring logical rows and columns, as a dense grid has them.
            for (const int y : {10, 11, 12}) {
                c.moveTo(0, y);
                c.lineTo(60, y);
            }
            for (const int x : {40, 41}) {
                c.moveTo(x, 0);
                c.lineTo(x, 60);
            }
        });
        const int dot = dev(ratio, 3);
        for (const int x : {0, dot - 1, 2 * dot}) {
            SCOPED_TRACE(x);
            EXPECT_EQ(inkInColumn(img, x),
                      (std::vector<int>{dev(ratio, 10), dev(ratio, 11), dev(ratio, 12)}));
        }
        EXPECT_EQ(inkInColumn(img, dot), std::vector<int>{});
        for (const int y : {0, dot - 1, 2 * dot}) {
            SCOPED_TRACE(y);
            EXPECT_EQ(inkInRow(img, y), (std::vector<int>{dev(ratio, 40), dev(ratio, 41)}));
        }
    }
}

struct SlopedLineCase {
    const char* name;
    Point from;
    Point to;
};

// Lines as the curve plotter draws a straight line: one segment per pixel column, or in one piece.
std::vector<Point> lineSamples(const SlopedLineCase& k, bool perColumn)
{
    if (!perColumn)
        return {k.from, k.to};
    std::vector<Point> pts;
    const int dx = k.to.x - k.from.x;
    const int step = dx > 0 ? 1 : -1;
    for (int x = k.from.x; x != k.to.x + step; x += step) {
        const double y = k.from.y + static_cast<double>(k.to.y - k.from.y) * (x - k.from.x) / dx;
        pts.push_back({x, static_cast<int>(std::lround(y))});
    }
    return pts;
}

TEST(QtCanvasPixelRatio, ThinLinesCoverEveryRowAndColumnTheyCross)
{
    // Rising lines of one to two rows per column lost a pixel wherever a flat segment met a steep
    // one, as the painter leaves out the lower end of a rising segment, not its last pixel.
    const SlopedLineCase cases[] = {
        {"steep rising", {5, 115}, {60, 30}},      {"steep falling", {5, 20}, {60, 105}},
        {"steep 2 rising", {5, 115}, {55, 10}},    {"steep leftwards", {60, 115}, {5, 30}},
        {"shallow rising", {5, 60}, {110, 20}},    {"shallow falling", {5, 20}, {110, 60}},
        {"shallow leftwards", {110, 60}, {5, 30}},
    };
    for (const double ratio : {1.0, 1.5, 2.0}) {
        for (const SlopedLineCase& k : cases) {
            for (const bool perColumn : {true, false}) {
                SCOPED_TRACE(testing::Message() << k.name << " ratio " << ratio
                                                << (perColumn ? " per column" : " in one piece"));
                const std::vector<Point> pts = lineSamples(k, perColumn);
                const QImage img = paintedAt(
                    ratio,
                    [&](QtCanvas& c) {
                        c.moveTo(pts.front().x, pts.front().y);
                        for (const Point& p : pts)
                            c.lineTo(p.x, p.y);
                    },
                    120, 120);
                const bool steep = std::abs(k.to.y - k.from.y) > std::abs(k.to.x - k.from.x);
                const int a = steep ? dev(ratio, k.from.y) : dev(ratio, k.from.x);
                const int b = steep ? dev(ratio, k.to.y) : dev(ratio, k.to.x);
                const int dir = b > a ? 1 : -1;
                std::string bare;
                for (int v = a; v != b; v += dir) {
                    if ((steep ? inkInRow(img, v) : inkInColumn(img, v)).empty())
                        bare += " " + std::to_string(v);
                }
                EXPECT_EQ(bare, "") << (steep ? "rows" : "columns") << " without ink";
                // The line begins on its first pixel and leaves out its last, in any direction.
                EXPECT_EQ(pixel(img, dev(ratio, k.from.x), dev(ratio, k.from.y)), clBlack);
                EXPECT_EQ(pixel(img, dev(ratio, k.to.x), dev(ratio, k.to.y)), clWhite);
            }
        }
    }
}

TEST(QtCanvasPixelRatio, FillsCoverExactlyTheirLogicalArea)
{
    for (const double ratio : {2.0, 1.5, 1.25}) {
        SCOPED_TRACE(ratio);
        const QImage img = paintedAt(ratio, [](QtCanvas& c) {
            c.setBrushColor(clRed);
            c.fillRect({3, 4, 9, 7});
            c.setBrushColor(clBlue);
            c.fillRect({14, 4, 9, 7}); // reversed corners, right beside the red one
            c.setBrushColor(clYellow);
            c.rectangle(20, 21, 31, 26);
        });
        const auto d = [ratio](int v) { return dev(ratio, v); };
        EXPECT_EQ(inkInRow(img, d(5)), range(d(3), d(14)));
        EXPECT_EQ(inkInColumn(img, d(5)), range(d(4), d(7)));
        EXPECT_EQ(countColor(img, clRed), (d(9) - d(3)) * (d(7) - d(4)));
        EXPECT_EQ(countColor(img, clBlue), (d(14) - d(9)) * (d(7) - d(4)));
        EXPECT_EQ(pixel(img, d(9) - 1, d(5)), clRed);
        EXPECT_EQ(pixel(img, d(9), d(5)), clBlue);
        // The outline is the one-pixel edge of the same area, the brush fills what it leaves.
        EXPECT_EQ(inkInRow(img, d(23)), range(d(20), d(31)));
        EXPECT_EQ(inkInColumn(img, d(25)), range(d(21), d(26)));
        EXPECT_EQ(pixel(img, d(20), d(23)), clBlack);
        EXPECT_EQ(pixel(img, d(20) + 1, d(23)), clYellow);
        EXPECT_EQ(pixel(img, d(31) - 1, d(23)), clBlack);
        EXPECT_EQ(pixel(img, d(31) - 2, d(23)), clYellow);
        EXPECT_EQ(countColor(img, clYellow), (d(31) - d(20) - 2) * (d(26) - d(21) - 2));
    }
}

TEST(QtCanvasPixelRatio, SetPixelFillsTheDeviceBlockOfItsLogicalPixel)
{
    for (const double ratio : {2.0, 1.5}) {
        SCOPED_TRACE(ratio);
        const QImage img = paintedAt(ratio, [](QtCanvas& c) {
            c.setWindowOrigin(1, 2);
            c.setPixel(5, 6, clRed);
            c.setPixel(6, 6, clBlue);
        });
        const auto d = [ratio](int v) { return dev(ratio, v); };
        EXPECT_EQ(countColor(img, clRed), (d(7) - d(6)) * (d(9) - d(8)));
        EXPECT_EQ(inkInRow(img, d(8)), range(d(6), d(8)));
        EXPECT_EQ(pixel(img, d(6), d(8)), clRed);
        EXPECT_EQ(pixel(img, d(7), d(9) - 1), clBlue);
    }
}

TEST(QtCanvasPixelRatio, CopiesMapBothRectanglesToDevicePixels)
{
    constexpr double kRatio = 2.0;
    QImage layer = paintedAt(kRatio, [](QtCanvas& c) {
        c.setPenColor(clRed);
        c.moveTo(0, 5);
        c.lineTo(60, 5);
    });
    const QtCanvas source(layer);
    const QImage anded = paintedAt(kRatio, [&](QtCanvas& c) {
        c.moveTo(10, 0);
        c.lineTo(10, 60);
        c.copyRect({0, 0, 60, 60}, source, {0, 0, 60, 60}, RasterOp::SrcAnd);
    });
    EXPECT_EQ(pixel(anded, 60, 10), clRed);   // white AND red
    EXPECT_EQ(pixel(anded, 20, 60), clBlack); // black AND white
    EXPECT_EQ(pixel(anded, 20, 10), clBlack); // black AND red
    EXPECT_EQ(pixel(anded, 60, 11), clWhite); // a thin line stays one device row
    EXPECT_EQ(countColor(anded, clRed), 119);

    const QImage copied = paintedAt(kRatio, [&](QtCanvas& c) {
        c.setBrushColor(clBlue);
        c.fillRect({0, 0, 60, 60});
        c.copyRect({20, 2, 50, 10}, source, {0, 1, 30, 9}, RasterOp::SrcCopy);
    });
    // Logical (20, 2) to (50, 10) is device (40, 4) to (100, 20); the red row moves one logical pixel down.
    EXPECT_EQ(countColor(copied, clWhite) + countColor(copied, clRed), 60 * 16);
    EXPECT_EQ(countColor(copied, clRed), 60);
    EXPECT_EQ(pixel(copied, 50, 12), clRed);
    EXPECT_EQ(pixel(copied, 50, 13), clWhite);
    EXPECT_EQ(pixel(copied, 40, 4), clWhite);
    EXPECT_EQ(pixel(copied, 99, 19), clWhite);
    EXPECT_EQ(pixel(copied, 39, 12), clBlue);
    EXPECT_EQ(pixel(copied, 100, 19), clBlue);
    EXPECT_EQ(pixel(copied, 40, 3), clBlue);
    EXPECT_EQ(pixel(copied, 40, 20), clBlue);
}

TEST(QtCanvasPixelRatio, TextIsMeasuredLogicallyAndDrawnAtDeviceResolution)
{
    const auto ink = [](const QImage& img) {
        QRect box;
        for (int y = 0; y < img.height(); ++y)
            for (int x = 0; x < img.width(); ++x)
                if (pixel(img, x, y) != clWhite)
                    box |= QRect(x, y, 1, 1);
        return box;
    };
    int width1 = 0;
    int width2 = 0;
    const auto text = [](int& width) {
        return [&width](QtCanvas& c) {
            c.setBrushStyle(BrushStyle::Clear);
            c.textOut(30, 20, "Wert 1,5");
            width = c.textWidth("Wert 1,5");
        };
    };
    const QImage one = paintedAt(1.0, text(width1), 120, 60);
    const QImage two = paintedAt(2.0, text(width2), 120, 60);
    EXPECT_EQ(width2, width1);
    const QRect box1 = ink(one);
    const QRect box2 = ink(two);
    EXPECT_GE(box2.top(), 40);
    EXPECT_GE(box2.left(), 60);
    EXPECT_NEAR(box2.top(), 2 * box1.top(), 2);
    EXPECT_NEAR(box2.height(), 2 * box1.height(), 3);
    EXPECT_NEAR(box2.width(), 2 * box1.width(), 4);
    // Glyphs rasterised at the device's size, not logical pixels blown up to 2 x 2 blocks.
    bool mixedBlock = false;
    for (int y = box2.top() & ~1; y < box2.bottom() && !mixedBlock; y += 2)
        for (int x = box2.left() & ~1; x < box2.right() && !mixedBlock; x += 2) {
            const TColor c = pixel(two, x, y);
            mixedBlock =
                pixel(two, x + 1, y) != c || pixel(two, x, y + 1) != c || pixel(two, x + 1, y + 1) != c;
        }
    EXPECT_TRUE(mixedBlock);
}

// Where each run of inked columns begins, left to right.
std::vector<int> inkRunStarts(const QImage& img)
{
    std::vector<int> starts;
    bool before = false;
    for (int x = 0; x < img.width(); ++x) {
        const bool ink = [&] {
            for (int y = 0; y < img.height(); ++y)
                if (pixel(img, x, y) != clWhite)
                    return true;
            return false;
        }();
        if (ink && !before)
            starts.push_back(x);
        before = ink;
    }
    return starts;
}

TEST(QtCanvasPixelRatio, RepeatedLettersStandAtEvenDistances)
{
    // Glyphs placed at fractional advances but drawn on whole pixels stood one pixel closer now and
    // then: "Einhe itskreis", "0 ,52 36".
    for (const double ratio : {1.0, 2.0}) {
        for (const char* text : {"iiiiiiiiiiii", "llllllllllll", "111111111111", "rrrrrrrrrrrr"}) {
            SCOPED_TRACE(testing::Message() << text << " ratio " << ratio);
            const QImage img = paintedAt(
                ratio, [&](QtCanvas& c) { c.textOut(4, 4, text); }, 120, 24);
            const std::vector<int> starts = inkRunStarts(img);
            ASSERT_EQ(starts.size(), std::string(text).size());
            std::vector<int> distances;
            for (std::size_t i = 1; i < starts.size(); ++i)
                distances.push_back(starts[i] - starts[i - 1]);
            EXPECT_EQ(distances, std::vector<int>(distances.size(), distances.front()));
        }
    }
}

TEST(QtCanvasPixelRatio, PrimeStandsApartFromItsLetter)
{
    // The lower pane's caption "y'" read "y": the prime sat on the arm of the y.
    for (const double ratio : {1.0, 2.0}) {
        SCOPED_TRACE(ratio);
        const auto inkRuns = [ratio](const char* text) {
            return inkRunStarts(paintedAt(
                                    ratio, [&](QtCanvas& c) { c.textOut(4, 4, text); }, 40, 24))
                .size();
        };
        // The prime is a run of inked columns of its own after the letter's.
        EXPECT_EQ(inkRuns("y'"), inkRuns("y") + 1);
        EXPECT_EQ(inkRuns("y''"), inkRuns("y") + 2);
    }
}

TEST(QtCanvasPixelRatio, ClipAndOriginCutOnDevicePixels)
{
    constexpr double kRatio = 1.5;
    const QImage img = paintedAt(kRatio, [](QtCanvas& c) {
        c.setWindowOrigin(5, 7);
        c.setClipRect({0, 0, 21, 20});
        c.moveTo(-5, 10);
        c.lineTo(50, 10);
        c.setBrushColor(clRed);
        c.fillRect({15, 15, 40, 16});
        c.setPixel(25, 0, clBlue);
    });
    const auto d = [](int v) { return dev(kRatio, v); };
    EXPECT_EQ(inkInRow(img, d(17)), range(d(5), d(26)));
    EXPECT_EQ(inkInRow(img, d(22)), range(d(20), d(26)));
    EXPECT_EQ(countColor(img, clBlue), 0);
}

TEST(QtCanvas, SymbolFaceShowsItsGreekLetters)
{
    // "e" in the symbol face is ε: it must leave ink, as wide as the ε of an ordinary face.
    Font symbol;
    symbol.family = "Symbol";
    symbol.charset = FontCharset::Symbol;
    symbol.pixelHeight = 20;
    const QImage img = painted([&](QtCanvas& c) {
        c.setFont(symbol);
        c.setBkMode(BkMode::Transparent);
        c.textOut(5, 5, "e d");
        Font greek = symbol;
        greek.family = "Arial";
        greek.charset = FontCharset::Default;
        c.setFont(greek);
        EXPECT_EQ(c.textWidth("ε"), [&] {
            c.setFont(symbol);
            return c.textWidth("e");
        }());
    });
    EXPECT_GT(countColor(img, clBlack), 10);
}

} // namespace
} // namespace kurvex
