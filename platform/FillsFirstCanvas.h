// Canvas in front of a printer or metafile canvas that lays fills under the lines and text drawn
// before them, as the screen's layers and transparent hatches show them.
#pragma once

#include "platform/Canvas.h"

#include <string>
#include <vector>

namespace kurvex {

// On screen a picture's two layers are combined by AND, so nothing the foreground fills hides the
// background's lines, and a hatch leaves what lies under it visible. A printer or metafile paints
// one call over the other, and several metafile readers fill a hatch solid. This canvas passes
// fills on to its target at once and holds lines and text back until finish(), so every line and
// text ends up over the fills.
class FillsFirstCanvas : public Canvas {
public:
    enum class Fills {
        // Every fill goes under every line: the picture of two layers.
        All,
        // Hatched fills go under the lines; a solid fill keeps its place and covers the lines drawn
        // before it where it lies over them, as it does on the screen's single layer.
        Hatched,
    };

    // Starts from the target's state. The target must outlive this canvas.
    FillsFirstCanvas(Canvas& target, Fills fills);

    // Draws the lines and text held back, in their order.
    void finish();

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

private:
    enum class Kind { Line, Polyline, Polygon, Rectangle, Ellipse, Arc, Pie, FillRect, Pixel, Text };
    // A call held back, with the state it was made in.
    struct Held {
        Kind kind = Kind::Line;
        Pen pen;
        Brush brush;
        Font font;
        unsigned textAlign = TaLeft | TaTop;
        BkMode bkMode = BkMode::Opaque;
        Point origin;
        bool hasClip = false;
        Rect clip;
        std::vector<Point> points; // Line: from, to; shapes: corners, then start and end
        TColor color = clBlack;    // Pixel
        std::string text;
        Rect box; // what it may cover, in device units (window origin added)
    };

    Held snapshot(Kind kind) const;
    // Holds a line or text back, with the box it may cover.
    void hold(Held call);
    // Draws the calls held back whose box meets the box, and keeps the others back.
    void drawHeldUnder(const Rect& box);
    // Draws the part of a held line within the box and holds the rest back in later.
    void splitLine(Held line, const Rect& box, std::vector<Held>& later);
    // The target takes a held call's state (only what differs, so its own record stays small).
    void apply(const Held& state);
    void play(const Held& call);
    // A filled shape: drawn now or held back as the mode says.
    void shape(Held call);

    Canvas& target_;
    Fills fills_;
    std::vector<Held> held_;
};

} // namespace kurvex
