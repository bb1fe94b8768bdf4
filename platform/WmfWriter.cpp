// Placeable Windows metafile (WMF) encoding of a recorded picture.
#include "platform/WmfWriter.h"

#include "platform/MetafileText.h"
#include "platform/MetafileWriter.h"

#include <algorithm>

namespace kurvex {

namespace {

constexpr int kMapModeAnisotropic = 8;
constexpr int kUnitsPerInch = 96;

// Pen, brush and hatch codes of the GDI objects a metafile stores.
int penStyleCode(PenStyle s)
{
    switch (s) {
    case PenStyle::Solid:
        return 0;
    case PenStyle::Dash:
        return 1;
    case PenStyle::Dot:
        return 2;
    case PenStyle::DashDot:
        return 3;
    case PenStyle::DashDotDot:
        return 4;
    case PenStyle::Clear:
        return 5;
    }
    return 0;
}

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
        std::vector<std::uint8_t> out;
        out.reserve(22 + 18 + body_.size());
        const std::uint32_t words = 9 + static_cast<std::uint32_t>(body_.size() / 2);
        std::vector<std::uint16_t> placeable = {static_cast<std::uint16_t>(wmf::kPlaceableKey & 0xFFFF),
                                                static_cast<std::uint16_t>(wmf::kPlaceableKey >> 16),
                                                0, // handle
                                                0,
                                                0,
                                                static_cast<std::uint16_t>(width_),
                                                static_cast<std::uint16_t>(height_),
                                                kUnitsPerInch,
                                                0,
                                                0};
        std::uint16_t checksum = 0;
        for (const std::uint16_t w : placeable) {
            checksum ^= w;
        }
        placeable.push_back(checksum);
        for (const std::uint16_t w : placeable) {
            put16(out, w);
        }
        put16(out, 1);      // memory metafile
        put16(out, 9);      // header words
        put16(out, 0x0300); // version
        put32(out, words);
        put16(out, static_cast<std::uint16_t>(objectTableSize));
        put32(out, maxRecord_);
        put16(out, 0);
        out.insert(out.end(), body_.begin(), body_.end());
        return out;
    }

    void createPen(int slot, const Pen& pen) override
    {
        static_cast<void>(slot);
        const std::uint32_t c = pen.color & 0xFFFFFF;
        record(wmf::kCreatePenIndirect, {penStyleCode(pen.style), std::min(pen.width, 32767), 0,
                                         static_cast<int>(c & 0xFFFF), static_cast<int>(c >> 16)});
    }

    void createBrush(int slot, const Brush& brush) override
    {
        static_cast<void>(slot);
        int style = 0;
        int hatch = 0;
        switch (brush.style) {
        case BrushStyle::Solid:
            break;
        case BrushStyle::Clear:
            style = 1;
            break;
        default:
            style = 2;
            hatch = static_cast<int>(brush.style) - static_cast<int>(BrushStyle::Horizontal);
            break;
        }
        const std::uint32_t c = brush.color & 0xFFFFFF;
        record(wmf::kCreateBrushIndirect,
               {style, static_cast<int>(c & 0xFFFF), static_cast<int>(c >> 16), hatch});
    }

    void createFont(int slot, const Font& font) override
    {
        static_cast<void>(slot);
        std::vector<std::uint8_t> p;
        put16(p, static_cast<std::uint16_t>(-std::clamp(font.pixelHeight, 1, 32767)));
        put16(p, 0);
        put16(p, static_cast<std::uint16_t>(font.orientation));
        put16(p, static_cast<std::uint16_t>(font.orientation));
        put16(p, font.bold ? 700 : 400);
        p.push_back(font.italic ? 1 : 0);
        p.push_back(font.underline ? 1 : 0);
        p.push_back(font.strikeOut ? 1 : 0);
        p.push_back(static_cast<std::uint8_t>(font.charset));
        p.push_back(0); // out precision
        p.push_back(0); // clip precision
        p.push_back(0); // quality
        p.push_back(0); // pitch and family
        std::string face = EncodeSingleByte(DecodeUtf8(font.family), false);
        face.resize(31, '\0');
        face.push_back('\0');
        p.insert(p.end(), face.begin(), face.end());
        recordBytes(wmf::kCreateFontIndirect, p);
    }

    void selectObject(int slot) override { record(wmf::kSelectObject, {slot}); }
    void deleteObject(int slot) override { record(wmf::kDeleteObject, {slot}); }

    void setTextColor(TColor c) override
    {
        record(wmf::kSetTextColor, {static_cast<int>(c & 0xFFFF), static_cast<int>((c >> 16) & 0xFF)});
    }
    void setBkColor(TColor c) override
    {
        record(wmf::kSetBkColor, {static_cast<int>(c & 0xFFFF), static_cast<int>((c >> 16) & 0xFF)});
    }
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
        record(wmf::kSetPixel, {static_cast<int>(c & 0xFFFF), static_cast<int>((c >> 16) & 0xFF), p.y, p.x});
    }

    void textOut(Point p, const std::u32string& text, const std::vector<int>& dx, bool greek) override
    {
        std::string bytes = EncodeSingleByte(text, greek);
        const std::size_t n = std::min<std::size_t>(bytes.size(), 8000);
        bytes.resize(n);
        std::vector<std::uint8_t> params;
        put16(params, static_cast<std::uint16_t>(p.y));
        put16(params, static_cast<std::uint16_t>(p.x));
        put16(params, static_cast<std::uint16_t>(n));
        put16(params, 0); // no options, so no rectangle
        params.insert(params.end(), bytes.begin(), bytes.end());
        if (n % 2 != 0) {
            params.push_back(0);
        }
        for (std::size_t i = 0; i < n; ++i) {
            put16(params, static_cast<std::uint16_t>(std::clamp(dx[i], -32768, 32767)));
        }
        recordBytes(wmf::kExtTextOut, params);
    }

private:
    static void put16(std::vector<std::uint8_t>& out, std::uint16_t v)
    {
        out.push_back(static_cast<std::uint8_t>(v & 0xFF));
        out.push_back(static_cast<std::uint8_t>(v >> 8));
    }
    static void put32(std::vector<std::uint8_t>& out, std::uint32_t v)
    {
        put16(out, static_cast<std::uint16_t>(v & 0xFFFF));
        put16(out, static_cast<std::uint16_t>(v >> 16));
    }

    // Parameters are 16-bit words; negative values are stored as two's complement.
    void record(std::uint16_t function, std::initializer_list<int> words)
    {
        std::vector<std::uint8_t> params;
        for (const int w : words) {
            put16(params, static_cast<std::uint16_t>(w));
        }
        recordBytes(function, params);
    }

    void recordBytes(std::uint16_t function, const std::vector<std::uint8_t>& params)
    {
        const std::uint32_t words = 3 + static_cast<std::uint32_t>((params.size() + 1) / 2);
        put32(body_, words);
        put16(body_, function);
        body_.insert(body_.end(), params.begin(), params.end());
        if (params.size() % 2 != 0) {
            body_.push_back(0);
        }
        maxRecord_ = std::max(maxRecord_, words);
    }

    void points(std::uint16_t function, const std::vector<Point>& pts)
    {
        std::vector<std::uint8_t> params;
        put16(params, static_cast<std::uint16_t>(pts.size()));
        for (const Point p : pts) {
            put16(params, static_cast<std::uint16_t>(p.x));
            put16(params, static_cast<std::uint16_t>(p.y));
        }
        recordBytes(function, params);
    }

    int width_ = 0;
    int height_ = 0;
    std::vector<std::uint8_t> body_;
    std::uint32_t maxRecord_ = 0;
};

} // namespace

std::vector<std::uint8_t> WriteWmf(const MetafileRecording& recording)
{
    WmfEncoder encoder;
    return encoder.write(recording);
}

} // namespace kurvex
