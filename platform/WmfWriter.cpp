// Placeable Windows metafile (WMF) encoding of a recorded picture.
#include "platform/WmfWriter.h"

#include "platform/MetafileText.h"
#include "platform/MetafileWriter.h"

#include <algorithm>

namespace kurvex {

namespace {

constexpr int kMapModeAnisotropic = 8;
constexpr int kUnitsPerInch = 96;

class WmfEncoder final : public MetafileWriter {
protected:
    void begin(int width, int height) override
    {
        width_ = width;
        height_ = height;
        record(wmf::kSetMapMode, {kMapModeAnisotropic});
        record(wmf::kSetWindowOrg, {0, 0});
        record(wmf::kSetWindowExt, {height, width});
        record(wmf::kSetBkMode, {1});
        record(wmf::kSetTextAlign, {0});
        record(wmf::kSetPolyFillMode, {1});
        record(wmf::kIntersectClipRect, {height, width, 0, 0});
    }

    std::vector<std::uint8_t> finish(int objectTableSize) override
    {
        record(wmf::kEof, {});
        const std::uint16_t placeable[] = {static_cast<std::uint16_t>(wmf::kPlaceableKey & 0xFFFF),
                                           static_cast<std::uint16_t>(wmf::kPlaceableKey >> 16),
                                           0, // handle
                                           0,
                                           0,
                                           static_cast<std::uint16_t>(width_),
                                           static_cast<std::uint16_t>(height_),
                                           kUnitsPerInch,
                                           0,
                                           0};
        RecordBytes out;
        std::uint16_t checksum = 0;
        for (const std::uint16_t w : placeable) {
            out.u16(w);
            checksum ^= w;
        }
        out.u16(checksum);
        out.u16(1);      // memory metafile
        out.u16(9);      // header words
        out.u16(0x0300); // version
        out.u32(9 + static_cast<std::uint32_t>(body_.data.size() / 2));
        out.u16(static_cast<std::uint16_t>(objectTableSize));
        out.u32(maxRecord_);
        out.u16(0);
        out.data.insert(out.data.end(), body_.data.begin(), body_.data.end());
        return std::move(out.data);
    }

    void createPen(int, const Pen& pen) override
    {
        RecordBytes p;
        p.i16(PenStyleCode(pen.style));
        p.i16(std::min(pen.width, 32767));
        p.i16(0);
        p.u32(ColorRef(pen.color));
        recordBytes(wmf::kCreatePenIndirect, p);
    }

    void createBrush(int, const Brush& brush) override
    {
        const BrushCode code = BrushCodeOf(brush.style);
        RecordBytes p;
        p.i16(code.style);
        p.u32(ColorRef(brush.color));
        p.i16(code.hatch);
        recordBytes(wmf::kCreateBrushIndirect, p);
    }

    void createFont(int, const Font& font) override
    {
        RecordBytes p;
        PutLogFontHead(p, font, false);
        std::string face = EncodeSingleByte(DecodeUtf8(font.family), false);
        face.resize(31, '\0');
        face.push_back('\0');
        p.data.insert(p.data.end(), face.begin(), face.end());
        recordBytes(wmf::kCreateFontIndirect, p);
    }

    void selectObject(int slot) override { record(wmf::kSelectObject, {slot}); }
    void deleteObject(int slot) override { record(wmf::kDeleteObject, {slot}); }

    void setTextColor(TColor c) override { colorRecord(wmf::kSetTextColor, c); }
    void setBkColor(TColor c) override { colorRecord(wmf::kSetBkColor, c); }
    void setBkMode(bool opaque) override { record(wmf::kSetBkMode, {opaque ? 2 : 1}); }
    void setTextAlign(unsigned align) override { record(wmf::kSetTextAlign, {static_cast<int>(align)}); }
    void setRop2(int rop) override { record(wmf::kSetRop2, {rop}); }
    void saveDc() override { record(wmf::kSaveDc, {}); }
    void restoreDc() override { record(wmf::kRestoreDc, {-1}); }
    void intersectClipRect(const IntRect& r) override
    {
        record(wmf::kIntersectClipRect, {r.bottom, r.right, r.top, r.left});
    }

    void moveTo(Point p) override { record(wmf::kMoveTo, {p.y, p.x}); }
    void lineTo(Point p) override { record(wmf::kLineTo, {p.y, p.x}); }
    void polyline(const std::vector<Point>& pts) override { points(wmf::kPolyline, pts); }
    void polygon(const std::vector<Point>& pts) override { points(wmf::kPolygon, pts); }
    void rectangle(const IntRect& r) override { record(wmf::kRectangle, {r.bottom, r.right, r.top, r.left}); }
    void ellipse(const IntRect& r) override { record(wmf::kEllipse, {r.bottom, r.right, r.top, r.left}); }
    void arc(const IntRect& r, Point start, Point end) override
    {
        record(wmf::kArc, {end.y, end.x, start.y, start.x, r.bottom, r.right, r.top, r.left});
    }
    void pie(const IntRect& r, Point start, Point end) override
    {
        record(wmf::kPie, {end.y, end.x, start.y, start.x, r.bottom, r.right, r.top, r.left});
    }
    void setPixel(Point p, TColor c) override
    {
        RecordBytes params;
        params.u32(ColorRef(c));
        params.i16(p.y);
        params.i16(p.x);
        recordBytes(wmf::kSetPixel, params);
    }

    bool unicodeText() const override { return false; }

    void textOut(Point p, const std::u32string& text, const std::vector<int>& dx, bool greek) override
    {
        std::string bytes = EncodeSingleByte(text, greek);
        const std::size_t n = std::min<std::size_t>(bytes.size(), 8000);
        bytes.resize(n);
        RecordBytes params;
        params.i16(p.y);
        params.i16(p.x);
        params.u16(static_cast<std::uint16_t>(n));
        params.u16(0); // no options, so no rectangle
        params.data.insert(params.data.end(), bytes.begin(), bytes.end());
        params.pad(2);
        for (std::size_t i = 0; i < n; ++i) {
            params.i16(std::clamp(dx[i], -32768, 32767));
        }
        recordBytes(wmf::kExtTextOut, params);
    }

private:
    void record(std::uint16_t function, std::initializer_list<int> words)
    {
        RecordBytes params;
        for (const int w : words) {
            params.i16(w);
        }
        recordBytes(function, params);
    }

    void colorRecord(std::uint16_t function, TColor c)
    {
        RecordBytes params;
        params.u32(ColorRef(c));
        recordBytes(function, params);
    }

    void recordBytes(std::uint16_t function, RecordBytes& params)
    {
        params.pad(2);
        const std::uint32_t words = 3 + static_cast<std::uint32_t>(params.data.size() / 2);
        body_.u32(words);
        body_.u16(function);
        body_.data.insert(body_.data.end(), params.data.begin(), params.data.end());
        maxRecord_ = std::max(maxRecord_, words);
    }

    void points(std::uint16_t function, const std::vector<Point>& pts)
    {
        RecordBytes params;
        params.u16(static_cast<std::uint16_t>(pts.size()));
        for (const Point p : pts) {
            params.i16(p.x);
            params.i16(p.y);
        }
        recordBytes(function, params);
    }

    int width_ = 0;
    int height_ = 0;
    RecordBytes body_;
    std::uint32_t maxRecord_ = 0;
};

} // namespace

std::vector<std::uint8_t> WriteWmf(const MetafileRecording& recording)
{
    WmfEncoder encoder;
    return encoder.write(recording);
}

} // namespace kurvex
