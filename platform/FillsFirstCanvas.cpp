// Canvas in front of a printer or metafile canvas that lays fills under the lines and text drawn
// before them, as the screen's layers and transparent hatches show them.
#include "platform/FillsFirstCanvas.h"

#include "platform/MetafileGeometry.h"

#include <algorithm>
#include <cmath>

namespace kurvex {

FillsFirstCanvas::FillsFirstCanvas(Canvas& target, Fills fills) : target_(target), fills_(fills)
{
    setPen(target.pen());
    setBrush(target.brush());
    setFont(target.font());
    setTextAlign(target.textAlign());
    setBkMode(target.bkMode());
    const Point origin = target.windowOrigin();
    setWindowOrigin(origin.x, origin.y);
    if (target.hasClip()) {
        setClipRect(target.clipRect());
    }
    setPenPos(target.penPos());
}

FillsFirstCanvas::Held FillsFirstCanvas::snapshot(Kind kind) const
{
    Held h;
    h.kind = kind;
    h.pen = pen();
    h.brush = brush();
    h.font = font();
    h.textAlign = textAlign();
    h.bkMode = bkMode();
    h.origin = windowOrigin();
    h.hasClip = hasClip();
    h.clip = clipRect();
    return h;
}

void FillsFirstCanvas::apply(const Held& s)
{
    if (!(target_.pen() == s.pen)) {
        target_.setPen(s.pen);
    }
    if (!(target_.brush() == s.brush)) {
        target_.setBrush(s.brush);
    }
    if (!(target_.font() == s.font)) {
        target_.setFont(s.font);
    }
    if (target_.textAlign() != s.textAlign) {
        target_.setTextAlign(s.textAlign);
    }
    if (target_.bkMode() != s.bkMode) {
        target_.setBkMode(s.bkMode);
    }
    if (!(target_.windowOrigin() == s.origin)) {
        target_.setWindowOrigin(s.origin.x, s.origin.y);
    }
    if (s.hasClip && (!target_.hasClip() || !(target_.clipRect() == s.clip))) {
        target_.setClipRect(s.clip);
    } else if (!s.hasClip && target_.hasClip()) {
        target_.clearClip();
    }
}

void FillsFirstCanvas::play(const Held& c)
{
    apply(c);
    const std::vector<Point>& p = c.points;
    switch (c.kind) {
    case Kind::Line:
        if (!(target_.penPos() == p[0])) {
            target_.moveTo(p[0].x, p[0].y);
        }
        target_.lineTo(p[1].x, p[1].y);
        return;
    case Kind::Polyline:
        target_.polyline(p);
        return;
    case Kind::Polygon:
        target_.polygon(p);
        return;
    case Kind::Rectangle:
        target_.rectangle(p[0].x, p[0].y, p[1].x, p[1].y);
        return;
    case Kind::Ellipse:
        target_.ellipse(p[0].x, p[0].y, p[1].x, p[1].y);
        return;
    case Kind::Arc:
        target_.arc(p[0].x, p[0].y, p[1].x, p[1].y, p[2].x, p[2].y, p[3].x, p[3].y);
        return;
    case Kind::Pie:
        target_.pie(p[0].x, p[0].y, p[1].x, p[1].y, p[2].x, p[2].y, p[3].x, p[3].y);
        return;
    case Kind::FillRect:
        target_.fillRect(Rect{p[0].x, p[0].y, p[1].x, p[1].y});
        return;
    case Kind::Pixel:
        target_.setPixel(p[0].x, p[0].y, c.color);
        return;
    case Kind::Text:
        target_.textOut(p[0].x, p[0].y, c.text);
        return;
    }
}

namespace {

// The box around points, grown by margin, in device units.
Rect boxAround(const std::vector<Point>& pts, Point origin, int margin)
{
    Rect r{pts.front().x, pts.front().y, pts.front().x, pts.front().y};
    for (const Point p : pts) {
        r.left = std::min(r.left, p.x);
        r.top = std::min(r.top, p.y);
        r.right = std::max(r.right, p.x);
        r.bottom = std::max(r.bottom, p.y);
    }
    return {r.left + origin.x - margin, r.top + origin.y - margin, r.right + origin.x + margin,
            r.bottom + origin.y + margin};
}

bool meet(const Rect& a, const Rect& b)
{
    return a.left <= b.right && b.left <= a.right && a.top <= b.bottom && b.top <= a.bottom;
}

} // namespace

void FillsFirstCanvas::hold(Held call)
{
    if (call.kind == Kind::Text) {
        // Wherever the alignment puts it, the text lies within its size around its point.
        const int w = textWidth(call.text);
        const int h = textHeight(call.text);
        call.box = boxAround(call.points, call.origin, std::max(w, h) + 1);
    } else {
        call.box = boxAround(call.points, call.origin, call.pen.width / 2 + 1);
    }
    held_.push_back(std::move(call));
}

void FillsFirstCanvas::drawHeldUnder(const Rect& box)
{
    std::vector<Held> later;
    for (Held& c : held_) {
        if (!meet(c.box, box)) {
            later.push_back(std::move(c));
        } else if (c.kind == Kind::Line) {
            // Only the part the fill may cover goes under it: the rest of an axis that ends in an
            // arrowhead stays over the hatches still to come.
            splitLine(std::move(c), box, later);
        } else {
            play(c);
        }
    }
    held_ = std::move(later);
}

void FillsFirstCanvas::splitLine(Held line, const Rect& box, std::vector<Held>& later)
{
    const Point o = line.origin;
    const double reach = line.pen.width / 2 + 1;
    const DPoint a{static_cast<double>(line.points[0].x + o.x), static_cast<double>(line.points[0].y + o.y)};
    const DPoint b{static_cast<double>(line.points[1].x + o.x), static_cast<double>(line.points[1].y + o.y)};
    const auto inside =
        ClipSegment(a, b, DBox{box.left - reach, box.top - reach, box.right + reach, box.bottom + reach});
    const auto logical = [o](DPoint p) {
        return Point{static_cast<int>(std::lround(p.x)) - o.x, static_cast<int>(std::lround(p.y)) - o.y};
    };
    const Point from = inside ? logical(inside->first) : Point{};
    const Point to = inside ? logical(inside->second) : Point{};
    if (!inside || from == to) {
        later.push_back(std::move(line));
        return;
    }
    const auto piece = [&line](Point p, Point q) {
        Held h = line;
        h.points = {p, q};
        h.box = boxAround(h.points, h.origin, h.pen.width / 2 + 1);
        return h;
    };
    play(piece(from, to));
    if (!(line.points[0] == from)) {
        later.push_back(piece(line.points[0], from));
    }
    if (!(to == line.points[1])) {
        later.push_back(piece(to, line.points[1]));
    }
}

void FillsFirstCanvas::finish()
{
    for (const Held& c : held_) {
        play(c);
    }
    held_.clear();
}

void FillsFirstCanvas::shape(Held call)
{
    if (call.brush.style == BrushStyle::Clear) {
        hold(std::move(call)); // an outline is a line
        return;
    }
    if (fills_ == Fills::Hatched && call.brush.style == BrushStyle::Solid) {
        // A solid fill covers what came before it where it lies, as on screen.
        const std::vector<Point> outline =
            call.kind == Kind::Polygon ? call.points : std::vector<Point>{call.points[0], call.points[1]};
        drawHeldUnder(boxAround(outline, call.origin, call.pen.width / 2 + 1));
    }
    play(call);
}

void FillsFirstCanvas::lineTo(int x, int y)
{
    Held h = snapshot(Kind::Line);
    h.points = {penPos(), {x, y}};
    hold(std::move(h));
    setPenPos({x, y});
}

void FillsFirstCanvas::polyline(const std::vector<Point>& pts)
{
    Held h = snapshot(Kind::Polyline);
    h.points = pts;
    hold(std::move(h));
}

void FillsFirstCanvas::polygon(const std::vector<Point>& pts)
{
    Held h = snapshot(Kind::Polygon);
    h.points = pts;
    shape(std::move(h));
}

void FillsFirstCanvas::rectangle(int left, int top, int right, int bottom)
{
    Held h = snapshot(Kind::Rectangle);
    h.points = {{left, top}, {right, bottom}};
    shape(std::move(h));
}

void FillsFirstCanvas::ellipse(int left, int top, int right, int bottom)
{
    Held h = snapshot(Kind::Ellipse);
    h.points = {{left, top}, {right, bottom}};
    shape(std::move(h));
}

void FillsFirstCanvas::arc(int left, int top, int right, int bottom, int x3, int y3, int x4, int y4)
{
    Held h = snapshot(Kind::Arc);
    h.points = {{left, top}, {right, bottom}, {x3, y3}, {x4, y4}};
    hold(std::move(h));
}

void FillsFirstCanvas::pie(int left, int top, int right, int bottom, int x3, int y3, int x4, int y4)
{
    Held h = snapshot(Kind::Pie);
    h.points = {{left, top}, {right, bottom}, {x3, y3}, {x4, y4}};
    shape(std::move(h));
}

void FillsFirstCanvas::fillRect(const Rect& r)
{
    Held h = snapshot(Kind::FillRect);
    h.points = {{r.left, r.top}, {r.right, r.bottom}};
    if (h.brush.style != BrushStyle::Clear) {
        shape(std::move(h));
    }
}

void FillsFirstCanvas::setPixel(int x, int y, TColor c)
{
    Held h = snapshot(Kind::Pixel);
    h.points = {{x, y}};
    h.color = c;
    hold(std::move(h));
}

void FillsFirstCanvas::textOut(int x, int y, const std::string& utf8)
{
    Held h = snapshot(Kind::Text);
    h.points = {{x, y}};
    h.text = utf8;
    hold(std::move(h));
}

int FillsFirstCanvas::textWidth(const std::string& utf8) const
{
    if (!(target_.font() == font())) {
        target_.setFont(font());
    }
    return target_.textWidth(utf8);
}

int FillsFirstCanvas::textHeight(const std::string& utf8) const
{
    if (!(target_.font() == font())) {
        target_.setFont(font());
    }
    return target_.textHeight(utf8);
}

void FillsFirstCanvas::copyRect(const Rect& dest, const Canvas& source, const Rect& src, RasterOp op)
{
    // A copy is neither a fill nor a line: it goes at once, in the state of now.
    apply(snapshot(Kind::Pixel));
    target_.copyRect(dest, source, src, op);
}

} // namespace kurvex
