// Canvas that records every drawing call and writes the picture as a placeable WMF or an EMF.
#pragma once

#include "platform/Canvas.h"
#include "platform/MetafileGeometry.h"
#include "platform/TextMeasurer.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace kurvex {

enum class MetafileOpKind { Line, Polyline, Polygon, Rectangle, Ellipse, Arc, Pie, FillRect, Pixel, Text };

// One recorded call with the canvas state it saw. Coordinates are metafile units: the window
// origin is already added, and they are doubles so far-off plotter points cannot overflow.
struct MetafileOp {
    MetafileOpKind kind = MetafileOpKind::Line;
    Pen pen;
    Brush brush;
    Font font;
    unsigned textAlign = TaLeft | TaTop;
    BkMode bkMode = BkMode::Opaque;
    // DrawScale at the call: a hatch is written as lines of the screen's pitch times this.
    double drawScale = 1.0;
    std::optional<DBox> clip;
    // Line: from, to. Polyline, Polygon: the points. Rectangle, Ellipse, FillRect: two corners.
    // Arc, Pie: two corners, start point, end point. Pixel, Text: the position.
    std::vector<DPoint> points;
    TColor color = clBlack;       // Pixel
    std::string text;             // Text, UTF-8
    std::vector<double> advances; // Text: one per code point
};

struct MetafileRecording {
    int width = 0; // logical units, also the declared size of the picture
    int height = 0;
    std::vector<MetafileOp> ops;
};

class MetafileCanvas : public Canvas {
public:
    // The measurer must outlive the canvas.
    MetafileCanvas(int width, int height, const TextMeasurer& measurer);

    const MetafileRecording& recording() const { return recording_; }
    std::vector<std::uint8_t> toWmf() const;
    std::vector<std::uint8_t> toEmf() const;

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
    // A metafile has no bitmaps of ours to copy from; the call is ignored.
    void copyRect(const Rect& dest, const Canvas& source, const Rect& src, RasterOp op) override;

private:
    MetafileOp makeOp(MetafileOpKind kind) const;
    void recordPoints(MetafileOpKind kind, const std::vector<Point>& pts);
    DPoint device(int x, int y) const;

    const TextMeasurer& measurer_;
    MetafileRecording recording_;
};

} // namespace kurvex
