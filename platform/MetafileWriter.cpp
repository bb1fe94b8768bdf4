// Plays a recorded picture as metafile records: GDI object table, device state and 16-bit clipping.
#include "platform/MetafileWriter.h"

#include "platform/MetafileText.h"

#include <algorithm>
#include <cmath>

namespace kurvex {

namespace {

constexpr int kInt16Min = -32768;
constexpr int kInt16Max = 32767;
// Lines are cut this far outside the picture, so a cut end never shows, even under a wide pen.
constexpr double kClipMargin = 1024.0;
// Points per POLYLINE record; longer lines continue in the next record from the last point.
constexpr std::size_t kMaxPolylinePoints = 8000;
// Width of a dashed or dotted pen, in units: the widest the formats draw styled.
constexpr int kStyledPenWidth = 1;
// The screen's hatch: lines one pixel wide, eight pixels apart.
constexpr double kHatchPitch = 8.0;
// The face of Greek letters written as Unicode text where the picture asked for the symbol face,
// as the screen shows them.
constexpr const char* kGreekFallbackFace = "Arial";

int ropOf(PenMode mode)
{
    switch (mode) {
    case PenMode::Copy:
        return kRopCopyPen;
    case PenMode::NotXor:
        return 10;
    case PenMode::Xor:
        return 7;
    case PenMode::Not:
        return 6;
    }
    return kRopCopyPen;
}

DBox boxOf(const IntRect& r)
{
    return {static_cast<double>(r.left), static_cast<double>(r.top), static_cast<double>(r.right),
            static_cast<double>(r.bottom)};
}

std::vector<DPoint> corners(const IntRect& r)
{
    const DBox b = boxOf(r);
    return {{b.left, b.top}, {b.right, b.top}, {b.right, b.bottom}, {b.left, b.bottom}};
}

DPoint toDPoint(Point p)
{
    return {static_cast<double>(p.x), static_cast<double>(p.y)};
}

std::vector<int> roundedAdvances(const std::vector<double>& advances, std::size_t count)
{
    std::vector<int> dx(count, 0);
    double sum = 0.0;
    long previous = 0;
    for (std::size_t i = 0; i < count && i < advances.size(); ++i) {
        sum += std::isfinite(advances[i]) ? advances[i] : 0.0;
        const long now = std::lround(std::clamp(sum, -1e6, 1e6));
        dx[i] = static_cast<int>(now - previous);
        previous = now;
    }
    return dx;
}

} // namespace

void RecordBytes::u16(std::uint16_t v)
{
    u8(static_cast<std::uint8_t>(v & 0xFF));
    u8(static_cast<std::uint8_t>(v >> 8));
}

void RecordBytes::u32(std::uint32_t v)
{
    u16(static_cast<std::uint16_t>(v & 0xFFFF));
    u16(static_cast<std::uint16_t>(v >> 16));
}

void RecordBytes::pad(std::size_t alignment)
{
    while (data.size() % alignment != 0) {
        u8(0);
    }
}

int PenStyleCode(PenStyle style)
{
    switch (style) {
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

BrushCode BrushCodeOf(BrushStyle style)
{
    switch (style) {
    case BrushStyle::Solid:
        return {0, 0};
    case BrushStyle::Clear:
        return {1, 0};
    default:
        // The hatch styles follow each other in the order of the formats' hatch codes.
        return {2, static_cast<int>(style) - static_cast<int>(BrushStyle::Horizontal)};
    }
}

void PutLogFontHead(RecordBytes& out, const Font& font, bool wide)
{
    const int numbers[] = {-std::clamp(font.pixelHeight, 1, int{kInt16Max}), 0, font.orientation,
                           font.orientation, font.bold ? 700 : 400};
    for (const int n : numbers) {
        wide ? out.i32(n) : out.i16(n);
    }
    out.u8(font.italic ? 1 : 0);
    out.u8(font.underline ? 1 : 0);
    out.u8(font.strikeOut ? 1 : 0);
    out.u8(static_cast<std::uint8_t>(font.charset));
    for (int i = 0; i < 4; ++i) {
        out.u8(0); // output and clip precision, quality, pitch and family: the defaults
    }
}

std::vector<std::uint8_t> MetafileWriter::write(const MetafileRecording& recording)
{
    const int width = std::clamp(recording.width, 1, kInt16Max);
    const int height = std::clamp(recording.height, 1, kInt16Max);
    box_ = DBox{-kClipMargin, -kClipMargin, std::min(width + kClipMargin, double{kInt16Max}),
                std::min(height + kClipMargin, double{kInt16Max})};
    objects_.clear();
    tableSize_ = 0;
    dc_ = DcState{};
    saved_.reset();
    clip_.reset();

    begin(width, height);
    chain_.clear();
    for (const MetafileOp& op : recording.ops) {
        play(op);
    }
    flushChain();
    applyClip(std::nullopt);
    return finish(tableSize_);
}

Point MetafileWriter::toPoint(DPoint p) const
{
    return {RoundClamped(p.x, static_cast<int>(box_.left), static_cast<int>(box_.right)),
            RoundClamped(p.y, static_cast<int>(box_.top), static_cast<int>(box_.bottom))};
}

IntRect MetafileWriter::toRect(DPoint a, DPoint b) const
{
    // Corners in either order; several readers draw nothing for a rectangle written backwards.
    const Point p = toPoint(a);
    const Point q = toPoint(b);
    return {std::min(p.x, q.x), std::min(p.y, q.y), std::max(p.x, q.x), std::max(p.y, q.y)};
}

DBox MetafileWriter::strokeBox(const MetafileOp& op) const
{
    // Lines are cut to the clip as well, so a reader that ignores clip records shows the same.
    if (!op.clip) {
        return box_;
    }
    return DBox{std::max(box_.left, op.clip->left), std::max(box_.top, op.clip->top),
                std::min(box_.right, op.clip->right), std::min(box_.bottom, op.clip->bottom)};
}

void MetafileWriter::applyClip(const std::optional<DBox>& clip)
{
    if (clip == clip_) {
        return;
    }
    if (clip_) {
        restoreDc();
        dc_ = *saved_;
        saved_.reset();
    }
    clip_ = clip;
    if (clip_) {
        saved_ = dc_;
        saveDc();
        intersectClipRect(toRect({clip_->left, clip_->top}, {clip_->right, clip_->bottom}));
    }
}

void MetafileWriter::use(const ObjectKey& key)
{
    const auto kind = static_cast<Kind>(key.index());
    const int current = dc_.selected[kind];
    if (current >= 0 && objects_[current] && *objects_[current] == key) {
        return;
    }
    int slot = -1;
    for (std::size_t i = 0; i < objects_.size(); ++i) {
        if (objects_[i] && *objects_[i] == key) {
            slot = static_cast<int>(i);
            break;
        }
    }
    if (slot < 0) {
        const auto freeSlot = std::find(objects_.begin(), objects_.end(), std::nullopt);
        slot = static_cast<int>(freeSlot - objects_.begin());
        if (freeSlot == objects_.end()) {
            objects_.emplace_back();
        }
        objects_[slot] = key;
        tableSize_ = std::max(tableSize_, static_cast<int>(objects_.size()));
        if (const auto* pen = std::get_if<PenKey>(&key)) {
            createPen(slot, Pen{pen->color, pen->width, pen->style, PenMode::Copy});
        } else if (const auto* brush = std::get_if<Brush>(&key)) {
            createBrush(slot, *brush);
        } else {
            createFont(slot, std::get<Font>(key));
        }
    }
    selectObject(slot);
    dc_.selected[kind] = slot;
    // Windows continues a line from the current position across a new pen, but some readers
    // start a new path at the selection and drop a LINETO that has no MOVETO of its own.
    dc_.position.reset();
    collect(kind);
}

void MetafileWriter::collect(Kind kind)
{
    for (std::size_t i = 0; i < objects_.size(); ++i) {
        const int slot = static_cast<int>(i);
        if (!objects_[i] || static_cast<Kind>(objects_[i]->index()) != kind) {
            continue;
        }
        // An object the saved state still selects must live until RestoreDC brings it back.
        const bool pinned = saved_ && saved_->selected[kind] == slot;
        if (dc_.selected[kind] == slot || pinned) {
            continue;
        }
        deleteObject(slot);
        objects_[i].reset();
    }
    while (!objects_.empty() && !objects_.back()) {
        objects_.pop_back();
    }
}

void MetafileWriter::usePen(const Pen& pen)
{
    // Lines have their dashes written out; a shape's outline keeps the style at a width that
    // Windows and the readers that follow it draw styled.
    const bool styled = pen.style != PenStyle::Solid && pen.style != PenStyle::Clear;
    const int width = styled ? std::min(pen.width, kStyledPenWidth) : pen.width;
    use(PenKey{pen.color, std::max(width, 0), pen.style});
    const int rop = ropOf(pen.mode);
    if (dc_.rop != rop) {
        setRop2(rop);
        dc_.rop = rop;
    }
}

void MetafileWriter::useBrush(const Brush& brush)
{
    Brush key = brush;
    if (key.style == BrushStyle::Clear) {
        key.color = clBlack;
    }
    use(key);
}

void MetafileWriter::useFill(const Brush& brush)
{
    useBrush(brush);
    // The gaps of a dashed outline stay transparent, so what lies below shows through.
    useBkMode(false);
}

void MetafileWriter::useBkMode(bool opaque)
{
    if (dc_.bkOpaque != opaque) {
        setBkMode(opaque);
        dc_.bkOpaque = opaque;
    }
}

void MetafileWriter::emitPolyline(const std::vector<DPoint>& run)
{
    std::vector<Point> pts;
    pts.reserve(std::min(run.size(), kMaxPolylinePoints));
    for (std::size_t i = 0; i < run.size(); ++i) {
        pts.push_back(toPoint(run[i]));
        if (pts.size() == kMaxPolylinePoints) {
            polyline(pts);
            pts = {pts.back()};
        }
    }
    if (pts.size() >= 2) {
        polyline(pts);
    }
}

bool MetafileWriter::extendChain(const MetafileOp& op)
{
    if (op.kind != MetafileOpKind::Line) {
        return false;
    }
    const bool sameState = !chain_.empty() && op.pen == chainPen_ && op.clip == clip_;
    const auto piece = ClipSegment(op.points[0], op.points[1], strokeBox(op));
    if (!piece) {
        flushChain();
        return true;
    }
    const Point from = toPoint(piece->first);
    const Point to = toPoint(piece->second);
    // Raster operations other than copy would see the shared end points twice as separate lines.
    const bool joins = sameState && chain_.back() == from && op.pen.mode == PenMode::Copy &&
                       chain_.size() < kMaxPolylinePoints;
    if (!joins) {
        flushChain();
        applyClip(op.clip);
        chainPen_ = op.pen;
        chain_.push_back(from);
    }
    chain_.push_back(to);
    if (!(piece->second == op.points[1])) {
        flushChain(); // the line left the range; the next one starts afresh
    }
    return true;
}

void MetafileWriter::polyPolyline(const std::vector<std::vector<Point>>& lines)
{
    for (const std::vector<Point>& line : lines) {
        polyline(line);
    }
}

bool MetafileWriter::emitDashed(const std::vector<DPoint>& line, const Pen& pen)
{
    const std::vector<int> pattern = PenDashPattern(pen.style);
    if (pattern.empty()) {
        return false;
    }
    // The screen's pattern, as long as the pen is wide: the dashes a thin screen pen has, enlarged.
    const int width = std::max(pen.width, 1);
    std::vector<double> lengths;
    for (const int length : pattern) {
        lengths.push_back(static_cast<double>(length) * width);
    }
    const double trim = width > 1 ? width / 2.0 : 0.0;
    std::vector<std::vector<Point>> dashes;
    for (const std::vector<DPoint>& dash : DashPolyline(line, lengths, trim)) {
        std::vector<Point> pts;
        for (const DPoint p : dash) {
            pts.push_back(toPoint(p));
        }
        if (pts.size() >= 2) {
            dashes.push_back(std::move(pts));
        }
    }
    if (dashes.empty()) {
        return true;
    }
    Pen solid = pen;
    solid.style = PenStyle::Solid;
    usePen(solid);
    useBkMode(false);
    emitLines(dashes);
    return true;
}

void MetafileWriter::emitLines(const std::vector<std::vector<Point>>& lines)
{
    for (std::size_t i = 0; i < lines.size(); i += kMaxPolylinePoints / 2) {
        const auto end =
            lines.begin() + static_cast<std::ptrdiff_t>(std::min(lines.size(), i + kMaxPolylinePoints / 2));
        polyPolyline({lines.begin() + static_cast<std::ptrdiff_t>(i), end});
    }
}

void MetafileWriter::emitHatch(const std::vector<DPoint>& area, const MetafileOp& op)
{
    const double scale = std::isfinite(op.drawScale) ? std::clamp(op.drawScale, 1.0, 1000.0) : 1.0;
    const int width = std::max(1, static_cast<int>(std::lround(scale)));
    // Readers give a wide pen round ends and draw it across the outline: the lines keep half their
    // width from the outline, and a unit more for their ends' rounding to whole units.
    const auto hatch =
        HatchLines(ClipPolygon(area, strokeBox(op)), op.brush.style, kHatchPitch * scale, width / 2.0 + 1.0);
    std::vector<std::vector<Point>> lines;
    lines.reserve(hatch.size());
    for (const auto& [from, to] : hatch) {
        const Point a = toPoint(from);
        const Point b = toPoint(to);
        if (!(a == b)) {
            lines.push_back({a, b});
        }
    }
    if (lines.empty()) {
        return;
    }
    usePen(Pen{op.brush.color, width, PenStyle::Solid, PenMode::Copy});
    useBkMode(false);
    emitLines(lines);
}

bool MetafileWriter::prepareShape(const MetafileOp& op, const std::function<std::vector<DPoint>()>& area)
{
    Brush brush = op.brush;
    if (brush.style != BrushStyle::Solid && brush.style != BrushStyle::Clear) {
        emitHatch(area(), op);
        if (op.pen.style == PenStyle::Clear) {
            return false;
        }
        brush.style = BrushStyle::Clear;
    }
    usePen(op.pen);
    useFill(brush);
    return true;
}

void MetafileWriter::flushChain()
{
    if (chain_.size() < 2) {
        chain_.clear();
        return;
    }
    // Windows and the readers that follow it draw a wide dashed or dotted pen solid, and some draw
    // no pattern at all: the dashes are written as lines of their own.
    std::vector<DPoint> line;
    line.reserve(chain_.size());
    for (const Point p : chain_) {
        line.push_back({static_cast<double>(p.x), static_cast<double>(p.y)});
    }
    if (emitDashed(line, chainPen_)) {
        chain_.clear();
        return;
    }
    usePen(chainPen_);
    useBkMode(false);
    if (chain_.size() == 2) {
        if (dc_.position != chain_[0]) {
            moveTo(chain_[0]);
        }
        lineTo(chain_[1]);
        dc_.position = chain_[1];
    } else {
        polyline(chain_);
    }
    chain_.clear();
}

void MetafileWriter::play(const MetafileOp& op)
{
    if (extendChain(op)) {
        return;
    }
    flushChain();
    applyClip(op.clip);
    switch (op.kind) {
    case MetafileOpKind::Line:
        // Handled by extendChain.
        return;
    case MetafileOpKind::Polyline: {
        const auto runs = ClipPolyline(op.points, strokeBox(op));
        if (runs.empty()) {
            return;
        }
        for (const auto& run : runs) {
            if (!emitDashed(run, op.pen)) {
                usePen(op.pen);
                useBkMode(false);
                emitPolyline(run);
            }
        }
        return;
    }
    case MetafileOpKind::Polygon: {
        const auto clipped = ClipPolygon(op.points, box_);
        if (clipped.size() < 2) {
            return;
        }
        std::vector<Point> pts;
        pts.reserve(clipped.size());
        for (const DPoint p : clipped) {
            pts.push_back(toPoint(p));
        }
        if (pts.size() > static_cast<std::size_t>(kInt16Max)) {
            pts.resize(kInt16Max);
        }
        if (prepareShape(op, [&clipped] { return clipped; })) {
            polygon(pts);
        }
        return;
    }
    case MetafileOpKind::Rectangle:
    case MetafileOpKind::Ellipse: {
        const IntRect r = toRect(op.points[0], op.points[1]);
        const bool rect = op.kind == MetafileOpKind::Rectangle;
        if (prepareShape(op, [&] { return rect ? corners(r) : EllipsePolygon(boxOf(r)); })) {
            rect ? rectangle(r) : ellipse(r);
        }
        return;
    }
    case MetafileOpKind::Arc:
    case MetafileOpKind::Pie: {
        const IntRect r = toRect(op.points[0], op.points[1]);
        const Point start = toPoint(op.points[2]);
        const Point end = toPoint(op.points[3]);
        if (op.kind == MetafileOpKind::Arc) {
            usePen(op.pen);
            useBkMode(false);
            arc(r, start, end);
        } else if (prepareShape(op, [&] { return PiePolygon(boxOf(r), toDPoint(start), toDPoint(end)); })) {
            pie(r, start, end);
        }
        return;
    }
    case MetafileOpKind::FillRect: {
        // No outline: a null pen, and a rectangle one unit larger because a null pen leaves
        // the right and bottom edge out.
        MetafileOp fill = op;
        fill.pen.style = PenStyle::Clear;
        fill.pen.mode = PenMode::Copy;
        IntRect r = toRect(op.points[0], op.points[1]);
        if (!prepareShape(fill, [&r] { return corners(r); })) {
            return;
        }
        r.right = std::min(r.right + 1, static_cast<int>(box_.right));
        r.bottom = std::min(r.bottom + 1, static_cast<int>(box_.bottom));
        rectangle(r);
        return;
    }
    case MetafileOpKind::Pixel:
        if (box_.contains(op.points[0])) {
            setPixel(toPoint(op.points[0]), op.color);
        }
        return;
    case MetafileOpKind::Text: {
        std::u32string text = DecodeUtf8(op.text);
        if (text.empty()) {
            return;
        }
        Font key = op.font;
        key.color = clBlack;
        if (IsSymbolFont(op.font) && unicodeText()) {
            // UTF-16 text carries the Greek letters themselves, which every reader shows; the
            // symbol encoding needs a face that exists on the reader's machine.
            text = SymbolFontToUnicode(text);
            key.family =
                IsSymbolFont(Font{.family = key.family}) ? std::string(kGreekFallbackFace) : key.family;
            key.charset = FontCharset::Default;
        } else if (IsSymbolFont(op.font)) {
            // Single-byte text: the Latin letters in the face whose symbol encoding shows them Greek.
            key.family = "Symbol";
            key.charset = FontCharset::Symbol;
        }
        const bool greek = key.charset == FontCharset::Greek || NeedsGreekCodePage(text);
        key.charset =
            greek ? FontCharset::Greek : (IsSymbolFont(key) ? FontCharset::Symbol : FontCharset::Ansi);
        use(key);
        if (dc_.textColor != op.font.color) {
            setTextColor(op.font.color);
            dc_.textColor = op.font.color;
        }
        const bool opaque = op.brush.style == BrushStyle::Solid && op.bkMode == BkMode::Opaque;
        if (opaque && dc_.bkColor != op.brush.color) {
            setBkColor(op.brush.color);
            dc_.bkColor = op.brush.color;
        }
        useBkMode(opaque);
        if (dc_.textAlign != op.textAlign) {
            setTextAlign(op.textAlign);
            dc_.textAlign = op.textAlign;
        }
        textOut(toPoint(op.points[0]), text, roundedAdvances(op.advances, text.size()), greek);
        return;
    }
    }
}

} // namespace kurvex
