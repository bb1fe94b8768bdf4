// Drawing target of every picture: pen, brush, font and the primitive operations, backend-neutral.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace kurvex {

// Colours are 0x00BBGGRR, the byte order the program's settings file has always stored.
using TColor = std::uint32_t;

constexpr TColor clBlack = 0x000000;
constexpr TColor clMaroon = 0x000080;
constexpr TColor clGreen = 0x008000;
constexpr TColor clOlive = 0x008080;
constexpr TColor clNavy = 0x800000;
constexpr TColor clPurple = 0x800080;
constexpr TColor clTeal = 0x808000;
constexpr TColor clGray = 0x808080;
constexpr TColor clSilver = 0xC0C0C0;
constexpr TColor clRed = 0x0000FF;
constexpr TColor clLime = 0x00FF00;
constexpr TColor clYellow = 0x00FFFF;
constexpr TColor clBlue = 0xFF0000;
constexpr TColor clFuchsia = 0xFF00FF;
constexpr TColor clAqua = 0xFFFF00;
constexpr TColor clWhite = 0xFFFFFF;

constexpr int colorRed(TColor c)
{
    return static_cast<int>(c & 0xFF);
}
constexpr int colorGreen(TColor c)
{
    return static_cast<int>((c >> 8) & 0xFF);
}
constexpr int colorBlue(TColor c)
{
    return static_cast<int>((c >> 16) & 0xFF);
}
constexpr TColor makeColor(int r, int g, int b)
{
    return static_cast<TColor>((r & 0xFF) | ((g & 0xFF) << 8) | ((b & 0xFF) << 16));
}

enum class PenStyle { Solid, Dash, Dot, DashDot, DashDotDot, Clear };

// The on and off lengths of a styled pen, in pixels of the platform's thin pens; empty for a pen
// without a pattern.
inline std::vector<int> PenDashPattern(PenStyle s)
{
    switch (s) {
    case PenStyle::Dash:
        return {18, 6};
    case PenStyle::Dot:
        return {3, 3};
    case PenStyle::DashDot:
        return {9, 6, 3, 6};
    case PenStyle::DashDotDot:
        return {9, 3, 3, 3, 3, 3};
    default:
        return {};
    }
}
// Copy draws the pen colour; NotXor is the rubber band's mode (drawing twice restores the pixels).
enum class PenMode { Copy, NotXor, Xor, Not };
enum class BrushStyle { Solid, Clear, Horizontal, Vertical, FDiagonal, BDiagonal, Cross, DiagCross };
// Character sets a font may ask for; Greek makes a metafile store π as the cp1253 byte 0xF0.
enum class FontCharset { Ansi = 0, Default = 1, Symbol = 2, Greek = 161 };
enum class BkMode { Opaque, Transparent };
enum class RasterOp { SrcCopy, SrcAnd };

// Text alignment flags, combined with |, with the values the metafile formats store.
enum TextAlign : unsigned {
    TaLeft = 0,
    TaTop = 0,
    TaRight = 2,
    TaCenter = 6,
    TaBottom = 8,
    TaBaseline = 24,
};

struct Pen {
    TColor color = clBlack;
    int width = 1;
    PenStyle style = PenStyle::Solid;
    PenMode mode = PenMode::Copy;
    bool operator==(const Pen&) const = default;
};

struct Brush {
    TColor color = clWhite;
    BrushStyle style = BrushStyle::Solid;
    bool operator==(const Brush&) const = default;
};

struct Font {
    std::string family = "Arial";
    int pixelHeight = 13; // character height in pixels (cell height minus internal leading)
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strikeOut = false;
    TColor color = clBlack;
    FontCharset charset = FontCharset::Default;
    int orientation = 0; // tenths of a degree, counter-clockwise
    bool operator==(const Font&) const = default;
};

// A font that shows Latin letters as Greek ones: the symbol character set or the "Symbol" face.
inline bool IsSymbolFont(const Font& font)
{
    if (font.charset == FontCharset::Symbol) {
        return true;
    }
    constexpr std::string_view kSymbol = "symbol";
    if (font.family.size() != kSymbol.size()) {
        return false;
    }
    for (std::size_t i = 0; i < kSymbol.size(); ++i) {
        const char c = font.family[i];
        if ((c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c) != kSymbol[i]) {
            return false;
        }
    }
    return true;
}

struct Point {
    int x = 0;
    int y = 0;
    bool operator==(const Point&) const = default;
};

// Left and top inside, right and bottom outside, as rectangles and ellipses are drawn.
struct Rect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    int width() const { return right - left; }
    int height() const { return bottom - top; }
    bool operator==(const Rect&) const = default;
};

// Text handed to a canvas is UTF-8. State (pen, brush, font, position, alignment, clip, origin)
// lives here so that every backend sees the same state at each primitive.
class Canvas {
public:
    virtual ~Canvas() = default;

    const Pen& pen() const { return pen_; }
    void setPen(const Pen& p) { pen_ = p; }
    void setPenColor(TColor c) { pen_.color = c; }
    void setPenWidth(int w) { pen_.width = w < 0 ? 0 : w; }
    void setPenStyle(PenStyle s) { pen_.style = s; }
    void setPenMode(PenMode m) { pen_.mode = m; }

    const Brush& brush() const { return brush_; }
    void setBrush(const Brush& b) { brush_ = b; }
    void setBrushColor(TColor c) { brush_.color = c; }
    void setBrushStyle(BrushStyle s) { brush_.style = s; }

    const Font& font() const { return font_; }
    void setFont(const Font& f) { font_ = f; }
    void setFontColor(TColor c) { font_.color = c; }
    void setFontCharset(FontCharset cs) { font_.charset = cs; }
    void setFontHeight(int h) { font_.pixelHeight = h; }

    unsigned textAlign() const { return textAlign_; }
    void setTextAlign(unsigned flags) { textAlign_ = flags; }
    BkMode bkMode() const { return bkMode_; }
    void setBkMode(BkMode m) { bkMode_ = m; }

    Point penPos() const { return penPos_; }

    // Device point of logical (0, 0); printing moves the picture this way instead of the mapping.
    Point windowOrigin() const { return origin_; }
    virtual void setWindowOrigin(int x, int y) { origin_ = {x, y}; }

    bool hasClip() const { return hasClip_; }
    Rect clipRect() const { return clip_; }
    virtual void setClipRect(const Rect& r)
    {
        clip_ = r;
        hasClip_ = true;
    }
    virtual void clearClip() { hasClip_ = false; }

    virtual void moveTo(int x, int y) { penPos_ = {x, y}; }
    virtual void lineTo(int x, int y) = 0;
    virtual void polyline(const std::vector<Point>& pts) = 0;
    // Filled with the brush and outlined with the pen, alternate fill.
    virtual void polygon(const std::vector<Point>& pts) = 0;
    virtual void rectangle(int left, int top, int right, int bottom) = 0;
    virtual void ellipse(int left, int top, int right, int bottom) = 0;
    // Counter-clockwise on screen from the ray through (x3, y3) to the ray through (x4, y4);
    // equal start and end points make a full ellipse.
    virtual void arc(int left, int top, int right, int bottom, int x3, int y3, int x4, int y4) = 0;
    virtual void pie(int left, int top, int right, int bottom, int x3, int y3, int x4, int y4) = 0;
    // Fills with the brush, no outline.
    virtual void fillRect(const Rect& r) = 0;
    virtual void setPixel(int x, int y, TColor c) = 0;
    // (x, y) is placed as textAlign() says; the background is filled with the brush colour when the
    // brush is solid and the background mode is opaque.
    virtual void textOut(int x, int y, const std::string& utf8) = 0;
    virtual int textWidth(const std::string& utf8) const = 0;
    virtual int textHeight(const std::string& utf8) const = 0;
    // Copies a rectangle of another canvas (an off-screen bitmap) onto this one.
    virtual void copyRect(const Rect& dest, const Canvas& source, const Rect& src, RasterOp op) = 0;

protected:
    void setPenPos(Point p) { penPos_ = p; }

private:
    Pen pen_;
    Brush brush_;
    Font font_;
    Point penPos_;
    Point origin_;
    Rect clip_;
    bool hasClip_ = false;
    unsigned textAlign_ = TaLeft | TaTop;
    BkMode bkMode_ = BkMode::Opaque;
};

// The shared drawing target, set by the windows before each picture (screen bitmap, printer,
// metafile) and read by every drawing routine.
inline Canvas* DrawCanvas = nullptr;
// Scales pen widths, markers, arrows and fonts: 1 on screen, larger on printer and metafile.
inline double DrawScale = 1.0;
// Set while a picture is painted straight onto a printer or metafile.
inline bool Printing = false;

} // namespace kurvex
