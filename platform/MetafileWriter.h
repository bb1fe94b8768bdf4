// Plays a recorded picture as metafile records: GDI object table, device state and 16-bit clipping.
#pragma once

#include "platform/MetafileCanvas.h"

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <variant>
#include <vector>

namespace kurvex {

struct IntRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
};

// Pen modes as the formats' binary raster operations (R2_*).
constexpr int kRopCopyPen = 13;

// Little-endian parameter bytes of one record; negative numbers are stored as two's complement.
struct RecordBytes {
    void u8(std::uint8_t v) { data.push_back(v); }
    void u16(std::uint16_t v);
    void u32(std::uint32_t v);
    void i16(int v) { u16(static_cast<std::uint16_t>(v)); }
    void i32(int v) { u32(static_cast<std::uint32_t>(v)); }
    void pad(std::size_t alignment);
    std::vector<std::uint8_t> data;
};

// The codes both formats give the GDI objects: pen style, brush style with its hatch, colour.
int PenStyleCode(PenStyle style);
struct BrushCode {
    int style = 0;
    int hatch = 0;
};
BrushCode BrushCodeOf(BrushStyle style);
constexpr std::uint32_t ColorRef(TColor c)
{
    return c & 0xFFFFFF;
}
// The logical font up to its face name. Its five numbers take two bytes each in a WMF (narrow)
// and four in an EMF.
void PutLogFontHead(RecordBytes& out, const Font& font, bool wide);

// The format-neutral part of both writers. Derived classes encode single records; this class
// decides which records are needed: objects are created on demand in the lowest free slot,
// selected, and deleted as soon as nothing selects them, so the table stays small.
class MetafileWriter {
public:
    virtual ~MetafileWriter() = default;
    std::vector<std::uint8_t> write(const MetafileRecording& recording);

protected:
    // Coordinates handed to the encoders are already inside the 16-bit range.
    virtual void begin(int width, int height) = 0;
    virtual std::vector<std::uint8_t> finish(int objectTableSize) = 0;

    virtual void createPen(int slot, const Pen& pen) = 0;
    virtual void createBrush(int slot, const Brush& brush) = 0;
    // font.charset is the one to store: Ansi, Symbol or Greek.
    virtual void createFont(int slot, const Font& font) = 0;
    virtual void selectObject(int slot) = 0;
    virtual void deleteObject(int slot) = 0;

    virtual void setTextColor(TColor c) = 0;
    virtual void setBkColor(TColor c) = 0;
    virtual void setBkMode(bool opaque) = 0;
    virtual void setTextAlign(unsigned align) = 0;
    virtual void setRop2(int rop) = 0;
    virtual void saveDc() = 0;
    virtual void restoreDc() = 0;
    virtual void intersectClipRect(const IntRect& r) = 0;

    virtual void moveTo(Point p) = 0;
    virtual void lineTo(Point p) = 0;
    virtual void polyline(const std::vector<Point>& pts) = 0;
    // Several lines with one pen; by default a polyline each.
    virtual void polyPolyline(const std::vector<std::vector<Point>>& lines);
    virtual void polygon(const std::vector<Point>& pts) = 0;
    virtual void rectangle(const IntRect& r) = 0;
    virtual void ellipse(const IntRect& r) = 0;
    virtual void arc(const IntRect& r, Point start, Point end) = 0;
    virtual void pie(const IntRect& r, Point start, Point end) = 0;
    virtual void setPixel(Point p, TColor c) = 0;
    // dx holds one advance per code point of text; greek says the font uses the Greek code page.
    virtual void textOut(Point p, const std::u32string& text, const std::vector<int>& dx, bool greek) = 0;
    // Whether text records hold Unicode (EMF) rather than single bytes of a code page (WMF).
    virtual bool unicodeText() const = 0;

private:
    struct PenKey {
        TColor color;
        int width;
        PenStyle style;
        bool operator==(const PenKey&) const = default;
    };
    using ObjectKey = std::variant<PenKey, Brush, Font>;
    enum Kind { kPen = 0, kBrush = 1, kFont = 2 };

    // What the playback device context holds; SaveDC/RestoreDC keep a copy of it.
    struct DcState {
        std::array<int, 3> selected{-1, -1, -1};
        std::optional<TColor> textColor;
        std::optional<TColor> bkColor;
        bool bkOpaque = false;
        unsigned textAlign = 0;
        int rop = kRopCopyPen;
        std::optional<Point> position;
    };

    void play(const MetafileOp& op);
    void applyClip(const std::optional<DBox>& clip);
    void use(const ObjectKey& key);
    void collect(Kind kind);
    void usePen(const Pen& pen);
    void useBrush(const Brush& brush);
    void useFill(const Brush& brush);
    void useBkMode(bool opaque);
    Point toPoint(DPoint p) const;
    // Normalised: left <= right, top <= bottom.
    IntRect toRect(DPoint a, DPoint b) const;
    // Where a line of the op may go: the coordinate range, within the op's clip.
    DBox strokeBox(const MetafileOp& op) const;
    void emitPolyline(const std::vector<DPoint>& run);
    // A line of a dashed or dotted pen as its dashes with a solid pen; false for a pen without a
    // pattern.
    bool emitDashed(const std::vector<DPoint>& line, const Pen& pen);
    // Lines with the selected pen, many to a record where the format allows.
    void emitLines(const std::vector<std::vector<Point>>& lines);
    // The readers fill a hatch brush solid: the hatch is written as the screen shows it, lines of
    // the brush's colour across the area.
    void emitHatch(const std::vector<DPoint>& area, const MetafileOp& op);
    // Selects pen and brush for a filled shape; a hatched one is hatched first and keeps only its
    // outline. False when nothing of the shape itself is left to draw.
    bool prepareShape(const MetafileOp& op, const std::function<std::vector<DPoint>()>& area);
    // Consecutive lines that continue each other become one polyline record.
    bool extendChain(const MetafileOp& op);
    void flushChain();

    DBox box_;
    std::vector<std::optional<ObjectKey>> objects_;
    int tableSize_ = 0;
    DcState dc_;
    std::optional<DcState> saved_;
    std::optional<DBox> clip_;
    std::vector<Point> chain_;
    Pen chainPen_;
};

} // namespace kurvex
