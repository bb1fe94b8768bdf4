// Enhanced metafile (EMF) encoding of a recorded picture.
#include "platform/EmfWriter.h"

#include "platform/MetafileText.h"
#include "platform/MetafileWriter.h"

#include <algorithm>
#include <bit>
#include <cmath>

namespace kurvex {

namespace {

constexpr std::uint32_t kMapModeAnisotropic = 8;
constexpr std::uint32_t kGraphicsModeCompatible = 1;
constexpr double kHundredthMmPerUnit = 2540.0 / 96.0;
// Description: application name and picture name, each ended by a null, then a final null.
constexpr char16_t kDescription[] = u"Kurvex\0Grafik\0";
constexpr std::size_t kDescriptionChars = sizeof(kDescription) / sizeof(char16_t); // includes the final null
constexpr std::size_t kHeaderFixedBytes = 108; // header with both extensions
constexpr std::size_t kLogFontPanoseBytes = 320;

void putRect(RecordBytes& out, const IntRect& r)
{
    out.i32(r.left);
    out.i32(r.top);
    out.i32(r.right);
    out.i32(r.bottom);
}

void putPoint(RecordBytes& out, Point p)
{
    out.i32(p.x);
    out.i32(p.y);
}

class EmfEncoder final : public MetafileWriter {
protected:
    void begin(int width, int height) override
    {
        width_ = width;
        height_ = height;
        simple(emf::kSetMapMode, {kMapModeAnisotropic});
        pair(emf::kSetWindowExtEx, width, height);
        pair(emf::kSetWindowOrgEx, 0, 0);
        pair(emf::kSetViewportExtEx, width, height);
        pair(emf::kSetViewportOrgEx, 0, 0);
        simple(emf::kSetBkMode, {1});
        simple(emf::kSetTextAlign, {0});
        simple(emf::kSetPolyFillMode, {1});
        RecordBytes r;
        putRect(r, {0, 0, width, height});
        record(emf::kIntersectClipRect, r);
    }

    std::vector<std::uint8_t> finish(int objectTableSize) override
    {
        RecordBytes eof;
        eof.u32(0);  // palette entries
        eof.u32(16); // offset of the (empty) palette
        eof.u32(20); // size of this record, repeated at its end
        record(emf::kEof, eof);

        RecordBytes h;
        const std::uint32_t headerBytes =
            static_cast<std::uint32_t>(kHeaderFixedBytes + ((kDescriptionChars * 2 + 3) / 4) * 4);
        h.u32(emf::kHeader);
        h.u32(headerBytes);
        putRect(h, {0, 0, width_ - 1, height_ - 1});
        putRect(h, {0, 0, static_cast<int>(std::lround(width_ * kHundredthMmPerUnit)),
                    static_cast<int>(std::lround(height_ * kHundredthMmPerUnit))});
        h.u32(emf::kSignature);
        h.u32(0x00010000);
        h.u32(static_cast<std::uint32_t>(headerBytes + body_.data.size()));
        h.u32(records_ + 1);
        h.u16(static_cast<std::uint16_t>(objectTableSize + 1)); // index 0 is the metafile itself
        h.u16(0);
        h.u32(static_cast<std::uint32_t>(kDescriptionChars));
        h.u32(static_cast<std::uint32_t>(kHeaderFixedBytes));
        h.u32(0); // palette entries
        h.i32(emf::kDeviceWidthPx);
        h.i32(emf::kDeviceHeightPx);
        h.i32(emf::kDeviceWidthMm);
        h.i32(emf::kDeviceHeightMm);
        h.u32(0); // no pixel format
        h.u32(0);
        h.u32(0); // no OpenGL records
        h.u32(emf::kDeviceWidthMm * 1000);
        h.u32(emf::kDeviceHeightMm * 1000);
        for (std::size_t i = 0; i < kDescriptionChars; ++i) {
            h.u16(kDescription[i]);
        }
        h.pad(4);
        h.data.insert(h.data.end(), body_.data.begin(), body_.data.end());
        return std::move(h.data);
    }

    void createPen(int slot, const Pen& pen) override
    {
        RecordBytes r;
        r.u32(handle(slot));
        if (pen.width > 1 && pen.style != PenStyle::Clear) {
            // A wide pen is a geometric one with round ends and joins, as the platform makes it
            // for a plain pen wider than one unit; several readers honour the width only then.
            constexpr std::uint32_t kGeometric = 0x00010000;
            r.u32(0); // no bitmap: offsets and sizes are zero
            r.u32(0);
            r.u32(0);
            r.u32(0);
            r.u32(kGeometric | static_cast<std::uint32_t>(PenStyleCode(pen.style)));
            r.u32(static_cast<std::uint32_t>(pen.width));
            r.u32(0); // solid brush
            r.u32(ColorRef(pen.color));
            r.u32(0); // hatch
            r.u32(0); // no style entries
            record(emf::kExtCreatePen, r);
            return;
        }
        r.u32(static_cast<std::uint32_t>(PenStyleCode(pen.style)));
        putPoint(r, {pen.width, 0});
        r.u32(ColorRef(pen.color));
        record(emf::kCreatePen, r);
    }

    void createBrush(int slot, const Brush& brush) override
    {
        const BrushCode code = BrushCodeOf(brush.style);
        RecordBytes r;
        r.u32(handle(slot));
        r.i32(code.style);
        r.u32(ColorRef(brush.color));
        r.i32(code.hatch);
        record(emf::kCreateBrushIndirect, r);
    }

    void createFont(int slot, const Font& font) override
    {
        RecordBytes r;
        r.u32(handle(slot));
        const std::size_t start = r.data.size();
        PutLogFontHead(r, font, true);
        std::u16string face = ToUtf16(DecodeUtf8(font.family));
        face.resize(31, u'\0');
        face.push_back(u'\0');
        for (const char16_t c : face) {
            r.u16(c);
        }
        // The rest of a LOGFONT_PANOSE stays zero: readers take the LOGFONT part.
        while (r.data.size() - start < kLogFontPanoseBytes) {
            r.u8(0);
        }
        record(emf::kExtCreateFontIndirectW, r);
    }

    void selectObject(int slot) override { simple(emf::kSelectObject, {handle(slot)}); }
    void deleteObject(int slot) override { simple(emf::kDeleteObject, {handle(slot)}); }

    void setTextColor(TColor c) override { simple(emf::kSetTextColor, {ColorRef(c)}); }
    void setBkColor(TColor c) override { simple(emf::kSetBkColor, {ColorRef(c)}); }
    void setBkMode(bool opaque) override { simple(emf::kSetBkMode, {opaque ? 2u : 1u}); }
    void setTextAlign(unsigned align) override { simple(emf::kSetTextAlign, {align}); }
    void setRop2(int rop) override { simple(emf::kSetRop2, {static_cast<std::uint32_t>(rop)}); }
    void saveDc() override { simple(emf::kSaveDc, {}); }
    void restoreDc() override { simple(emf::kRestoreDc, {static_cast<std::uint32_t>(-1)}); }
    void intersectClipRect(const IntRect& r) override { rectRecord(emf::kIntersectClipRect, r); }

    void moveTo(Point p) override { pair(emf::kMoveToEx, p.x, p.y); }
    void lineTo(Point p) override { pair(emf::kLineTo, p.x, p.y); }
    void polyline(const std::vector<Point>& pts) override { points16(emf::kPolyline16, pts); }
    void polygon(const std::vector<Point>& pts) override { points16(emf::kPolygon16, pts); }
    void polyPolyline(const std::vector<std::vector<Point>>& lines) override
    {
        std::vector<Point> all;
        for (const std::vector<Point>& line : lines) {
            all.insert(all.end(), line.begin(), line.end());
        }
        if (all.empty()) {
            return;
        }
        RecordBytes r;
        putRect(r, boundsOf(all));
        r.u32(static_cast<std::uint32_t>(lines.size()));
        r.u32(static_cast<std::uint32_t>(all.size()));
        for (const std::vector<Point>& line : lines) {
            r.u32(static_cast<std::uint32_t>(line.size()));
        }
        for (const Point p : all) {
            r.u16(static_cast<std::uint16_t>(p.x));
            r.u16(static_cast<std::uint16_t>(p.y));
        }
        record(emf::kPolyPolyline16, r);
    }
    void rectangle(const IntRect& r) override { rectRecord(emf::kRectangle, r); }
    void ellipse(const IntRect& r) override { rectRecord(emf::kEllipse, r); }
    void arc(const IntRect& r, Point start, Point end) override { arcRecord(emf::kArc, r, start, end); }
    void pie(const IntRect& r, Point start, Point end) override { arcRecord(emf::kPie, r, start, end); }
    void setPixel(Point p, TColor c) override
    {
        RecordBytes r;
        putPoint(r, p);
        r.u32(ColorRef(c));
        record(emf::kSetPixelV, r);
    }

    bool unicodeText() const override { return true; }

    void textOut(Point p, const std::u32string& text, const std::vector<int>& dx, bool) override
    {
        std::u16string units;
        std::vector<int> unitDx;
        for (std::size_t i = 0; i < text.size(); ++i) {
            const std::u16string u = ToUtf16(std::u32string(1, text[i]));
            for (std::size_t k = 0; k < u.size(); ++k) {
                units.push_back(u[k]);
                unitDx.push_back(k == 0 ? dx[i] : 0);
            }
        }
        constexpr std::uint32_t kTextHeaderBytes = 76;
        const std::uint32_t stringBytes = static_cast<std::uint32_t>((units.size() * 2 + 3) / 4 * 4);
        RecordBytes r;
        putRect(r, {0, 0, -1, -1}); // bounds not computed
        r.u32(kGraphicsModeCompatible);
        r.u32(std::bit_cast<std::uint32_t>(static_cast<float>(kHundredthMmPerUnit)));
        r.u32(std::bit_cast<std::uint32_t>(static_cast<float>(kHundredthMmPerUnit)));
        putPoint(r, p);
        r.u32(static_cast<std::uint32_t>(units.size()));
        r.u32(kTextHeaderBytes);
        r.u32(0); // options
        putRect(r, {0, 0, 0, 0});
        r.u32(kTextHeaderBytes + stringBytes);
        for (const char16_t c : units) {
            r.u16(c);
        }
        r.pad(4);
        for (const int d : unitDx) {
            r.i32(d);
        }
        record(emf::kExtTextOutW, r);
    }

private:
    static std::uint32_t handle(int slot) { return static_cast<std::uint32_t>(slot + 1); }

    void record(std::uint32_t type, RecordBytes& params)
    {
        params.pad(4);
        body_.u32(type);
        body_.u32(static_cast<std::uint32_t>(8 + params.data.size()));
        body_.data.insert(body_.data.end(), params.data.begin(), params.data.end());
        ++records_;
    }

    void simple(std::uint32_t type, std::initializer_list<std::uint32_t> values)
    {
        RecordBytes r;
        for (const std::uint32_t v : values) {
            r.u32(v);
        }
        record(type, r);
    }

    void pair(std::uint32_t type, int a, int b)
    {
        RecordBytes r;
        r.i32(a);
        r.i32(b);
        record(type, r);
    }

    void rectRecord(std::uint32_t type, const IntRect& rect)
    {
        RecordBytes r;
        putRect(r, rect);
        record(type, r);
    }

    void arcRecord(std::uint32_t type, const IntRect& rect, Point start, Point end)
    {
        RecordBytes r;
        putRect(r, rect);
        putPoint(r, start);
        putPoint(r, end);
        record(type, r);
    }

    static IntRect boundsOf(const std::vector<Point>& pts)
    {
        IntRect bounds{pts.front().x, pts.front().y, pts.front().x, pts.front().y};
        for (const Point p : pts) {
            bounds.left = std::min(bounds.left, p.x);
            bounds.top = std::min(bounds.top, p.y);
            bounds.right = std::max(bounds.right, p.x);
            bounds.bottom = std::max(bounds.bottom, p.y);
        }
        return bounds;
    }

    void points16(std::uint32_t type, const std::vector<Point>& pts)
    {
        RecordBytes r;
        putRect(r, boundsOf(pts));
        r.u32(static_cast<std::uint32_t>(pts.size()));
        for (const Point p : pts) {
            r.u16(static_cast<std::uint16_t>(p.x));
            r.u16(static_cast<std::uint16_t>(p.y));
        }
        record(type, r);
    }

    int width_ = 0;
    int height_ = 0;
    RecordBytes body_;
    std::uint32_t records_ = 0;
};

} // namespace

std::vector<std::uint8_t> WriteEmf(const MetafileRecording& recording)
{
    EmfEncoder encoder;
    return encoder.write(recording);
}

} // namespace kurvex
