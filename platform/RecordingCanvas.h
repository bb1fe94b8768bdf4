// Canvas that keeps every call with the drawing state in force, for tests.
#pragma once

#include "platform/Canvas.h"

#include <string>
#include <vector>

namespace kurvex {

enum class CanvasOp {
    MoveTo,
    LineTo,
    Polyline,
    Polygon,
    Rectangle,
    Ellipse,
    Arc,
    Pie,
    FillRect,
    SetPixel,
    TextOut,
    CopyRect,
    SetClipRect,
    ClearClip,
    SetWindowOrigin,
};

// One call. points: LineTo (from, to), Polyline/Polygon (all), Arc/Pie (start, end),
// MoveTo/SetPixel/TextOut/SetWindowOrigin (the point); rect: the box, clip or destination.
struct CanvasCall {
    CanvasOp op = CanvasOp::MoveTo;
    std::vector<Point> points;
    Rect rect;
    Rect sourceRect;
    std::string text;
    TColor color = clBlack; // SetPixel only
    RasterOp rasterOp = RasterOp::SrcCopy;
    Pen pen;
    Brush brush;
    Font font;
    unsigned textAlign = TaLeft | TaTop;
    BkMode bkMode = BkMode::Opaque;
    bool hasClip = false;
    Rect clip;
    Point origin;
};

// Text is measured without fonts so tests can predict positions: every character (UTF-8 code
// point) is kCharWidth pixels wide, and the height of any text is the font's pixel height.
class RecordingCanvas : public Canvas {
public:
    static constexpr int kCharWidth = 7;

    const std::vector<CanvasCall>& calls() const { return calls_; }
    void clear() { calls_.clear(); }
    std::vector<CanvasCall> callsOf(CanvasOp op) const;
    std::size_t count(CanvasOp op) const;
    // Texts of the TextOut calls, in order.
    std::vector<std::string> texts() const;

    void moveTo(int x, int y) override;
    void lineTo(int x, int y) override;
    void polyline(const std::vector<Point>& pts) override;
    void polygon(const std::vector<Point>& pts) override;
    void rectangle(int left, int top, int right, int bottom) override;
    void ellipse(int left, int top, int right, int bottom) override;
    void arc(int left, int top, int right, int bottom, int x3, int y3, int x4, int y4) override;
    void pie(int left, int top, int right, int bottom, int x3, int y3, int x4, int y4) override;
    void fillRect(const Rect& r) override;
    void setPixel(int x, int y, TColor c) override;
    void textOut(int x, int y, const std::string& utf8) override;
    int textWidth(const std::string& utf8) const override;
    int textHeight(const std::string& utf8) const override;
    void copyRect(const Rect& dest, const Canvas& source, const Rect& src, RasterOp op) override;
    void setClipRect(const Rect& r) override;
    void clearClip() override;
    void setWindowOrigin(int x, int y) override;

private:
    CanvasCall& record(CanvasOp op);

    std::vector<CanvasCall> calls_;
};

// Number of code points in a UTF-8 text.
int utf8Length(const std::string& utf8);

} // namespace kurvex
