// Canvas painted with a QPainter: state mapping, GDI-like primitives, text and bitmap copies.
#include "platform/QtCanvas.h"

#include "platform/MetafileText.h"

#include <QFontMetrics>
#include <QImage>
#include <QPaintEngine>
#include <QPainterPath>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <numbers>

namespace kurvex {

namespace {

// Qt's rasteriser works in 26.6 fixed point; coordinates beyond this would overflow it.
constexpr double kCoordLimit = 1 << 22;
// Lines are cut this far outside the device, so wide pens still reach the edge.
constexpr double kDeviceMargin = 64.0;

// Rounds a device coordinate, cut to what the rasteriser can take.
int toPixel(double v)
{
    return static_cast<int>(std::lround(std::clamp(v, -kCoordLimit, kCoordLimit)));
}

Rect normalized(const Rect& r)
{
    return {std::min(r.left, r.right), std::min(r.top, r.bottom), std::max(r.left, r.right),
            std::max(r.top, r.bottom)};
}

// Pixels of a rectangle of logical pixels moved by origin on a device of the ratio: each edge is
// rounded, so neighbouring rectangles neither overlap nor leave a gap.
QRect scaledRect(const Rect& r, double ratio, Point origin)
{
    const auto at = [ratio](int v, int shift) { return toPixel((static_cast<double>(v) + shift) * ratio); };
    const int left = at(r.left, origin.x);
    const int top = at(r.top, origin.y);
    return {left, top, at(r.right, origin.x) - left, at(r.bottom, origin.y) - top};
}

// Dash patterns of the platform's cosmetic pens, in logical pixels.
QList<qreal> logicalDashPattern(PenStyle s)
{
    QList<qreal> pattern;
    for (const int length : PenDashPattern(s))
        pattern.append(length);
    return pattern;
}

// The pattern in whole device pixels, so the dots of the direct path and the painter's agree.
QList<qreal> dashPattern(PenStyle s, double ratio)
{
    QList<qreal> pattern = logicalDashPattern(s);
    for (qreal& length : pattern)
        length = static_cast<qreal>(std::max(1L, std::lround(length * ratio)));
    return pattern;
}

// A hatch or dash pattern is scaled only for a picture drawn larger than the screen's.
bool enlarged(double pictureScale)
{
    return std::isfinite(pictureScale) && pictureScale > 1.0;
}

// The scale QPainter applies on the device: its pixel ratio, never below 1, and 1 on printers.
double pixelRatioOf(const QPaintDevice* device)
{
    if (!device || device->devType() == QInternal::Printer)
        return 1.0;
    return std::max(1.0, device->devicePixelRatio());
}

// Bitmaps measure themselves in device pixels, widgets in logical ones.
QSize deviceSizeOf(const QPaintDevice& device, double ratio)
{
    if (device.devType() == QInternal::Image || device.devType() == QInternal::Pixmap)
        return {device.width(), device.height()};
    return {toPixel(device.width() * ratio), toPixel(device.height() * ratio)};
}

Qt::BrushStyle hatchStyle(BrushStyle s)
{
    switch (s) {
    case BrushStyle::Horizontal:
        return Qt::HorPattern;
    case BrushStyle::Vertical:
        return Qt::VerPattern;
    case BrushStyle::FDiagonal:
        return Qt::FDiagPattern; // both run down from left to right
    case BrushStyle::BDiagonal:
        return Qt::BDiagPattern;
    case BrushStyle::Cross:
        return Qt::CrossPattern;
    case BrushStyle::DiagCross:
        return Qt::DiagCrossPattern;
    case BrushStyle::Solid:
        return Qt::SolidPattern;
    case BrushStyle::Clear:
        return Qt::NoBrush;
    }
    return Qt::NoBrush;
}

QPainter::CompositionMode compositionFor(PenMode m)
{
    switch (m) {
    case PenMode::NotXor:
        return QPainter::RasterOp_NotSourceXorDestination;
    case PenMode::Xor:
        return QPainter::RasterOp_SourceXorDestination;
    case PenMode::Not:
        return QPainter::RasterOp_NotDestination;
    case PenMode::Copy:
        break;
    }
    return QPainter::CompositionMode_SourceOver;
}

// Liang-Barsky: cuts the segment to the box; false when nothing of it lies inside.
bool clipSegment(double& x1, double& y1, double& x2, double& y2, const QRectF& box)
{
    double t0 = 0.0;
    double t1 = 1.0;
    const double dx = x2 - x1;
    const double dy = y2 - y1;
    const std::array<double, 4> p{-dx, dx, -dy, dy};
    const std::array<double, 4> q{x1 - box.left(), box.right() - x1, y1 - box.top(), box.bottom() - y1};
    for (int i = 0; i < 4; ++i) {
        if (p[i] == 0.0) {
            if (q[i] < 0.0)
                return false;
            continue;
        }
        const double t = q[i] / p[i];
        if (p[i] < 0.0)
            t0 = std::max(t0, t);
        else
            t1 = std::min(t1, t);
        if (t0 > t1)
            return false;
    }
    const double ox = x1;
    const double oy = y1;
    x1 = ox + t0 * dx;
    y1 = oy + t0 * dy;
    x2 = ox + t1 * dx;
    y2 = oy + t1 * dy;
    return true;
}

// The pixels of a 32-bit bitmap, written one at a time in one colour.
struct PixelWriter {
    uchar* bits;
    qsizetype stride;
    QRgb color;
    void put(int x, int y) const { reinterpret_cast<QRgb*>(bits + stride * y)[x] = color; }
};

// A thin solid line of device pixels from from towards to, cut to area.
void writeSolidLine(QPoint from, QPoint to, const QRect& area, const PixelWriter& pixels)
{
    // Every pixel from the start up to the end pixel, which stays free in any direction: a line
    // that begins where the one before ended then joins it without a gap or a doubled pixel. The
    // painter leaves out whichever end lies right or below, so a curve rising steeply in short
    // segments lost the pixel where a flat segment met a steep one.
    const int dx = to.x() - from.x();
    const int dy = to.y() - from.y();
    const bool steep = std::abs(dy) > std::abs(dx);
    const int steps = steep ? std::abs(dy) : std::abs(dx);
    const int majorStart = steep ? from.y() : from.x();
    const int majorStep = (steep ? dy : dx) > 0 ? 1 : -1;
    const int majorLow = steep ? area.top() : area.left();
    const int majorHigh = steep ? area.bottom() : area.right();
    const int minorLow = steep ? area.left() : area.top();
    const int minorHigh = steep ? area.right() : area.bottom();
    // Steps i whose pixel lies in the area's rows (steep) or columns.
    const int iA = (majorLow - majorStart) * majorStep;
    const int iB = (majorHigh - majorStart) * majorStep;
    const int iFirst = std::max(0, std::min(iA, iB));
    const int iLast = std::min(steps - 1, std::max(iA, iB));
    if (iFirst > iLast)
        return;

    // The minor coordinate nearest to the exact line, halves rounded up on the device, so the same
    // line drawn either way covers the same pixels: floor(minor0 + (i * span + steps / 2) / steps),
    // kept as a quotient and a remainder in [0, 2 * steps).
    const std::int64_t span2 = 2 * std::int64_t{steep ? dx : dy};
    const std::int64_t steps2 = 2 * std::int64_t{steps};
    const std::int64_t numerator = std::int64_t{iFirst} * span2 + steps;
    std::int64_t quotient = numerator >= 0 ? numerator / steps2 : -((-numerator + steps2 - 1) / steps2);
    std::int64_t remainder = numerator - quotient * steps2;
    const std::int64_t minorStart = steep ? from.x() : from.y();
    for (int i = iFirst; i <= iLast; ++i) {
        const std::int64_t minor = minorStart + quotient;
        if (minor >= minorLow && minor <= minorHigh) {
            const int major = majorStart + i * majorStep;
            const int px = steep ? static_cast<int>(minor) : major;
            const int py = steep ? major : static_cast<int>(minor);
            pixels.put(px, py);
        }
        remainder += span2;
        if (remainder >= steps2) {
            remainder -= steps2;
            ++quotient;
        } else if (remainder < 0) {
            remainder += steps2;
            --quotient;
        }
    }
}

// An axis-parallel thin dotted line of device pixels, its dots dot pixels long, placed as the painter
// places it on a bitmap of imageSize, cut to area.
void writeDottedLine(QPoint from, QPoint to, const QRect& area, QSize imageSize, int dot,
                     const PixelWriter& pixels)
{
    // The painter cuts a line one pixel outside the bitmap and counts its dots from the cut; it
    // covers the pixels from the start towards the end, except the end pixel, and a line running
    // left or up begins one pixel before its start.
    const int dx = (to.x() > from.x()) - (to.x() < from.x());
    const int dy = (to.y() > from.y()) - (to.y() < from.y());
    const QPoint start{dx == 0 ? from.x() : std::clamp(from.x(), -1, imageSize.width() + 1),
                       dy == 0 ? from.y() : std::clamp(from.y(), -1, imageSize.height() + 1)};
    const int length = (to.x() - start.x()) * dx + (to.y() - start.y()) * dy;
    const QPoint first{dx < 0 ? start.x() - 1 : start.x(), dy < 0 ? start.y() - 1 : start.y()};
    // Steps t along the line whose pixel lies in area.
    int tFirst = 0;
    int tLast = length - 1;
    const auto limit = [&](int begin, int step, int low, int high) {
        if (step == 0) {
            if (begin < low || begin > high)
                tLast = -1;
            return;
        }
        const int ta = (low - begin) * step;
        const int tb = (high - begin) * step;
        tFirst = std::max(tFirst, std::min(ta, tb));
        tLast = std::min(tLast, std::max(ta, tb));
    };
    limit(first.x(), dx, area.left(), area.right());
    limit(first.y(), dy, area.top(), area.bottom());

    // The platform's dot pen: as many pixels on as off, from the cut; written a dot at a time.
    int t = tFirst;
    int phase = t % (2 * dot);
    if (phase >= dot) {
        t += 2 * dot - phase;
        phase = 0;
    }
    while (t <= tLast) {
        const int dotEnd = std::min(tLast + 1, t + dot - phase);
        for (; t < dotEnd; ++t)
            pixels.put(first.x() + t * dx, first.y() + t * dy);
        t += dot;
        phase = 0;
    }
}

} // namespace

QColor toQColor(TColor c)
{
    return QColor(colorRed(c), colorGreen(c), colorBlue(c));
}

QString symbolText(const QString& text)
{
    QString out = text;
    for (QChar& ch : out) {
        ch = QChar(static_cast<char16_t>(SymbolFontLetter(ch.unicode())));
    }
    return out;
}

QFont toQFont(const Font& f)
{
    // The symbol face keeps its Greek letters at its own code points, which Qt cannot reach; the
    // text is Unicode Greek by then (canvasText), so a face that has those letters shows it.
    const bool symbolFace = IsSymbolFont(Font{.family = f.family});
    QFont qf(symbolFace ? QStringLiteral("Arial") : QString::fromStdString(f.family));
    qf.setPixelSize(std::max(1, f.pixelHeight));
    qf.setBold(f.bold);
    qf.setItalic(f.italic);
    qf.setUnderline(f.underline);
    qf.setStrikeOut(f.strikeOut);
    qf.setStyleStrategy(QFont::NoAntialias);
    return qf;
}

QString canvasText(const Font& f, const std::string& utf8)
{
    const QString text = QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
    return IsSymbolFont(f) ? symbolText(text) : text;
}

QtCanvas::QtCanvas(QImage& image) : image_(&image), ratio_(pixelRatioOf(&image))
{
    ownPainter_.emplace(&image);
    painter_ = &*ownPainter_;
    painter_->setRenderHint(QPainter::Antialiasing, false);
    painter_->setRenderHint(QPainter::TextAntialiasing, false);
}

QtCanvas::QtCanvas(QPaintDevice& device) : ratio_(pixelRatioOf(&device))
{
    ownPainter_.emplace(&device);
    painter_ = &*ownPainter_;
    painter_->setRenderHint(QPainter::Antialiasing, false);
    painter_->setRenderHint(QPainter::TextAntialiasing, false);
}

QtCanvas::QtCanvas(QPainter& painter) : painter_(&painter), ratio_(pixelRatioOf(painter.device()))
{
    painter_->setRenderHint(QPainter::Antialiasing, false);
}

QtCanvas::~QtCanvas()
{
    end();
}

QPaintDevice* QtCanvas::device() const
{
    if (image_)
        return image_;
    return painter_ ? painter_->device() : nullptr;
}

void QtCanvas::setPictureScale(double scale)
{
    pictureScale_ = std::clamp(std::isfinite(scale) ? scale : 1.0, 1.0, 1000.0);
    stateValid_ = false;
}

void QtCanvas::end()
{
    stateValid_ = false;
    if (ownPainter_ && ownPainter_->isActive())
        ownPainter_->end();
}

bool QtCanvas::isActive() const
{
    return painter_ && painter_->isActive();
}

QPoint QtCanvas::devicePoint(Point p) const
{
    return {toPixel(deviceX(p.x)), toPixel(deviceY(p.y))};
}

QRect QtCanvas::deviceRect(const Rect& r) const
{
    return scaledRect(r, ratio_, windowOrigin());
}

void QtCanvas::applyGeometry()
{
    // Curves arrive as thousands of single lines; set transform and clip only when they change.
    if (geometryValid_ && appliedOrigin_ == windowOrigin() && appliedHasClip_ == hasClip() &&
        (!hasClip() || appliedClip_ == clipRect()))
        return;
    // Every primitive arrives in device pixels; this undoes the painter's own scaling by the ratio.
    painter_->resetTransform();
    if (ratio_ != 1.0)
        painter_->setWorldTransform(QTransform::fromScale(1.0 / ratio_, 1.0 / ratio_));
    if (hasClip()) {
        painter_->setClipRect(deviceRect(clipRect()));
    } else {
        painter_->setClipping(false);
    }
    geometryValid_ = true;
    appliedOrigin_ = windowOrigin();
    appliedHasClip_ = hasClip();
    appliedClip_ = clipRect();
}

void QtCanvas::prepare(Use use)
{
    applyGeometry();
    const Pen& p = pen();
    const Brush& b = brush();
    // A curve is thousands of lines with one pen; building and setting a QPen each time is costly.
    if (stateValid_ && appliedUse_ == use && appliedPen_ == p && appliedBrush_ == b)
        return;
    const bool rasterOps =
        painter_->paintEngine() && painter_->paintEngine()->hasFeature(QPaintEngine::RasterOpModes);
    painter_->setCompositionMode(rasterOps ? compositionFor(p.mode) : QPainter::CompositionMode_SourceOver);
    painter_->setBackgroundMode(Qt::TransparentMode);

    if (use == Use::Fill || p.style == PenStyle::Clear) {
        painter_->setPen(Qt::NoPen);
    } else {
        QPen qp(toQColor(p.color));
        // A wide pen is solid, as the platform draws it; a thin one ends before its last pixel, as
        // lines always have, and stays one device pixel wide at any pixel ratio. In a picture drawn
        // larger than the screen's, a pen up to the scale wide is a thin one enlarged.
        const bool wide = p.width > 1;
        const bool scaledThin = wide && enlarged(pictureScale_) && p.width <= std::lround(pictureScale_);
        if (wide) {
            qp.setWidthF(p.width * ratio_);
        } else {
            qp.setWidth(std::max(0, p.width));
            qp.setCosmetic(true);
        }
        if (p.style != PenStyle::Solid && !wide) {
            qp.setDashPattern(dashPattern(p.style, ratio_));
        } else if (p.style != PenStyle::Solid && scaledThin) {
            // Qt counts the pattern in pen widths.
            QList<qreal> pattern = logicalDashPattern(p.style);
            for (qreal& length : pattern) {
                length *= pictureScale_ / p.width;
            }
            qp.setDashPattern(pattern);
        }
        const bool round = wide && (p.style == PenStyle::Solid || !scaledThin);
        qp.setCapStyle(round ? Qt::RoundCap : Qt::FlatCap);
        qp.setJoinStyle(wide ? Qt::RoundJoin : Qt::MiterJoin);
        painter_->setPen(qp);
    }

    if (use == Use::Stroke || b.style == BrushStyle::Clear) {
        painter_->setBrush(Qt::NoBrush);
    } else {
        painter_->setBrush(QBrush(toQColor(b.color), hatchStyle(b.style)));
    }

    // A borrowed painter may be changed by its owner between our calls.
    stateValid_ = ownPainter_.has_value();
    appliedUse_ = use;
    appliedPen_ = p;
    appliedBrush_ = b;
}

std::optional<QRect> QtCanvas::directArea() const
{
    if (!image_ || painterLent_)
        return std::nullopt;
    const QImage::Format format = image_->format();
    if (format != QImage::Format_RGB32 && format != QImage::Format_ARGB32 &&
        format != QImage::Format_ARGB32_Premultiplied)
        return std::nullopt;
    // bits() of a shared image would detach it from the buffer the painter writes into.
    if (!image_->isDetached())
        return std::nullopt;
    QRect area = image_->rect();
    if (hasClip()) {
        const QRect clip = deviceRect(clipRect());
        if (clip.width() <= 0 || clip.height() <= 0)
            return std::nullopt;
        area &= clip;
    }
    return area;
}

bool QtCanvas::lineOnImage(QPoint from, QPoint to)
{
    const Pen& p = pen();
    const bool solid = p.style == PenStyle::Solid;
    const bool dotted = p.style == PenStyle::Dot && (from.x() == to.x() || from.y() == to.y());
    if (p.width > 1 || p.mode != PenMode::Copy || !(solid || dotted))
        return false;
    const std::optional<QRect> area = directArea();
    if (!area)
        return false;
    const PixelWriter pixels{image_->bits(), image_->bytesPerLine(), toQColor(p.color).rgb() | 0xFF000000u};
    if (from == to) {
        // The painter draws a line without length as a single point.
        if (area->contains(from))
            pixels.put(from.x(), from.y());
        return true;
    }
    if (solid)
        writeSolidLine(from, to, *area, pixels);
    else
        writeDottedLine(from, to, *area, image_->size(),
                        static_cast<int>(dashPattern(PenStyle::Dot, ratio_).front()), pixels);
    return true;
}

void QtCanvas::lineTo(int x, int y)
{
    const Point from = penPos();
    setPenPos({x, y});
    if (!isActive())
        return;
    double x1 = deviceX(from.x), y1 = deviceY(from.y), x2 = deviceX(x), y2 = deviceY(y);
    const QSize size = deviceSizeOf(*painter_->device(), ratio_);
    const QRectF box(-kDeviceMargin, -kDeviceMargin, size.width() + 2 * kDeviceMargin,
                     size.height() + 2 * kDeviceMargin);
    if (!box.contains(x1, y1) || !box.contains(x2, y2)) {
        if (!clipSegment(x1, y1, x2, y2, box))
            return;
    }
    const QLine line(toPixel(x1), toPixel(y1), toPixel(x2), toPixel(y2));
    if (lineOnImage(line.p1(), line.p2()))
        return;
    prepare(Use::Stroke);
    painter_->drawLine(line);
}

void QtCanvas::polyline(const std::vector<Point>& pts)
{
    if (pts.size() < 2 || !isActive())
        return;
    const Point keep = penPos();
    // Segment by segment keeps the cutting of far points exact; the current position stays.
    const bool far = std::any_of(pts.begin(), pts.end(),
                                 [](Point p) { return std::abs(p.x) > 100000 || std::abs(p.y) > 100000; });
    if (far) {
        for (std::size_t i = 1; i < pts.size(); ++i) {
            setPenPos(pts[i - 1]);
            lineTo(pts[i].x, pts[i].y);
        }
        setPenPos(keep);
        return;
    }
    prepare(Use::Stroke);
    QPolygon poly;
    poly.reserve(static_cast<int>(pts.size()));
    for (const Point& p : pts)
        poly << devicePoint(p);
    painter_->drawPolyline(poly);
}

bool QtCanvas::scaledHatch() const
{
    const BrushStyle s = brush().style;
    return enlarged(pictureScale_) && s != BrushStyle::Solid && s != BrushStyle::Clear;
}

void QtCanvas::hatchArea(const QPainterPath& area)
{
    applyGeometry();
    stateValid_ = false;
    painter_->save();
    painter_->setCompositionMode(QPainter::CompositionMode_SourceOver);
    painter_->setClipPath(area, Qt::IntersectClip);
    // The screen's hatch: lines one pixel wide, eight apart, both times the picture's scale.
    QPen pen(toQColor(brush().color));
    pen.setWidthF(pictureScale_ * ratio_);
    pen.setCapStyle(Qt::FlatCap);
    painter_->setPen(pen);
    painter_->setBrush(Qt::NoBrush);
    const double pitch = 8.0 * pictureScale_ * ratio_;
    const QRectF r = area.boundingRect();
    const BrushStyle s = brush().style;
    // Lines at whole multiples of the pitch, so neighbouring areas continue each other's hatch.
    const auto from = [pitch](double v) { return std::floor(v / pitch) * pitch; };
    if (s == BrushStyle::Horizontal || s == BrushStyle::Cross) {
        for (double y = from(r.top()); y <= r.bottom(); y += pitch)
            painter_->drawLine(QLineF(r.left(), y, r.right(), y));
    }
    if (s == BrushStyle::Vertical || s == BrushStyle::Cross) {
        for (double x = from(r.left()); x <= r.right(); x += pitch)
            painter_->drawLine(QLineF(x, r.top(), x, r.bottom()));
    }
    if (s == BrushStyle::FDiagonal || s == BrushStyle::DiagCross) {
        // Down from left to right: x - y is constant.
        for (double c = from(r.left() - r.bottom()); c <= r.right() - r.top(); c += pitch)
            painter_->drawLine(QLineF(c + r.top(), r.top(), c + r.bottom(), r.bottom()));
    }
    if (s == BrushStyle::BDiagonal || s == BrushStyle::DiagCross) {
        // Up from left to right: x + y is constant.
        for (double c = from(r.left() + r.top()); c <= r.right() + r.bottom(); c += pitch)
            painter_->drawLine(QLineF(c - r.top(), r.top(), c - r.bottom(), r.bottom()));
    }
    painter_->restore();
}

void QtCanvas::polygon(const std::vector<Point>& pts)
{
    if (pts.size() < 2 || !isActive())
        return;
    QPolygon poly;
    poly.reserve(static_cast<int>(pts.size()));
    for (const Point& p : pts)
        poly << devicePoint(p);
    if (scaledHatch()) {
        QPainterPath area;
        area.addPolygon(poly);
        area.closeSubpath();
        area.setFillRule(Qt::OddEvenFill);
        hatchArea(area);
        prepare(Use::Stroke);
    } else {
        prepare(Use::StrokeAndFill);
    }
    painter_->drawPolygon(poly, Qt::OddEvenFill);
}

void QtCanvas::rectangle(int left, int top, int right, int bottom)
{
    if (!isActive())
        return;
    const QRect box = deviceRect(normalized({left, top, right, bottom}));
    if (scaledHatch()) {
        QPainterPath area;
        area.addRect(QRectF(box));
        hatchArea(area);
        prepare(Use::Stroke);
    } else {
        prepare(Use::StrokeAndFill);
    }
    // Right and bottom edges are outside; an aliased outline covers width + 1 columns.
    painter_->drawRect(box.adjusted(0, 0, -1, -1));
}

void QtCanvas::ellipse(int left, int top, int right, int bottom)
{
    if (!isActive())
        return;
    const QRect box = deviceRect(normalized({left, top, right, bottom})).adjusted(0, 0, -1, -1);
    if (scaledHatch()) {
        QPainterPath area;
        area.addEllipse(QRectF(box));
        hatchArea(area);
        prepare(Use::Stroke);
    } else {
        prepare(Use::StrokeAndFill);
    }
    painter_->drawEllipse(box);
}

void QtCanvas::drawArcOrPie(bool isPie, int left, int top, int right, int bottom, int x3, int y3, int x4,
                            int y4)
{
    if (!isActive())
        return;
    prepare(isPie ? Use::StrokeAndFill : Use::Stroke);
    const QRectF box(deviceRect(normalized({left, top, right, bottom})).adjusted(0, 0, -1, -1));
    const double cx = box.center().x();
    const double cy = box.center().y();
    const double rx = std::max(box.width() / 2.0, 0.5);
    const double ry = std::max(box.height() / 2.0, 0.5);
    // Qt's angles are those of the ellipse's parameter; y grows downwards on screen.
    const auto angleOf = [&](Point logical) {
        const QPoint p = devicePoint(logical);
        return std::atan2(-(p.y() - cy) / ry, (p.x() - cx) / rx) * 180.0 / std::numbers::pi;
    };
    const double start = angleOf({x3, y3});
    double span = angleOf({x4, y4}) - start;
    while (span <= 0.0)
        span += 360.0;
    if (x3 == x4 && y3 == y4)
        span = 360.0;
    const int a16 = static_cast<int>(std::lround(start * 16.0));
    const int s16 = static_cast<int>(std::lround(span * 16.0));
    if (isPie && scaledHatch()) {
        QPainterPath area(box.center());
        area.arcTo(box, a16 / 16.0, s16 / 16.0);
        area.closeSubpath();
        hatchArea(area);
        prepare(Use::Stroke);
    }
    if (isPie)
        painter_->drawPie(box, a16, s16);
    else
        painter_->drawArc(box, a16, s16);
}

void QtCanvas::arc(int left, int top, int right, int bottom, int x3, int y3, int x4, int y4)
{
    drawArcOrPie(false, left, top, right, bottom, x3, y3, x4, y4);
}

void QtCanvas::pie(int left, int top, int right, int bottom, int x3, int y3, int x4, int y4)
{
    drawArcOrPie(true, left, top, right, bottom, x3, y3, x4, y4);
}

void QtCanvas::fillRect(const Rect& r)
{
    if (!isActive() || brush().style == BrushStyle::Clear)
        return;
    if (scaledHatch()) {
        QPainterPath area;
        area.addRect(QRectF(deviceRect(normalized(r))));
        hatchArea(area);
        return;
    }
    prepare(Use::Fill);
    painter_->setCompositionMode(QPainter::CompositionMode_SourceOver);
    stateValid_ = false;
    painter_->drawRect(deviceRect(normalized(r)));
}

void QtCanvas::setPixel(int x, int y, TColor c)
{
    if (!isActive())
        return;
    applyGeometry();
    stateValid_ = false;
    painter_->setCompositionMode(QPainter::CompositionMode_SourceOver);
    const QPoint at = devicePoint({x, y});
    if (ratio_ == 1.0) {
        painter_->setPen(QPen(toQColor(c), 0));
        painter_->drawPoint(at);
        return;
    }
    // The logical pixel is a block of device pixels.
    const QPoint end{toPixel(deviceX(x + 1.0)), toPixel(deviceY(y + 1.0))};
    painter_->fillRect(QRect(at, QSize(end.x() - at.x(), end.y() - at.y())), toQColor(c));
}

QFont QtCanvas::deviceFont() const
{
    QFont qf = toQFont(font());
    // Unsmoothed glyphs stand on whole pixels: at fractional advances the gaps between letters
    // came out a pixel apart now and then ("Einhe itskreis"). Hinted advances are whole pixels.
    // A printer's pixels are too small for that to show, and its text keeps the face's own widths.
    const QPaintDevice* dev = device();
    if (!dev || dev->devType() != QInternal::Printer)
        qf.setHintingPreference(QFont::PreferFullHinting);
    return qf;
}

QFontMetrics QtCanvas::metrics() const
{
    const QPaintDevice* dev = device();
    return dev ? QFontMetrics(deviceFont(), dev) : QFontMetrics(deviceFont());
}

void QtCanvas::textOut(int x, int y, const std::string& utf8)
{
    if (!isActive())
        return;
    applyGeometry();
    stateValid_ = false;
    painter_->setCompositionMode(QPainter::CompositionMode_SourceOver);
    painter_->setFont(deviceFont());
    const QFontMetrics fm = metrics();
    const QString text = canvasText(font(), utf8);
    const int w = fm.horizontalAdvance(text);
    const int h = fm.height();

    const unsigned align = textAlign();
    int left = 0;
    if ((align & TaCenter) == TaCenter)
        left = -w / 2;
    else if (align & TaRight)
        left = -w;
    int top = 0;
    if ((align & TaBaseline) == TaBaseline)
        top = -fm.ascent();
    else if (align & TaBottom)
        top = -h;

    // Text is laid out in logical pixels from a whole device pixel and drawn at the device's
    // resolution.
    const QPoint at = devicePoint({x, y});
    painter_->setWorldTransform(QTransform::fromTranslate(at.x() / ratio_, at.y() / ratio_));
    if (font().orientation != 0)
        painter_->rotate(-font().orientation / 10.0);
    if (bkMode() == BkMode::Opaque && brush().style == BrushStyle::Solid)
        painter_->fillRect(QRect(left, top, w, h), toQColor(brush().color));
    painter_->setPen(toQColor(font().color));
    painter_->drawText(QPoint(left, top + fm.ascent()), text);
    geometryValid_ = false; // the text moved and turned the painter
}

int QtCanvas::textWidth(const std::string& utf8) const
{
    return metrics().horizontalAdvance(canvasText(font(), utf8));
}

int QtCanvas::textHeight(const std::string&) const
{
    return metrics().height();
}

void QtCanvas::copyRect(const Rect& dest, const Canvas& source, const Rect& src, RasterOp op)
{
    const auto* from = dynamic_cast<const QtCanvas*>(&source);
    if (!from || !from->image_ || !isActive())
        return;
    applyGeometry();
    stateValid_ = false;
    // The source's rectangle is in its own logical pixels, at its own ratio; its origin plays no part.
    const QRect srcRect = scaledRect(src, from->ratio_, {});
    const QRect destRect = deviceRect(dest);
    const bool rasterOps =
        painter_->paintEngine() && painter_->paintEngine()->hasFeature(QPaintEngine::RasterOpModes);
    if (rasterOps)
        painter_->setCompositionMode(op == RasterOp::SrcAnd ? QPainter::RasterOp_SourceAndDestination
                                                            : QPainter::CompositionMode_Source);
    if (from->image_ == image_)
        painter_->drawImage(destRect, image_->copy(srcRect));
    else
        painter_->drawImage(destRect, *from->image_, srcRect);
    painter_->setCompositionMode(QPainter::CompositionMode_SourceOver);
}

} // namespace kurvex
