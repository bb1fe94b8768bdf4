// Metafile canvas: WMF and EMF byte layout, object table, clipping to 16 bits and text encodings.
#include "platform/EmfWriter.h"
#include "platform/MetafileCanvas.h"
#include "platform/MetafileGeometry.h"
#include "platform/MetafileReader.h"
#include "platform/MetafileText.h"
#include "platform/WmfWriter.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

namespace kurvex {
namespace {

using test::EmfFile;
using test::EmfRecord;
using test::ObjectTable;
using test::ReadEmf;
using test::ReadWmf;
using test::WmfFile;
using test::WmfRecord;

const std::string kPi = "\xCF\x80";    // π
const std::string kAlpha = "\xCE\xB1"; // α

std::vector<const WmfRecord*> withFunction(const WmfFile& f, std::uint16_t fn)
{
    std::vector<const WmfRecord*> out;
    for (const auto& r : f.records) {
        if (r.function == fn) {
            out.push_back(&r);
        }
    }
    return out;
}

std::vector<const EmfRecord*> ofType(const EmfFile& f, std::uint32_t type)
{
    std::vector<const EmfRecord*> out;
    for (const auto& r : f.records) {
        if (r.type == type) {
            out.push_back(&r);
        }
    }
    return out;
}

// A small picture with every kind of call: axes, a curve that leaves the range, labels, fills.
void drawSample(Canvas& c)
{
    c.setPen(Pen{clBlack, 4, PenStyle::Solid});
    c.moveTo(0, 400);
    c.lineTo(2000, 400);
    c.setBrush(Brush{clBlack, BrushStyle::Solid});
    c.polygon({{1976, 384}, {2000, 400}, {1976, 416}});
    c.setBrush(Brush{clWhite, BrushStyle::Solid});
    c.textOut(100, 420, "1,5");
    c.setFontCharset(FontCharset::Greek);
    c.textOut(200, 420, "0,5" + kPi);
    c.setFontCharset(FontCharset::Default);
    c.setPen(Pen{clRed, 8, PenStyle::Solid});
    c.moveTo(0, 0);
    c.lineTo(500, 300);
    c.lineTo(900, 20000000);
    c.lineTo(1000, -20000000);
    c.lineTo(1100, 200);
    c.setPen(Pen{clGray, 1, PenStyle::Dot});
    c.polyline({{0, 100}, {1000, 100}, {2000, 100}});
    c.setBrush(Brush{clBlue, BrushStyle::BDiagonal});
    c.rectangle(100, 100, 300, 300);
    c.setBrush(Brush{clGreen, BrushStyle::Solid});
    c.ellipse(400, 100, 500, 200);
    c.arc(600, 100, 700, 200, 700, 150, 600, 150);
    c.pie(800, 100, 900, 200, 900, 150, 850, 100);
    c.fillRect(Rect{10, 10, 20, 20});
    c.setPen(Pen{clRed, 8, PenStyle::Solid});
    c.lineTo(1200, 250);
}

class MetafileTest : public ::testing::Test {
protected:
    FixedPitchMeasurer measurer;
};

// ---------------------------------------------------------------- WMF

TEST_F(MetafileTest, WmfHeadersDescribeTheFile)
{
    MetafileCanvas canvas(2004, 1604, measurer);
    drawSample(canvas);
    const auto bytes = canvas.toWmf();
    const WmfFile f = ReadWmf(bytes);

    ASSERT_EQ(f.error, "");
    EXPECT_TRUE(f.placeableKeyOk);
    EXPECT_TRUE(f.checksumOk);
    EXPECT_EQ(f.boxLeft, 0);
    EXPECT_EQ(f.boxTop, 0);
    EXPECT_EQ(f.boxRight, 2004);
    EXPECT_EQ(f.boxBottom, 1604);
    EXPECT_EQ(f.inch, 96);
    EXPECT_EQ(f.headerType, 1);
    EXPECT_EQ(f.headerWords, 9);
    EXPECT_EQ(f.version, 0x0300);
    EXPECT_EQ(f.sizeWords * 2, bytes.size() - 22);
    std::uint32_t largest = 0;
    for (const auto& r : f.records) {
        largest = std::max(largest, r.words);
    }
    EXPECT_EQ(f.maxRecord, largest);
    ASSERT_FALSE(f.records.empty());
    EXPECT_EQ(f.records.back().function, wmf::kEof);
    EXPECT_EQ(f.records.back().words, 3u);
}

TEST_F(MetafileTest, WmfStartsWithAnisotropicMappingOfThePlot)
{
    MetafileCanvas canvas(1002, 802, measurer);
    const WmfFile f = ReadWmf(canvas.toWmf());
    ASSERT_GE(f.records.size(), 4u);
    EXPECT_EQ(f.records[0].function, wmf::kSetMapMode);
    EXPECT_EQ(f.records[0].u(0), 8);
    const auto org = withFunction(f, wmf::kSetWindowOrg);
    const auto ext = withFunction(f, wmf::kSetWindowExt);
    ASSERT_EQ(org.size(), 1u);
    ASSERT_EQ(ext.size(), 1u);
    EXPECT_EQ(org[0]->s(0), 0);
    EXPECT_EQ(org[0]->s(1), 0);
    EXPECT_EQ(ext[0]->s(0), 802); // y before x
    EXPECT_EQ(ext[0]->s(1), 1002);
    // Nothing drawn: no background fill, no objects.
    EXPECT_TRUE(withFunction(f, wmf::kRectangle).empty());
    EXPECT_EQ(f.objects, 0);
}

TEST_F(MetafileTest, WmfObjectsAreSelectedBeforeUseAndSlotsReused)
{
    MetafileCanvas canvas(500, 500, measurer);
    const std::vector<TColor> colors = {clRed, clBlue, clRed, clGreen, clBlack, clBlue};
    int x = 0;
    for (const TColor c : colors) {
        canvas.setPenColor(c);
        canvas.moveTo(x, 0);
        canvas.lineTo(x, 100);
        x += 10;
    }
    canvas.setBrush(Brush{clYellow, BrushStyle::Solid});
    canvas.rectangle(0, 0, 50, 50);
    canvas.textOut(10, 10, "x");
    canvas.setFontHeight(20);
    canvas.textOut(10, 30, "y");
    const WmfFile f = ReadWmf(canvas.toWmf());
    ASSERT_EQ(f.error, "");

    ObjectTable table(0);
    int creates = 0;
    std::vector<int> penSlots;
    for (const auto& r : f.records) {
        switch (r.function) {
        case wmf::kCreatePenIndirect:
            penSlots.push_back(table.create(0));
            ++creates;
            break;
        case wmf::kCreateBrushIndirect:
            table.create(1);
            ++creates;
            break;
        case wmf::kCreateFontIndirect:
            table.create(2);
            ++creates;
            break;
        case wmf::kSelectObject:
            EXPECT_LT(r.u(0), f.objects);
            EXPECT_TRUE(table.select(r.u(0))) << "select of a missing object " << r.u(0);
            break;
        case wmf::kDeleteObject:
            EXPECT_LT(r.u(0), f.objects);
            EXPECT_TRUE(table.remove(r.u(0))) << "delete of a missing or selected object " << r.u(0);
            break;
        default:
            break;
        }
    }
    EXPECT_EQ(creates, 6 + 1 + 2); // five pen changes plus the first pen, one brush, two fonts
    EXPECT_EQ(table.highest() + 1, f.objects);
    EXPECT_LE(f.objects, 4); // one of each kind plus the one being replaced
    // Pens alternate between two slots: a freed slot is taken again.
    ASSERT_GE(penSlots.size(), 3u);
    EXPECT_EQ(penSlots[0], penSlots[2]);
}

TEST_F(MetafileTest, WmfPenAndBrushCodes)
{
    struct Case {
        PenStyle pen;
        int penCode;
        BrushStyle brush;
        int brushStyle;
        int hatch;
    };
    const std::vector<Case> cases = {
        {PenStyle::Solid, 0, BrushStyle::Solid, 0, 0},
        {PenStyle::Dash, 1, BrushStyle::Clear, 1, 0},
        {PenStyle::Dot, 2, BrushStyle::Horizontal, 2, 0},
        {PenStyle::DashDot, 3, BrushStyle::Vertical, 2, 1},
        {PenStyle::DashDotDot, 4, BrushStyle::FDiagonal, 2, 2},
        {PenStyle::Clear, 5, BrushStyle::BDiagonal, 2, 3},
        {PenStyle::Solid, 0, BrushStyle::Cross, 2, 4},
        {PenStyle::Solid, 0, BrushStyle::DiagCross, 2, 5},
    };
    for (const Case& c : cases) {
        MetafileCanvas canvas(100, 100, measurer);
        canvas.setPen(Pen{makeColor(1, 2, 3), 7, c.pen});
        canvas.setBrush(Brush{makeColor(4, 5, 6), c.brush});
        canvas.rectangle(10, 10, 20, 20);
        const WmfFile f = ReadWmf(canvas.toWmf());
        const auto pens = withFunction(f, wmf::kCreatePenIndirect);
        const auto brushes = withFunction(f, wmf::kCreateBrushIndirect);
        ASSERT_EQ(pens.size(), 1u);
        ASSERT_EQ(brushes.size(), 1u);
        EXPECT_EQ(pens[0]->u(0), c.penCode);
        EXPECT_EQ(pens[0]->u(1), 7);
        EXPECT_EQ(test::le32(pens[0]->params, 6), 0x030201u);
        EXPECT_EQ(brushes[0]->u(0), c.brushStyle);
        if (c.brush != BrushStyle::Clear) {
            EXPECT_EQ(test::le32(brushes[0]->params, 2), 0x060504u);
        }
        EXPECT_EQ(brushes[0]->u(3), c.hatch);
        const auto rects = withFunction(f, wmf::kRectangle);
        ASSERT_EQ(rects.size(), 1u);
        EXPECT_EQ(rects[0]->s(0), 20); // bottom, right, top, left
        EXPECT_EQ(rects[0]->s(1), 20);
        EXPECT_EQ(rects[0]->s(2), 10);
        EXPECT_EQ(rects[0]->s(3), 10);
    }
}

// Every coordinate of every drawing record, as (x, y) pairs.
std::vector<std::pair<int, int>> wmfCoordinates(const WmfFile& f)
{
    std::vector<std::pair<int, int>> out;
    for (const auto& r : f.records) {
        switch (r.function) {
        case wmf::kMoveTo:
        case wmf::kLineTo:
            out.emplace_back(r.s(1), r.s(0));
            break;
        case wmf::kPolyline:
        case wmf::kPolygon:
            for (int i = 0; i < r.s(0); ++i) {
                out.emplace_back(r.s(1 + 2 * i), r.s(2 + 2 * i));
            }
            break;
        case wmf::kRectangle:
        case wmf::kEllipse:
            out.emplace_back(r.s(3), r.s(2));
            out.emplace_back(r.s(1), r.s(0));
            break;
        default:
            break;
        }
    }
    return out;
}

TEST_F(MetafileTest, WmfFarPointsAreCutOnTheirLineInsideTheInt16Range)
{
    MetafileCanvas canvas(2004, 1604, measurer);
    canvas.moveTo(100, 100);
    canvas.lineTo(100 + 20000000, 100 + 10000000); // slope 1/2, far outside
    canvas.polyline({{0, 800}, {1000, 800}, {1000, -2000000000}, {1200, 800}, {1400, 800}});
    canvas.setBrush(Brush{clRed, BrushStyle::Solid});
    canvas.polygon({{0, 0}, {2000000000, 0}, {0, 2000000000}});
    const WmfFile f = ReadWmf(canvas.toWmf());
    ASSERT_EQ(f.error, "");

    const auto coords = wmfCoordinates(f);
    ASSERT_FALSE(coords.empty());
    for (const auto& [x, y] : coords) {
        EXPECT_GE(x, -2048);
        EXPECT_LE(x, 2004 + 2048);
        EXPECT_GE(y, -2048);
        EXPECT_LE(y, 1604 + 2048);
    }
    const auto lines = withFunction(f, wmf::kLineTo);
    ASSERT_EQ(lines.size(), 1u);
    const int ex = lines[0]->s(1);
    const int ey = lines[0]->s(0);
    EXPECT_GT(ex, 2004);                          // leaves the picture
    EXPECT_NEAR(ey - 100, (ex - 100) / 2.0, 1.0); // on the original line
    // The polyline leaves and comes back: two visible runs.
    const auto polylines = withFunction(f, wmf::kPolyline);
    EXPECT_EQ(polylines.size(), 2u);
    const auto polygons = withFunction(f, wmf::kPolygon);
    ASSERT_EQ(polygons.size(), 1u);
    EXPECT_GE(polygons[0]->s(0), 3);
}

TEST_F(MetafileTest, WmfGreekTextUsesCodePage1253)
{
    MetafileCanvas canvas(500, 500, measurer);
    canvas.setFontCharset(FontCharset::Greek);
    canvas.textOut(10, 10, "1" + kPi);
    canvas.setFontCharset(FontCharset::Default);
    canvas.textOut(10, 40, "x");
    canvas.textOut(10, 70, kAlpha + "=30\xC2\xB0"); // α=30°, Greek although the font is not
    const WmfFile f = ReadWmf(canvas.toWmf());
    ASSERT_EQ(f.error, "");

    // Each text record is preceded by the selection of a font with the right character set.
    std::map<int, int> charsetOfSlot;
    ObjectTable table(0);
    int selectedCharset = -1;
    std::vector<std::pair<int, std::string>> texts;
    for (const auto& r : f.records) {
        if (r.function == wmf::kCreateFontIndirect) {
            charsetOfSlot[table.create(2)] = r.params[13];
        } else if (r.function == wmf::kSelectObject && charsetOfSlot.count(r.u(0))) {
            selectedCharset = charsetOfSlot[r.u(0)];
        } else if (r.function == wmf::kDeleteObject) {
            table.remove(r.u(0));
        } else if (r.function == wmf::kExtTextOut) {
            const int n = r.s(2);
            texts.emplace_back(selectedCharset, std::string(r.params.begin() + 8, r.params.begin() + 8 + n));
        }
    }
    ASSERT_EQ(texts.size(), 3u);
    EXPECT_EQ(texts[0], (std::pair<int, std::string>{161, "1\xF0"}));
    EXPECT_EQ(texts[1], (std::pair<int, std::string>{0, "x"}));
    EXPECT_EQ(texts[2], (std::pair<int, std::string>{161, "\xE1=30\xB0"}));
}

TEST_F(MetafileTest, WmfSymbolFaceGetsTheSymbolCharset)
{
    MetafileCanvas canvas(100, 100, measurer);
    Font font;
    font.family = "symbol";
    canvas.setFont(font);
    canvas.textOut(1, 1, "e");
    const WmfFile f = ReadWmf(canvas.toWmf());
    const auto fonts = withFunction(f, wmf::kCreateFontIndirect);
    ASSERT_EQ(fonts.size(), 1u);
    EXPECT_EQ(fonts[0]->params[13], 2);
}

TEST_F(MetafileTest, WmfTextCarriesFontSizeWidthsAndBackground)
{
    MetafileCanvas canvas(500, 500, measurer);
    Font font;
    font.family = "Arial";
    font.pixelHeight = 64;
    font.bold = true;
    font.color = clBlue;
    canvas.setFont(font);
    canvas.setBrush(Brush{clYellow, BrushStyle::Solid});
    canvas.textOut(10, 20, "abc");
    canvas.setBrush(Brush{clYellow, BrushStyle::Clear});
    canvas.textOut(10, 120, "d");
    const WmfFile f = ReadWmf(canvas.toWmf());

    const auto fonts = withFunction(f, wmf::kCreateFontIndirect);
    ASSERT_EQ(fonts.size(), 1u);
    EXPECT_EQ(fonts[0]->s(0), -64);
    EXPECT_EQ(fonts[0]->s(4), 700);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(fonts[0]->params.data() + 18)), "Arial");

    const auto texts = withFunction(f, wmf::kExtTextOut);
    ASSERT_EQ(texts.size(), 2u);
    EXPECT_EQ(texts[0]->s(0), 20);
    EXPECT_EQ(texts[0]->s(1), 10);
    ASSERT_EQ(texts[0]->s(2), 3);
    // 0.6 em of 64 units: 38.4 per letter, rounded so the sum stays right (38, 39, 38).
    const int dx0 = texts[0]->s(6), dx1 = texts[0]->s(7), dx2 = texts[0]->s(8);
    EXPECT_EQ(dx0 + dx1 + dx2, 115);
    EXPECT_EQ(dx0, 38);
    EXPECT_EQ(dx1, 39);

    // Opaque with the brush colour before the first text, transparent before the second.
    std::vector<int> modes;
    int lastBk = -1;
    int bkBeforeFirstText = -1;
    for (const auto& r : f.records) {
        if (r.function == wmf::kSetBkMode) {
            modes.push_back(r.u(0));
        } else if (r.function == wmf::kSetBkColor) {
            lastBk = static_cast<int>(test::le32(r.params, 0));
        } else if (r.function == wmf::kExtTextOut && bkBeforeFirstText < 0) {
            bkBeforeFirstText = lastBk;
            EXPECT_EQ(modes.back(), 2);
        } else if (r.function == wmf::kExtTextOut) {
            EXPECT_EQ(modes.back(), 1);
        }
    }
    EXPECT_EQ(bkBeforeFirstText, static_cast<int>(clYellow));
    const auto colors = withFunction(f, wmf::kSetTextColor);
    ASSERT_EQ(colors.size(), 1u);
    EXPECT_EQ(test::le32(colors[0]->params, 0), clBlue);
}

TEST_F(MetafileTest, WmfArcPiePixelAndRasterOperation)
{
    MetafileCanvas canvas(1000, 1000, measurer);
    canvas.arc(600, 100, 700, 200, 700, 150, 600, 160);
    canvas.pie(800, 100, 900, 200, 900, 150, 850, 100);
    canvas.setPixel(5, 6, clRed);
    canvas.setPenMode(PenMode::NotXor);
    canvas.lineTo(10, 10);
    const WmfFile f = ReadWmf(canvas.toWmf());
    const auto arcs = withFunction(f, wmf::kArc);
    const auto pies = withFunction(f, wmf::kPie);
    ASSERT_EQ(arcs.size(), 1u);
    ASSERT_EQ(pies.size(), 1u);
    // End point, start point, then the box; each point y before x.
    const std::vector<int> arcParams = {160, 600, 150, 700, 200, 700, 100, 600};
    const std::vector<int> pieParams = {100, 850, 150, 900, 200, 900, 100, 800};
    for (std::size_t i = 0; i < 8; ++i) {
        EXPECT_EQ(arcs[0]->s(i), arcParams[i]) << i;
        EXPECT_EQ(pies[0]->s(i), pieParams[i]) << i;
    }
    const auto pixels = withFunction(f, wmf::kSetPixel);
    ASSERT_EQ(pixels.size(), 1u);
    EXPECT_EQ(test::le32(pixels[0]->params, 0), clRed);
    EXPECT_EQ(pixels[0]->s(2), 6);
    EXPECT_EQ(pixels[0]->s(3), 5);
    const auto rops = withFunction(f, wmf::kSetRop2);
    ASSERT_EQ(rops.size(), 1u);
    EXPECT_EQ(rops[0]->u(0), 10); // R2_NOTXORPEN
}

TEST_F(MetafileTest, HatchedFillsLeaveTheirGapsTransparent)
{
    MetafileCanvas canvas(500, 500, measurer);
    canvas.setBrush(Brush{clWhite, BrushStyle::Solid});
    canvas.textOut(10, 10, "1"); // opaque label
    canvas.setBrush(Brush{clBlue, BrushStyle::Cross});
    canvas.rectangle(0, 0, 100, 100);
    const WmfFile f = ReadWmf(canvas.toWmf());
    int mode = -1;
    for (const auto& r : f.records) {
        if (r.function == wmf::kSetBkMode) {
            mode = r.u(0);
        } else if (r.function == wmf::kExtTextOut) {
            EXPECT_EQ(mode, 2);
        } else if (r.function == wmf::kRectangle) {
            EXPECT_EQ(mode, 1);
        }
    }
}

TEST_F(MetafileTest, ConnectedLinesBecomeOnePolyline)
{
    MetafileCanvas canvas(1000, 1000, measurer);
    canvas.moveTo(0, 0);
    for (int i = 1; i <= 50; ++i) {
        canvas.lineTo(10 * i, (i % 2) * 10);
    }
    canvas.setPenColor(clBlue); // a new pen ends the run
    canvas.lineTo(600, 600);
    canvas.lineTo(700, 600);
    canvas.setPenMode(PenMode::NotXor); // the rubber band's mode keeps single lines
    canvas.lineTo(800, 600);
    canvas.lineTo(900, 600);
    const WmfFile f = ReadWmf(canvas.toWmf());
    const auto polylines = withFunction(f, wmf::kPolyline);
    ASSERT_EQ(polylines.size(), 2u);
    EXPECT_EQ(polylines[0]->s(0), 51);
    EXPECT_EQ(polylines[0]->s(1 + 2 * 50), 500); // last point x
    EXPECT_EQ(polylines[1]->s(0), 3);
    EXPECT_EQ(withFunction(f, wmf::kLineTo).size(), 2u);
}

TEST_F(MetafileTest, WmfFillRectHasNoOutline)
{
    MetafileCanvas canvas(100, 100, measurer);
    canvas.setBrush(Brush{clSilver, BrushStyle::Solid});
    canvas.fillRect(Rect{10, 20, 30, 40});
    const WmfFile f = ReadWmf(canvas.toWmf());
    const auto pens = withFunction(f, wmf::kCreatePenIndirect);
    ASSERT_EQ(pens.size(), 1u);
    EXPECT_EQ(pens[0]->u(0), 5);
    const auto rects = withFunction(f, wmf::kRectangle);
    ASSERT_EQ(rects.size(), 1u);
    EXPECT_EQ(rects[0]->s(0), 41);
    EXPECT_EQ(rects[0]->s(1), 31);
}

TEST_F(MetafileTest, WindowOriginMovesTheRecordedPicture)
{
    MetafileCanvas canvas(400, 800, measurer);
    canvas.setWindowOrigin(0, 400);
    canvas.moveTo(10, 10);
    canvas.lineTo(20, 30);
    const WmfFile f = ReadWmf(canvas.toWmf());
    const auto moves = withFunction(f, wmf::kMoveTo);
    const auto lines = withFunction(f, wmf::kLineTo);
    ASSERT_EQ(moves.size(), 1u);
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(moves[0]->s(0), 410);
    EXPECT_EQ(lines[0]->s(0), 430);
    EXPECT_EQ(lines[0]->s(1), 20);
}

TEST_F(MetafileTest, ClipRectIsSavedAndRestoredWithoutLosingObjects)
{
    MetafileCanvas canvas(400, 400, measurer);
    canvas.setPenColor(clRed);
    canvas.lineTo(10, 10);
    canvas.setClipRect(Rect{0, 0, 100, 100});
    canvas.setPenColor(clBlue);
    canvas.lineTo(20, 20);
    canvas.clearClip();
    canvas.lineTo(30, 30);
    const WmfFile f = ReadWmf(canvas.toWmf());
    ASSERT_EQ(f.error, "");
    ASSERT_EQ(withFunction(f, wmf::kSaveDc).size(), 1u);
    ASSERT_EQ(withFunction(f, wmf::kRestoreDc).size(), 1u);
    // The red pen, selected in the saved state, must survive until the restore; the blue pen is
    // selected again afterwards.
    int restoreAt = -1, lastSelect = -1, deleteRed = -1;
    for (std::size_t i = 0; i < f.records.size(); ++i) {
        const auto& r = f.records[i];
        if (r.function == wmf::kRestoreDc) {
            restoreAt = static_cast<int>(i);
        } else if (r.function == wmf::kSelectObject) {
            lastSelect = static_cast<int>(i);
        } else if (r.function == wmf::kDeleteObject && r.u(0) == 0) {
            deleteRed = static_cast<int>(i);
        }
    }
    EXPECT_GT(lastSelect, restoreAt);
    EXPECT_GT(deleteRed, restoreAt);
}

TEST_F(MetafileTest, ExtremeCoordinatesStayInRangeInBothFormats)
{
    // Plotter jumps and unclamped values reach the ends of int; the files must stay well-formed.
    const std::vector<int> values = {
        std::numeric_limits<int>::min(), -20000000, -40000, -1, 0, 1000, 40000, 20000000,
        std::numeric_limits<int>::max()};
    MetafileCanvas canvas(2004, 1604, measurer);
    canvas.setWindowOrigin(0, 1604);
    std::size_t k = 0;
    const auto next = [&] { return values[(k++ * 7 + 3) % values.size()]; };
    canvas.setBrush(Brush{clAqua, BrushStyle::Solid});
    for (int i = 0; i < 40; ++i) {
        canvas.lineTo(next(), next());
        canvas.polyline({{next(), next()}, {next(), next()}, {next(), next()}});
        canvas.polygon({{next(), next()}, {next(), next()}, {next(), next()}});
        canvas.rectangle(next(), next(), next(), next());
        canvas.ellipse(next(), next(), next(), next());
        canvas.pie(next(), next(), next(), next(), next(), next(), next(), next());
        canvas.textOut(next(), next(), "x");
    }
    const WmfFile w = ReadWmf(canvas.toWmf());
    ASSERT_EQ(w.error, "");
    EXPECT_TRUE(w.checksumOk);
    EXPECT_EQ(w.records.back().function, wmf::kEof);
    for (const auto& [x, y] : wmfCoordinates(w)) {
        EXPECT_GE(x, -1024);
        EXPECT_LE(x, 2004 + 1024);
        EXPECT_GE(y, -1024);
        EXPECT_LE(y, 1604 + 1024);
    }
    const auto emfBytes = canvas.toEmf();
    const EmfFile e = ReadEmf(emfBytes);
    ASSERT_EQ(e.error, "");
    EXPECT_EQ(e.records.front().u(48), emfBytes.size());
    EXPECT_EQ(e.records.back().type, emf::kEof);
}

// ---------------------------------------------------------------- EMF

TEST_F(MetafileTest, EmfHeaderDescribesTheFile)
{
    MetafileCanvas canvas(2004, 1604, measurer);
    drawSample(canvas);
    const auto bytes = canvas.toEmf();
    const EmfFile f = ReadEmf(bytes);
    ASSERT_EQ(f.error, "");
    ASSERT_GE(f.records.size(), 2u);
    const EmfRecord& h = f.records.front();
    EXPECT_EQ(h.type, emf::kHeader);
    EXPECT_EQ(h.u(40), emf::kSignature);
    EXPECT_EQ(h.u(44), 0x00010000u);
    EXPECT_EQ(h.u(48), bytes.size());
    EXPECT_EQ(h.u(52), f.records.size());
    // Bounds inclusive in units, frame in 0.01 mm at 96 units per inch.
    EXPECT_EQ(h.s(8), 0);
    EXPECT_EQ(h.s(16), 2003);
    EXPECT_EQ(h.s(20), 1603);
    EXPECT_EQ(h.s(32), 53023); // 2004 * 2540 / 96 = 53022.5, halves away from zero
    EXPECT_EQ(h.s(36), 42439);
    EXPECT_EQ(h.s(72), 1920);
    EXPECT_EQ(h.s(80), 508);
    const std::uint32_t nDesc = h.u(60);
    const std::uint32_t offDesc = h.u(64);
    ASSERT_LE(offDesc + 2 * nDesc, h.size);
    std::u16string desc;
    for (std::uint32_t i = 0; i < nDesc; ++i) {
        desc.push_back(static_cast<char16_t>(test::le16(h.data, offDesc + 2 * i)));
    }
    EXPECT_EQ(desc, std::u16string(u"Kurvex\0Grafik\0\0", 15));
    for (const auto& r : f.records) {
        EXPECT_EQ(r.size % 4, 0u) << "record type " << r.type;
        EXPECT_EQ(r.offset % 4, 0u);
    }
    EXPECT_EQ(f.records.back().type, emf::kEof);
    EXPECT_EQ(f.records.back().u(16), 20u);
}

TEST_F(MetafileTest, EmfObjectIndicesStartAtOneAndFitTheHandleCount)
{
    MetafileCanvas canvas(500, 500, measurer);
    drawSample(canvas);
    const EmfFile f = ReadEmf(canvas.toEmf());
    ASSERT_EQ(f.error, "");
    const std::uint32_t handles = test::le16(f.records.front().data, 56);
    ObjectTable table(1);
    for (const auto& r : f.records) {
        switch (r.type) {
        case emf::kCreatePen:
        case emf::kExtCreatePen:
        case emf::kCreateBrushIndirect:
        case emf::kExtCreateFontIndirectW:
            // Both pen records make pens: one kind for the selection.
            EXPECT_EQ(
                static_cast<int>(r.u(8)),
                table.create(static_cast<int>(r.type == emf::kExtCreatePen ? emf::kCreatePen : r.type)));
            break;
        case emf::kSelectObject:
            EXPECT_GE(r.u(8), 1u);
            EXPECT_LT(r.u(8), handles);
            EXPECT_TRUE(table.select(static_cast<int>(r.u(8))));
            break;
        case emf::kDeleteObject:
            EXPECT_TRUE(table.remove(static_cast<int>(r.u(8))));
            break;
        default:
            break;
        }
    }
    EXPECT_EQ(static_cast<std::uint32_t>(table.highest() + 1), handles);
}

TEST_F(MetafileTest, EmfWidePensAreGeometric)
{
    MetafileCanvas canvas(500, 500, measurer);
    canvas.setPen(Pen{clBlue, 1, PenStyle::Dot});
    canvas.lineTo(10, 10);
    canvas.setPen(Pen{clRed, 8, PenStyle::Solid});
    canvas.lineTo(20, 20);
    const EmfFile f = ReadEmf(canvas.toEmf());
    const auto thin = ofType(f, emf::kCreatePen);
    const auto wide = ofType(f, emf::kExtCreatePen);
    ASSERT_EQ(thin.size(), 1u);
    ASSERT_EQ(wide.size(), 1u);
    EXPECT_EQ(thin[0]->u(12), 2u); // PS_DOT
    EXPECT_EQ(thin[0]->u(16), 1u); // width
    EXPECT_EQ(thin[0]->u(24), clBlue);
    EXPECT_EQ(wide[0]->size, 52u);
    EXPECT_EQ(wide[0]->u(28), 0x00010000u); // PS_GEOMETRIC | PS_SOLID, round ends and joins
    EXPECT_EQ(wide[0]->u(32), 8u);
    EXPECT_EQ(wide[0]->u(40), clRed);
}

TEST_F(MetafileTest, EmfTextIsUtf16WithWidths)
{
    MetafileCanvas canvas(500, 500, measurer);
    canvas.setFontHeight(20);
    canvas.setFontCharset(FontCharset::Greek);
    canvas.textOut(30, 40, "2" + kPi);
    const EmfFile f = ReadEmf(canvas.toEmf());
    const auto texts = ofType(f, emf::kExtTextOutW);
    ASSERT_EQ(texts.size(), 1u);
    const EmfRecord& t = *texts[0];
    EXPECT_EQ(t.s(36), 30);
    EXPECT_EQ(t.s(40), 40);
    const std::uint32_t chars = t.u(44);
    const std::uint32_t offString = t.u(48);
    const std::uint32_t offDx = t.u(72);
    ASSERT_EQ(chars, 2u);
    EXPECT_EQ(test::le16(t.data, offString), u'2');
    EXPECT_EQ(test::le16(t.data, offString + 2), 0x03C0);
    EXPECT_EQ(offDx % 4, 0u);
    ASSERT_LE(offDx + 4 * chars, t.size);
    EXPECT_EQ(t.u(offDx), 12u);
    EXPECT_EQ(t.u(offDx + 4), 12u);
    const auto fonts = ofType(f, emf::kExtCreateFontIndirectW);
    ASSERT_EQ(fonts.size(), 1u);
    EXPECT_EQ(fonts[0]->s(12), -20);
    EXPECT_EQ(fonts[0]->data[12 + 23], 161);
}

TEST_F(MetafileTest, EmfPolylinePointsAreSixteenBitWithBounds)
{
    MetafileCanvas canvas(1000, 1000, measurer);
    canvas.polyline({{10, 20}, {500, 900}, {800, 30}});
    canvas.polyline({{0, 500}, {2000000000, 500}});
    const EmfFile f = ReadEmf(canvas.toEmf());
    const auto lines = ofType(f, emf::kPolyline16);
    ASSERT_EQ(lines.size(), 2u);
    const EmfRecord& p = *lines[0];
    EXPECT_EQ(p.s(8), 10);
    EXPECT_EQ(p.s(12), 20);
    EXPECT_EQ(p.s(16), 800);
    EXPECT_EQ(p.s(20), 900);
    ASSERT_EQ(p.u(24), 3u);
    EXPECT_EQ(static_cast<std::int16_t>(test::le16(p.data, 28 + 4)), 500);
    EXPECT_EQ(static_cast<std::int16_t>(test::le16(p.data, 28 + 6)), 900);
    const EmfRecord& q = *lines[1];
    const int farX = static_cast<std::int16_t>(test::le16(q.data, 28 + 4));
    EXPECT_GT(farX, 1000);
    EXPECT_LE(farX, 32767);
}

// ---------------------------------------------------------------- helpers

TEST(MetafileTextTest, CodePages)
{
    EXPECT_EQ(ToCp1253(U'π'), 0xF0);
    EXPECT_EQ(ToCp1253(U'α'), 0xE1);
    EXPECT_EQ(ToCp1253(U'Ω'), 0xD9);
    EXPECT_EQ(ToCp1253(U'°'), 0xB0);
    EXPECT_EQ(ToCp1252(U'°'), 0xB0);
    EXPECT_EQ(ToCp1252(U'€'), 0x80);
    EXPECT_EQ(ToCp1252(U'ä'), 0xE4);
    EXPECT_FALSE(ToCp1252(U'π'));
    EXPECT_FALSE(ToCp1253(U'ä'));
    EXPECT_TRUE(NeedsGreekCodePage(U"x=2π"));
    EXPECT_FALSE(NeedsGreekCodePage(U"Größe"));
    EXPECT_EQ(EncodeSingleByte(U"aπ✓", true), "a\xF0?");
}

TEST(MetafileTextTest, Utf8DecodingReplacesBrokenBytes)
{
    EXPECT_EQ(DecodeUtf8("a\xCF\x80"
                         "b"),
              U"aπb");
    EXPECT_EQ(DecodeUtf8("\xF0\x9F\x98\x80"), U"\U0001F600");
    EXPECT_EQ(DecodeUtf8("\xCF"), U"\uFFFD");
    EXPECT_EQ(DecodeUtf8("\xC0\xAF"), U"\uFFFD\uFFFD"); // overlong
    EXPECT_EQ(ToUtf16(U"\U0001F600"), u"\U0001F600");
}

TEST(MetafileGeometryTest, SegmentsArePartlyOrWhollyCut)
{
    const DBox box{0, 0, 100, 100};
    EXPECT_FALSE(ClipSegment({-10, -10}, {-5, 200}, box));
    const auto inside = ClipSegment({10, 10}, {20, 20}, box);
    ASSERT_TRUE(inside);
    EXPECT_EQ(inside->first, (DPoint{10, 10}));
    const auto cut = ClipSegment({50, 50}, {250, 150}, box);
    ASSERT_TRUE(cut);
    EXPECT_DOUBLE_EQ(cut->second.x, 100);
    EXPECT_DOUBLE_EQ(cut->second.y, 75);
    const auto through = ClipSegment({-100, 50}, {200, 50}, box);
    ASSERT_TRUE(through);
    EXPECT_DOUBLE_EQ(through->first.x, 0);
    EXPECT_DOUBLE_EQ(through->second.x, 100);
}

TEST(MetafileGeometryTest, PolygonCutKeepsTheInsideArea)
{
    const DBox box{0, 0, 10, 10};
    const auto cut = ClipPolygon({{-10, -10}, {20, -10}, {20, 20}, {-10, 20}}, box);
    double area = 0;
    for (std::size_t i = 0; i < cut.size(); ++i) {
        const DPoint a = cut[i];
        const DPoint b = cut[(i + 1) % cut.size()];
        area += a.x * b.y - b.x * a.y;
    }
    EXPECT_DOUBLE_EQ(std::abs(area) / 2, 100.0);
    EXPECT_TRUE(ClipPolygon({{20, 20}, {30, 20}, {30, 30}}, box).empty());
}

TEST(MetafileGeometryTest, RoundClampedHandlesNaNAndLimits)
{
    EXPECT_EQ(RoundClamped(2.5, -10, 10), 2);
    EXPECT_EQ(RoundClamped(1e300, -10, 10), 10);
    EXPECT_EQ(RoundClamped(-1e300, -10, 10), -10);
    EXPECT_EQ(RoundClamped(std::nan(""), -10, 10), -10);
}

} // namespace
} // namespace kurvex
