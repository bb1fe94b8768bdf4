// Canvas that keeps every call with the drawing state in force, for tests.
#include "platform/RecordingCanvas.h"

#include <algorithm>
#include <iterator>

namespace kurvex {

int utf8Length(const std::string& utf8)
{
    // Continuation bytes (10xxxxxx) do not start a character.
    return static_cast<int>(std::count_if(
        utf8.begin(), utf8.end(), [](char c) { return (static_cast<unsigned char>(c) & 0xC0) != 0x80; }));
}

CanvasCall& RecordingCanvas::record(CanvasOp op)
{
    CanvasCall& c = calls_.emplace_back();
    c.op = op;
    c.pen = pen();
    c.brush = brush();
    c.font = font();
    c.textAlign = textAlign();
    c.bkMode = bkMode();
    c.hasClip = hasClip();
    c.clip = clipRect();
    c.origin = windowOrigin();
    return c;
}

std::vector<CanvasCall> RecordingCanvas::callsOf(CanvasOp op) const
{
    std::vector<CanvasCall> out;
    std::copy_if(calls_.begin(), calls_.end(), std::back_inserter(out),
                 [op](const CanvasCall& c) { return c.op == op; });
    return out;
}

std::size_t RecordingCanvas::count(CanvasOp op) const
{
    return static_cast<std::size_t>(
        std::count_if(calls_.begin(), calls_.end(), [op](const CanvasCall& c) { return c.op == op; }));
}

std::vector<std::string> RecordingCanvas::texts() const
{
    std::vector<std::string> out;
    for (const CanvasCall& c : calls_)
        if (c.op == CanvasOp::TextOut)
            out.push_back(c.text);
    return out;
}

void RecordingCanvas::moveTo(int x, int y)
{
    record(CanvasOp::MoveTo).points = {{x, y}};
    Canvas::moveTo(x, y);
}

void RecordingCanvas::lineTo(int x, int y)
{
    record(CanvasOp::LineTo).points = {penPos(), {x, y}};
    setPenPos({x, y});
}

void RecordingCanvas::polyline(const std::vector<Point>& pts)
{
    record(CanvasOp::Polyline).points = pts;
}

void RecordingCanvas::polygon(const std::vector<Point>& pts)
{
    record(CanvasOp::Polygon).points = pts;
}

void RecordingCanvas::rectangle(int left, int top, int right, int bottom)
{
    record(CanvasOp::Rectangle).rect = {left, top, right, bottom};
}

void RecordingCanvas::ellipse(int left, int top, int right, int bottom)
{
    record(CanvasOp::Ellipse).rect = {left, top, right, bottom};
}

void RecordingCanvas::arc(int left, int top, int right, int bottom, int x3, int y3, int x4, int y4)
{
    CanvasCall& c = record(CanvasOp::Arc);
    c.rect = {left, top, right, bottom};
    c.points = {{x3, y3}, {x4, y4}};
}

void RecordingCanvas::pie(int left, int top, int right, int bottom, int x3, int y3, int x4, int y4)
{
    CanvasCall& c = record(CanvasOp::Pie);
    c.rect = {left, top, right, bottom};
    c.points = {{x3, y3}, {x4, y4}};
}

void RecordingCanvas::fillRect(const Rect& r)
{
    record(CanvasOp::FillRect).rect = r;
}

void RecordingCanvas::setPixel(int x, int y, TColor c)
{
    CanvasCall& call = record(CanvasOp::SetPixel);
    call.points = {{x, y}};
    call.color = c;
}

void RecordingCanvas::textOut(int x, int y, const std::string& utf8)
{
    CanvasCall& c = record(CanvasOp::TextOut);
    c.points = {{x, y}};
    c.text = utf8;
}

int RecordingCanvas::textWidth(const std::string& utf8) const
{
    return kCharWidth * utf8Length(utf8);
}

int RecordingCanvas::textHeight(const std::string&) const
{
    return font().pixelHeight;
}

void RecordingCanvas::copyRect(const Rect& dest, const Canvas&, const Rect& src, RasterOp op)
{
    CanvasCall& c = record(CanvasOp::CopyRect);
    c.rect = dest;
    c.sourceRect = src;
    c.rasterOp = op;
}

void RecordingCanvas::setClipRect(const Rect& r)
{
    Canvas::setClipRect(r);
    record(CanvasOp::SetClipRect).rect = r;
}

void RecordingCanvas::clearClip()
{
    Canvas::clearClip();
    record(CanvasOp::ClearClip);
}

void RecordingCanvas::setWindowOrigin(int x, int y)
{
    Canvas::setWindowOrigin(x, y);
    record(CanvasOp::SetWindowOrigin).points = {{x, y}};
}

} // namespace kurvex
