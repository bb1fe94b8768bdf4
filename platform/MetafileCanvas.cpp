// Canvas that records every drawing call and writes the picture as a placeable WMF or an EMF.
#include "platform/MetafileCanvas.h"

#include "platform/EmfWriter.h"
#include "platform/WmfWriter.h"

#include <cmath>

namespace kurvex {

MetafileCanvas::MetafileCanvas(int width, int height, const TextMeasurer& measurer) : measurer_(measurer)
{
    recording_.width = width < 1 ? 1 : width;
    recording_.height = height < 1 ? 1 : height;
}

std::vector<std::uint8_t> MetafileCanvas::toWmf() const
{
    return WriteWmf(recording_);
}

std::vector<std::uint8_t> MetafileCanvas::toEmf() const
{
    return WriteEmf(recording_);
}

DPoint MetafileCanvas::device(int x, int y) const
{
    const Point o = windowOrigin();
    return {static_cast<double>(x) + o.x, static_cast<double>(y) + o.y};
}

MetafileOp MetafileCanvas::makeOp(MetafileOpKind kind) const
{
    MetafileOp op;
    op.kind = kind;
    op.pen = pen();
    op.brush = brush();
    op.font = font();
    op.textAlign = textAlign();
    op.bkMode = bkMode();
    op.drawScale = DrawScale;
    if (hasClip()) {
        const Rect r = clipRect();
        const DPoint a = device(r.left, r.top);
        const DPoint b = device(r.right, r.bottom);
        op.clip = DBox{a.x, a.y, b.x, b.y};
    }
    return op;
}

void MetafileCanvas::moveTo(int x, int y)
{
    setPenPos({x, y});
}

void MetafileCanvas::lineTo(int x, int y)
{
    MetafileOp op = makeOp(MetafileOpKind::Line);
    const Point from = penPos();
    op.points = {device(from.x, from.y), device(x, y)};
    recording_.ops.push_back(std::move(op));
    setPenPos({x, y});
}

void MetafileCanvas::recordPoints(MetafileOpKind kind, const std::vector<Point>& pts)
{
    if (pts.size() < 2) {
        return;
    }
    MetafileOp op = makeOp(kind);
    op.points.reserve(pts.size());
    for (const Point p : pts) {
        op.points.push_back(device(p.x, p.y));
    }
    recording_.ops.push_back(std::move(op));
}

void MetafileCanvas::polyline(const std::vector<Point>& pts)
{
    recordPoints(MetafileOpKind::Polyline, pts);
}

void MetafileCanvas::polygon(const std::vector<Point>& pts)
{
    recordPoints(MetafileOpKind::Polygon, pts);
}

void MetafileCanvas::rectangle(int left, int top, int right, int bottom)
{
    MetafileOp op = makeOp(MetafileOpKind::Rectangle);
    op.points = {device(left, top), device(right, bottom)};
    recording_.ops.push_back(std::move(op));
}

void MetafileCanvas::ellipse(int left, int top, int right, int bottom)
{
    MetafileOp op = makeOp(MetafileOpKind::Ellipse);
    op.points = {device(left, top), device(right, bottom)};
    recording_.ops.push_back(std::move(op));
}

void MetafileCanvas::arc(int left, int top, int right, int bottom, int x3, int y3, int x4, int y4)
{
    MetafileOp op = makeOp(MetafileOpKind::Arc);
    op.points = {device(left, top), device(right, bottom), device(x3, y3), device(x4, y4)};
    recording_.ops.push_back(std::move(op));
}

void MetafileCanvas::pie(int left, int top, int right, int bottom, int x3, int y3, int x4, int y4)
{
    MetafileOp op = makeOp(MetafileOpKind::Pie);
    op.points = {device(left, top), device(right, bottom), device(x3, y3), device(x4, y4)};
    recording_.ops.push_back(std::move(op));
}

void MetafileCanvas::fillRect(const Rect& r)
{
    MetafileOp op = makeOp(MetafileOpKind::FillRect);
    op.points = {device(r.left, r.top), device(r.right, r.bottom)};
    recording_.ops.push_back(std::move(op));
}

void MetafileCanvas::setPixel(int x, int y, TColor c)
{
    MetafileOp op = makeOp(MetafileOpKind::Pixel);
    op.points = {device(x, y)};
    op.color = c;
    recording_.ops.push_back(std::move(op));
}

void MetafileCanvas::textOut(int x, int y, const std::string& utf8)
{
    if (utf8.empty()) {
        return;
    }
    MetafileOp op = makeOp(MetafileOpKind::Text);
    op.points = {device(x, y)};
    op.text = utf8;
    op.advances = measurer_.advances(font(), utf8);
    recording_.ops.push_back(std::move(op));
}

int MetafileCanvas::textWidth(const std::string& utf8) const
{
    return static_cast<int>(std::lround(measurer_.width(font(), utf8)));
}

int MetafileCanvas::textHeight(const std::string&) const
{
    return static_cast<int>(std::lround(measurer_.height(font())));
}

void MetafileCanvas::copyRect(const Rect&, const Canvas&, const Rect&, RasterOp) {}

} // namespace kurvex
