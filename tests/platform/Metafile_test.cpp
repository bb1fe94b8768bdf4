// Metafile canvas: WMF and EMF byte layout, object table, clipping to 16 bits and text encodings.
#include "platform/EmfWriter.h"
#include "platform/MetafileCanvas.h"
#include "platform/MetafileGeometry.h"
#include "platform/MetafileText.h"
#include "platform/WmfWriter.h"
#include "support/MetafileReader.h"
#include "support/SharedState.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>
#include <map>
#include <set>
#include <string>
#include <tuple>
#include <vector>

namespace kurvex {
namespace {

using test::EmfFile;
using test::EmfRecord;
using test::RecordsOf;
using test::WmfFile;
using test::WmfRecord;

using Ints = std::vector<int>;
using U32s = std::vector<std::uint32_t>;
const std::string kPi = "\xCF\x80";    // π
const std::string kAlpha = "\xCE\xB1"; // α

// Every kind of call with pen, brush and character-set changes. Coordinates reach the ends of int,
// as plotter jumps and unclamped values do; the window origin moves them all.
void drawSample(Canvas& c)
{
    const int values[] = {std::numeric_limits<int>::min(), -20000000, -40000, -1, 0, 1000, 40000, 20000000,
                          std::numeric_limits<int>::max()};
    std::size_t k = 0;
    const auto next = [&] { return values[(k++ * 7 + 3) % std::size(values)]; };
    const Pen pens[] = {
        {clBlack, 4, PenStyle::Solid}, {clRed, 8, PenStyle::Solid}, {clGray, 1, PenStyle::Dot}};
    const Brush brushes[] = {{clAqua, BrushStyle::Solid}, {clBlue, BrushStyle::BDiagonal}};
    c.setWindowOrigin(0, 1604);
    for (int i = 0; i < 40; ++i) {
        c.setPen(pens[i % 3]);
        c.setBrush(brushes[i % 2]);
        c.lineTo(next(), next());
        c.polyline({{next(), next()}, {next(), next()}, {next(), next()}});
        c.polygon({{next(), next()}, {next(), next()}, {next(), next()}});
        c.rectangle(next(), next(), next(), next());
        c.ellipse(next(), next(), next(), next());
        c.pie(next(), next(), next(), next(), next(), next(), next(), next());
        c.fillRect(Rect{next(), next(), next(), next()});
        c.textOut(next(), next(), "x");
        c.setFontCharset(i % 2 == 0 ? FontCharset::Greek : FontCharset::Default);
        c.textOut(50 * i, -800, i % 2 == 0 ? "0,5" + kPi : "1,5");
        c.polyline({{0, -1500}, {1000, i - 1500}, {2000, -1500}});
    }
}

// Every code point is 0.6 em wide and a line is 1.2 em high: predictable numbers for the tests.
class FixedPitchMeasurer : public TextMeasurer {
public:
    double width(const Font& font, const std::string& utf8) const override
    {
        return 0.6 * font.pixelHeight * static_cast<double>(DecodeUtf8(utf8).size());
    }
    double height(const Font& font) const override { return 1.2 * font.pixelHeight; }
    std::vector<double> advances(const Font& font, const std::string& utf8) const override
    {
        return std::vector<double>(DecodeUtf8(utf8).size(), 0.6 * font.pixelHeight);
    }
};

class MetafileTest : public ::testing::Test {
protected:
    WmfFile wmf(const std::function<void(Canvas&)>& draw, int width = 500, int height = 500) const
    {
        MetafileCanvas canvas(width, height, measurer);
        draw(canvas);
        return test::ReadWmf(canvas.toWmf());
    }
    EmfFile emf(const std::function<void(Canvas&)>& draw, int width = 500, int height = 500) const
    {
        MetafileCanvas canvas(width, height, measurer);
        draw(canvas);
        return test::ReadEmf(canvas.toEmf());
    }
    FixedPitchMeasurer measurer;
};

// The signed parameter words at the given positions, all of them without positions.
Ints words(const WmfRecord* r, std::vector<std::size_t> at = {})
{
    for (std::size_t i = 0, n = at.empty() ? r->params.size() / 2 : 0; i < n; ++i) {
        at.push_back(i);
    }
    Ints out;
    for (const std::size_t i : at) {
        out.push_back(r->s(i));
    }
    return out;
}

template <class... Lists> bool oneEach(const Lists&... lists)
{
    return ((lists.size() == 1) && ...);
}

// Every coordinate of every drawing record, as (x, y) pairs.
std::vector<std::pair<int, int>> wmfCoordinates(const WmfFile& f)
{
    std::vector<std::pair<int, int>> out;
    for (const auto& r : f.records) {
        if (r.kind == wmf::kMoveTo || r.kind == wmf::kLineTo) {
            out.emplace_back(r.s(1), r.s(0));
        } else if (r.kind == wmf::kPolyline || r.kind == wmf::kPolygon) {
            for (int i = 0; i < r.s(0); ++i) {
                out.emplace_back(r.s(1 + 2 * i), r.s(2 + 2 * i));
            }
        } else if (r.kind == wmf::kRectangle || r.kind == wmf::kEllipse || r.kind == wmf::kPie) {
            const std::size_t box = r.kind == wmf::kPie ? 4 : 0;
            out.emplace_back(r.s(box + 3), r.s(box + 2));
            out.emplace_back(r.s(box + 1), r.s(box));
        }
    }
    return out;
}

// ---------------------------------------------------------------- WMF

TEST_F(MetafileTest, WmfHeadersDescribeTheFile)
{
    MetafileCanvas canvas(2004, 1604, measurer);
    drawSample(canvas);
    const auto bytes = canvas.toWmf();
    const WmfFile f = test::ReadWmf(bytes);

    ASSERT_EQ(f.error, "");
    EXPECT_TRUE(f.placeableKeyOk);
    EXPECT_TRUE(f.checksumOk);
    EXPECT_EQ(
        Ints({f.boxLeft, f.boxTop, f.boxRight, f.boxBottom, f.inch, f.headerType, f.headerWords, f.version}),
        Ints({0, 0, 2004, 1604, 96, 1, 9, 0x0300}));
    EXPECT_EQ(f.sizeWords * 2, bytes.size() - 22);
    const auto byWords = [](const WmfRecord& a, const WmfRecord& b) { return a.words < b.words; };
    EXPECT_EQ(f.maxRecord, std::max_element(f.records.begin(), f.records.end(), byWords)->words);
    EXPECT_EQ(std::pair(f.records.back().kind, f.records.back().words), std::pair(wmf::kEof, 3u));
    // Anisotropic mapping with the window on the picture, sizes y before x.
    EXPECT_EQ(std::pair(f.records[0].kind, f.records[0].u(0)), std::pair(wmf::kSetMapMode, std::uint16_t{8}));
    const auto org = RecordsOf(f, wmf::kSetWindowOrg);
    const auto ext = RecordsOf(f, wmf::kSetWindowExt);
    ASSERT_TRUE(oneEach(org, ext));
    EXPECT_EQ(Ints({org[0]->s(0), org[0]->s(1), ext[0]->s(0), ext[0]->s(1)}), Ints({0, 0, 1604, 2004}));
    // Far coordinates are cut inside the int16 range, close to the picture.
    for (const auto& [x, y] : wmfCoordinates(f)) {
        EXPECT_TRUE(x >= -1024 && x <= 2004 + 1024 && y >= -1024 && y <= 1604 + 1024) << x << "," << y;
    }

    // An empty picture has no background fill and no objects.
    const WmfFile empty = wmf([](Canvas&) {});
    EXPECT_TRUE(RecordsOf(empty, wmf::kRectangle).empty());
    EXPECT_EQ(empty.objects, 0);
}

TEST_F(MetafileTest, WmfObjectsAreSelectedBeforeUseAndSlotsReused)
{
    const WmfFile f = wmf([](Canvas& c) {
        int x = 0;
        for (const TColor color : {clRed, clBlue, clRed, clGreen, clBlack, clBlue}) {
            c.setPenColor(color);
            c.moveTo(x, 0);
            c.lineTo(x, 100);
            x += 10;
        }
        c.setBrush(Brush{clYellow, BrushStyle::Solid});
        c.rectangle(0, 0, 50, 50);
        c.textOut(10, 10, "x");
        c.setFontHeight(20);
        c.textOut(10, 30, "y");
    });
    ASSERT_EQ(f.error, "");
    const test::ObjectReplay replay = test::ReplayObjects(f);
    EXPECT_EQ(replay.fault, "");
    EXPECT_EQ(replay.created.size(), 6u + 1 + 2); // six pens, one brush, two fonts
    EXPECT_EQ(replay.highest + 1, f.objects);
    EXPECT_LE(f.objects, 4); // one of each kind plus the one being replaced
    // Pens alternate between two slots: a freed slot is taken again.
    EXPECT_EQ(replay.created[0], replay.created[2]);
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
    // A hatched shape has no brush (BS_NULL 1): its hatch is written as lines of its own.
    const Case cases[] = {
        {PenStyle::Solid, 0, BrushStyle::Solid, 0, 0},
        {PenStyle::Dash, 1, BrushStyle::Clear, 1, 0},
        {PenStyle::Dot, 2, BrushStyle::Horizontal, 1, 0},
        {PenStyle::DashDot, 3, BrushStyle::Vertical, 1, 0},
        {PenStyle::DashDotDot, 4, BrushStyle::FDiagonal, 1, 0},
        {PenStyle::Solid, 0, BrushStyle::BDiagonal, 1, 0},
        {PenStyle::Solid, 0, BrushStyle::Cross, 1, 0},
        {PenStyle::Solid, 0, BrushStyle::DiagCross, 1, 0},
        {PenStyle::Clear, 5, BrushStyle::Solid, 0, 0},
    };
    for (const Case& c : cases) {
        const WmfFile f = wmf([&c](Canvas& canvas) {
            canvas.setPen(Pen{makeColor(1, 2, 3), 7, c.pen});
            canvas.setBrush(Brush{makeColor(4, 5, 6), c.brush});
            canvas.rectangle(10, 10, 20, 30);
        });
        const auto pens = RecordsOf(f, wmf::kCreatePenIndirect);
        const auto brushes = RecordsOf(f, wmf::kCreateBrushIndirect);
        const auto rects = RecordsOf(f, wmf::kRectangle);
        ASSERT_TRUE(oneEach(brushes, rects));
        // The outline's pen comes last, after the pen of a hatch.
        ASSERT_FALSE(pens.empty());
        const WmfRecord* pen = pens.back();
        // A dashed or dotted outline is one unit wide, the widest the formats draw styled.
        const int width = c.penCode >= 1 && c.penCode <= 4 ? 1 : 7;
        EXPECT_EQ(Ints({pen->u(0), pen->u(1)}), Ints({c.penCode, width}));
        EXPECT_EQ(test::le32(pen->params, 6), 0x030201u);
        EXPECT_EQ(Ints({brushes[0]->u(0), brushes[0]->u(3)}), Ints({c.brushStyle, c.hatch}));
        if (c.brush == BrushStyle::Solid) {
            EXPECT_EQ(test::le32(brushes[0]->params, 2), 0x060504u);
        }
        // Bottom, right, top, left.
        EXPECT_EQ(words(rects[0]), Ints({30, 20, 10, 10}));
    }
}

TEST_F(MetafileTest, WindowOriginMovesLinesAndFarLinesAreCutOnThem)
{
    const WmfFile moved = wmf([](Canvas& c) {
        c.setWindowOrigin(0, 400);
        c.moveTo(10, 10);
        c.lineTo(20, 30);
    });
    EXPECT_EQ(wmfCoordinates(moved), (std::vector<std::pair<int, int>>{{10, 410}, {20, 430}}));

    // A cut line keeps its slope; a polyline that leaves and comes back gives two runs.
    const WmfFile cut = wmf(
        [](Canvas& c) {
            c.moveTo(100, 100);
            c.lineTo(100 + 20000000, 100 + 10000000);
            c.polyline({{0, 800}, {1000, 800}, {1000, -2000000000}, {1200, 800}, {1400, 800}});
        },
        2004, 1604);
    const auto lines = RecordsOf(cut, wmf::kLineTo);
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_GT(lines[0]->s(1), 2004);
    EXPECT_NEAR(lines[0]->s(0) - 100, (lines[0]->s(1) - 100) / 2.0, 1.0);
    EXPECT_EQ(RecordsOf(cut, wmf::kPolyline).size(), 2u);
}

TEST_F(MetafileTest, WmfTextCodePageFollowsTheCharacters)
{
    struct Case {
        const char* what;
        FontCharset charset;
        std::string family;
        std::string text;
        int storedCharset;
        std::string bytes;
    };
    const Case cases[] = {
        {"pi label", FontCharset::Greek, "Arial", "1" + kPi, 161, "1\xF0"},
        {"latin", FontCharset::Default, "Arial", "x\xC3\xA4", 0, "x\xE4"},
        {"alpha without a Greek font", FontCharset::Default, "Arial", kAlpha + "=30\xC2\xB0", 161,
         "\xE1=30\xB0"},
        {"symbol face", FontCharset::Default, "symbol", "e", 2, "e"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const WmfFile f = wmf([&c](Canvas& canvas) {
            canvas.setFont(Font{.family = c.family, .charset = c.charset});
            canvas.textOut(10, 10, c.text);
        });
        const auto fonts = RecordsOf(f, wmf::kCreateFontIndirect);
        const auto texts = RecordsOf(f, wmf::kExtTextOut);
        ASSERT_TRUE(oneEach(fonts, texts));
        EXPECT_EQ(fonts[0]->params[13], c.storedCharset);
        EXPECT_EQ(std::string(texts[0]->params.begin() + 8, texts[0]->params.begin() + 8 + texts[0]->s(2)),
                  c.bytes);
    }
}

TEST_F(MetafileTest, WmfTextCarriesFontWidthsAndColoursAndOnlyLabelsAreOpaque)
{
    const WmfFile f = wmf([](Canvas& c) {
        c.setFont(Font{.pixelHeight = 64, .bold = true, .color = clBlue});
        c.setBrush(Brush{clYellow, BrushStyle::Solid});
        c.textOut(10, 20, "abc"); // a label on its brush: opaque
        c.setBrush(Brush{clBlue, BrushStyle::Cross});
        c.rectangle(0, 0, 100, 100); // hatch gaps stay transparent
        c.setBrush(Brush{clYellow, BrushStyle::Clear});
        c.textOut(10, 120, "d");
    });
    const auto fonts = RecordsOf(f, wmf::kCreateFontIndirect);
    ASSERT_EQ(fonts.size(), 1u);
    EXPECT_EQ(words(fonts[0], {0, 4}), Ints({-64, 700}));
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(fonts[0]->params.data() + 18)), "Arial");

    const auto texts = RecordsOf(f, wmf::kExtTextOut);
    ASSERT_EQ(texts.size(), 2u);
    // 0.6 em of 64 units is 38.4 per letter, rounded so that the sum stays right.
    EXPECT_EQ(words(texts[0], {0, 1, 2, 6, 7, 8}), Ints({20, 10, 3, 38, 39, 38}));

    std::vector<std::pair<std::uint16_t, int>> drawnInMode; // record, background mode then
    int mode = -1;
    for (const auto& r : f.records) {
        if (r.kind == wmf::kSetBkMode) {
            mode = r.u(0);
        } else if (r.kind == wmf::kExtTextOut || r.kind == wmf::kRectangle) {
            drawnInMode.emplace_back(r.kind, mode);
        }
    }
    EXPECT_EQ(drawnInMode, (std::vector<std::pair<std::uint16_t, int>>{
                               {wmf::kExtTextOut, 2}, {wmf::kRectangle, 1}, {wmf::kExtTextOut, 1}}));
    const auto bk = RecordsOf(f, wmf::kSetBkColor);
    const auto color = RecordsOf(f, wmf::kSetTextColor);
    ASSERT_TRUE(oneEach(bk, color));
    EXPECT_EQ(test::le32(bk[0]->params, 0), clYellow);
    EXPECT_EQ(test::le32(color[0]->params, 0), clBlue);
}

TEST_F(MetafileTest, WmfArcPiePixelFillRectAndRasterOperation)
{
    const WmfFile f = wmf(
        [](Canvas& c) {
            c.setBrush(Brush{clSilver, BrushStyle::Solid});
            c.fillRect(Rect{10, 20, 30, 40});
            c.arc(600, 100, 700, 200, 700, 150, 600, 160);
            c.pie(800, 100, 900, 200, 900, 150, 850, 100);
            c.setPixel(5, 6, clRed);
            c.setPenMode(PenMode::NotXor);
            c.lineTo(10, 10);
        },
        1000, 1000);
    // End point, start point, then the box; each point y before x.
    EXPECT_EQ(words(RecordsOf(f, wmf::kArc).at(0)), Ints({160, 600, 150, 700, 200, 700, 100, 600}));
    EXPECT_EQ(words(RecordsOf(f, wmf::kPie).at(0)), Ints({100, 850, 150, 900, 200, 900, 100, 800}));
    EXPECT_EQ(words(RecordsOf(f, wmf::kSetPixel).at(0)), Ints({static_cast<int>(clRed), 0, 6, 5}));
    // A fill has a null pen and reaches one unit further, as a null pen leaves the far edges out.
    EXPECT_EQ(RecordsOf(f, wmf::kCreatePenIndirect).at(0)->u(0), 5);
    EXPECT_EQ(words(RecordsOf(f, wmf::kRectangle).at(0)), Ints({41, 31, 20, 10}));
    EXPECT_EQ(RecordsOf(f, wmf::kSetRop2).at(0)->u(0), 10); // R2_NOTXORPEN
}

TEST_F(MetafileTest, ConnectedLinesBecomeOnePolyline)
{
    const WmfFile f = wmf(
        [](Canvas& c) {
            c.moveTo(0, 0);
            for (int i = 1; i <= 50; ++i) {
                c.lineTo(10 * i, (i % 2) * 10);
            }
            c.setPenColor(clBlue); // a new pen ends the run
            c.lineTo(600, 600);
            c.lineTo(700, 600);
            c.setPenMode(PenMode::NotXor); // the rubber band's mode keeps single lines
            c.lineTo(800, 600);
            c.lineTo(900, 600);
        },
        1000, 1000);
    const auto polylines = RecordsOf(f, wmf::kPolyline);
    ASSERT_EQ(polylines.size(), 2u);
    EXPECT_EQ(polylines[0]->s(0), 51);
    EXPECT_EQ(polylines[0]->s(1 + 2 * 50), 500); // last point x
    EXPECT_EQ(polylines[1]->s(0), 3);
    EXPECT_EQ(RecordsOf(f, wmf::kLineTo).size(), 2u);
}

// A slope triangle's legs: the red leg starts where the green one ended. Some readers (Inkscape)
// begin a new path at a pen selection and drop a LINETO that has no MOVETO of its own.
TEST_F(MetafileTest, ALineAfterAPenChangeStartsWithItsOwnMove)
{
    const auto legs = [](Canvas& c) {
        c.setPenColor(clGreen);
        c.moveTo(100, 300);
        c.lineTo(200, 300);
        c.setPenColor(clRed);
        c.lineTo(200, 100);
    };
    {
        SCOPED_TRACE("wmf");
        const WmfFile f = wmf(legs);
        std::vector<std::uint16_t> kinds;
        for (const auto& r : f.records) {
            if (r.kind == wmf::kSelectObject || r.kind == wmf::kMoveTo || r.kind == wmf::kLineTo) {
                kinds.push_back(r.kind);
            }
        }
        const std::vector<std::uint16_t> expected{wmf::kSelectObject, wmf::kMoveTo, wmf::kLineTo,
                                                  wmf::kSelectObject, wmf::kMoveTo, wmf::kLineTo};
        EXPECT_EQ(kinds, expected);
        EXPECT_EQ(words(RecordsOf(f, wmf::kMoveTo).at(1)), Ints({300, 200}));
    }
    {
        SCOPED_TRACE("emf");
        const EmfFile f = emf(legs);
        std::vector<std::uint32_t> kinds;
        for (const auto& r : f.records) {
            if (r.kind == emf::kSelectObject || r.kind == emf::kMoveToEx || r.kind == emf::kLineTo) {
                kinds.push_back(r.kind);
            }
        }
        const std::vector<std::uint32_t> expected{emf::kSelectObject, emf::kMoveToEx, emf::kLineTo,
                                                  emf::kSelectObject, emf::kMoveToEx, emf::kLineTo};
        EXPECT_EQ(kinds, expected);
    }
}

TEST_F(MetafileTest, ClipRectIsSavedAndRestoredWithoutLosingObjects)
{
    const WmfFile f = wmf([](Canvas& c) {
        c.setPenColor(clRed);
        c.lineTo(10, 10);
        c.setClipRect(Rect{0, 0, 100, 100});
        c.setPenColor(clBlue);
        c.lineTo(20, 20);
        c.clearClip();
        c.lineTo(30, 30);
    });
    ASSERT_EQ(f.error, "");
    EXPECT_EQ(test::ReplayObjects(f).fault, "");
    ASSERT_TRUE(oneEach(RecordsOf(f, wmf::kSaveDc), RecordsOf(f, wmf::kRestoreDc)));
    // The red pen, selected in the saved state, lives until the restore; the blue pen is selected
    // again afterwards.
    std::size_t restoreAt = 0, lastSelect = 0, deleteRed = 0;
    for (std::size_t i = 0; i < f.records.size(); ++i) {
        const auto& r = f.records[i];
        restoreAt = r.kind == wmf::kRestoreDc ? i : restoreAt;
        lastSelect = r.kind == wmf::kSelectObject ? i : lastSelect;
        deleteRed = r.kind == wmf::kDeleteObject && r.u(0) == 0 ? i : deleteRed;
    }
    EXPECT_GT(lastSelect, restoreAt);
    EXPECT_GT(deleteRed, restoreAt);
}

// ---------------------------------------------------------------- EMF

TEST_F(MetafileTest, EmfHeaderObjectsAndAlignment)
{
    MetafileCanvas canvas(2004, 1604, measurer);
    drawSample(canvas);
    const auto bytes = canvas.toEmf();
    const EmfFile f = test::ReadEmf(bytes);
    ASSERT_EQ(f.error, "");
    const EmfRecord& h = f.records.front();
    EXPECT_EQ(U32s({h.kind, h.u(40), h.u(44), h.u(48), h.u(52)}),
              U32s({emf::kHeader, emf::kSignature, 0x00010000u, static_cast<std::uint32_t>(bytes.size()),
                    static_cast<std::uint32_t>(f.records.size())}));
    // Bounds inclusive in units, frame in 0.01 mm at 96 units per inch (53022.5 rounds up),
    // a 96-dpi reference device.
    EXPECT_EQ(Ints({h.s(8), h.s(16), h.s(20), h.s(32), h.s(36), h.s(72), h.s(80)}),
              Ints({0, 2003, 1603, 53023, 42439, 1920, 508}));
    std::u16string desc;
    for (std::uint32_t i = 0; i < h.u(60); ++i) {
        desc.push_back(static_cast<char16_t>(test::le16(h.data, h.u(64) + 2 * i)));
    }
    EXPECT_EQ(desc, std::u16string(u"Kurvex\0Grafik\0\0", 15));
    for (const auto& r : f.records) {
        EXPECT_EQ(r.size % 4 + r.offset % 4, 0u) << "record type " << r.kind;
    }
    EXPECT_EQ(U32s({f.records.back().kind, f.records.back().u(16)}), U32s({emf::kEof, 20}));
    // Object indices start at 1 and stay below the handle count.
    const test::ObjectReplay replay = test::ReplayObjects(f);
    EXPECT_EQ(replay.fault, "");
    EXPECT_EQ(static_cast<std::uint32_t>(replay.highest + 1), test::le16(h.data, 56));
}

TEST_F(MetafileTest, EmfPensTextAndPoints)
{
    const EmfFile f = emf(
        [](Canvas& c) {
            c.setPen(Pen{clBlue, 1, PenStyle::Solid});
            c.polyline({{10, 20}, {500, 900}, {800, 30}});
            c.setPen(Pen{clRed, 8, PenStyle::Solid});
            c.polyline({{0, 500}, {2000000000, 500}});
            c.setFontHeight(20);
            c.setFontCharset(FontCharset::Greek);
            c.textOut(30, 40, "2" + kPi);
        },
        1000, 1000);
    const auto thin = RecordsOf(f, emf::kCreatePen);
    const auto wide = RecordsOf(f, emf::kExtCreatePen);
    const auto lines = RecordsOf(f, emf::kPolyline16);
    const auto texts = RecordsOf(f, emf::kExtTextOutW);
    const auto fonts = RecordsOf(f, emf::kExtCreateFontIndirectW);
    ASSERT_TRUE(oneEach(thin, wide, texts, fonts));
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(U32s({thin[0]->u(12), thin[0]->u(16), thin[0]->u(24)}), U32s({0, 1, clBlue})); // PS_SOLID
    // A wide pen is geometric (PS_GEOMETRIC | PS_SOLID, round ends and joins), so readers keep its width.
    EXPECT_EQ(U32s({wide[0]->size, wide[0]->u(28), wide[0]->u(32), wide[0]->u(40)}),
              U32s({52, 0x00010000, 8, clRed}));

    // 16-bit points after their bounds; a far point is cut inside the range.
    const EmfRecord& p = *lines[0];
    EXPECT_EQ(
        Ints({p.s(8), p.s(12), p.s(16), p.s(20), p.s(24), test::le16(p.data, 32), test::le16(p.data, 34)}),
        Ints({10, 20, 800, 900, 3, 500, 900}));
    const int farX = static_cast<std::int16_t>(test::le16(lines[1]->data, 32));
    EXPECT_TRUE(farX > 1000 && farX <= 32767) << farX;

    // UTF-16 text with a 4-aligned widths array; the font asks for the Greek character set.
    const EmfRecord& t = *texts[0];
    EXPECT_EQ(Ints({t.s(36), t.s(40), t.s(44), test::le16(t.data, t.u(48)), test::le16(t.data, t.u(48) + 2)}),
              Ints({30, 40, 2, u'2', 0x03C0}));
    const std::uint32_t offDx = t.u(72);
    ASSERT_EQ(offDx % 4, 0u);
    EXPECT_EQ(std::pair(t.u(offDx), t.u(offDx + 4)), std::pair(12u, 12u));
    EXPECT_EQ(Ints({fonts[0]->s(12), fonts[0]->data[12 + 23]}), Ints({-20, 161}));
}

// ---------------------------------------------------------------- both formats

// What a player of each format paints.
std::vector<test::Drawn> drawnInWmf(const MetafileCanvas& c)
{
    return test::DrawnOf(test::ReadWmf(c.toWmf()));
}
std::vector<test::Drawn> drawnInEmf(const MetafileCanvas& c)
{
    return test::DrawnOf(test::ReadEmf(c.toEmf()));
}

struct Format {
    const char* name;
    std::vector<test::Drawn> (*drawn)(const MetafileCanvas&);
};
const Format kFormats[] = {{"wmf", drawnInWmf}, {"emf", drawnInEmf}};

TEST_F(MetafileTest, ShapesGivenFromTheirFarCornerAreWrittenFromTheNearOne)
{
    const std::pair<const char*, std::function<void(Canvas&)>> shapes[] = {
        {"rectangle", [](Canvas& c) { c.rectangle(300, 400, 100, 150); }},
        {"ellipse", [](Canvas& c) { c.ellipse(300, 150, 100, 400); }},
        {"fill",
         [](Canvas& c) {
             c.fillRect({100, 400, 300, 150});
         }},
        {"pie", [](Canvas& c) { c.pie(300, 400, 100, 150, 300, 275, 200, 150); }},
    };
    for (const Format& format : kFormats) {
        for (const auto& [name, draw] : shapes) {
            SCOPED_TRACE(std::string(format.name) + " " + name);
            MetafileCanvas canvas(500, 500, measurer);
            canvas.setBrush({clBlue, BrushStyle::Solid});
            draw(canvas);
            const std::vector<test::Drawn> drawn = format.drawn(canvas);
            ASSERT_EQ(drawn.size(), 1u);
            const auto [left, top] = drawn[0].points[0];
            const auto [right, bottom] = drawn[0].points[1];
            EXPECT_EQ(std::pair(left, top), std::pair(100, 150));
            EXPECT_GE(right, 300);
            EXPECT_GE(bottom, 400);
        }
    }
}

TEST_F(MetafileTest, DashedAndDottedLinesAreWrittenAsTheirDashesWithASolidPen)
{
    struct Case {
        PenStyle style;
        int width;
        std::size_t dashes;        // on a line 480 units long
        std::pair<int, int> first; // where the first dash runs
        std::pair<int, int> second;
    };
    // The screen's pattern times the pen's width; a wide pen's round ends take half its width at
    // each end of a dash.
    const Case cases[] = {
        {PenStyle::Dash, 1, 20, {0, 18}, {24, 42}},    {PenStyle::Dash, 2, 10, {1, 35}, {49, 83}},
        {PenStyle::Dot, 2, 40, {1, 5}, {13, 17}},      {PenStyle::Dot, 4, 20, {2, 10}, {26, 34}},
        {PenStyle::DashDot, 2, 20, {1, 17}, {31, 35}}, {PenStyle::DashDotDot, 2, 30, {1, 17}, {25, 29}},
    };
    for (const Format& format : kFormats) {
        for (const Case& c : cases) {
            SCOPED_TRACE(std::string(format.name) + " style " + std::to_string(static_cast<int>(c.style)) +
                         " width " + std::to_string(c.width));
            MetafileCanvas canvas(500, 500, measurer);
            canvas.setPen({clRed, c.width, c.style});
            canvas.moveTo(0, 100);
            canvas.lineTo(480, 100);
            const std::vector<test::Drawn> drawn = format.drawn(canvas);
            ASSERT_EQ(drawn.size(), c.dashes);
            for (const test::Drawn& d : drawn) {
                EXPECT_EQ(std::tuple(d.penStyle, d.penWidth, d.penColor), std::tuple(0, c.width, clRed));
            }
            EXPECT_EQ(std::pair(drawn[0].points.front().first, drawn[0].points.back().first), c.first);
            EXPECT_EQ(std::pair(drawn[1].points.front().first, drawn[1].points.back().first), c.second);
        }
    }
}

// A hatch as a reader plays it: lines, classified by direction.
enum class Lean { Horizontal, Vertical, Down, Up }; // Down: down from left to right

Lean leanOf(const test::Drawn& line)
{
    const int dx = line.points.back().first - line.points.front().first;
    const int dy = line.points.back().second - line.points.front().second;
    if (dy == 0) {
        return Lean::Horizontal;
    }
    if (dx == 0) {
        return Lean::Vertical;
    }
    return (dx > 0) == (dy > 0) ? Lean::Down : Lean::Up;
}

// The number a line of the direction keeps along itself: y, x, x - y or x + y.
int lineNumber(Lean lean, std::pair<int, int> p)
{
    switch (lean) {
    case Lean::Horizontal:
        return p.second;
    case Lean::Vertical:
        return p.first;
    case Lean::Down:
        return p.first - p.second;
    case Lean::Up:
        return p.first + p.second;
    }
    return 0;
}

TEST_F(MetafileTest, HatchedAreasAreLinesOfTheBrushInsideTheShapeAtTheScreensPitchTimesTheScale)
{
    // At DrawScale 2 the screen's hatch, one pixel wide and eight apart, is two units wide and
    // sixteen apart.
    constexpr int kWidth = 2;
    constexpr int kPitch = 16;
    test::SavedVariables<test::CanvasVariables> keep;
    DrawScale = 2.0;
    struct Shape {
        const char* name;
        std::function<void(Canvas&)> draw;
        std::function<bool(double, double)> inside; // edges included
        bool outlined;
    };
    const auto inBox = [](double x, double y) { return x >= 40 && x <= 200 && y >= 40 && y <= 160; };
    const Shape shapes[] = {
        {"rectangle", [](Canvas& c) { c.rectangle(40, 40, 200, 160); }, inBox, true},
        {"fill",
         [](Canvas& c) {
             c.fillRect({40, 40, 200, 160});
         },
         inBox, false},
        // A U open at the top; the hatch's down-right diagonal x - y = -32 runs through its inner
        // corner (84, 116).
        {"U",
         [](Canvas& c) {
             c.polygon(
                 {{40, 40}, {84, 40}, {84, 116}, {156, 116}, {156, 40}, {200, 40}, {200, 160}, {40, 160}});
         },
         [inBox](double x, double y) { return inBox(x, y) && !(x > 84 && x < 156 && y < 116); }, true},
        {"ellipse", [](Canvas& c) { c.ellipse(40, 40, 200, 160); },
         [](double x, double y) { return std::hypot((x - 120) / 80, (y - 100) / 60) <= 1; }, true},
        // The quarter from the ray to the right counter-clockwise to the ray upwards.
        {"pie", [](Canvas& c) { c.pie(40, 40, 200, 160, 200, 100, 120, 40); },
         [](double x, double y) {
             return x >= 120 && y <= 100 && std::hypot((x - 120) / 80, (y - 100) / 60) <= 1;
         },
         true},
    };
    struct Style {
        BrushStyle style;
        std::set<Lean> leans;
    };
    const Style styles[] = {
        {BrushStyle::Horizontal, {Lean::Horizontal}},
        {BrushStyle::Vertical, {Lean::Vertical}},
        {BrushStyle::FDiagonal, {Lean::Down}},
        {BrushStyle::BDiagonal, {Lean::Up}},
        {BrushStyle::Cross, {Lean::Horizontal, Lean::Vertical}},
        {BrushStyle::DiagCross, {Lean::Down, Lean::Up}},
    };
    for (const Format& format : kFormats) {
        for (const Shape& shape : shapes) {
            for (const Style& style : styles) {
                SCOPED_TRACE(std::string(format.name) + " " + shape.name + " style " +
                             std::to_string(static_cast<int>(style.style)));
                MetafileCanvas canvas(300, 300, measurer);
                canvas.setPen({clBlack, 1, PenStyle::Solid});
                canvas.setBrush({clBlue, style.style});
                shape.draw(canvas);
                std::vector<test::Drawn> lines;
                std::vector<test::Drawn> shapes;
                for (const test::Drawn& d : format.drawn(canvas)) {
                    (d.kind == test::Drawn::Kind::Line ? lines : shapes).push_back(d);
                }
                // The shape keeps its outline and no brush: readers fill a hatch brush solid.
                ASSERT_EQ(shapes.size(), shape.outlined ? 1u : 0u);
                if (shape.outlined) {
                    EXPECT_EQ(std::tuple(shapes[0].brushStyle, shapes[0].penColor), std::tuple(1, clBlack));
                }
                ASSERT_FALSE(lines.empty());
                std::map<Lean, std::set<int>> numbers;
                for (const test::Drawn& line : lines) {
                    EXPECT_EQ(std::tuple(line.penColor, line.penStyle, line.penWidth),
                              std::tuple(clBlue, 0, kWidth));
                    if (shape.outlined) {
                        EXPECT_LT(line.order, shapes[0].order) << "the outline lies over the hatch";
                    }
                    const Lean lean = leanOf(line);
                    const int number = lineNumber(lean, line.points.front());
                    EXPECT_LE(
                        std::abs(number - kPitch * static_cast<int>(std::lround(number / double{kPitch}))), 1)
                        << number;
                    numbers[lean].insert(static_cast<int>(std::lround(number / double{kPitch})));
                    // The pen's width around the line and beyond its ends lies inside the shape.
                    const auto [x0, y0] = line.points.front();
                    const auto [x1, y1] = line.points.back();
                    const double length = std::hypot(x1 - x0, y1 - y0);
                    const double ux = (x1 - x0) / length * kWidth / 2;
                    const double uy = (y1 - y0) / length * kWidth / 2;
                    for (double t = 0; t <= 1; t += 0.5 / length) {
                        const double x = x0 + t * (x1 - x0);
                        const double y = y0 + t * (y1 - y0);
                        EXPECT_TRUE(shape.inside(x - uy, y + ux) && shape.inside(x + uy, y - ux))
                            << x << "," << y;
                    }
                    EXPECT_TRUE(shape.inside(x0 - ux, y0 - uy) && shape.inside(x1 + ux, y1 + uy))
                        << x0 << "," << y0 << " " << x1 << "," << y1;
                }
                std::set<Lean> leans;
                for (const auto& [lean, ks] : numbers) {
                    leans.insert(lean);
                    // Every line of the pitch across the shape, none left out.
                    EXPECT_EQ(*ks.rbegin() - *ks.begin() + 1, static_cast<int>(ks.size()));
                }
                EXPECT_EQ(leans, style.leans);
            }
        }
    }
}

// ---------------------------------------------------------------- helpers

TEST(MetafileTextTest, CodePagesAndUtf16)
{
    // π, α, ° and ä go through the writer in the code-page test above.
    EXPECT_EQ(ToCp1253(U'Ω'), 0xD9);
    EXPECT_EQ(ToCp1252(U'€'), 0x80);
    EXPECT_FALSE(ToCp1252(U'π'));
    EXPECT_FALSE(ToCp1253(U'ä'));
    EXPECT_EQ(EncodeSingleByte(U"aπ✓", true), "a\xF0?");
    EXPECT_EQ(ToUtf16(U"\U0001F600"), u"\U0001F600");
}

TEST(MetafileGeometryTest, SegmentsPolygonsAndRounding)
{
    const DBox box{0, 0, 100, 100};
    EXPECT_FALSE(ClipSegment({-10, -10}, {-5, 200}, box));
    EXPECT_EQ(ClipSegment({10, 10}, {20, 20}, box), std::pair(DPoint{10, 10}, DPoint{20, 20}));
    EXPECT_EQ(ClipSegment({50, 50}, {250, 150}, box), std::pair(DPoint{50, 50}, DPoint{100, 75}));
    EXPECT_EQ(ClipSegment({-100, 50}, {200, 50}, box), std::pair(DPoint{0, 50}, DPoint{100, 50}));

    const auto cut = ClipPolygon({{-10, -10}, {200, -10}, {200, 200}, {-10, 200}}, box);
    double area = 0;
    for (std::size_t i = 0; i < cut.size(); ++i) {
        area += cut[i].x * cut[(i + 1) % cut.size()].y - cut[(i + 1) % cut.size()].x * cut[i].y;
    }
    EXPECT_DOUBLE_EQ(std::abs(area) / 2, 10000.0);
    EXPECT_TRUE(ClipPolygon({{200, 200}, {300, 200}, {300, 300}}, box).empty());

    EXPECT_EQ(RoundClamped(2.5, -10, 10), 2);
    EXPECT_EQ(RoundClamped(1e300, -10, 10), 10);
    EXPECT_EQ(RoundClamped(std::nan(""), -10, 10), -10);
}

} // namespace
} // namespace kurvex
